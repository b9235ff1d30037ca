#include "codecs/ximatga.h"

#include <string.h>

#include "codecs/ximabudget.h"
#include "codecs/ximawriter.h"
#include "platform/base/byte_reader.h"

namespace {

const DWORD kHeaderBytes = 18;
const DWORD kMaxColourMap = 256;
const BYTE kRightToLeft = 0x10;
const BYTE kTopToBottom = 0x20;
const BYTE kRunPacket = 0x80;

enum {
    kOffIdLength = 0, kOffMapType = 1, kOffImageType = 2, kOffMapFirst = 3, kOffMapLength = 5,
    kOffMapEntryBits = 7, kOffWidth = 12, kOffHeight = 14, kOffDepth = 16,
    kOffDescriptor = 17
};

enum ImageType {
    kMapped = 1, kTrueColour = 2, kGrey = 3,
    kRleMapped = 9, kRleTrueColour = 10, kRleGrey = 11
};

bool IsPixelDepth(int bits)
{
    return bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

// A 15- or 16-bit value: blue in bits 0 to 4, green 5 to 9, red 10 to 14.
RGBQUAD FromWord(const BYTE* bytes)
{
    WORD word = GetU16LE(bytes);
    RGBQUAD color;
    color.rgbBlue = (BYTE)((word & 0x1F) << 3);
    color.rgbGreen = (BYTE)(((word >> 5) & 0x1F) << 3);
    color.rgbRed = (BYTE)(((word >> 10) & 0x1F) << 3);
    color.rgbReserved = 0;
    return color;
}

RGBQUAD FromBytes(const BYTE* bytes, int bits)
{
    if (bits <= 16)
        return FromWord(bytes);
    RGBQUAD color = { bytes[0], bytes[1], bytes[2], 0 };
    return color;
}

}  // namespace

bool CxImageTGA::Decode(CxFile* stream)
{
    if (!stream)
        return false;
    BYTE head[kHeaderBytes];
    if (stream->Read(head, 1, kHeaderBytes) != kHeaderBytes)
        return Fail("Not a TGA");
    int type = head[kOffImageType];
    bool compressed;
    if (type == kMapped || type == kTrueColour || type == kGrey)
        compressed = false;
    else if (type == kRleMapped || type == kRleTrueColour || type == kRleGrey)
        compressed = true;
    else
        return Fail("Unknown TGA image type");
    DWORD width = GetU16LE(head + kOffWidth);
    DWORD height = GetU16LE(head + kOffHeight);
    DWORD mapFirst = GetU16LE(head + kOffMapFirst);
    DWORD mapLength = GetU16LE(head + kOffMapLength);
    int mapEntryBits = head[kOffMapEntryBits];
    bool hasMap = head[kOffMapType] != 0;
    m_fileDepth = head[kOffDepth];
    if (width == 0 || height == 0 || m_fileDepth == 0 || mapLength > kMaxColourMap ||
        !IsPixelDepth(m_fileDepth) || (hasMap && mapEntryBits != 8 && !IsPixelDepth(mapEntryBits)))
        return Fail("bad TGA header");

    stream->Seek(head[kOffIdLength], SEEK_CUR);
    if (!CheckPictureBudget(CxRemainingBytes(stream), width, height, m_fileDepth,
                            compressed ? CXIMAGE_EXPANSION_RUNS : CXIMAGE_EXPANSION_RAW))
        return false;
    // 16-bit grey pixels are a grey level and an alpha value.
    m_greyAlpha = (type == kGrey || type == kRleGrey) && m_fileDepth == 16;
    if (!Create(width, height, m_greyAlpha ? 8 : m_fileDepth, CXIMAGE_FORMAT_TGA))
        return Fail("TGA Create failed");
    if (m_fileDepth == 32 || m_greyAlpha)
        AlphaCreate();
    if (info.escape)
        return Fail("Cancelled");
    if (hasMap && !ReadColourMap(stream, mapFirst, mapLength, mapEntryBits))
        return Fail("corrupted TGA");
    if (type == kGrey || type == kRleGrey)
        SetGrayPalette();

    bool topToBottom = (head[kOffDescriptor] & kTopToBottom) != 0;
    m_line.assign((size_t)width * 4, 0);
    RleCarry carry;
    for (DWORD y = 0; y < height; ++y) {
        if (info.escape)
            return Fail("Cancelled");
        // A run carried over from the last row needs no more bytes.
        bool carriedRun = carry.header >= 0 && (carry.header & kRunPacket);
        if (!carriedRun && stream->Eof())
            return Fail("corrupted TGA");
        DWORD dibRow = topToBottom ? height - 1 - y : y;
        if (compressed)
            ReadRleRow(stream, dibRow, carry);
        else
            ReadRawPixels(stream, dibRow, 0, width);
    }
    if (head[kOffDescriptor] & kRightToLeft)
        return Mirror();
    return true;
}

// Map entry i is palette entry first + i. Entries of 8 bits are grey
// levels; 15 and 16 bits pack five bits a channel; 24 and 32 bits are blue,
// green, red (and an unused fourth).
bool CxImageTGA::ReadColourMap(CxFile* stream, DWORD first, DWORD length, int entryBits)
{
    DWORD entryBytes = (entryBits + 7) / 8;
    BYTE raw[kMaxColourMap * 4];
    if (stream->Read(raw, entryBytes, length) != length)
        return false;
    for (DWORD i = 0; i < length && first + i < GetNumColors(); ++i) {
        const BYTE* entry = raw + i * entryBytes;
        RGBQUAD color = entryBits == 8 ? RGBQUAD{ entry[0], entry[0], entry[0], 0 }
                                       : FromBytes(entry, entryBits);
        SetPaletteColor((BYTE)(first + i), color);
    }
    return true;
}

void CxImageTGA::PutPixel(DWORD x, DWORD dibRow, const BYTE* value)
{
    BYTE* row = GetBits(dibRow);
    if (GetBpp() == 8) {
        row[x] = value[0];
        if (m_greyAlpha)
            AlphaSet(x, dibRow, value[1]);
        return;
    }
    RGBQUAD color = FromBytes(value, m_fileDepth);
    BYTE* pixel = row + 3 * (size_t)x;
    pixel[0] = color.rgbBlue;
    pixel[1] = color.rgbGreen;
    pixel[2] = color.rgbRed;
    if (m_fileDepth == 32)
        AlphaSet(x, dibRow, value[3]);
}

bool CxImageTGA::ReadRawPixels(CxFile* stream, DWORD dibRow, DWORD first, DWORD count)
{
    DWORD pixelBytes = (m_fileDepth + 7) / 8;
    DWORD got = stream->Read(m_line.data(), pixelBytes, count);
    for (DWORD i = 0; i < got; ++i)
        PutPixel(first + i, dibRow, m_line.data() + i * pixelBytes);
    return got == count;
}

void CxImageTGA::ReadRleRow(CxFile* stream, DWORD dibRow, RleCarry& carry)
{
    DWORD width = GetWidth();
    DWORD pixelBytes = (m_fileDepth + 7) / 8;
    DWORD x = 0;
    while (x < width) {
        bool carried = carry.header >= 0;
        int header = carried ? carry.header : stream->GetC();
        carry.header = -1;
        if (header < 0)
            return;
        DWORD count = (header & 0x7F) + 1;
        if (x + count > width) {
            carry.header = (header & kRunPacket) | (int)(x + count - width - 1);
            count = width - x;
        }
        if (header & kRunPacket) {
            if (!carried && stream->Read(carry.value, pixelBytes, 1) != 1) {
                carry.header = -1;
                return;
            }
            for (DWORD i = 0; i < count; ++i)
                PutPixel(x + i, dibRow, carry.value);
        } else if (!ReadRawPixels(stream, dibRow, x, count)) {
            carry.header = -1;
            return;
        }
        x += count;
    }
}

bool CxImageTGA::Encode(CxFile* stream)
{
    if (EncodeSafeCheck(stream))
        return false;
    if (GetBpp() < 8)
        return Fail("Bit depth must be 8 or 24");
    DWORD width = GetWidth(), height = GetHeight();
    if (width > 0xFFFF || height > 0xFFFF)
        return Fail("Can't save this image as TGA");
    bool withAlpha = GetBpp() == 24 && AlphaIsValid();
    bool mapped = GetBpp() == 8;
    BYTE head[kHeaderBytes];
    memset(head, 0, sizeof(head));
    head[kOffMapType] = IsIndexed() ? 1 : 0;
    head[kOffImageType] = mapped ? kMapped : kTrueColour;
    PutU16LE(head + kOffMapLength, mapped ? 256 : 0);
    head[kOffMapEntryBits] = mapped ? 24 : 0;
    PutU16LE(head + kOffWidth, width);
    PutU16LE(head + kOffHeight, height);
    head[kOffDepth] = withAlpha ? 32 : (BYTE)GetBpp();
    // The low four bits count the alpha bits of a pixel.
    head[kOffDescriptor] = withAlpha ? 8 : 0;

    CxCheckedWriter out(stream);
    out.Put(head, kHeaderBytes);
    if (mapped) {
        for (DWORD i = 0; i < 256; ++i) {
            RGBQUAD color = GetPaletteColor((BYTE)i);
            BYTE entry[3] = { color.rgbBlue, color.rgbGreen, color.rgbRed };
            out.Put(entry, 3);
        }
    }
    std::vector<BYTE> line((size_t)width * 4);
    for (DWORD row = 0; row < height && out.Ok(); ++row) {
        const BYTE* pixels = GetBits(row);
        if (!withAlpha) {
            out.Put(pixels, (GetBpp() / 8) * width);
            continue;
        }
        for (DWORD x = 0; x < width; ++x) {
            memcpy(&line[4 * (size_t)x], pixels + 3 * (size_t)x, 3);
            line[4 * (size_t)x + 3] = (BYTE)(GetAlphaMax() * AlphaGet(x, row) / 255);
        }
        out.Put(line.data(), width * 4);
    }
    if (!out.Ok())
        return Fail("Write Error in TGA file");
    return true;
}
