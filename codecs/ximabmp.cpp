#include "codecs/ximabmp.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "codecs/ximabudget.h"
#include "platform/base/byte_reader.h"

namespace {

const WORD kBmpType = 0x4D42;  // "BM"
const DWORD kFileHeaderBytes = 14;
const DWORD kInfoHeaderBytes = 40;
const DWORD kCoreHeaderBytes = 12;
const DWORD kOs2HeaderBytes = 64;
// Windows headers of version 2 to 5 carry the bit-field masks at byte 40.
const DWORD kMaskedHeaderBytes[] = { 52, 56, 108, 124 };

bool IsMaskedHeader(DWORD size)
{
    for (DWORD known : kMaskedHeaderBytes) {
        if (size == known)
            return true;
    }
    return false;
}

uint64_t PackedRowBytes(int64_t width, DWORD bitCount)
{
    return (uint64_t)(((width * bitCount + 31) / 8) & ~(int64_t)3);
}

bool IsBitCount(WORD bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

bool SeekTo(CxFile* stream, int64_t position)
{
    if (position < 0 || position > 0x7FFFFFFF)
        return false;
    return stream->Seek((int32_t)position, SEEK_SET);
}

// Writes decoded run-length pixels (bytes for RLE8, nibbles for RLE4) into
// the pixel rows, clipped to the rows and their effective width.
class RleCursor {
public:
    RleCursor(BYTE* pixels, DWORD effWidth, DWORD height, bool nibbles)
        : m_pixels(pixels), m_effWidth(effWidth), m_height(height), m_nibbles(nibbles),
          m_x(0), m_y(0) {}

    // The pixels a row holds up to its effective width.
    int64_t RowPixels() const { return m_nibbles ? 2 * (int64_t)m_effWidth : m_effWidth; }
    int64_t X() const { return m_x; }
    void NewLine() { m_x = 0; ++m_y; }
    void Move(int64_t dx, int64_t dy) { m_x += dx; m_y += dy; }

    // A nibble goes into the high half of its byte (clearing the low half)
    // or is ORed into the low half.
    void Put(BYTE value)
    {
        int64_t byte = m_nibbles ? m_x >> 1 : m_x;
        if (m_y >= 0 && m_y < (int64_t)m_height && m_x >= 0 && byte < (int64_t)m_effWidth) {
            BYTE& target = m_pixels[(size_t)m_y * m_effWidth + (size_t)byte];
            if (!m_nibbles)
                target = value;
            else if ((m_x & 1) == 0)
                target = (BYTE)((value & 0x0F) << 4);
            else
                target |= (BYTE)(value & 0x0F);
        }
        ++m_x;
    }

private:
    BYTE* m_pixels;
    DWORD m_effWidth;
    DWORD m_height;
    bool m_nibbles;
    int64_t m_x;
    int64_t m_y;
};

// Pixel i of a run: the byte itself, or its high then low nibble.
BYTE RunPixel(int value, int i, bool nibbles)
{
    if (!nibbles)
        return (BYTE)value;
    return (BYTE)((i & 1) ? value : value >> 4);
}

// `count` pixels taken from the following bytes, which are padded to an
// even number.
bool ReadAbsoluteRun(CxFile* stream, RleCursor& cursor, int count, bool nibbles)
{
    int bytes = nibbles ? (count + 1) / 2 : count;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (!nibbles || (i & 1) == 0) {
            value = stream->GetC();
            if (value < 0)
                return false;
        }
        cursor.Put(RunPixel(value, i, nibbles));
    }
    if (bytes & 1)
        stream->GetC();
    return true;
}

enum RleEscape { kEndOfLine = 0, kEndOfBitmap = 1, kDelta = 2 };

}  // namespace

