// Whole-image transforms of CxImage: flip, mirror, rotations by 90 and 180
// degrees, colour negative, and reduction of the colour depth.
#include "codecs/ximage.h"

#include <string.h>

#include <vector>

namespace {

const int kRotateBlock = 64;

// The nearest palette index of colours already looked up, for one image
// whose palette does not change meanwhile: a direct-mapped table in front
// of CxImage::GetNearestIndex, which gives the same answers more slowly.
class NearestIndexMemo {
public:
    explicit NearestIndexMemo(CxImage& image) : m_image(image), m_slots(kSlots) {}

    BYTE Find(RGBQUAD colour)
    {
        DWORD key = colour.rgbBlue | (colour.rgbGreen << 8) | ((DWORD)colour.rgbRed << 16);
        Slot& slot = m_slots[(key * 2654435761u) >> (32 - kSlotBits)];
        if (!slot.used || slot.key != key) {
            colour.rgbReserved = 0;
            slot.key = key;
            slot.index = m_image.GetNearestIndex(colour);
            slot.used = true;
        }
        return slot.index;
    }

private:
    static const int kSlotBits = 16;
    static const size_t kSlots = (size_t)1 << kSlotBits;
    struct Slot {
        DWORD key = 0;
        BYTE index = 0;
        bool used = false;
    };
    CxImage& m_image;
    std::vector<Slot> m_slots;
};

int ClampChannel(int value)
{
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

}  // namespace

bool CxImage::Flip()
{
    if (!dib)
        return false;
    CxImage flipped;
    if (!flipped.Copy(*this, false, false, true))
        return Fail(flipped.GetLastError());
    DWORD height = GetHeight();
    for (DWORD y = 0; y < height; ++y)
        memcpy(flipped.GetBits(height - 1 - y), GetBits(y), info.effWidth);
    if (flipped.alpha && !flipped.AlphaFlip())
        return Fail("Flip: can't allocate memory");
    return Transfer(flipped);
}

bool CxImage::Mirror()
{
    if (!dib)
        return false;
    CxImage mirrored;
    if (!mirrored.Copy(*this, false, false, true))
        return Fail(mirrored.GetLastError());
    int32_t width = (int32_t)GetWidth();
    int32_t height = (int32_t)GetHeight();
    for (int32_t y = 0; y < height; ++y) {
        const BYTE* from = GetBits(y);
        BYTE* to = mirrored.GetBits(y);
        if (GetBpp() == 8) {
            for (int32_t x = 0; x < width; ++x)
                to[width - 1 - x] = from[x];
        } else if (GetBpp() == 24) {
            for (int32_t x = 0; x < width; ++x)
                memcpy(to + 3 * (size_t)(width - 1 - x), from + 3 * (size_t)x, 3);
        } else {
            for (int32_t x = 0; x < width; ++x)
                mirrored.SetPixelIndex(width - 1 - x, y, BlindGetPixelIndex(x, y));
        }
    }
    if (mirrored.alpha && !mirrored.AlphaMirror())
        return Fail("Mirror: can't allocate memory");
    return Transfer(mirrored);
}

// Hands a finished result to the destination, or to this image when none
// is given (or the destination is this image).
bool CxImage::RotateResult(CxImage& result, CxImage* destination)
{
    if (destination && destination != this) {
        if (!destination->Transfer(result))
            return Fail("Rotate: destination can't be replaced");
        return true;
    }
    return Transfer(result);
}

// An image of the given size with this image's information block, depth,
// type and palette, and an alpha plane when this image has one.
bool CxImage::MakeTransformTarget(CxImage& result, DWORD width, DWORD height)
{
    result.CopyInfo(*this);
    result.header.biXPelsPerMeter = header.biXPelsPerMeter;
    result.header.biYPelsPerMeter = header.biYPelsPerMeter;
    if (!result.Create(width, height, GetBpp(), GetType()))
        return Fail(result.GetLastError());
    result.SetPalette(GetPalette(), GetNumColors());
    if (alpha) {
        result.AlphaCreate();
        if (!result.alpha)
            return Fail("Rotate: can't allocate memory");
    }
    return true;
}

// Rotates by 90 degrees: result (x, y) = source (y, H - 1 - x) to the left,
// source (W - 1 - y, x) to the right.
bool CxImage::Rotate90(bool left, CxImage* destination)
{
    if (!dib)
        return false;
    int32_t width = (int32_t)GetWidth();
    int32_t height = (int32_t)GetHeight();
    CxImage result;
    if (!MakeTransformTarget(result, height, width))
        return false;
    int32_t newWidth = height;
    int32_t newHeight = width;

    if (GetBpp() == 1) {
        result.Clear(0);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                if (!BlindGetPixelIndex(x, y))
                    continue;
                if (left)
                    result.SetPixelIndex(height - 1 - y, x, 1);
                else
                    result.SetPixelIndex(y, width - 1 - x, 1);
            }
        }
        for (int32_t y = 0; alpha && y < newHeight; ++y) {
            for (int32_t x = 0; x < newWidth; ++x) {
                BYTE value = left ? BlindAlphaGet(y, height - 1 - x)
                                  : BlindAlphaGet(width - 1 - y, x);
                result.AlphaSet(x, y, value);
            }
        }
        info.progress = 100;
        return RotateResult(result, destination);
    }

    for (int32_t blockX = 0; blockX < newWidth; blockX += kRotateBlock) {
        if (left)
            info.progress = (int32_t)(100LL * blockX / newWidth);
        for (int32_t blockY = 0; blockY < newHeight; blockY += kRotateBlock) {
            if (!left)
                info.progress = (int32_t)(100LL * blockY / newHeight);
            int32_t endX = blockX + kRotateBlock < newWidth ? blockX + kRotateBlock : newWidth;
            int32_t endY = blockY + kRotateBlock < newHeight ? blockY + kRotateBlock : newHeight;
            for (int32_t x = blockX; x < endX; ++x) {
                for (int32_t y = blockY; y < endY; ++y) {
                    int32_t sourceX = left ? y : width - 1 - y;
                    int32_t sourceY = left ? height - 1 - x : x;
                    if (GetBpp() == 24)
                        memcpy(result.GetPixelPointer(x, y), GetPixelPointer(sourceX, sourceY), 3);
                    else
                        result.SetPixelIndex(x, y, BlindGetPixelIndex(sourceX, sourceY));
                    if (alpha)
                        result.AlphaSet(x, y, BlindAlphaGet(sourceX, sourceY));
                }
            }
        }
    }
    info.progress = 100;
    return RotateResult(result, destination);
}

