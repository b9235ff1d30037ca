#include "codecs/ximatif.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "codecs/xtiffio.h"

#include "platform/native/native_begin.h"
#include <tiffio.h>
#include "platform/native/native_end.h"

namespace {

const char kCancelled[] = "Cancelled";

int32_t ClampToInt(double value)
{
    if (!(value > -2147483648.0))
        return value != value ? 0 : INT32_MIN;
    return value >= 2147483647.0 ? INT32_MAX : (int32_t)value;
}

BYTE LabChannel(double c)
{
    c = c > 0.00304 ? 1.055 * pow(c, 0.41667) - 0.055 : 12.92 * c;
    double value = c * 255;
    if (!(value > 0))
        return 0;
    return value >= 255 ? 255 : (BYTE)value;
}

// CIE L*a*b* (8-bit L, signed 8-bit a and b) to blue, green, red.
void LabToBgr(const BYTE* lab, BYTE* bgr)
{
    double l = lab[0];
    double a = lab[1] > 127 ? lab[1] - 256.0 : lab[1];
    double b = lab[2] > 127 ? lab[2] - 256.0 : lab[2];
    double p = (l / 2.55 + 16) / 116;
    double x = pow(p + a * 0.002, 3) * 0.95047;
    double y = pow(p, 3);
    double z = pow(p - b * 0.005, 3) * 1.0883;
    bgr[2] = LabChannel(3.240479 * x - 1.53715 * y - 0.498535 * z);
    bgr[1] = LabChannel(-0.969256 * x + 1.875992 * y + 0.041556 * z);
    bgr[0] = LabChannel(0.055648 * x - 0.204043 * y + 1.057311 * z);
}

// Copies `rows` rows of `columns` bytes from a tile into the band buffer,
// advancing by the given skips after each row.
void TileToStrip(BYTE* out, const BYTE* in, uint32_t rows, size_t columns, size_t outSkip,
                 size_t inSkip)
{
    for (uint32_t row = 0; row < rows; ++row) {
        memcpy(out, in, columns);
        out += columns + outSkip;
        in += columns + inSkip;
    }
}

// 16-bit samples narrowed in place to their high byte.
void NarrowSamples(BYTE* line, size_t samples)
{
    uint16_t probe = 1;
    int high = *(BYTE*)&probe == 1 ? 1 : 0;  // libtiff gives samples in the machine's order
    for (size_t i = 0; i < samples; ++i)
        line[i] = line[2 * i + high];
}

}  // namespace

CxImageTIF::~CxImageTIF()
{
    if (m_tif)
        TIFFClose(m_tif);
}

bool CxImageTIF::Decode(CxFile* stream)
{
    if (!stream)
        return Fail("null file handler");
    TIFF* tif = TIFFOpenEx(stream, "r");
    if (!tif)
        return Fail("Error encountered while opening TIFF file");
    bool decoded = DecodePage(tif);
    TIFFClose(tif);
    return decoded;
}

bool CxImageTIF::DecodePage(TIFF* tif)
{
    info.numFrames = (int32_t)TIFFNumberOfDirectories(tif);
    if (info.frame < 0 || !TIFFSetDirectory(tif, (tdir_t)info.frame))
        return Fail("Error: page not present in TIFF file");

    uint32_t width = 0, height = 0, rowsPerStrip = 0xFFFFFFFF;
    uint16_t samples = 1, bitsPerSample = 1, photometric = 0, orientation = 1;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetField(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetField(tif, TIFFTAG_ORIENTATION, &orientation);

    if (info.escape == -1) {
        header.biWidth = (LONG)width;
        header.biHeight = (LONG)height;
        Fail("output dimensions returned");
        return true;
    }

    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    float resolution = 0;
    if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &resolution))
        SetXDPI(ClampToInt(unit == RESUNIT_CENTIMETER ? resolution * 2.54 + 0.5 : resolution));
    if (TIFFGetField(tif, TIFFTAG_YRESOLUTION, &resolution))
        SetYDPI(ClampToInt(unit == RESUNIT_CENTIMETER ? resolution * 2.54 + 0.5 : resolution));
    float position = 0;
    if (TIFFGetField(tif, TIFFTAG_XPOSITION, &position))
        info.xOffset = ClampToInt(position);
    if (TIFFGetField(tif, TIFFTAG_YPOSITION, &position))
        info.yOffset = ClampToInt(position);

    header.biClrUsed = 0;
    info.transIndex = -1;
    if (rowsPerStrip > height) {
        rowsPerStrip = height;
        // A tiled file has no strips: changing the tag would confuse libtiff.
        if (!TIFFIsTiled(tif))
            TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    }

    bool rgb = (bitsPerSample >= 8 && photometric == PHOTOMETRIC_RGB) ||
               photometric == PHOTOMETRIC_YCBCR || photometric == PHOTOMETRIC_SEPARATED ||
               photometric == PHOTOMETRIC_LOGL || photometric == PHOTOMETRIC_LOGLUV;
    DWORD depth = 8;
    if (rgb)
        depth = 24;
    else if (samples == 1 && bitsPerSample == 1)
        depth = 1;
    else if (samples == 1 && (bitsPerSample == 2 || bitsPerSample == 4))
        depth = 4;  // 2-bit samples are widened to nibbles

    if (info.escape)
        return Fail(kCancelled);
    if (!Create(width, height, depth, CXIMAGE_FORMAT_TIF))
        return Fail("CxImageTIF can't create image");
    if (samples == 4 || (samples == 2 && bitsPerSample == 8)) {
        AlphaCreate();
        if (!alpha)
            return Fail("CxImageTIF can't allocate memory");
    }
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
    SetCodecOption(compression, CXIMAGE_FORMAT_TIF);

    if (rgb)
        return DecodeRgba(tif, width, height, samples);
    return DecodeIndexed(tif, width, height, samples, bitsPerSample, photometric, rowsPerStrip);
}

