// Palette operations of CxImage: access, standard and grey palettes, and
// the nearest-colour search with its one-entry cache.
#include "codecs/ximage.h"

#include <string.h>

namespace {

struct Rgb {
    BYTE red;
    BYTE green;
    BYTE blue;
};

const Rgb kStandard16[16] = {
    { 0, 0, 0 },       { 128, 0, 0 },   { 0, 128, 0 },   { 128, 128, 0 },
    { 0, 0, 128 },     { 128, 0, 128 }, { 0, 128, 128 }, { 192, 192, 192 },
    { 128, 128, 128 }, { 255, 0, 0 },   { 0, 255, 0 },   { 255, 255, 0 },
    { 0, 0, 255 },     { 255, 0, 255 }, { 0, 255, 255 }, { 255, 255, 255 },
};

const Rgb kStandard256Head[10] = {
    { 0, 0, 0 },     { 128, 0, 0 },   { 0, 128, 0 },     { 128, 128, 0 },   { 0, 0, 128 },
    { 128, 0, 128 }, { 0, 128, 128 }, { 192, 192, 192 }, { 192, 220, 192 }, { 166, 202, 240 },
};

const Rgb kStandard256Tail[10] = {
    { 255, 251, 240 }, { 160, 160, 164 }, { 128, 128, 128 }, { 255, 0, 0 },   { 0, 255, 0 },
    { 255, 255, 0 },   { 0, 0, 255 },     { 255, 0, 255 },   { 0, 255, 255 }, { 255, 255, 255 },
};

// The full colours of the 18 hue groups of the 8-bit standard palette.
const Rgb kHueGroups[18] = {
    { 255, 170, 0 }, { 255, 85, 0 },  { 254, 0, 0 },   { 255, 0, 85 },   { 255, 0, 170 },
    { 254, 0, 254 }, { 170, 0, 255 }, { 85, 0, 255 },  { 0, 0, 254 },    { 0, 85, 255 },
    { 0, 170, 255 }, { 0, 254, 254 }, { 0, 255, 170 }, { 0, 255, 85 },   { 0, 254, 0 },
    { 85, 255, 0 },  { 170, 255, 0 }, { 254, 254, 0 },
};

const int kTintsPerGroup = 6;
const int kShadesPerGroup = 5;

// Tint k (0 = lightest) of one channel: channels at 0 run 212 down to 37,
// full channels stay, and channels between start at c + (255 - c) x 70 / 85
// and run down in equal steps to the full value itself.
BYTE TintChannel(BYTE c, int k)
{
    if (c == 0)
        return (BYTE)(212 - 35 * k);
    if (c >= 254)
        return c;
    int start = c + (255 - c) * 70 / 85;
    int step = (start - c) / (kTintsPerGroup - 1);
    return (BYTE)(start - step * k);
}

// Shade k (0 = lightest) of one channel: it darkens in steps of
// c x 35 / 255 rounded up (35 for a full channel: 220, 185, ..., 80).
BYTE ShadeChannel(BYTE c, int k)
{
    int step = (c * 35 + 254) / 255;
    int value = c - step * (k + 1);
    return (BYTE)(value < 0 ? 0 : value);
}

RGBQUAD Quad(BYTE red, BYTE green, BYTE blue)
{
    RGBQUAD q;
    q.rgbRed = red;
    q.rgbGreen = green;
    q.rgbBlue = blue;
    q.rgbReserved = 0;
    return q;
}

void FillStandard256(RGBQUAD* palette)
{
    for (int i = 0; i < 10; ++i) {
        palette[i] = Quad(kStandard256Head[i].red, kStandard256Head[i].green,
                          kStandard256Head[i].blue);
        palette[246 + i] = Quad(kStandard256Tail[i].red, kStandard256Tail[i].green,
                                kStandard256Tail[i].blue);
    }
    for (int group = 0; group < 18; ++group) {
        const Rgb& full = kHueGroups[group];
        RGBQUAD* entry = palette + 10 + group * 12;
        for (int k = 0; k < kTintsPerGroup; ++k)
            entry[k] = Quad(TintChannel(full.red, k), TintChannel(full.green, k),
                            TintChannel(full.blue, k));
        entry[kTintsPerGroup] = Quad(full.red, full.green, full.blue);
        for (int k = 0; k < kShadesPerGroup; ++k)
            entry[kTintsPerGroup + 1 + k] = Quad(ShadeChannel(full.red, k),
                                                 ShadeChannel(full.green, k),
                                                 ShadeChannel(full.blue, k));
    }
    for (int i = 0; i < 20; ++i) {
        BYTE grey = (BYTE)(242 - 12 * i);
        palette[226 + i] = Quad(grey, grey, grey);
    }
}

}  // namespace

