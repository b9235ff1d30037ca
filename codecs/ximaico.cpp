#include "codecs/ximaico.h"

#include <string.h>

#include <vector>

#include "codecs/ximabudget.h"
#include "codecs/ximacodecs.h"
#include "codecs/ximawriter.h"
#include "platform/base/byte_reader.h"

namespace {

const DWORD kFileHeaderBytes = 6;
const DWORD kEntryBytes = 16;
const DWORD kInfoBytes = 40;
const WORD kIcon = 1;
const WORD kCursor = 2;
const BYTE kPngSignature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };

DWORD MaskRowBytes(DWORD width)
{
    return ((width + 31) / 32) * 4;
}

bool MaskBit(const BYTE* mask, DWORD rowBytes, DWORD x, DWORD y)
{
    return (mask[(size_t)y * rowBytes + x / 8] & (0x80 >> (x % 8))) != 0;
}

bool SameColour(const RGBQUAD& a, const RGBQUAD& b)
{
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

}  // namespace

bool CxImageICO::Decode(CxFile* stream)
{
    if (!stream)
        return false;
    int32_t start = stream->Tell();
    BYTE head[kFileHeaderBytes];
    if (stream->Read(head, 1, kFileHeaderBytes) != kFileHeaderBytes || GetU16LE(head) != 0 ||
        (GetU16LE(head + 2) != kIcon && GetU16LE(head + 2) != kCursor))
        return Fail("Not an icon");
    DWORD count = GetU16LE(head + 4);
    info.numFrames = (int32_t)count;
    if (info.frame < 0 || (DWORD)info.frame >= count)
        return Fail("Wrong icon frame number");
    std::vector<BYTE> directory((size_t)count * kEntryBytes);
    if (stream->Read(directory.data(), kEntryBytes, count) != count)
        return Fail("corrupted icon");
    const BYTE* raw = directory.data() + (size_t)info.frame * kEntryBytes;
    DWORD offset = GetU32LE(raw + 12);

    if ((int64_t)start + offset > 0x7FFFFFFF ||
        !stream->Seek((int32_t)(start + offset), SEEK_SET))
        return Fail("corrupted icon");
    BYTE infoBytes[kInfoBytes];
    if (stream->Read(infoBytes, 1, kInfoBytes) != kInfoBytes)
        return Fail("corrupted icon");
    if (memcmp(infoBytes, kPngSignature, sizeof(kPngSignature)) == 0) {
        stream->Seek((int32_t)(start + offset), SEEK_SET);
        return DecodePng(stream);
    }
    // The bitmap header holds the size (its height counts the AND mask as
    // well); the directory's bytes are only a hint, and often wrong.
    int64_t width = (int32_t)GetU32LE(infoBytes + 4);
    int64_t height = (int32_t)GetU32LE(infoBytes + 8) / 2;
    WORD bitCount = GetU16LE(infoBytes + 14);
    if (width <= 0 || height <= 0)
        return Fail("corrupted icon");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return Fail("unsupported bit count");
    if (!CheckPictureBudget(CxRemainingBytes(stream), (uint64_t)width, (uint64_t)height, bitCount,
                            CXIMAGE_EXPANSION_RAW) ||
        !Create((DWORD)width, (DWORD)height, bitCount, CXIMAGE_FORMAT_ICO))
        return false;

    DWORD colours = GetNumColors();
    if (colours) {
        RGBQUAD palette[256];
        memset(palette, 0, sizeof(palette));
        stream->Read(palette, sizeof(RGBQUAD), colours);
        for (DWORD i = 0; i < colours; ++i)
            palette[i].rgbReserved = 0;
        SetPalette(palette, colours);
    }
    if (!ReadPixels(stream, bitCount))
        return false;
    // An image with alpha has its own transparency: its AND mask only
    // serves programs that know no alpha, and may say otherwise.
    if (bitCount == 32)
        return true;

    DWORD rowBytes = MaskRowBytes(GetWidth());
    std::vector<BYTE> mask((size_t)rowBytes * GetHeight());
    if (stream->Read(mask.data(), 1, (DWORD)mask.size()) != mask.size())
        return true;
    ApplyMask(mask.data(), rowBytes, bitCount);
    return true;
}