bool CxImage::RotateLeft(CxImage* destination)
{
    return Rotate90(true, destination);
}

bool CxImage::RotateRight(CxImage* destination)
{
    return Rotate90(false, destination);
}

bool CxImage::Rotate180(CxImage* destination)
{
    if (!dib)
        return false;
    int32_t width = (int32_t)GetWidth();
    int32_t height = (int32_t)GetHeight();
    CxImage result;
    if (!MakeTransformTarget(result, width, height))
        return false;
    for (int32_t y = 0; y < height; ++y) {
        info.progress = (int32_t)(100LL * y / height);
        for (int32_t x = 0; x < width; ++x) {
            int32_t toX = width - 1 - x;
            int32_t toY = height - 1 - y;
            if (IsIndexed())
                result.SetPixelIndex(toX, toY, BlindGetPixelIndex(x, y));
            else
                result.SetPixelColor(toX, toY, GetPixelColor(x, y, false), false);
            if (alpha)
                result.AlphaSet(toX, toY, BlindAlphaGet(x, y));
        }
    }
    info.progress = 100;
    return RotateResult(result, destination);
}

bool CxImage::Negative()
{
    if (!dib)
        return false;
    const CxSelectionBox& box = info.selectionBox;
    if (GetBpp() > 8) {
        if (selection) {
            for (int32_t y = box.bottom; y < box.top; ++y) {
                for (int32_t x = box.left; x < box.right; ++x) {
                    if (!SelectionIsInside(x, y))
                        continue;
                    BYTE* pixel = GetPixelPointer(x, y);
                    pixel[0] = (BYTE)(255 - pixel[0]);
                    pixel[1] = (BYTE)(255 - pixel[1]);
                    pixel[2] = (BYTE)(255 - pixel[2]);
                }
            }
        } else {
            BYTE* pixels = info.firstRow;
            for (DWORD i = 0; i < header.biSizeImage; ++i)
                pixels[i] = (BYTE)~pixels[i];
        }
        info.transColor.rgbBlue = (BYTE)(255 - info.transColor.rgbBlue);
        info.transColor.rgbGreen = (BYTE)(255 - info.transColor.rgbGreen);
        info.transColor.rgbRed = (BYTE)(255 - info.transColor.rgbRed);
        return true;
    }
    if (!IsGrayScale()) {
        RGBQUAD* palette = GetPalette();
        for (DWORD i = 0; palette && i < header.biClrUsed; ++i) {
            palette[i].rgbBlue = (BYTE)(255 - palette[i].rgbBlue);
            palette[i].rgbGreen = (BYTE)(255 - palette[i].rgbGreen);
            palette[i].rgbRed = (BYTE)(255 - palette[i].rgbRed);
        }
        info.nearestValid = 0;
        return true;
    }
    BYTE mask = (BYTE)((1 << GetBpp()) - 1);
    int32_t left = 0, right = (int32_t)GetWidth();
    int32_t bottom = 0, top = (int32_t)GetHeight();
    if (selection) {
        left = box.left;
        right = box.right;
        bottom = box.bottom;
        top = box.top;
    }
    for (int32_t y = bottom; y < top; ++y) {
        for (int32_t x = left; x < right; ++x) {
            if (SelectionIsInside(x, y))
                SetPixelIndex(x, y, (BYTE)(~BlindGetPixelIndex(x, y) & mask));
        }
    }
    return true;
}