bool CxImageTIF::DecodeRgba(TIFF* tif, DWORD width, DWORD height, uint16_t samples)
{
    uint64_t bytes = (uint64_t)width * height * sizeof(uint32_t);
    uint32_t* raster = bytes > (uint64_t)INT64_MAX ? NULL : (uint32_t*)_TIFFmalloc((tmsize_t)bytes);
    if (!raster)
        return Fail("No space for raster buffer");
    if (!TIFFReadRGBAImage(tif, width, height, raster, 1)) {
        _TIFFfree(raster);
        return Fail("Corrupted TIFF file!");
    }
    // Both the raster and the DIB have their first row at the bottom.
    for (DWORD y = 0; y < height; ++y) {
        if (info.escape) {
            _TIFFfree(raster);
            return Fail(kCancelled);
        }
        const uint32_t* source = raster + (size_t)y * width;
        BYTE* target = GetBits(y);
        for (DWORD x = 0; x < width; ++x) {
            target[3 * x] = (BYTE)TIFFGetB(source[x]);
            target[3 * x + 1] = (BYTE)TIFFGetG(source[x]);
            target[3 * x + 2] = (BYTE)TIFFGetR(source[x]);
        }
        if (samples == 4 && alpha) {
            BYTE* alphaRow = alpha + (size_t)y * width;
            for (DWORD x = 0; x < width; ++x)
                alphaRow[x] = (BYTE)TIFFGetA(source[x]);
        }
    }
    _TIFFfree(raster);
    return true;
}

void CxTiffGreyPalette(RGBQUAD* palette, DWORD colours, uint16_t bitsPerSample, bool whiteIsZero)
{
    if (colours < 2)
        return;
    // A sample size of 0 bits has no levels of its own: the image's are used.
    bool ownLevels = bitsPerSample > 0 && bitsPerSample < 8 && (1u << bitsPerSample) < colours;
    DWORD levels = ownLevels ? 1u << bitsPerSample : colours;
    for (DWORD i = 0; i < levels; ++i) {
        BYTE v = (BYTE)(i * (255 / (levels - 1)));
        if (whiteIsZero)
            v = (BYTE)(255 - v);
        palette[i].rgbBlue = palette[i].rgbGreen = palette[i].rgbRed = v;
    }
}