// A PNG-compressed image goes through the PNG codec.
bool CxImageICO::DecodePng(CxFile* stream)
{
    const CxCodecRow* png = CxFindCodec(CXIMAGE_FORMAT_PNG);
    if (!png || !png->decode)
        return Fail("PNG icons are not supported");
    CxImage image;
    if (!png->decode(image, stream, CXIMAGE_FORMAT_PNG))
        return Fail(image.GetLastError());
    int32_t frames = info.numFrames;
    if (!Transfer(image))
        return false;
    info.numFrames = frames;
    info.type = CXIMAGE_FORMAT_ICO;
    return true;
}

bool CxImageICO::ReadPixels(CxFile* stream, WORD bitCount)
{
    if (bitCount != 32) {
        stream->Read(GetBits(), 1, header.biSizeImage);
        return true;
    }
    DWORD width = GetWidth(), height = GetHeight();
    std::vector<BYTE> pixels;
    try {
        pixels.assign((size_t)width * height * 4, 0);
    } catch (...) {
        return Fail("Can't allocate memory");
    }
    stream->Read(pixels.data(), 1, (DWORD)pixels.size());
    AlphaCreate();
    if (!AlphaIsValid())
        return Fail("Can't allocate memory");
    for (DWORD y = 0; y < height; ++y) {
        const BYTE* from = pixels.data() + (size_t)y * width * 4;
        BYTE* to = GetBits(y);
        for (DWORD x = 0; x < width; ++x, from += 4, to += 3) {
            memcpy(to, from, 3);
            AlphaSet(x, y, from[3]);
        }
    }
    return true;
}

// Set bits of the AND mask mark transparent pixels: they become alpha 0,
// or, when one colour or one free palette index can stand for them, the
// transparent colour or index.
void CxImageICO::ApplyMask(const BYTE* mask, DWORD rowBytes, WORD bitCount)
{
    size_t maskBytes = (size_t)rowBytes * GetHeight();
    // A mask that hides everything inverts the colours of an old-style
    // icon.
    bool allSet = true;
    for (size_t i = 0; i < maskBytes && allSet; ++i)
        allSet = mask[i] == 0xFF;
    if (allSet) {
        info.transIndex = 0;
        Negative();
        return;
    }
    bool needed = false;
    AlphaCreate();
    for (DWORD y = 0; y < GetHeight(); ++y) {
        for (DWORD x = 0; x < GetWidth(); ++x) {
            if (MaskBit(mask, rowBytes, x, y)) {
                AlphaSet(x, y, 0);
                needed = true;
            }
        }
    }
    if (!needed)
        AlphaDelete();
    if (bitCount == 24)
        MaskTrueColour(mask, rowBytes);
    else if (bitCount <= 8)
        MaskPalette(mask, rowBytes);
}

void CxImageICO::MaskTrueColour(const BYTE* mask, DWORD rowBytes)
{
    bool found = false;
    RGBQUAD colour = {};
    for (DWORD y = 0; y < GetHeight(); ++y) {
        for (DWORD x = 0; x < GetWidth(); ++x) {
            if (!MaskBit(mask, rowBytes, x, y))
                continue;
            RGBQUAD here = GetPixelColor(x, y, false);
            if (found && !SameColour(here, colour))
                return;
            colour = here;
            found = true;
        }
    }
    if (!found)
        return;
    SetTransColor(colour);
    info.transIndex = 0;
    AlphaDelete();
}

