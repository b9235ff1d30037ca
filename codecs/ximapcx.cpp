#include "codecs/ximapcx.h"

#include <string.h>

#include <vector>

#include "codecs/ximabudget.h"
#include "codecs/ximawriter.h"
#include "codecs/xmemfile.h"
#include "platform/base/byte_reader.h"

namespace {

const DWORD kHeaderBytes = 128;
const BYTE kManufacturer = 10;
const BYTE kVersion = 5;
const BYTE kRunLength = 1;
const BYTE kPaletteMarker = 0x0C;
const int kMaxPlanes = 4;
const int kMaxRun = 63;

// Header offsets.
enum {
    kOffBitsPerPixel = 3, kOffXMin = 4, kOffYMin = 6, kOffXMax = 8, kOffYMax = 10,
    kOffXDpi = 12, kOffYDpi = 14, kOffColourMap = 16, kOffPlanes = 65,
    kOffBytesPerLine = 66, kOffPaletteInfo = 68
};

// A run of the data stream may continue into the next line.
struct RunState {
    DWORD count = 0;
    BYTE value = 0;
};

// Expands the next `bytes` bytes of the run-length stream into `line`;
// `expected` counts the bytes still owed for the whole image. Returns the
// failure message, or null.
const char* ExpandLine(CxFile* stream, BYTE* line, DWORD bytes, uint64_t& expected,
                       RunState& run)
{
    DWORD filled = 0;
    while (filled < bytes) {
        if (run.count) {
            DWORD take = run.count < bytes - filled ? run.count : bytes - filled;
            memset(line + filled, run.value, take);
            filled += take;
            run.count -= take;
            continue;
        }
        int byte = stream->GetC();
        if (byte < 0)
            return "corrupted PCX";
        if ((byte & 0xC0) != 0xC0) {
            line[filled++] = (BYTE)byte;
            --expected;
            continue;
        }
        int value = stream->GetC();
        if (value < 0)
            return "corrupted PCX";
        DWORD count = byte & 0x3F;
        if (count > expected)
            return "repeat count spans end of image";
        expected -= count;
        run.count = count;
        run.value = (BYTE)value;
    }
    return NULL;
}

// Bit planes of 1-bit data into one index per pixel (bytesPerLine x 8).
const char* PlanesToIndices(BYTE* pixels, const BYTE* planes, DWORD bytesPerLine, int planeCount,
                            int bitsPerPixel)
{
    if (planeCount > kMaxPlanes)
        return "Can't handle more than 4 planes";
    if (bitsPerPixel != 1)
        return "Can't handle more than 1 bit per pixel";
    memset(pixels, 0, (size_t)bytesPerLine * 8);
    for (int plane = 0; plane < planeCount; ++plane) {
        const BYTE* bytes = planes + (size_t)plane * bytesPerLine;
        BYTE* pixel = pixels;
        for (DWORD i = 0; i < bytesPerLine; ++i) {
            for (int bit = 7; bit >= 0; --bit, ++pixel) {
                if (bytes[i] & (1 << bit))
                    *pixel |= (BYTE)(1 << plane);
            }
        }
    }
    return NULL;
}

// Packed 1-, 2-, 4- or 8-bit data of one plane into one index per pixel.
const char* UnpackRow(BYTE* pixels, const BYTE* bytes, DWORD bytesPerLine, int planeCount,
                      int bitsPerPixel)
{
    if (planeCount != 1)
        return "Can't handle packed pixels with more than 1 plane.";
    if (bitsPerPixel != 1 && bitsPerPixel != 2 && bitsPerPixel != 4 && bitsPerPixel != 8)
        return NULL;
    int perByte = 8 / bitsPerPixel;
    BYTE mask = (BYTE)((1 << bitsPerPixel) - 1);
    for (DWORD i = 0; i < bytesPerLine; ++i) {
        for (int k = 0; k < perByte; ++k)
            *pixels++ = (BYTE)((bytes[i] >> (8 - bitsPerPixel * (k + 1))) & mask);
    }
    return NULL;
}

// One value of a 24- or 8-bit line into the run-length output; -1 ends a
// line of even width, -2 one of odd width (with its pad byte).
void PutRunValue(CxCheckedWriter& out, int value, int& last, int& count)
{
    if (value != last && count > 0) {
        if (count == 1 && last < 0xC0) {
            out.PutByte((BYTE)last);
        } else {
            out.PutByte((BYTE)(0xC0 | count));
            out.PutByte((BYTE)last);
        }
        count = 0;
    }
    if (count == kMaxRun) {
        out.PutByte(0xFF);
        out.PutByte((BYTE)last);
        count = 0;
    }
    if (value == -2)
        out.PutByte(0);
    last = value & 0xFF;
    ++count;
}

void PutRun(CxCheckedWriter& out, BYTE value, int count)
{
    if (count > 1 || (value & 0xC0) == 0xC0)
        out.PutByte((BYTE)(count | 0xC0));
    out.PutByte(value);
}

// A whole plane line into the run-length output.
void PutPlaneRuns(CxCheckedWriter& out, const BYTE* bytes, DWORD size)
{
    BYTE previous = bytes[0];
    int count = 1;
    for (DWORD i = 1; i < size; ++i) {
        if (bytes[i] == previous && count < kMaxRun) {
            ++count;
            continue;
        }
        PutRun(out, previous, count);
        previous = bytes[i];
        count = 1;
    }
    PutRun(out, previous, count);
}

// Bit `plane` of every index into an MSB-first bit line.
void IndicesToPlane(const BYTE* indices, DWORD width, BYTE* line, int plane)
{
    for (DWORD x = 0; x < width; ++x) {
        if (indices[x] & (1 << plane))
            line[x / 8] |= (BYTE)(0x80 >> (x % 8));
    }
}

}  // namespace

