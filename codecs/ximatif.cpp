#include "codecs/ximatif.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "codecs/ximabudget.h"
#include "codecs/xtiffio.h"
#include "platform/base/byte_reader.h"

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

// Sample i of a line: 16-, 24- and 32-bit samples come in the machine's
// byte order (libtiff swaps them), samples of other sizes are packed from
// the high bit.
uint32_t SampleAt(const BYTE* line, size_t i, uint16_t bits)
{
    if (bits == 16) {
        uint16_t value;
        memcpy(&value, line + 2 * i, 2);
        return value;
    }
    if (bits == 32) {
        uint32_t value;
        memcpy(&value, line + 4 * i, 4);
        return value;
    }
    if (bits == 24)
        return GetU24LE(line + 3 * i);
    uint64_t bit = (uint64_t)i * bits;
    uint32_t value = 0;
    for (uint16_t k = 0; k < bits; ++k, ++bit)
        value = (value << 1) | ((line[bit >> 3] >> (7 - (bit & 7))) & 1);
    return value;
}

// A level or palette index as a byte: as it is up to 8 bits, its high
// bits above.
BYTE Level(uint32_t value, uint16_t bits)
{
    return (BYTE)(bits <= 8 ? value : value >> (bits - 8));
}

// A sample scaled to the range 0 to 255: 16-bit samples by their high
// byte, as libtiff's RGBA reader takes them; samples of other sizes by
// their share of the largest value, rounded down, as ImageMagick takes
// them.
BYTE Scaled(uint32_t value, uint16_t bits)
{
    if (bits == 16)
        return (BYTE)(value >> 8);
    uint64_t maximum = ((uint64_t)1 << bits) - 1;
    return (BYTE)((uint64_t)value * 255 / maximum);
}

// A colour sample multiplied by its alpha sample (both of `bits` bits)
// brought back to itself, at the samples' own precision.
BYTE Unassociated(uint32_t colour, uint32_t alpha, uint16_t bits)
{
    uint64_t maximum = ((uint64_t)1 << bits) - 1;
    if (alpha == 0 || alpha >= maximum)
        return Scaled(colour, bits);
    uint64_t value = ((uint64_t)colour * 255 + alpha / 2) / alpha;
    return (BYTE)(value > 255 ? 255 : value);
}

// The colour samples of a photometric interpretation; further samples are
// extra ones, the first of them alpha.
uint16_t ColourSamples(uint16_t photometric)
{
    switch (photometric) {
    case PHOTOMETRIC_RGB:
    case PHOTOMETRIC_YCBCR:
    case PHOTOMETRIC_CIELAB:
    case PHOTOMETRIC_ICCLAB:
    case PHOTOMETRIC_ITULAB:
    case PHOTOMETRIC_LOGLUV:
        return 3;
    case PHOTOMETRIC_SEPARATED:
        return 4;
    default:
        return 1;
    }
}

// The most bytes of pixel data one byte of the file gives, by compression.
uint64_t Expansion(uint16_t compression)
{
    switch (compression) {
    case COMPRESSION_NONE: return CXIMAGE_EXPANSION_RAW;
    case COMPRESSION_PACKBITS: return CXIMAGE_EXPANSION_PACKBITS;
    case COMPRESSION_LZW: return CXIMAGE_EXPANSION_LZW;
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE: return CXIMAGE_EXPANSION_ZLIB;
    case COMPRESSION_JPEG:
    case COMPRESSION_OJPEG: return CXIMAGE_EXPANSION_JPEG;
    default: return CXIMAGE_EXPANSION_UNBOUNDED;
    }
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
    TIFF* tif = TIFFOpenEx(stream, "r", m_libtiffError);
    if (!tif)
        return Fail("Error encountered while opening TIFF file");
    bool decoded = DecodePage(tif, CxRemainingBytes(stream) + stream->Tell());
    TIFFClose(tif);
    return decoded;
}