bool CxImageTIF::SetPaletteFromFile(TIFF* tif, uint16_t bitsPerSample, uint16_t photometric)
{
    RGBQUAD* palette = (RGBQUAD*)calloc(256, sizeof(RGBQUAD));
    if (!palette)
        return Fail("Unable to allocate TIFF palette");
    DWORD colours = GetNumColors();
    if (photometric <= PHOTOMETRIC_MINISBLACK && bitsPerSample == 1) {
        RGBQUAD& white = palette[photometric == PHOTOMETRIC_MINISBLACK ? 1 : 0];
        white.rgbBlue = white.rgbGreen = white.rgbRed = 255;
    } else if (photometric <= PHOTOMETRIC_MINISBLACK) {
        CxTiffGreyPalette(palette, colours, bitsPerSample, photometric == PHOTOMETRIC_MINISWHITE);
    } else if (photometric == PHOTOMETRIC_PALETTE) {
        uint16_t *red = NULL, *green = NULL, *blue = NULL;
        if (TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) && red && green && blue) {
            // libtiff holds 2^bits entries per colour.
            DWORD mapEntries = 1u << (bitsPerSample < 16 ? bitsPerSample : 16);
            bool sixteenBit = false;
            for (DWORD i = 0; i < mapEntries && !sixteenBit; ++i)
                sixteenBit = red[i] >= 256 || green[i] >= 256 || blue[i] >= 256;
            DWORD count = mapEntries < 256 ? mapEntries : 256;
            for (DWORD i = 0; i < count; ++i) {
                palette[i].rgbRed = (BYTE)(sixteenBit ? red[i] * 255 / 65535 : red[i]);
                palette[i].rgbGreen = (BYTE)(sixteenBit ? green[i] * 255 / 65535 : green[i]);
                palette[i].rgbBlue = (BYTE)(sixteenBit ? blue[i] * 255 / 65535 : blue[i]);
            }
        }
    }
    SetPalette(palette, colours);
    free(palette);
    return true;
}

bool CxImageTIF::DecodeIndexed(TIFF* tif, DWORD width, DWORD height, uint16_t samples,
                               uint16_t bitsPerSample, uint16_t photometric,
                               uint32_t rowsPerStrip)
{
    if (!SetPaletteFromFile(tif, bitsPerSample, photometric))
        return false;
    size_t lineBytes = (size_t)(((uint64_t)width * bitsPerSample * samples + 7) / 8);
    bool tiled = TIFFIsTiled(tif) != 0;
    uint32_t tileWidth = 0, tileLength = 0;
    size_t tileBytes = 0;
    if (tiled) {
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileLength);
        tileBytes = (size_t)TIFFTileSize(tif);
        if (tileWidth == 0 || tileLength == 0 || tileBytes == 0)
            return Fail("Corrupted tiled TIFF file!");
        rowsPerStrip = tileLength;
    }
    if (rowsPerStrip == 0)
        return Fail("Corrupted TIFF file!");
    // A band of rows is read whole: the buffer holds rows per strip lines.
    uint64_t bandBytes = (uint64_t)(rowsPerStrip < height ? rowsPerStrip : height) * lineBytes;
    if (bandBytes > 0x7FFFFFFF)
        return Fail("CxImageTIF can't allocate memory");
    BYTE* band = (BYTE*)calloc((size_t)bandBytes + 1, 1);
    BYTE* tile = tiled ? (BYTE*)calloc(tileBytes, 1) : NULL;
    if (!band || (tiled && !tile)) {
        free(band);
        free(tile);
        return Fail("CxImageTIF can't allocate memory");
    }
    size_t tileRowBytes = tiled ? (size_t)TIFFTileRowSize(tif) : 0;

    for (uint32_t ys = 0; ys < height; ys += rowsPerStrip) {
        if (info.escape) {
            free(band);
            free(tile);
            return Fail(kCancelled);
        }
        uint32_t rows = rowsPerStrip < height - ys ? rowsPerStrip : height - ys;
        if (tiled) {
            size_t column = 0;  // byte offset of the tile column in a line
            for (uint32_t col = 0; col < width && column < lineBytes; col += tileWidth) {
                if (TIFFReadTile(tif, tile, col, ys, 0, 0) < 0) {
                    free(band);
                    free(tile);
                    return Fail("Corrupted tiled TIFF file!");
                }
                size_t copy = tileRowBytes;
                if (column + copy > lineBytes)
                    copy = lineBytes - column;
                uint32_t tileRows = (uint64_t)rows * tileRowBytes <= tileBytes
                                        ? rows : (uint32_t)(tileBytes / tileRowBytes);
                TileToStrip(band + column, tile, tileRows, copy, lineBytes - copy,
                            tileRowBytes - copy);
                column += tileRowBytes;
            }
        } else if (TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, ys, 0), band,
                                        (tmsize_t)(rows * lineBytes)) == -1) {
            free(band);
            return Fail("Corrupted TIFF file!");
        }
        for (uint32_t j = 0; j < rows; ++j) {
            if (!PutRow(band + j * lineBytes, lineBytes, height - ys - 1 - j, samples,
                        bitsPerSample)) {
                free(band);
                free(tile);
                return Fail("CxImageTIF can't create image");
            }
        }
    }
    free(band);
    free(tile);
    return true;
}