bool CxImageBMP::ReadBitmapInfo(CxFile* stream, BITMAPINFOHEADER* header)
{
    if (!stream || !header)
        return false;
    int64_t start = stream->Tell();
    BYTE raw[kInfoHeaderBytes];
    CByteReader fields(raw, stream->Read(raw, 1, kInfoHeaderBytes));
    DWORD size = fields.U32LE();
    memset(header, 0, sizeof(*header));
    header->biSize = size;
    if (size == kCoreHeaderBytes) {
        header->biWidth = fields.U16LE();
        header->biHeight = fields.U16LE();
        header->biPlanes = fields.U16LE();
        header->biBitCount = fields.U16LE();
        if (!fields.Ok())
            return false;
    } else {
        if (size < kInfoHeaderBytes)
            return false;
        header->biWidth = fields.I32LE();
        header->biHeight = fields.I32LE();
        header->biPlanes = fields.U16LE();
        header->biBitCount = fields.U16LE();
        header->biCompression = fields.U32LE();
        header->biSizeImage = fields.U32LE();
        header->biXPelsPerMeter = fields.I32LE();
        header->biYPelsPerMeter = fields.I32LE();
        header->biClrUsed = fields.U32LE();
        header->biClrImportant = fields.U32LE();
        if (!fields.Ok())
            return false;
        if (size > kInfoHeaderBytes && size != kOs2HeaderBytes) {
            bool known = IsMaskedHeader(size) && header->biPlanes == 1 &&
                         header->biCompression <= BI_BITFIELDS;
            bool plain = header->biPlanes == 1 && header->biCompression == BI_RGB &&
                         header->biClrUsed == 0 &&
                         (uint64_t)header->biSizeImage ==
                             PackedRowBytes(header->biWidth, header->biBitCount) *
                                 (uint64_t)(int64_t)header->biHeight;
            if (!known && !plain)
                return false;
        }
    }
    if (!SeekTo(stream, start + size))
        return false;

    if (header->biSizeImage == 0) {
        int64_t height = header->biHeight < 0 ? -(int64_t)header->biHeight : header->biHeight;
        uint64_t bytes = PackedRowBytes(header->biWidth, header->biBitCount) * (uint64_t)height;
        header->biSizeImage = bytes > 0xFFFFFFFFu ? 0xFFFFFFFFu : (DWORD)bytes;
    }
    if (header->biClrUsed == 0 && header->biBitCount <= 8)
        header->biClrUsed = 1u << header->biBitCount;
    return true;
}

bool CxImageBMP::Decode(CxFile* stream)
{
    if (!stream)
        return false;
    int64_t start = stream->Tell();
    BYTE fileHeader[kFileHeaderBytes];
    DWORD got = stream->Read(fileHeader, 1, kFileHeaderBytes);
    if (got == 0)
        return Fail("Not a BMP");
    int64_t pixelOffset = got < kFileHeaderBytes ? 0 : GetU32LE(fileHeader + 10);
    if (got < kFileHeaderBytes || GetU16LE(fileHeader) != kBmpType) {
        pixelOffset = 0;
        if (!SeekTo(stream, start))
            return Fail("Not a BMP");
    }

    int64_t headerStart = stream->Tell();
    BITMAPINFOHEADER file;
    if (!ReadBitmapInfo(stream, &file))
        return Fail("Error reading BMP info");
    bool coreHeader = file.biSize == kCoreHeaderBytes;
    bool topDown = file.biHeight < 0;
    int64_t height = topDown ? -(int64_t)file.biHeight : file.biHeight;
    if (file.biWidth <= 0 || height <= 0 || height > 0x7FFFFFFF)
        return Fail("Error reading BMP info");
    if (!IsBitCount(file.biBitCount))
        return Fail("unsupported bit count");

    if (info.escape == -1) {
        header.biWidth = file.biWidth;
        header.biHeight = (LONG)height;
        Fail("output dimensions returned");
        return true;
    }
    bool runs = file.biCompression == BI_RLE8 || file.biCompression == BI_RLE4;
    if (!CheckPictureBudget(CxRemainingBytes(stream), (DWORD)file.biWidth, (uint64_t)height, file.biBitCount,
                            runs ? CXIMAGE_EXPANSION_RUNS : CXIMAGE_EXPANSION_RAW))
        return false;
    if (!Create(file.biWidth, (DWORD)height, file.biBitCount, CXIMAGE_FORMAT_BMP))
        return Fail("Can't allocate memory");

    header.biXPelsPerMeter = file.biXPelsPerMeter;
    header.biYPelsPerMeter = file.biYPelsPerMeter;
    info.xDpi = (int32_t)floor(file.biXPelsPerMeter * 0.0254 + 0.5);
    info.yDpi = (int32_t)floor(file.biYPelsPerMeter * 0.0254 + 0.5);
    memcpy(dib, &header, sizeof(header));
    if (info.escape)
        return Fail("Cancelled");

    if (file.biBitCount <= 8 && !ReadPalette(stream, file.biClrUsed, coreHeader))
        return false;
    if (info.escape)
        return Fail("Cancelled");

    int64_t pixelStart = pixelOffset ? start + pixelOffset : -1;
    if (!ReadPixels(stream, file, pixelStart, headerStart))
        return false;
    if (topDown)
        return Flip();
    return true;
}