struct CxImagePCX::FileLayout {
    int bitsPerPixel;
    int planes;
    DWORD bytesPerLine;
    bool trueColour;  // 3 or 4 planes of 8 bits
};

bool CxImagePCX::Decode(CxFile* stream)
{
    if (!stream)
        return false;
    BYTE head[kHeaderBytes];
    if (stream->Read(head, 1, kHeaderBytes) != kHeaderBytes)
        return Fail("Can't read PCX image");
    if (head[0] != kManufacturer)
        return Fail("Error: Not a PCX file");
    if (head[2] != kRunLength)
        return Fail("PCX file has unknown encoding scheme");
    info.xDpi = GetU16LE(head + kOffXDpi);
    info.yDpi = GetU16LE(head + kOffYDpi);
    int32_t width = (int32_t)GetU16LE(head + kOffXMax) - GetU16LE(head + kOffXMin) + 1;
    int32_t height = (int32_t)GetU16LE(head + kOffYMax) - GetU16LE(head + kOffYMin) + 1;
    FileLayout layout = { head[kOffBitsPerPixel], head[kOffPlanes],
                          GetU16LE(head + kOffBytesPerLine), false };
    layout.trueColour = layout.planes >= 3 && layout.bitsPerPixel == 8;
    if (layout.planes > kMaxPlanes)
        return Fail("Can't handle image with more than 4 planes");
    if (width <= 0 || height <= 0 || layout.planes == 0)
        return Fail("corrupted PCX");

    uint64_t lineNeeds;
    if (layout.trueColour)
        lineNeeds = (uint64_t)width;
    else if (layout.planes == 1)
        lineNeeds = ((uint64_t)width * layout.bitsPerPixel + 7) / 8;
    else
        lineNeeds = ((uint64_t)width + 7) / 8;
    if (layout.bytesPerLine < lineNeeds)
        return Fail("corrupted PCX");

    // 2 or 3 planes of 1 bit hold indices up to 7: they need 4 bits too.
    DWORD depth = layout.trueColour ? 24 : (layout.planes > 1 && layout.bitsPerPixel == 1)
                                        ? 4 : (DWORD)layout.bitsPerPixel;
    // The coded rows: the bytes of every plane's line.
    if (!CheckPictureBudget(CxRemainingBytes(stream), (uint64_t)layout.bytesPerLine * layout.planes,
                            (uint64_t)height, 8, CXIMAGE_EXPANSION_RUNS) ||
        !Create((DWORD)width, (DWORD)height, depth, CXIMAGE_FORMAT_PCX))
        return false;
    if (layout.planes == 4 && layout.trueColour)
        AlphaCreate();
    if (info.escape)
        return Fail("Cancelled");

    SetPalette((const CxRgbTriple*)(head + kOffColourMap), 16);
    if (layout.planes == 1 && layout.bitsPerPixel == 1) {
        SetPaletteColor(0, 0, 0, 0);
        SetPaletteColor(1, 255, 255, 255);
    }
    if (!DecodeLines(stream, layout))
        return false;
    if (layout.planes == 1 && layout.bitsPerPixel == 8)
        return ReadTrailingPalette(stream);
    return true;
}