bool CxImageTIF::DecodePage(TIFF* tif, uint64_t fileBytes)
{
    info.numFrames = (int32_t)TIFFNumberOfDirectories(tif);
    if (info.frame < 0 || !TIFFSetDirectory(tif, (tdir_t)info.frame))
        return Fail("Error: page not present in TIFF file");

    Page page;
    uint16_t orientation = 1, sampleFormat = SAMPLEFORMAT_UINT;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &page.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &page.height);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &page.samples);
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &page.bitsPerSample);
    TIFFGetField(tif, TIFFTAG_ROWSPERSTRIP, &page.rowsPerStrip);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &page.photometric);
    TIFFGetField(tif, TIFFTAG_ORIENTATION, &orientation);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &page.planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
    DWORD width = page.width, height = page.height;

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
    if (page.rowsPerStrip > height) {
        page.rowsPerStrip = height;
        // A tiled file has no strips: changing the tag would confuse libtiff.
        if (!TIFFIsTiled(tif))
            TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, page.rowsPerStrip);
    }

    // libtiff's RGBA reader takes RGB of 8 bits and more and CMYK, both
    // without alpha, YCbCr and the log formats; the samples of everything
    // else are read here.
    uint16_t photometric = page.photometric;
    bool withAlpha = page.samples > ColourSamples(photometric);
    uint16_t extraCount = 0;
    uint16_t* extraKinds = NULL;
    if (withAlpha && TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraKinds) &&
        extraCount > 0 && extraKinds)
        page.premultiplied = extraKinds[0] == EXTRASAMPLE_ASSOCALPHA;
    bool rgba = (page.bitsPerSample >= 8 && photometric == PHOTOMETRIC_RGB && !withAlpha) ||
                photometric == PHOTOMETRIC_YCBCR || photometric == PHOTOMETRIC_LOGL ||
                photometric == PHOTOMETRIC_LOGLUV ||
                (photometric == PHOTOMETRIC_SEPARATED && !withAlpha);
    // Signed samples are taken by their bits, as libtiff's RGBA reader
    // takes them.
    if (!rgba && sampleFormat != SAMPLEFORMAT_UINT && sampleFormat != SAMPLEFORMAT_INT &&
        sampleFormat != SAMPLEFORMAT_VOID)
        return Fail("unsupported sample format");
    if (!rgba && page.samples < ColourSamples(photometric))
        return Fail("too few samples per pixel");
    if (!rgba && (page.bitsPerSample < 1 || page.bitsPerSample > 32 ||
                  (photometric == PHOTOMETRIC_PALETTE && page.bitsPerSample > 8)))
        return Fail("unsupported bits per sample");
    DWORD depth = 8;
    if (rgba || ColourSamples(photometric) >= 3)
        depth = 24;
    else if (page.samples == 1 && page.bitsPerSample == 1)
        depth = 1;
    else if (page.samples == 1 && (page.bitsPerSample == 2 || page.bitsPerSample == 4))
        depth = 4;  // 2-bit samples are widened to nibbles

    uint16_t compression = COMPRESSION_NONE;
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
    if (info.escape)
        return Fail(kCancelled);
    if (!CheckPictureBudget(fileBytes, width, height,
                            (uint64_t)page.bitsPerSample * page.samples, Expansion(compression)))
        return false;
    // Samples read here come row by row from the top, so a row sink can
    // take them. So can the rows of 8-bit RGB pages stored from the top,
    // whose samples are the pixels libtiff's RGBA reader would make.
    bool plainRgb = rgba && photometric == PHOTOMETRIC_RGB && page.bitsPerSample == 8 && page.samples == 3 &&
                    sampleFormat == SAMPLEFORMAT_UINT && orientation == ORIENTATION_TOPLEFT &&
                    compression != COMPRESSION_OJPEG;
    CxRowSink* sink = !rgba || plainRgb ? RowSinkFor(width, height) : NULL;
    if (!Create(width, sink ? 1 : height, depth, CXIMAGE_FORMAT_TIF))
        return Fail("CxImageTIF can't create image");
    if (withAlpha) {
        AlphaCreate();
        if (!alpha)
            return Fail("CxImageTIF can't allocate memory");
    }
    SetCodecOption(compression, CXIMAGE_FORMAT_TIF);

    if (rgba && !sink)
        return DecodeRgba(tif, width, height);
    return DecodeSamples(tif, page, sink);
}

// The reason libtiff gave for the last failure, or a plain one.
bool CxImageTIF::FailWithLibtiffError(const char* otherwise)
{
    return Fail(m_libtiffError[0] ? m_libtiffError : otherwise);
}