// Reads `count` entries (4 bytes, or 3 after a core header), capped by what
// the stream holds; entries beyond the image's palette are read past.
bool CxImageBMP::ReadPalette(CxFile* stream, DWORD count, bool coreHeader)
{
    DWORD entryBytes = coreHeader ? 3 : 4;
    int64_t left = (int64_t)stream->Size() - stream->Tell();
    if (left >= 0 && (int64_t)count * entryBytes > left)
        count = (DWORD)(left / entryBytes);
    DWORD kept = count < GetNumColors() ? count : GetNumColors();
    BYTE raw[256 * 4];
    DWORD read = stream->Read(raw, entryBytes, kept);
    RGBQUAD* palette = GetPalette();
    for (DWORD i = 0; i < read; ++i) {
        palette[i].rgbBlue = raw[i * entryBytes];
        palette[i].rgbGreen = raw[i * entryBytes + 1];
        palette[i].rgbRed = raw[i * entryBytes + 2];
        palette[i].rgbReserved = 0;
    }
    info.nearestValid = 0;
    if (count > kept)
        stream->Seek((int32_t)((count - kept) * entryBytes), SEEK_CUR);
    return true;
}

// The masks of a bit-field image: inside a version 2 to 5 header, else
// right after the 40-byte header.
bool CxImageBMP::ReadBitfieldMasks(CxFile* stream, const BITMAPINFOHEADER& file,
                                   int64_t headerStart, DWORD masks[3])
{
    BYTE raw[12];
    if (IsMaskedHeader(file.biSize)) {
        int64_t back = stream->Tell();
        bool ok = SeekTo(stream, headerStart + kInfoHeaderBytes) &&
                  stream->Read(raw, 12, 1) == 1;
        SeekTo(stream, back);
        if (!ok)
            return false;
    } else if (stream->Read(raw, 12, 1) != 1) {
        return false;
    }
    masks[0] = GetU32LE(raw);
    masks[1] = GetU32LE(raw + 4);
    masks[2] = GetU32LE(raw + 8);
    return true;
}

