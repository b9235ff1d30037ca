#include "codecs/ximawbmp.h"

#include <vector>

#include "codecs/ximabudget.h"
#include "codecs/ximawriter.h"

namespace {

// A multi-byte integer longer than this does not fit in 32 bits.
const int kMaxIntegerBytes = 5;

// Reads a multi-byte integer; false at the end of the stream or when the
// value does not fit in 32 bits.
bool ReadMultiByte(CxFile* stream, DWORD* value)
{
    uint64_t result = 0;
    for (int i = 0; i < kMaxIntegerBytes; ++i) {
        int byte = stream->GetC();
        if (byte < 0)
            return false;
        result = (result << 7) | (byte & 0x7F);
        if (result > 0xFFFFFFFFu)
            return false;
        if ((byte & 0x80) == 0) {
            *value = (DWORD)result;
            return true;
        }
    }
    return false;
}

void PutMultiByte(CxCheckedWriter& out, DWORD value)
{
    BYTE bytes[kMaxIntegerBytes];
    int count = 0;
    do {
        bytes[count++] = (BYTE)(value & 0x7F);
        value >>= 7;
    } while (value);
    while (count-- > 0)
        out.PutByte((BYTE)(bytes[count] | (count ? 0x80 : 0)));
}

bool IsBright(const RGBQUAD& color)
{
    return ((306 * color.rgbRed + 601 * color.rgbGreen + 117 * color.rgbBlue) >> 10) >= 128;
}

}  // namespace

bool CxImageWBMP::Decode(CxFile* stream)
{
    if (!stream)
        return false;
    int type = stream->GetC();
    int fixedHeader = stream->GetC();
    if (type < 0 || fixedHeader < 0)
        return Fail("Not a WBMP");
    if (type != 0)
        return Fail("Unsupported WBMP type");
    DWORD width = 0, height = 0;
    if (!ReadMultiByte(stream, &width) || !ReadMultiByte(stream, &height) || width == 0 ||
        height == 0)
        return Fail("Corrupted WBMP");
    if (!CheckPictureBudget(CxRemainingBytes(stream), width, height, 1, CXIMAGE_EXPANSION_RAW))
        return false;

    if (!Create(width, height, 1, CXIMAGE_FORMAT_WBMP))
        return Fail("WBMP Create failed");
    SetGrayPalette();
    DWORD rowBytes = (width + 7) / 8;
    for (DWORD row = 0; row < height; ++row) {
        if (stream->Read(GetBits(height - 1 - row), 1, rowBytes) != rowBytes)
            break;
    }
    return true;
}

bool CxImageWBMP::Encode(CxFile* stream)
{
    if (EncodeSafeCheck(stream))
        return false;
    if (GetBpp() != 1)
        return Fail("Can't save this image as WBMP");

    // A bit is 1 where the pixel's palette colour is bright, whatever the
    // order of the two entries.
    BYTE onesFromSet = IsBright(GetPaletteColor(1)) ? 0xFF : 0;
    BYTE onesFromClear = IsBright(GetPaletteColor(0)) ? 0xFF : 0;
    CxCheckedWriter out(stream);
    out.PutByte(0);
    out.PutByte(0);
    PutMultiByte(out, GetWidth());
    PutMultiByte(out, GetHeight());
    DWORD rowBytes = (GetWidth() + 7) / 8;
    std::vector<BYTE> line(rowBytes);
    for (DWORD row = GetHeight(); row-- > 0 && out.Ok();) {
        const BYTE* bits = GetBits(row);
        for (DWORD i = 0; i < rowBytes; ++i)
            line[i] = (BYTE)((bits[i] & onesFromSet) | (~bits[i] & onesFromClear));
        out.Put(line.data(), rowBytes);
    }
    if (!out.Ok())
        return Fail("Write Error in WBMP file");
    return true;
}