// One line of the palette road into DIB row `dibRow`.
bool CxImageTIF::PutRow(BYTE* line, size_t lineBytes, DWORD dibRow, uint16_t samples,
                        uint16_t bitsPerSample)
{
    DWORD width = GetWidth();
    if (bitsPerSample == 16) {
        size_t count = (size_t)width * samples;
        NarrowSamples(line, count);
        lineBytes = count;
    }
    if (samples == 1 && bitsPerSample == 2) {
        PutTwoBitRow(line, lineBytes, dibRow);
    } else if (samples == 1) {
        memcpy(GetBits(dibRow), line, lineBytes < info.effWidth ? lineBytes : info.effWidth);
    } else if (samples == 2 && (bitsPerSample == 8 || bitsPerSample == 16) && GetBpp() == 8) {
        BYTE* pixels = GetBits(dibRow);
        BYTE* alphaRow = alpha ? alpha + (size_t)dibRow * width : NULL;
        for (DWORD x = 0; x < width && 2 * (size_t)x + 1 < lineBytes; ++x) {
            pixels[x] = line[2 * x];
            if (alphaRow)
                alphaRow[x] = line[2 * x + 1];
        }
    } else {
        if (GetBpp() != 24) {
            if (!Create(width, GetHeight(), 24, CXIMAGE_FORMAT_TIF))
                return false;
            if (samples == 4)
                AlphaCreate();
        }
        PutLabRow(line, lineBytes, dibRow, samples);
    }
    return true;
}

void CxImageTIF::PutTwoBitRow(const BYTE* line, size_t lineBytes, DWORD dibRow)
{
    BYTE* pixels = GetBits(dibRow);
    for (DWORD x = 0; x < GetWidth() && x / 4 < lineBytes; ++x) {
        BYTE value = (BYTE)((line[x / 4] >> (6 - 2 * (x % 4))) & 3);
        BYTE& target = pixels[x / 2];
        target = (x % 2 == 0) ? (BYTE)((target & 0x0F) | (value << 4)) : (BYTE)((target & 0xF0) | value);
    }
}

void CxImageTIF::PutLabRow(const BYTE* line, size_t lineBytes, DWORD dibRow, uint16_t samples)
{
    if (samples < 3)
        return;
    BYTE* pixels = GetBits(dibRow);
    BYTE* alphaRow = alpha ? alpha + (size_t)dibRow * GetWidth() : NULL;
    for (DWORD x = 0; x < GetWidth(); ++x) {
        size_t at = (size_t)x * samples;
        if (at + samples > lineBytes)
            break;
        LabToBgr(line + at, pixels + 3 * x);
        if (samples == 4 && alphaRow)
            alphaRow[x] = line[at + 3];
    }
}

void CxImageTIF::CloseWriter()
{
    if (m_tif)
        TIFFClose(m_tif);
    m_tif = NULL;
    m_multipage = false;
    m_pages = 0;
}

bool CxImageTIF::Encode(CxFile* stream, bool append)
{
    if (EncodeSafeCheck(stream))
        return false;
    if (!m_tif)
        m_tif = TIFFOpenEx(stream, "a");
    if (!m_tif)
        return Fail("initialization fail");
    if (append || m_pages > 0)
        m_multipage = true;
    ++m_pages;
    if (!EncodeBody(m_tif, m_multipage, m_pages, m_pages)) {
        CloseWriter();
        return Fail("Error saving TIFF file");
    }
    if (append) {
        if (!TIFFWriteDirectory(m_tif)) {
            CloseWriter();
            return Fail("Error saving TIFF directory");
        }
        return true;
    }
    CloseWriter();
    return true;
}

// Photometric interpretation of the image; a 1-bit image whose first
// palette entry is the darker one is inverted (palette and pixels), so that
// it can be written min-is-white.
int CxImageTIF::SetPhotometric()
{
    WORD bpp = GetBpp();
    if (bpp == 1) {
        RGBQUAD* palette = GetPalette();
        int grey0 = (117 * palette[0].rgbBlue + 601 * palette[0].rgbGreen +
                     306 * palette[0].rgbRed) >> 10;
        int grey1 = (117 * palette[1].rgbBlue + 601 * palette[1].rgbGreen +
                     306 * palette[1].rgbRed) >> 10;
        if (grey0 < grey1) {
            RGBQUAD first = palette[0];
            SetPaletteColor(0, palette[1]);
            SetPaletteColor(1, first);
            BYTE* pixels = GetBits();
            for (DWORD i = 0; i < header.biSizeImage; ++i)
                pixels[i] = (BYTE)~pixels[i];
        }
        return PHOTOMETRIC_MINISWHITE;
    }
    if (bpp == 4 || bpp == 8) {
        RGBQUAD* palette = GetPalette();
        for (DWORD i = 0; i < GetNumColors(); ++i) {
            if (palette[i].rgbRed != i || palette[i].rgbGreen != i || palette[i].rgbBlue != i)
                return PHOTOMETRIC_PALETTE;
        }
        return PHOTOMETRIC_MINISBLACK;
    }
    return PHOTOMETRIC_RGB;
}