DWORD CxImage::GetPaletteSize() const
{
    return header.biClrUsed * sizeof(RGBQUAD);
}

RGBQUAD* CxImage::GetPalette() const
{
    if (!dib || header.biClrUsed == 0)
        return NULL;
    return (RGBQUAD*)((BYTE*)dib + sizeof(BITMAPINFOHEADER));
}

RGBQUAD CxImage::GetPaletteColor(BYTE index) const
{
    RGBQUAD color = { 0, 0, 0, 0 };
    RGBQUAD* palette = GetPalette();
    if (palette && index < header.biClrUsed)
        color = palette[index];
    return color;
}

bool CxImage::GetPaletteRGB(BYTE index, BYTE* red, BYTE* green, BYTE* blue) const
{
    RGBQUAD* palette = GetPalette();
    if (!palette || index >= header.biClrUsed)
        return false;
    if (red)
        *red = palette[index].rgbRed;
    if (green)
        *green = palette[index].rgbGreen;
    if (blue)
        *blue = palette[index].rgbBlue;
    return true;
}

void CxImage::SetPaletteColor(BYTE index, BYTE red, BYTE green, BYTE blue, BYTE alphaValue)
{
    RGBQUAD color = Quad(red, green, blue);
    color.rgbReserved = alphaValue;
    SetPaletteColor(index, color);
}

void CxImage::SetPaletteColor(BYTE index, RGBQUAD color)
{
    RGBQUAD* palette = GetPalette();
    if (palette && index < header.biClrUsed) {
        palette[index] = color;
        info.nearestValid = 0;
    }
}

void CxImage::SetPalette(const RGBQUAD* entries, DWORD count)
{
    RGBQUAD* palette = GetPalette();
    if (!entries || !palette)
        return;
    DWORD used = count < header.biClrUsed ? count : header.biClrUsed;
    memcpy(palette, entries, used * sizeof(RGBQUAD));
    info.nearestValid = 0;
}

void CxImage::SetPalette(DWORD count, const BYTE* red, const BYTE* green, const BYTE* blue)
{
    if (!red)
        return;
    if (!green)
        green = red;
    if (!blue)
        blue = green;
    SetPaletteRgb(count, red, green, blue, 1);
}

void CxImage::SetPalette(const CxRgbTriple* triples, DWORD count)
{
    if (triples)
        SetPaletteRgb(count, &triples->red, &triples->green, &triples->blue,
                      sizeof(CxRgbTriple));
}

// Writes red, green and blue of the first min(count, palette) entries from
// channel values `stride` bytes apart; the reserved bytes stay.
void CxImage::SetPaletteRgb(DWORD count, const BYTE* red, const BYTE* green, const BYTE* blue,
                            size_t stride)
{
    RGBQUAD* palette = GetPalette();
    if (!palette)
        return;
    DWORD used = count < header.biClrUsed ? count : header.biClrUsed;
    for (DWORD i = 0; i < used; ++i) {
        palette[i].rgbRed = red[i * stride];
        palette[i].rgbGreen = green[i * stride];
        palette[i].rgbBlue = blue[i * stride];
    }
    info.nearestValid = 0;
}

// Entry i gets (255 / (n - 1)) x i. A one-entry palette has no step; its
// only entry becomes black.
void CxImage::SetGrayPalette()
{
    RGBQUAD* palette = GetPalette();
    if (!palette)
        return;
    DWORD n = header.biClrUsed;
    DWORD step = n > 1 ? 255 / (n - 1) : 0;
    for (DWORD i = 0; i < n; ++i) {
        BYTE grey = (BYTE)(step * i);
        palette[i].rgbBlue = palette[i].rgbGreen = palette[i].rgbRed = grey;
    }
    info.nearestValid = 0;
}