bool CxImagePCX::DecodeLines(CxFile* stream, const FileLayout& layout)
{
    DWORD width = GetWidth(), height = GetHeight();
    DWORD lineBytes = layout.bytesPerLine * layout.planes;
    std::vector<BYTE> line(lineBytes);
    std::vector<BYTE> indices((size_t)layout.bytesPerLine * 8 + 8);
    uint64_t expected = (uint64_t)lineBytes * height;
    RunState run;
    for (DWORD y = 0; y < height; ++y) {
        if (info.escape)
            return Fail("Cancelled");
        const char* failure = ExpandLine(stream, line.data(), lineBytes, expected, run);
        if (failure)
            return Fail(failure);
        DWORD dibRow = height - 1 - y;
        if (layout.trueColour) {
            PutTrueColourLine(layout, line.data(), dibRow);
            continue;
        }
        if (layout.planes == 1)
            failure = UnpackRow(indices.data(), line.data(), layout.bytesPerLine, layout.planes,
                                layout.bitsPerPixel);
        else
            failure = PlanesToIndices(indices.data(), line.data(), layout.bytesPerLine,
                                      layout.planes, layout.bitsPerPixel);
        if (failure)
            return Fail(failure);
        for (DWORD x = 0; x < width; ++x)
            SetPixelIndex(x, dibRow, indices[x]);
    }
    return true;
}

void CxImagePCX::PutTrueColourLine(const FileLayout& layout, const BYTE* line, DWORD dibRow)
{
    const BYTE* red = line;
    const BYTE* green = line + layout.bytesPerLine;
    const BYTE* blue = line + 2 * (size_t)layout.bytesPerLine;
    BYTE* pixel = GetBits(dibRow);
    DWORD width = GetWidth();
    for (DWORD x = 0; x < width; ++x, pixel += 3) {
        pixel[0] = blue[x];
        pixel[1] = green[x];
        pixel[2] = red[x];
    }
    if (layout.planes == 4) {
        const BYTE* alphaPlane = line + 3 * (size_t)layout.bytesPerLine;
        for (DWORD x = 0; x < width; ++x)
            AlphaSet(x, dibRow, alphaPlane[x]);
    }
}

bool CxImagePCX::ReadTrailingPalette(CxFile* stream)
{
    if (stream->GetC() != kPaletteMarker)
        return Fail("bad color map signature");
    CxRgbTriple entries[256];
    memset(entries, 0, sizeof(entries));
    stream->Read(entries, 3, 256);
    SetPalette(entries, 256);
    return true;
}

