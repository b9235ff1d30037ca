#include "codecs/ximapng.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "codecs/ximabudget.h"

#include "platform/native/native_begin.h"
#include <png.h>
#include "platform/native/native_end.h"

namespace {

const BYTE kGreyBackground = 192;

void ReadData(png_structp png, png_bytep data, size_t length)
{
    CxFile* stream = (CxFile*)png_get_io_ptr(png);
    if (length > 0x7FFFFFFF || stream->Read(data, 1, (DWORD)length) != length)
        png_error(png, "Read Error");
}

void WriteData(png_structp png, png_bytep data, size_t length)
{
    CxFile* stream = (CxFile*)png_get_io_ptr(png);
    if (length > 0x7FFFFFFF || stream->Write(data, 1, (DWORD)length) != length)
        png_error(png, "Write Error");
}

void FlushData(png_structp png)
{
    CxFile* stream = (CxFile*)png_get_io_ptr(png);
    if (!stream->Flush())
        png_error(png, "Flush Error");
}

// Copies libpng's message into the image's last-error text and returns to
// the codec's error point.
void ErrorExit(png_structp png, png_const_charp message)
{
    char* text = (char*)png_get_error_ptr(png);
    if (text && text != message) {
        strncpy(text, message ? message : "", CXIMAGE_ERROR_LENGTH - 1);
        text[CXIMAGE_ERROR_LENGTH - 1] = 0;
    }
    png_longjmp(png, 1);
}

// Warnings about damaged ancillary data stay silent: decoding goes on.
void IgnoreWarning(png_structp, png_const_charp)
{
}

// 2-bit pixels widened in place to 4 bits, the last pixel first.
void WidenTwoBitRow(BYTE* row, DWORD width)
{
    for (DWORD x = width; x-- > 0;) {
        BYTE value = (BYTE)((row[x >> 2] >> (6 - 2 * (x & 3))) & 3);
        int shift = 4 - 4 * (x & 1);
        BYTE& target = row[x >> 1];
        target = (BYTE)((target & ~(0x0F << shift)) | (value << shift));
    }
}

// The largest palette index used by any pixel.
BYTE LargestIndexUsed(const CxImage& image)
{
    BYTE largest = 0;
    for (DWORD y = 0; y < image.GetHeight(); ++y) {
        for (DWORD x = 0; x < image.GetWidth(); ++x) {
            BYTE index = image.BlindGetPixelIndex(x, y);
            if (index > largest)
                largest = index;
        }
    }
    return largest;
}

// Pixels of a file without an alpha channel are composed onto its bKGD
// colour, or onto grey 192.
void SetBackground(png_structp png, png_infop pngInfo)
{
    png_color_16p fileBackground = NULL;
    if (png_get_bKGD(png, pngInfo, &fileBackground) && fileBackground) {
        png_set_background(png, fileBackground, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    } else {
        png_color_16 grey;
        memset(&grey, 0, sizeof(grey));
        grey.red = grey.green = grey.blue = grey.gray = kGreyBackground;
        png_set_background(png, &grey, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    }
}

// An image with an alpha plane keeps the bKGD colour as its transparent
// colour (the low bytes of the chunk's values).
void SetTransparentColourFromBackground(png_structp png, png_infop pngInfo, CxImage& image)
{
    png_color_16p fileBackground = NULL;
    if (!png_get_bKGD(png, pngInfo, &fileBackground) || !fileBackground)
        return;
    bool grey = !(png_get_color_type(png, pngInfo) & PNG_COLOR_MASK_COLOR);
    RGBQUAD colour = { (BYTE)(grey ? fileBackground->gray : fileBackground->blue),
                       (BYTE)(grey ? fileBackground->gray : fileBackground->green),
                       (BYTE)(grey ? fileBackground->gray : fileBackground->red), 0 };
    image.SetTransColor(colour);
}

void SetResolution(png_structp png, png_infop pngInfo, CxImage& image)
{
    png_uint_32 x = 0, y = 0;
    int unit = 0;
    if (!png_get_pHYs(png, pngInfo, &x, &y, &unit))
        return;
    if (unit == PNG_RESOLUTION_UNKNOWN) {
        image.SetXDPI((int32_t)(x > 0x7FFFFFFF ? 0x7FFFFFFF : x));
        image.SetYDPI((int32_t)(y > 0x7FFFFFFF ? 0x7FFFFFFF : y));
    } else if (unit == PNG_RESOLUTION_METER) {
        image.SetXDPI((int32_t)floor(x * 0.0254 + 0.5));
        image.SetYDPI((int32_t)floor(y * 0.0254 + 0.5));
    }
}

// Palette, and the transparency of palette files in its reserved bytes.
void SetPaletteFromFile(png_structp png, png_infop pngInfo, CxImage& image, int bitDepth)
{
    png_colorp colours = NULL;
    int count = 0;
    if (png_get_PLTE(png, pngInfo, &colours, &count) && colours && count > 0) {
        static_assert(sizeof(png_color) == sizeof(CxRgbTriple), "palette triples");
        image.SetPalette((const CxRgbTriple*)colours, (DWORD)count);
    } else if (bitDepth == 2) {
        for (BYTE i = 0; i < 4; ++i)
            image.SetPaletteColor(i, (BYTE)(85 * i), (BYTE)(85 * i), (BYTE)(85 * i));
    } else {
        image.SetGrayPalette();
    }

    png_bytep alphas = NULL;
    int alphaCount = 0;
    if (png_get_color_type(png, pngInfo) != PNG_COLOR_TYPE_PALETTE || !image.IsIndexed() ||
        !png_get_tRNS(png, pngInfo, &alphas, &alphaCount, NULL) || !alphas || alphaCount <= 0)
        return;
    DWORD entries = image.GetNumColors();
    DWORD given = (DWORD)alphaCount < entries ? (DWORD)alphaCount : entries;
    RGBQUAD* palette = image.GetPalette();
    for (DWORD i = 0; i < given; ++i)
        palette[i].rgbReserved = alphas[i];
    if (alphaCount == 1 && alphas[0] == 0) {
        image.SetTransIndex(0);
    } else {
        for (DWORD i = given; i < entries; ++i)
            palette[i].rgbReserved = 255;
    }
}

// Pixels of an image with an alpha plane as red, green, blue, alpha.
void FillRgbaRow(const CxImage& image, DWORD y, BYTE* row)
{
    const BYTE* alpha = image.AlphaGetPointer() + (size_t)y * image.GetWidth();
    BYTE alphaMax = image.GetAlphaMax();
    for (DWORD x = 0; x < image.GetWidth(); ++x) {
        RGBQUAD colour = image.GetPixelColor(x, y, false);
        row[4 * x] = colour.rgbRed;
        row[4 * x + 1] = colour.rgbGreen;
        row[4 * x + 2] = colour.rgbBlue;
        row[4 * x + 3] = (BYTE)(alpha[x] * alphaMax / 255);
    }
}

}  // namespace

bool CxImagePNG::Decode(CxFile* stream)
{
    if (!stream)
        return Fail("null file handler");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, info.lastError, ErrorExit,
                                             IgnoreWarning);
    if (!png)
        return Fail("Failed to create PNG structure");
    png_infop pngInfo = png_create_info_struct(png);
    if (!pngInfo) {
        png_destroy_read_struct(&png, NULL, NULL);
        return Fail("Failed to initialize PNG info structure");
    }
    BYTE* volatile row = NULL;
    if (setjmp(png_jmpbuf(png))) {
        free(row);
        png_destroy_read_struct(&png, &pngInfo, NULL);
        return false;
    }
    png_set_read_fn(png, stream, ReadData);
    png_read_info(png, pngInfo);

    DWORD width = png_get_image_width(png, pngInfo);
    DWORD height = png_get_image_height(png, pngInfo);
    int colorType = png_get_color_type(png, pngInfo);
    int bitDepth = png_get_bit_depth(png, pngInfo);
    int pixelDepth = png_get_channels(png, pngInfo) * bitDepth;
    // Grey with alpha and RGBA keep their alpha at 8 and 16 bits, and so do
    // the transparent pixels that a tRNS chunk marks in a grey or RGB file:
    // they become 24-bit pixels with an alpha plane. Palette files keep
    // their transparency in the palette.
    bool withAlpha = (colorType & PNG_COLOR_MASK_ALPHA) ||
                     (colorType != PNG_COLOR_TYPE_PALETTE &&
                      png_get_valid(png, pngInfo, PNG_INFO_tRNS));

    if (!CheckPictureBudget(CxRemainingBytes(stream), width, height, pixelDepth,
                            CXIMAGE_EXPANSION_ZLIB))
        png_longjmp(png, 1);
    if (withAlpha)
        SetTransparentColourFromBackground(png, pngInfo, *this);
    else
        SetBackground(png, pngInfo);
    if (bitDepth == 16)
        png_set_strip_16(png);
    DWORD depth = pixelDepth > 16 ? 24 : pixelDepth == 16 ? 8 : (DWORD)pixelDepth;
    if (withAlpha)
        depth = 24;
    // Rows of an interlaced file are complete only after the last pass.
    CxRowSink* sink =
        png_get_interlace_type(png, pngInfo) == PNG_INTERLACE_NONE ? RowSinkFor(width, height) : NULL;
    if (!Create(width, sink ? 1 : height, depth, CXIMAGE_FORMAT_PNG))
        png_error(png, info.lastError);
    SetResolution(png, pngInfo, *this);
    SetPaletteFromFile(png, pngInfo, *this, bitDepth);

    if (withAlpha) {
        png_set_tRNS_to_alpha(png);
        png_set_expand(png);
        if (!(colorType & PNG_COLOR_MASK_COLOR))
            png_set_gray_to_rgb(png);
        AlphaCreate();
        if (!AlphaIsValid())
            png_error(png, "CxImagePNG can't allocate memory");
    }
    if ((colorType & PNG_COLOR_MASK_COLOR) || withAlpha)
        png_set_bgr(png);
    if (info.escape)
        png_longjmp(png, 1);  // cancelled: the last-error text stays

    int passes = png_set_interlace_handling(png);
    SetCodecOption(passes > 1 ? 1 : 0, CXIMAGE_FORMAT_PNG);
    png_read_update_info(png, pngInfo);
    size_t rowBytes = (size_t)((pixelDepth + 7) / 8) * width;
    if (png_get_rowbytes(png, pngInfo) > rowBytes)
        rowBytes = png_get_rowbytes(png, pngInfo);
    row = (BYTE*)malloc(rowBytes + 10);
    if (!row)
        png_error(png, "CxImagePNG can't allocate memory");

    for (int pass = 0; pass < passes; ++pass) {
        for (DWORD y = 0; y < height; ++y) {
            if (info.escape)
                png_longjmp(png, 1);
            DWORD dibRow = sink ? 0 : height - 1 - y;
            BYTE* pixels = GetBits(dibRow);
            if (alpha) {
                BYTE* alphaRow = alpha + (size_t)dibRow * width;
                if (pass > 0) {
                    for (DWORD x = 0; x < width; ++x) {
                        memcpy(row + 4 * x, pixels + 3 * x, 3);
                        row[4 * x + 3] = alphaRow[x];
                    }
                }
                png_read_row(png, row, NULL);
                for (DWORD x = 0; x < width; ++x) {
                    memcpy(pixels + 3 * x, row + 4 * x, 3);
                    alphaRow[x] = row[4 * x + 3];
                }
            } else {
                if (pass > 0)
                    memcpy(row, pixels, info.effWidth);
                png_read_row(png, row, NULL);
                if (bitDepth == 2 && pass == passes - 1)
                    WidenTwoBitRow(row, width);
                memcpy(pixels, row, info.effWidth);
            }
            if (sink)
                sink->TakeRow(*this);
        }
    }
    free(row);
    row = NULL;
    png_read_end(png, pngInfo);
    png_destroy_read_struct(&png, &pngInfo, NULL);
    return true;
}

bool CxImagePNG::Encode(CxFile* stream)
{
    if (EncodeSafeCheck(stream))
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, info.lastError, ErrorExit,
                                              IgnoreWarning);
    if (!png)
        return Fail("Failed to create PNG structure");
    png_infop pngInfo = png_create_info_struct(png);
    if (!pngInfo) {
        png_destroy_write_struct(&png, NULL);
        return Fail("Failed to initialize PNG info structure");
    }
    png_colorp volatile paletteCopy = NULL;
    BYTE* volatile row = NULL;
    volatile bool temporaryAlpha = false;
    if (setjmp(png_jmpbuf(png))) {
        free(paletteCopy);
        free(row);
        if (temporaryAlpha)
            AlphaDelete();
        png_destroy_write_struct(&png, &pngInfo);
        return Fail("Error saving PNG file");
    }
    png_set_write_fn(png, stream, WriteData, FlushData);