bool CxImageBMP::ReadPixels(CxFile* stream, const BITMAPINFOHEADER& file, int64_t pixelStart,
                            int64_t headerStart)
{
    DWORD width = GetWidth();
    DWORD height = GetHeight();
    BYTE* pixels = info.firstRow;
    switch (file.biBitCount) {
    case 32: {
        if (file.biCompression != BI_RGB && file.biCompression != BI_BITFIELDS)
            return Fail("unknown compression");
        DWORD masks[3] = { 0, 0, 0 };  // none: blue, green, red bytes
        if (file.biCompression == BI_BITFIELDS &&
            !ReadBitfieldMasks(stream, file, headerStart, masks))
            return Fail("Error reading BMP info");
        if (pixelStart >= 0)
            SeekTo(stream, pixelStart);
        uint64_t bytes = (uint64_t)width * height * 4;
        BYTE* buffer = bytes <= CXIMAGE_MAX_DIB_BYTES ? (BYTE*)calloc((size_t)bytes, 1) : NULL;
        if (!buffer)
            return Fail("can't allocate memory");
        stream->Read(buffer, 1, (DWORD)bytes);
        Bitfield2RGB(buffer, masks[0], masks[1], masks[2], 32);
        free(buffer);
        return true;
    }
    case 24:
        if (file.biCompression != BI_RGB)
            return Fail("unknown compression");
        if (pixelStart >= 0)
            SeekTo(stream, pixelStart);
        stream->Read(pixels, 1, header.biSizeImage);
        return true;
    case 16: {
        DWORD masks[3] = { 0x7C00, 0x3E0, 0x1F };
        if (file.biCompression == BI_BITFIELDS &&
            !ReadBitfieldMasks(stream, file, headerStart, masks))
            return Fail("Error reading BMP info");
        if (pixelStart >= 0)
            SeekTo(stream, pixelStart);
        uint64_t bytes = (uint64_t)((width + 1) / 2) * 4 * height;
        stream->Read(pixels, 1, (DWORD)bytes);
        Bitfield2RGB(pixels, masks[0], masks[1], masks[2], 16);
        return true;
    }
    case 1:
    case 4:
    case 8:
        if (pixelStart >= 0)
            SeekTo(stream, pixelStart);
        switch (file.biCompression) {
        case BI_RGB:
            stream->Read(pixels, 1, header.biSizeImage);
            return true;
        case BI_RLE8:
            DecodeRle(stream, false);
            return true;
        case BI_RLE4:
            DecodeRle(stream, true);
            return true;
        default:
            return Fail("compression type not supported");
        }
    default:
        return Fail("unsupported bit count");
    }
}

// RLE8 and RLE4: pairs of an encoded run (count, value) or an escape
// (0, code). An encoded run that reaches past the row's end ends the
// decoding, as does the end of the stream.
void CxImageBMP::DecodeRle(CxFile* stream, bool nibbles)
{
    RleCursor cursor(info.firstRow, info.effWidth, GetHeight(), nibbles);
    for (;;) {
        int first = stream->GetC();
        int second = stream->GetC();
        if (first < 0 || second < 0)
            return;
        if (first > 0) {
            for (int i = 0; i < first; ++i) {
                if (cursor.X() >= cursor.RowPixels())
                    return;
                cursor.Put(RunPixel(second, i, nibbles));
            }
            continue;
        }
        switch (second) {
        case kEndOfLine:
            cursor.NewLine();
            break;
        case kEndOfBitmap:
            return;
        case kDelta: {
            int dx = stream->GetC();
            int dy = stream->GetC();
            if (dx < 0 || dy < 0)
                return;
            cursor.Move(dx, dy);
            break;
        }
        default:
            if (!ReadAbsoluteRun(stream, cursor, second, nibbles))
                return;
            break;
        }
    }
}

bool CxImageBMP::Encode(CxFile* stream)
{
    if (EncodeSafeCheck(stream))
        return false;
    BYTE fileHeader[kFileHeaderBytes];
    fileHeader[0] = 'B';
    fileHeader[1] = 'M';
    PutU32LE(fileHeader + 2, GetSize() + kFileHeaderBytes);
    PutU32LE(fileHeader + 6, 0);
    PutU32LE(fileHeader + 10, kFileHeaderBytes + kInfoHeaderBytes + GetPaletteSize());
    memcpy(dib, &header, sizeof(header));
    if (stream->Write(fileHeader, kFileHeaderBytes, 1) != 1 ||
        stream->Write(dib, GetSize(), 1) != 1)
        return Fail("Error writing BMP file");
    return true;
}