// Spreads one pixel's error onto a not yet converted neighbour of the
// working image; neighbours outside the image are skipped.
void CxImage::SpreadError(int32_t x, int32_t y, const int error[3], int weight)
{
    if (!IsInside(x, y))
        return;
    RGBQUAD color = GetPixelColor(x, y, false);
    color.rgbBlue = (BYTE)ClampChannel(color.rgbBlue + error[0] * weight / 16);
    color.rgbGreen = (BYTE)ClampChannel(color.rgbGreen + error[1] * weight / 16);
    color.rgbRed = (BYTE)ClampChannel(color.rgbRed + error[2] * weight / 16);
    SetPixelColor(x, y, color, false);
}

// Reduces the depth to 1, 4 or 8 bits. With error diffusion the errors go
// into a working copy of the source, so that a run stopped by the escape
// flag (false) or a failure leaves this image as it was.
bool CxImage::DecreaseBpp(DWORD bits, bool errorDiffusion, const RGBQUAD* palette,
                          DWORD importantColors)
{
    if (!dib || GetBpp() < bits)
        return false;
    if (GetBpp() == bits &&
        (importantColors == 0 ||
         (header.biClrImportant != 0 && header.biClrImportant < importantColors)))
        return true;
    if (bits != 1 && bits != 4 && bits != 8)
        return false;

    CxImage result;
    result.CopyInfo(*this);
    result.header.biXPelsPerMeter = header.biXPelsPerMeter;
    result.header.biYPelsPerMeter = header.biYPelsPerMeter;
    if (!result.Create(GetWidth(), GetHeight(), bits, GetType()))
        return Fail(result.GetLastError());
    if (importantColors)
        result.SetClrImportant(importantColors);
    if ((selection && !result.SelectionCopy(*this)) || (alpha && !result.AlphaCopy(*this)))
        return Fail("DecreaseBpp: can't allocate memory");

    if (palette)
        result.SetPalette(palette, 1u << bits);
    else if (bits == 1) {
        result.SetPaletteColor(0, 0, 0, 0);
        result.SetPaletteColor(1, 255, 255, 255);
    } else {
        result.SetStdPalette();
    }

    CxImage working;
    const CxImage* source = this;
    if (errorDiffusion) {
        if (!working.Copy(*this, true, false, false))
            return Fail(working.GetLastError());
        source = &working;
    }

    NearestIndexMemo nearest(result);
    int32_t width = (int32_t)GetWidth();
    int32_t height = (int32_t)GetHeight();
    for (int32_t y = 0; y < height; ++y) {
        if (info.escape)
            return Fail("DecreaseBpp: cancelled");
        info.progress = (int32_t)(100LL * y / height);
        for (int32_t x = 0; x < width; ++x) {
            RGBQUAD color = source->GetPixelColor(x, y, false);
            BYTE index = nearest.Find(color);
            result.SetPixelIndex(x, y, index);
            if (!errorDiffusion)
                continue;
            RGBQUAD chosen = result.GetPaletteColor(index);
            int error[3] = { color.rgbBlue - chosen.rgbBlue, color.rgbGreen - chosen.rgbGreen,
                             color.rgbRed - chosen.rgbRed };
            working.SpreadError(x + 1, y, error, 7);
            working.SpreadError(x - 1, y + 1, error, 2);
            working.SpreadError(x, y + 1, error, 4);
            working.SpreadError(x + 1, y + 1, error, 1);
        }
    }
    info.progress = 100;
    if (GetBpp() == 1) {
        result.SetPaletteColor(0, 0, 0, 0);
        result.SetPaletteColor(1, 255, 255, 255);
    }
    return Transfer(result);
}