    DWORD width = GetWidth(), height = GetHeight();
    int interlace = GetCodecOption(CXIMAGE_FORMAT_PNG) == 1 ? PNG_INTERLACE_ADAM7
                                                            : PNG_INTERLACE_NONE;
    png_color_16 background;
    memset(&background, 0, sizeof(background));
    background.red = background.green = background.blue = 255;
    if (info.transIndex != -1) {
        RGBQUAD colour = GetTransColor();
        background.red = colour.rgbRed;
        background.green = colour.rgbGreen;
        background.blue = colour.rgbBlue;
    }

    if (GetBpp() == 24 && info.transIndex >= 0) {
        if (!alpha) {
            AlphaCreate();
            if (!alpha)
                png_error(png, "CxImagePNG can't allocate memory");
            temporaryAlpha = true;
        }
        RGBQUAD key = info.transColor;
        key.rgbReserved = 0;
        for (DWORD y = 0; y < height; ++y) {
            for (DWORD x = 0; x < width; ++x) {
                const BYTE* p = GetBits(y) + 3 * x;
                if (p[0] == key.rgbBlue && p[1] == key.rgbGreen && p[2] == key.rgbRed)
                    alpha[(size_t)y * width + x] = 0;
            }
        }
    }

    if (alpha) {
        // Red, green, blue and alpha, whatever the image's depth.
        png_set_IHDR(png, pngInfo, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, interlace,
                     PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    } else if (IsIndexed()) {
        png_set_IHDR(png, pngInfo, width, height, GetBpp(), PNG_COLOR_TYPE_PALETTE, interlace,
                     PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
        if (info.transIndex != -1) {
            BYTE index = (BYTE)info.transIndex;
            if (index != 0) {
                SwapIndex(0, index);
                if (info.ghost)
                    info.ghost->SetTransIndex(0);
                info.transIndex = 0;
            }
            png_byte transparent = 0;
            png_set_tRNS(png, pngInfo, &transparent, 1, NULL);
        }
        DWORD count = GetNumColors();
        if (count > 2 && (uint64_t)width * height < 65536)
            count = (DWORD)LargestIndexUsed(*this) + 1;
        RGBQUAD* palette = GetPalette();
        if (AlphaPaletteIsValid()) {
            png_byte alphas[256];
            for (DWORD i = 0; i < count; ++i)
                alphas[i] = palette[i].rgbReserved;
            png_set_tRNS(png, pngInfo, alphas, (int)count, NULL);
        }
        paletteCopy = (png_colorp)malloc(count * sizeof(png_color));
        if (!paletteCopy)
            png_error(png, "CxImagePNG can't allocate memory");
        for (DWORD i = 0; i < count; ++i) {
            paletteCopy[i].red = palette[i].rgbRed;
            paletteCopy[i].green = palette[i].rgbGreen;
            paletteCopy[i].blue = palette[i].rgbBlue;
        }
        png_set_PLTE(png, pngInfo, paletteCopy, (int)count);
    } else {
        png_set_IHDR(png, pngInfo, width, height, 8, PNG_COLOR_TYPE_RGB, interlace,
                     PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
        png_set_bgr(png);
    }
    png_set_bKGD(png, pngInfo, &background);
    png_set_pHYs(png, pngInfo, header.biXPelsPerMeter, header.biYPelsPerMeter,
                 PNG_RESOLUTION_METER);
    png_write_info(png, pngInfo);

    int passes = png_set_interlace_handling(png);
    size_t rowBytes = alpha ? 4 * (size_t)width : info.effWidth;
    row = (BYTE*)malloc(rowBytes + 10);
    if (!row)
        png_error(png, "CxImagePNG can't allocate memory");
    for (int pass = 0; pass < passes; ++pass) {
        for (DWORD y = 0; y < height; ++y) {
            DWORD dibRow = height - 1 - y;
            if (alpha)
                FillRgbaRow(*this, dibRow, row);
            else
                memcpy(row, GetBits(dibRow), info.effWidth);
            png_write_row(png, row);
        }
    }
    png_write_end(png, pngInfo);
    free(row);
    row = NULL;
    if (temporaryAlpha)
        AlphaDelete();
    temporaryAlpha = false;
    free(paletteCopy);
    paletteCopy = NULL;
    png_destroy_write_struct(&png, &pngInfo);
    return true;
}