bool CxImageTIF::DecodeRgba(TIFF* tif, DWORD width, DWORD height)
{
    char reason[1024] = "";
    if (!TIFFRGBAImageOK(tif, reason))
        return Fail(reason[0] ? reason : "unsupported TIFF image");
    uint64_t bytes = (uint64_t)width * height * sizeof(uint32_t);
    uint32_t* raster = bytes > (uint64_t)INT64_MAX ? NULL : (uint32_t*)_TIFFmalloc((tmsize_t)bytes);
    if (!raster)
        return Fail("No space for raster buffer");
    if (!TIFFReadRGBAImage(tif, width, height, raster, 1)) {
        _TIFFfree(raster);
        return FailWithLibtiffError("damaged TIFF data");
    }
    // Both the raster and the DIB have their first row at the bottom.
    for (DWORD y = 0; y < height; ++y) {
        if (info.escape) {
            _TIFFfree(raster);
            return Fail(kCancelled);
        }
        const uint32_t* source = raster + (size_t)y * width;
        BYTE* target = GetBits(y);
        BYTE* alphaRow = alpha ? alpha + (size_t)y * width : NULL;
        for (DWORD x = 0; x < width; ++x) {
            uint32_t opacity = alphaRow ? TIFFGetA(source[x]) : 255;
            // The reader gives colours multiplied by their alpha.
            target[3 * x] = Unassociated(TIFFGetB(source[x]), opacity, 8);
            target[3 * x + 1] = Unassociated(TIFFGetG(source[x]), opacity, 8);
            target[3 * x + 2] = Unassociated(TIFFGetR(source[x]), opacity, 8);
            if (alphaRow)
                alphaRow[x] = (BYTE)opacity;
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
        // Samples of 2 and 4 bits index their own levels; all others are
        // scaled to the 256 levels of an 8-bit image.
        uint16_t levelBits = GetBpp() == 8 ? 8 : bitsPerSample;
        CxTiffGreyPalette(palette, colours, levelBits, photometric == PHOTOMETRIC_MINISWHITE);
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

// Reads one band of rows (from row ys) of one sample plane (0 when the
// samples are contiguous) into `band`, lines of `lineBytes` bytes.
bool CxImageTIF::ReadBand(TIFF* tif, const Page& page, uint32_t ys, uint32_t rows, uint16_t plane,
                          size_t lineBytes, BYTE* band, BYTE* tile)
{
    if (!TIFFIsTiled(tif))
        return TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, ys, plane), band,
                                    (tmsize_t)(rows * lineBytes)) != -1;
    uint32_t tileWidth = 0;
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
    size_t tileBytes = (size_t)TIFFTileSize(tif);
    size_t tileRowBytes = (size_t)TIFFTileRowSize(tif);
    size_t column = 0;  // byte offset of the tile column in a line
    for (uint32_t col = 0; col < page.width && column < lineBytes; col += tileWidth) {
        if (TIFFReadTile(tif, tile, col, ys, 0, plane) < 0)
            return false;
        size_t copy = tileRowBytes;
        if (column + copy > lineBytes)
            copy = lineBytes - column;
        uint32_t tileRows = (uint64_t)rows * tileRowBytes <= tileBytes
                                ? rows : (uint32_t)(tileBytes / tileRowBytes);
        TileToStrip(band + column, tile, tileRows, copy, lineBytes - copy, tileRowBytes - copy);
        column += tileRowBytes;
    }
    return true;
}

// Grey, palette, CIE L*a*b*, RGB with alpha or below 8 bits and CMYK with
// alpha (and plain 8-bit RGB for a row sink): the samples of each band,
// contiguous or one plane after the other, into the image's rows, or into
// its one row for each row the sink takes.
bool CxImageTIF::DecodeSamples(TIFF* tif, const Page& page, CxRowSink* sink)
{
    if (!SetPaletteFromFile(tif, page.bitsPerSample, page.photometric))
        return false;
    bool planar = page.planar == PLANARCONFIG_SEPARATE && page.samples > 1;
    uint16_t planes = planar ? page.samples : 1;
    uint16_t lineSamples = planar ? 1 : page.samples;
    size_t lineBytes = (size_t)(((uint64_t)page.width * page.bitsPerSample * lineSamples + 7) / 8);
    uint32_t rowsPerStrip = page.rowsPerStrip;
    bool tiled = TIFFIsTiled(tif) != 0;
    size_t tileBytes = 0;
    if (tiled) {
        uint32_t tileWidth = 0, tileLength = 0;
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileLength);
        tileBytes = (size_t)TIFFTileSize(tif);
        if (tileWidth == 0 || tileLength == 0 || tileBytes == 0 || TIFFTileRowSize(tif) == 0)
            return Fail("damaged TIFF tiles");
        rowsPerStrip = tileLength;
    }
    if (rowsPerStrip == 0)
        return Fail("damaged TIFF strips");
    // A band of rows is read whole: each plane's buffer holds rows per
    // strip lines.
    uint64_t bandBytes = (uint64_t)(rowsPerStrip < page.height ? rowsPerStrip : page.height) *
                         lineBytes;
    if (bandBytes > 0x7FFFFFFF)
        return Fail("CxImageTIF can't allocate memory");
    std::vector<BYTE> bands, tile;
    std::vector<uint32_t> samples;
    try {
        bands.assign((size_t)bandBytes * planes + 1, 0);
        tile.assign(tileBytes, 0);
        samples.assign((size_t)page.width * page.samples, 0);
    } catch (...) {
        return Fail("CxImageTIF can't allocate memory");
    }

    for (uint32_t ys = 0; ys < page.height; ys += rowsPerStrip) {
        if (info.escape)
            return Fail(kCancelled);
        uint32_t rows = rowsPerStrip < page.height - ys ? rowsPerStrip : page.height - ys;
        for (uint16_t plane = 0; plane < planes; ++plane) {
            if (!ReadBand(tif, page, ys, rows, plane, lineBytes, &bands[plane * bandBytes],
                          tile.data()))
                return FailWithLibtiffError("damaged TIFF data");
        }
        for (uint32_t j = 0; j < rows; ++j) {
            DWORD dibRow = sink ? 0 : page.height - ys - 1 - j;
            const BYTE* line = &bands[j * lineBytes];
            if (planar || !PutPackedRow(line, lineBytes, dibRow, page)) {
                for (uint16_t plane = 0; plane < planes; ++plane) {
                    const BYTE* planeLine = &bands[plane * bandBytes + j * lineBytes];
                    for (size_t i = 0; i < (size_t)page.width * lineSamples; ++i)
                        samples[i * planes + plane] = SampleAt(planeLine, i, page.bitsPerSample);
                }
                PutSamples(samples.data(), dibRow, page);
            }
            if (sink)
                sink->TakeRow(*this);
        }
    }
    return true;
}