bool CxImage::IsGrayScale() const
{
    RGBQUAD* palette = GetPalette();
    if (!palette)
        return false;
    for (DWORD i = 0; i < header.biClrUsed; ++i) {
        if (palette[i].rgbBlue != i || palette[i].rgbGreen != i || palette[i].rgbRed != i)
            return false;
    }
    return true;
}

void CxImage::SetStdPalette()
{
    RGBQUAD* palette = GetPalette();
    if (!palette)
        return;
    if (GetBpp() == 4) {
        for (int i = 0; i < 16; ++i)
            palette[i] = Quad(kStandard16[i].red, kStandard16[i].green, kStandard16[i].blue);
    } else if (GetBpp() == 8) {
        FillStandard256(palette);
    } else {
        return;
    }
    info.nearestValid = 0;
}

// Changes the colours that the nearest-colour search takes, so the cached
// answer goes too.
void CxImage::SetClrImportant(DWORD count)
{
    info.nearestValid = 0;
    if (count == 0 || count > 256) {
        header.biClrImportant = 0;
        return;
    }
    switch (GetBpp()) {
    case 1: header.biClrImportant = count < 2 ? count : 2; break;
    case 4: header.biClrImportant = count < 16 ? count : 16; break;
    case 8: header.biClrImportant = count; break;
    default: break;
    }
}

void CxImage::SwapIndex(BYTE a, BYTE b)
{
    RGBQUAD* palette = GetPalette();
    if (!palette || a >= header.biClrUsed || b >= header.biClrUsed)
        return;
    RGBQUAD held = palette[a];
    palette[a] = palette[b];
    palette[b] = held;
    info.nearestValid = 0;
    for (DWORD y = 0; y < GetHeight(); ++y) {
        for (DWORD x = 0; x < GetWidth(); ++x) {
            BYTE index = BlindGetPixelIndex(x, y);
            if (index == a)
                SetPixelIndex(x, y, b);
            else if (index == b)
                SetPixelIndex(x, y, a);
        }
    }
}

BYTE CxImage::GetNearestIndex(RGBQUAD color)
{
    RGBQUAD* palette = GetPalette();
    if (!palette)
        return 0;
    if (info.nearestValid && memcmp(&info.nearestColor, &color, sizeof(color)) == 0)
        return info.nearestIndex;
    info.nearestColor = color;
    info.nearestValid = 1;

    DWORD count = header.biClrImportant ? header.biClrImportant : header.biClrUsed;
    if (count > header.biClrUsed)
        count = header.biClrUsed;
    DWORD best = 0;
    long bestDistance = 200000;
    for (DWORD i = 0; i < count; ++i) {
        long db = (long)palette[i].rgbBlue - color.rgbBlue;
        long dg = (long)palette[i].rgbGreen - color.rgbGreen;
        long dr = (long)palette[i].rgbRed - color.rgbRed;
        long distance = db * db + dg * dg + dr * dr;
        if (distance == 0) {
            best = i;
            break;
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    info.nearestIndex = (BYTE)best;
    return (BYTE)best;
}

RGBQUAD CxImage::RGBtoRGBQUAD(COLORREF color)
{
    return Quad(GetRValue(color), GetGValue(color), GetBValue(color));
}

void CxImage::RGBtoBGR(BYTE* buffer, int length) const
{
    if (!buffer || !dib || header.biClrUsed != 0 || length <= 0)
        return;
    DWORD bytes = (DWORD)length < info.effWidth ? (DWORD)length : info.effWidth;
    for (DWORD i = 0; i + 2 < bytes; i += 3) {
        BYTE held = buffer[i];
        buffer[i] = buffer[i + 2];
        buffer[i + 2] = held;
    }
}

int CxImage::CompareColors(const void* a, const void* b)
{
    const RGBQUAD* first = (const RGBQUAD*)a;
    const RGBQUAD* second = (const RGBQUAD*)b;
    int luminanceA = (306 * first->rgbRed + 601 * first->rgbGreen + 117 * first->rgbBlue) >> 10;
    int luminanceB = (306 * second->rgbRed + 601 * second->rgbGreen + 117 * second->rgbBlue) >> 10;
    return luminanceA - luminanceB;
}
