// Pixel access at 1, 4, 8 and 24 bits, bit-field conversion, the alpha
// plane and the selection mask of CxImage.
#include "codecs/ximage.h"

#include <stdlib.h>
#include <string.h>

#include "platform/base/byte_reader.h"

namespace {

int CountBits(DWORD mask)
{
    int count = 0;
    for (; mask; mask &= mask - 1)
        ++count;
    return count;
}

// The lowest set bit of a mask (0 for an empty mask).
int LowestBit(DWORD mask)
{
    if (!mask)
        return 0;
    int shift = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// One masked channel of a pixel as 8 bits: the masked bits moved so that
// their top lands on bit 7 (a channel of 5 bits gives 0 to 248).
BYTE MaskedChannel(DWORD pixel, DWORD mask)
{
    DWORD value = (pixel & mask) >> LowestBit(mask);
    int bits = CountBits(mask);
    if (bits == 0)
        return 0;
    return (BYTE)(bits >= 8 ? value >> (bits - 8) : value << (8 - bits));
}

// One masked channel of a 32-bit pixel as 8 bits, over the whole range: a
// channel of n bits gives its share of 2^n - 1, rounded down (a channel of
// 10 bits at its largest is 255, and so is one of 5 bits).
BYTE ScaledChannel(DWORD pixel, DWORD mask)
{
    int bits = CountBits(mask);
    if (bits == 0)
        return 0;
    uint64_t value = (pixel & mask) >> LowestBit(mask);
    uint64_t maximum = ((uint64_t)1 << bits) - 1;
    return (BYTE)(value * 255 / maximum);
}

}  // namespace

bool CxImage::IsInside(int32_t x, int32_t y) const
{
    return x >= 0 && y >= 0 && (DWORD)x < GetWidth() && (DWORD)y < GetHeight();
}

void CxImage::Clear(BYTE value)
{
    if (!dib)
        return;
    if (GetBpp() == 1)
        value = value ? 255 : 0;
    else if (GetBpp() == 4)
        value = (BYTE)((value & 15) * 17);
    memset(info.firstRow, value, header.biSizeImage);
}

BYTE CxImage::GetPixelIndex(int32_t x, int32_t y) const
{
    if (!dib || header.biClrUsed == 0)
        return 0;
    if (!IsInside(x, y)) {
        if (info.transIndex != -1)
            return (BYTE)info.transIndex;
        return *info.firstRow;
    }
    return BlindGetPixelIndex(x, y);
}

BYTE CxImage::BlindGetPixelIndex(int32_t x, int32_t y) const
{
    const BYTE* row = info.firstRow + (size_t)info.effWidth * y;
    switch (GetBpp()) {
    case 8: return row[x];
    case 4: return (BYTE)((row[x >> 1] >> (4 - 4 * (x & 1))) & 0x0F);
    case 1: return (BYTE)((row[x >> 3] >> (7 - (x & 7))) & 0x01);
    default: return 0;
    }
}

void CxImage::SetPixelIndex(int32_t x, int32_t y, BYTE index)
{
    if (!dib || header.biClrUsed == 0 || !IsInside(x, y))
        return;
    BYTE* row = info.firstRow + (size_t)info.effWidth * y;
    switch (GetBpp()) {
    case 8:
        row[x] = index;
        break;
    case 4: {
        int shift = 4 - 4 * (x & 1);
        BYTE& byte = row[x >> 1];
        byte = (BYTE)((byte & ~(0x0F << shift)) | ((index & 0x0F) << shift));
        break;
    }
    case 1: {
        int shift = 7 - (x & 7);
        BYTE& byte = row[x >> 3];
        byte = (BYTE)((byte & ~(1 << shift)) | ((index & 1) << shift));
        break;
    }
    default:
        break;
    }
}

RGBQUAD CxImage::GetPixelColor(int32_t x, int32_t y, bool withAlpha) const
{
    if (!dib || !IsInside(x, y)) {
        if (info.transIndex == -1) {
            if (dib)
                return GetPixelColor(0, 0, true);
            return info.transColor;
        }
        if (GetBpp() < 24)
            return GetPaletteColor((BYTE)info.transIndex);
        return info.transColor;
    }
    RGBQUAD color;
    if (header.biClrUsed) {
        color = GetPaletteColor(BlindGetPixelIndex(x, y));
    } else {
        const BYTE* pixel = info.firstRow + (size_t)info.effWidth * y + 3 * (size_t)x;
        color.rgbBlue = pixel[0];
        color.rgbGreen = pixel[1];
        color.rgbRed = pixel[2];
        color.rgbReserved = info.transColor.rgbReserved;
    }
    if (withAlpha && alpha)
        color.rgbReserved = BlindAlphaGet(x, y);
    return color;
}

void CxImage::SetPixelColor(int32_t x, int32_t y, RGBQUAD color, bool setAlpha)
{
    if (!dib || !IsInside(x, y))
        return;
    if (header.biClrUsed) {
        SetPixelIndex(x, y, GetNearestIndex(color));
    } else if (GetBpp() == 24) {
        BYTE* pixel = info.firstRow + (size_t)info.effWidth * y + 3 * (size_t)x;
        pixel[0] = color.rgbBlue;
        pixel[1] = color.rgbGreen;
        pixel[2] = color.rgbRed;
    }
    if (setAlpha)
        AlphaSet(x, y, color.rgbReserved);
}

void CxImage::SetPixelColor(int32_t x, int32_t y, COLORREF color)
{
    SetPixelColor(x, y, RGBtoRGBQUAD(color), false);
}

BYTE* CxImage::GetPixelPointer(int32_t x, int32_t y) const
{
    if (header.biClrUsed || !dib)
        return NULL;
    return info.firstRow + (size_t)info.effWidth * y + 3 * (size_t)x;
}

// Converts 16-bit (masked) or 32-bit source rows into this image's 24-bit
// rows. Rows and pixels go from the last backwards, so the source may lie
// at the start of this image's own pixel area. Each channel takes its shift
// from its own mask; 32-bit pixels without masks are blue, green, red and
// an unused byte, with masks their channels are scaled to the whole range.
void CxImage::Bitfield2RGB(const BYTE* source, DWORD firstMask, DWORD secondMask,
                           DWORD thirdMask, BYTE bits)
{
    if (!dib || !source || GetBpp() != 24)
        return;
    DWORD width = GetWidth();
    DWORD height = GetHeight();
    if (bits == 16) {
        size_t sourceRow = ((size_t)(width + 1) / 2) * 4;
        for (DWORD y = height; y-- > 0;) {
            BYTE* target = info.firstRow + (size_t)info.effWidth * y;
            const BYTE* from = source + sourceRow * y;
            for (DWORD x = width; x-- > 0;) {
                DWORD word = GetU16LE(from + 2 * x);
                BYTE* pixel = target + 3 * (size_t)x;
                pixel[0] = MaskedChannel(word, thirdMask & 0xFFFF);
                pixel[1] = MaskedChannel(word, secondMask & 0xFFFF);
                pixel[2] = MaskedChannel(word, firstMask & 0xFFFF);
            }
        }
    } else if (bits == 32) {
        bool masked = firstMask || secondMask || thirdMask;
        size_t sourceRow = (size_t)width * 4;
        for (DWORD y = height; y-- > 0;) {
            BYTE* target = info.firstRow + (size_t)info.effWidth * y;
            const BYTE* from = source + sourceRow * y;
            for (DWORD x = width; x-- > 0;) {
                BYTE* pixel = target + 3 * (size_t)x;
                if (!masked) {
                    pixel[2] = from[4 * x + 2];
                    pixel[1] = from[4 * x + 1];
                    pixel[0] = from[4 * x];
                    continue;
                }
                DWORD value = GetU32LE(from + 4 * x);
                pixel[0] = ScaledChannel(value, thirdMask);
                pixel[1] = ScaledChannel(value, secondMask);
                pixel[2] = ScaledChannel(value, firstMask);
            }
        }
    }
}

void CxImage::AlphaCreate()
{
    if (alpha || !dib)
        return;
    size_t bytes = PlaneBytes();
    alpha = (BYTE*)malloc(bytes);
    if (alpha)
        memset(alpha, 255, bytes);
}

void CxImage::AlphaDelete()
{
    free(alpha);
    alpha = NULL;
}

bool CxImage::AlphaCopy(const CxImage& source)
{
    if (!source.alpha || source.GetWidth() != GetWidth() || source.GetHeight() != GetHeight())
        return false;
    if (&source == this)
        return true;
    if (!CopyPlane(alpha, source.alpha))
        return false;
    info.alphaMax = source.info.alphaMax;
    return true;
}

void CxImage::AlphaSet(int32_t x, int32_t y, BYTE value)
{
    if (alpha && IsInside(x, y))
        alpha[(size_t)GetWidth() * y + x] = value;
}

BYTE CxImage::AlphaGet(int32_t x, int32_t y) const
{
    if (!alpha || !IsInside(x, y))
        return 0;
    return alpha[(size_t)GetWidth() * y + x];
}

BYTE CxImage::BlindAlphaGet(int32_t x, int32_t y) const
{
    return alpha[(size_t)GetWidth() * y + x];
}

bool CxImage::AlphaPaletteIsValid() const
{
    RGBQUAD* palette = GetPalette();
    if (!palette)
        return false;
    for (DWORD i = 0; i < header.biClrUsed; ++i) {
        if (palette[i].rgbReserved)
            return true;
    }
    return false;
}

bool CxImage::AlphaFlip()
{
    if (!alpha)
        return false;
    size_t width = GetWidth();
    DWORD height = GetHeight();
    BYTE* flipped = (BYTE*)malloc(PlaneBytes());
    if (!flipped)
        return false;
    for (DWORD y = 0; y < height; ++y)
        memcpy(flipped + width * (height - 1 - y), alpha + width * y, width);
    free(alpha);
    alpha = flipped;
    return true;
}

bool CxImage::AlphaMirror()
{
    if (!alpha)
        return false;
    size_t width = GetWidth();
    DWORD height = GetHeight();
    BYTE* mirrored = (BYTE*)malloc(PlaneBytes());
    if (!mirrored)
        return false;
    for (DWORD y = 0; y < height; ++y) {
        const BYTE* from = alpha + width * y;
        BYTE* to = mirrored + width * y;
        for (size_t x = 0; x < width; ++x)
            to[width - 1 - x] = from[x];
    }
    free(alpha);
    alpha = mirrored;
    return true;
}

bool CxImage::SelectionDelete()
{
    free(selection);
    selection = NULL;
    info.selectionBox.left = (int32_t)GetWidth();
    info.selectionBox.top = 0;
    info.selectionBox.right = 0;
    info.selectionBox.bottom = (int32_t)GetHeight();
    return true;
}

bool CxImage::SelectionIsInside(int32_t x, int32_t y) const
{
    if (!IsInside(x, y))
        return false;
    if (!selection)
        return true;
    return selection[(size_t)GetWidth() * y + x] != 0;
}

bool CxImage::SelectionCopy(const CxImage& source)
{
    if (!source.selection || source.GetWidth() != GetWidth() ||
        source.GetHeight() != GetHeight())
        return false;
    if (&source == this)
        return true;
    if (!CopyPlane(selection, source.selection))
        return false;
    info.selectionBox = source.info.selectionBox;
    return true;
}