bool CxImagePCX::Encode(CxFile* stream)
{
    if (EncodeSafeCheck(stream))
        return false;
    DWORD width = GetWidth(), height = GetHeight();
    BYTE head[kHeaderBytes];
    memset(head, 0, sizeof(head));
    head[0] = kManufacturer;
    head[1] = kVersion;
    head[2] = kRunLength;
    int planes;
    DWORD bytesPerLine;
    if (GetBpp() >= 8) {
        head[kOffBitsPerPixel] = 8;
        planes = GetBpp() == 8 ? 1 : AlphaIsValid() ? 4 : 3;
        bytesPerLine = width;
    } else {
        head[kOffBitsPerPixel] = 1;
        planes = GetNumColors() == 16 ? 4 : 1;
        bytesPerLine = (width + 7) / 8;
        CxRgbTriple* map = (CxRgbTriple*)(head + kOffColourMap);
        if (planes == 4) {
            for (BYTE i = 0; i < 16; ++i)
                GetPaletteRGB(i, &map[i].red, &map[i].green, &map[i].blue);
        } else {
            map[1].red = map[1].green = map[1].blue = 255;
        }
    }
    bytesPerLine += bytesPerLine & 1;
    if (bytesPerLine > 0xFFFF)
        return Fail("Can't save this image as PCX");
    PutU16LE(head + kOffXMax, width - 1);
    PutU16LE(head + kOffYMax, height - 1);
    PutU16LE(head + kOffXDpi, (WORD)GetXDPI());
    PutU16LE(head + kOffYDpi, (WORD)GetYDPI());
    head[kOffPlanes] = (BYTE)planes;
    PutU16LE(head + kOffBytesPerLine, bytesPerLine);
    PutU16LE(head + kOffPaletteInfo, GetBpp() == 24 ? 1 : 0);
    if (stream->Write(head, 1, kHeaderBytes) != kHeaderBytes)
        return Fail("cannot write PCX header");

    CxMemFile data;
    if (!data.Open())
        return Fail("Can't allocate memory");
    bool collected;
    if (GetBpp() == 24)
        collected = EncodeTrueColour(&data);
    else if (GetBpp() == 8)
        collected = EncodePaletteBytes(&data);
    else
        collected = EncodePlanes(&data, bytesPerLine, planes);
    if (!collected)
        return Fail("Can't allocate memory");
    CxCheckedWriter out(stream);
    out.Put(data.GetBuffer(false), (DWORD)data.Size());
    if (GetBpp() == 8) {
        out.PutByte(kPaletteMarker);
        for (DWORD i = 0; i < 256; ++i) {
            RGBQUAD color = GetPaletteColor((BYTE)i);
            BYTE triple[3] = { color.rgbRed, color.rgbGreen, color.rgbBlue };
            out.Put(triple, 3);
        }
    }
    if (!out.Ok())
        return Fail("Write Error in PCX file");
    return true;
}

bool CxImagePCX::EncodeTrueColour(CxFile* data)
{
    CxCheckedWriter out(data);
    DWORD width = GetWidth();
    int planes = AlphaIsValid() ? 4 : 3;
    int lineEnd = (width & 1) ? -2 : -1;
    for (DWORD row = GetHeight(); row-- > 0;) {
        const BYTE* pixels = GetBits(row);
        for (int plane = 0; plane < planes; ++plane) {
            int last = 0, count = 0;
            for (DWORD x = 0; x < width; ++x) {
                int value = plane == 3 ? AlphaGet(x, row) : pixels[3 * x + 2 - plane];
                PutRunValue(out, value, last, count);
            }
            PutRunValue(out, lineEnd, last, count);
        }
    }
    return out.Ok();
}

bool CxImagePCX::EncodePaletteBytes(CxFile* data)
{
    CxCheckedWriter out(data);
    DWORD width = GetWidth();
    int lineEnd = (width & 1) ? -2 : -1;
    for (DWORD row = GetHeight(); row-- > 0;) {
        const BYTE* pixels = GetBits(row);
        int last = 0, count = 0;
        for (DWORD x = 0; x < width; ++x)
            PutRunValue(out, pixels[x], last, count);
        PutRunValue(out, lineEnd, last, count);
    }
    return out.Ok();
}

bool CxImagePCX::EncodePlanes(CxFile* data, DWORD bytesPerLine, int planeCount)
{
    CxCheckedWriter out(data);
    DWORD width = GetWidth();
    // A 1-bit file is black at 0: a palette with the brighter colour first
    // is written with its bits inverted.
    RGBQUAD first = GetPaletteColor(0), second = GetPaletteColor(1);
    bool invert = GetBpp() == 1 && CompareColors(&first, &second) > 0;
    std::vector<BYTE> indices(width);
    std::vector<BYTE> line(bytesPerLine);
    for (DWORD row = GetHeight(); row-- > 0;) {
        for (DWORD x = 0; x < width; ++x) {
            BYTE index = GetPixelIndex(x, row);
            indices[x] = invert ? (BYTE)(1 - index) : index;
        }
        for (int plane = 0; plane < planeCount; ++plane) {
            memset(line.data(), 0, bytesPerLine);
            IndicesToPlane(indices.data(), width, line.data(), plane);
            PutPlaneRuns(out, line.data(), bytesPerLine);
        }
    }
    return out.Ok();
}