void CxImageICO::MaskPalette(const BYTE* mask, DWORD rowBytes)
{
    bool used[256] = {};
    for (DWORD y = 0; y < GetHeight(); ++y)
        for (DWORD x = 0; x < GetWidth(); ++x)
            used[GetPixelIndex(x, y)] = true;
    DWORD colours = GetNumColors();
    DWORD freeIndex = 0;
    while (freeIndex < colours && used[freeIndex])
        ++freeIndex;
    if (freeIndex >= colours)
        return;
    bool masked = false;
    for (DWORD y = 0; y < GetHeight(); ++y) {
        for (DWORD x = 0; x < GetWidth(); ++x) {
            if (MaskBit(mask, rowBytes, x, y)) {
                SetPixelIndex(x, y, (BYTE)freeIndex);
                masked = true;
            }
        }
    }
    if (masked)
        info.transIndex = (int32_t)freeIndex;
    AlphaDelete();
}

bool CxImageICO::Encode(CxFile* stream)
{
    if (EncodeSafeCheck(stream))
        return false;
    DWORD width = GetWidth(), height = GetHeight();
    if (width >= 256 || height >= 256 || (GetBpp() <= 8 && !IsIndexed()))
        return Fail("Can't save this image as icon");
    bool withAlpha = GetBpp() == 24 && AlphaIsValid();
    WORD bitCount = withAlpha ? 32 : GetBpp();
    DWORD imageBytes = withAlpha ? width * height * 4 : header.biSizeImage;
    DWORD rowBytes = MaskRowBytes(width);
    DWORD maskBytes = rowBytes * height;
    DWORD colours = GetNumColors();

    BYTE head[kFileHeaderBytes + kEntryBytes];
    memset(head, 0, sizeof(head));
    PutU16LE(head + 2, kIcon);
    PutU16LE(head + 4, 1);
    BYTE* entry = head + kFileHeaderBytes;
    entry[0] = (BYTE)width;
    entry[1] = (BYTE)height;
    entry[2] = (BYTE)colours;
    PutU32LE(entry + 8, maskBytes + imageBytes + kInfoBytes + 4 * colours);
    PutU32LE(entry + 12, kFileHeaderBytes + kEntryBytes);
    BITMAPINFOHEADER bitmap;
    memset(&bitmap, 0, sizeof(bitmap));
    bitmap.biSize = kInfoBytes;
    bitmap.biWidth = (LONG)width;
    bitmap.biHeight = (LONG)height * 2;
    bitmap.biPlanes = 1;
    bitmap.biBitCount = bitCount;
    bitmap.biSizeImage = imageBytes;

    CxCheckedWriter out(stream);
    out.Put(head, sizeof(head));
    out.Put(&bitmap, kInfoBytes);
    out.Put(GetPalette(), 4 * colours);
    std::vector<BYTE> line((size_t)width * 4);
    for (DWORD y = 0; y < height && out.Ok(); ++y) {
        if (!withAlpha) {
            out.Put(GetBits(y), GetEffWidth());
            continue;
        }
        const BYTE* pixel = GetBits(y);
        for (DWORD x = 0; x < width; ++x, pixel += 3) {
            memcpy(&line[4 * (size_t)x], pixel, 3);
            line[4 * (size_t)x + 3] = AlphaGet(x, y);
        }
        out.Put(line.data(), width * 4);
    }

    std::vector<BYTE> mask(maskBytes, 0);
    bool paletteAlpha = AlphaPaletteIsValid();
    RGBQUAD transColour = GetTransColor();
    for (DWORD y = 0; y < height; ++y) {
        for (DWORD x = 0; x < width; ++x) {
            bool clear = (AlphaIsValid() && AlphaGet(x, y) == 0) ||
                         (paletteAlpha && GetPaletteColor(GetPixelIndex(x, y)).rgbReserved == 0) ||
                         (IsTransparent() && SameColour(GetPixelColor(x, y, false), transColour));
            if (clear)
                mask[(size_t)y * rowBytes + x / 8] |= (BYTE)(0x80 >> (x % 8));
        }
    }
    out.Put(mask.data(), maskBytes);
    if (!out.Ok())
        return Fail("Write Error in icon file");
    return true;
}