bool CxImageTIF::EncodeBody(TIFF* tif, bool multipage, int page, int pageCount)
{
    WORD bitCount = GetBpp();
    uint16_t samples = bitCount == 24 ? 3 : 1;
    if (bitCount == 24 && alpha) {
        bitCount = 32;
        samples = 4;
    }
    uint16_t bitsPerSample = (uint16_t)(bitCount / samples);
    int photometric = SetPhotometric();
    if (bitCount == 8 && alpha)
        samples = 2;

    uint32_t rowsPerStrip = TIFFDefaultStripSize(tif, 0xFFFFFFFF);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, GetWidth());
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, GetHeight());
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bitsPerSample);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, (float)GetXDPI());
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, (float)GetYDPI());
    if (samples == 2 || samples == 4) {
        uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (multipage) {
        char name[32];
        sprintf(name, "Page %d", page);
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tif, TIFFTAG_PAGENUMBER, (uint16_t)page, (uint16_t)pageCount);
        TIFFSetField(tif, TIFFTAG_PAGENAME, name);
    } else {
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, 0);
    }
    if (photometric == PHOTOMETRIC_PALETTE) {
        uint16_t map[3][256];
        memset(map, 0, sizeof(map));
        RGBQUAD* palette = GetPalette();
        for (DWORD i = 0; i < GetNumColors() && i < 256; ++i) {
            map[0][i] = (uint16_t)(palette[i].rgbRed * 65535 / 255);
            map[1][i] = (uint16_t)(palette[i].rgbGreen * 65535 / 255);
            map[2][i] = (uint16_t)(palette[i].rgbBlue * 65535 / 255);
        }
        TIFFSetField(tif, TIFFTAG_COLORMAP, map[0], map[1], map[2]);
    }

    uint16_t compression = (uint16_t)GetCodecOption(CXIMAGE_FORMAT_TIF);
    if (compression == 0) {
        switch (bitCount) {
        case 1: compression = COMPRESSION_CCITTFAX4; break;
        case 4:
        case 8: compression = COMPRESSION_LZW; break;
        case 24:
        case 32: compression = COMPRESSION_JPEG; break;
        default: compression = COMPRESSION_NONE; break;
        }
    }
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    if (compression == COMPRESSION_JPEG) {
        TIFFSetField(tif, TIFFTAG_JPEGQUALITY, (int)GetJpegQuality());
        rowsPerStrip = (rowsPerStrip + 7) / 8 * 8;
    } else if (compression == COMPRESSION_LZW && bitCount >= 8) {
        TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    }
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    return WritePixels(tif, samples);
}

// Rows from the top of the picture. Each row goes through a buffer of its
// own: some of libtiff's encoders change the data they are given.
bool CxImageTIF::WritePixels(TIFF* tif, uint16_t samples)
{
    DWORD width = GetWidth(), height = GetHeight();
    size_t rowBytes = info.effWidth;
    if (samples == 2)
        rowBytes = 2 * (size_t)width;
    else if (samples == 4)
        rowBytes = 4 * (size_t)width;
    BYTE* buffer = (BYTE*)malloc(rowBytes + 4);
    if (!buffer)
        return false;
    for (DWORD y = 0; y < height; ++y) {
        DWORD dibRow = height - 1 - y;
        const BYTE* pixels = GetBits(dibRow);
        const BYTE* alphaRow = alpha ? alpha + (size_t)dibRow * width : NULL;
        if (samples == 1) {
            memcpy(buffer, pixels, rowBytes);
        } else if (samples == 2) {
            for (DWORD x = 0; x < width; ++x) {
                buffer[2 * x] = pixels[x];
                buffer[2 * x + 1] = alphaRow[x];
            }
        } else {
            for (DWORD x = 0; x < width; ++x) {
                BYTE* out = buffer + samples * (size_t)x;
                out[0] = pixels[3 * x + 2];
                out[1] = pixels[3 * x + 1];
                out[2] = pixels[3 * x];
                if (samples == 4)
                    out[3] = alphaRow[x];
            }
        }
        if (TIFFWriteScanline(tif, buffer, y, 0) == -1) {
            free(buffer);
            return false;
        }
    }
    free(buffer);
    return true;
}