// One sample a pixel of 1, 2, 4 or 8 bits is the DIB's own layout (2-bit
// samples widened to nibbles), and 8-bit RGB without alpha the DIB's
// pixels in the other order; false for any other line.
bool CxImageTIF::PutPackedRow(const BYTE* line, size_t lineBytes, DWORD dibRow, const Page& page)
{
    BYTE* pixels = GetBits(dibRow);
    if (page.samples == 3 && page.bitsPerSample == 8 && page.photometric == PHOTOMETRIC_RGB) {
        for (size_t x = 0; x < GetWidth() && 3 * x + 2 < lineBytes; ++x) {
            pixels[3 * x] = line[3 * x + 2];
            pixels[3 * x + 1] = line[3 * x + 1];
            pixels[3 * x + 2] = line[3 * x];
        }
        return true;
    }
    if (page.samples != 1)
        return false;
    switch (page.bitsPerSample) {
    case 1:
    case 4:
    case 8:
        memcpy(pixels, line, lineBytes < info.effWidth ? lineBytes : info.effWidth);
        return true;
    case 2:
        for (DWORD x = 0; x < GetWidth() && x / 4 < lineBytes; ++x) {
            BYTE value = (BYTE)((line[x / 4] >> (6 - 2 * (x % 4))) & 3);
            BYTE& target = pixels[x / 2];
            target = (x % 2 == 0) ? (BYTE)((target & 0x0F) | (value << 4))
                                  : (BYTE)((target & 0xF0) | value);
        }
        return true;
    default:
        return false;
    }
}

// One row of samples (page.samples a pixel, as read) into the image.
void CxImageTIF::PutSamples(const uint32_t* samples, DWORD dibRow, const Page& page)
{
    uint16_t bits = page.bitsPerSample;
    uint16_t count = page.samples;
    uint16_t colours = ColourSamples(page.photometric);
    bool grey = page.photometric <= PHOTOMETRIC_MINISBLACK;
    BYTE* pixels = GetBits(dibRow);
    BYTE* alphaRow = alpha ? alpha + (size_t)dibRow * GetWidth() : NULL;
    for (DWORD x = 0; x < GetWidth(); ++x) {
        const uint32_t* pixel = samples + (size_t)x * count;
        BYTE opacity = count > colours ? Scaled(pixel[colours], bits) : 255;
        if (alphaRow)
            alphaRow[x] = opacity;
        if (GetBpp() == 8) {
            // Grey levels are spread over the grey palette; palette indices
            // stay as they are.
            pixels[x] = grey ? Scaled(pixel[0], bits) : Level(pixel[0], bits);
            continue;
        }
        BYTE* bgr = pixels + 3 * (size_t)x;
        if (page.photometric == PHOTOMETRIC_RGB) {
            if (page.premultiplied && count > colours) {
                bgr[0] = Unassociated(pixel[2], pixel[colours], bits);
                bgr[1] = Unassociated(pixel[1], pixel[colours], bits);
                bgr[2] = Unassociated(pixel[0], pixel[colours], bits);
                continue;
            }
            bgr[0] = Scaled(pixel[2], bits);
            bgr[1] = Scaled(pixel[1], bits);
            bgr[2] = Scaled(pixel[0], bits);
        } else if (page.photometric == PHOTOMETRIC_SEPARATED) {
            // Ink covers the white: each channel keeps what its ink and the
            // black leave.
            uint32_t white = 255 - Scaled(pixel[3], bits);
            bgr[0] = (BYTE)((255 - Scaled(pixel[2], bits)) * white / 255);
            bgr[1] = (BYTE)((255 - Scaled(pixel[1], bits)) * white / 255);
            bgr[2] = (BYTE)((255 - Scaled(pixel[0], bits)) * white / 255);
        } else {
            BYTE lab[3] = { Level(pixel[0], bits), Level(pixel[1], bits), Level(pixel[2], bits) };
            LabToBgr(lab, bgr);
        }
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
