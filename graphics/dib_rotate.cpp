#include "graphics/dib_rotate.h"

#include <cstring>

#include "graphics/dib_format.h"
#include "platform/base/byte_reader.h"

namespace {

// Reads and writes one pixel of a row as an integer value (1, 4 or 8 bits)
// or three bytes (24 bits); the most significant bits come first.
DWORD GetPixel(const BYTE* row, int x, int bits)
{
    switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    case 8: return row[x];
    default:
        return GetU24LE(row + x * 3);
    }
}

void SetPixel(BYTE* row, int x, int bits, DWORD value)
{
    switch (bits) {
    case 1:
        if (value)
            row[x >> 3] |= static_cast<BYTE>(0x80 >> (x & 7));
        break;
    case 4:
        row[x >> 1] |= static_cast<BYTE>((x & 1) ? value : value << 4);
        break;
    case 8:
        row[x] = static_cast<BYTE>(value);
        break;
    default:
        PutU24LE(row + x * 3, value);
    }
}

bool MovesPixels(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

void SwapDimensions(void* dib, int newWidth, int newHeight)
{
    if (DibIsInfoHeader(dib)) {
        BITMAPINFOHEADER* info = static_cast<BITMAPINFOHEADER*>(dib);
        info->biWidth = newWidth;
        info->biHeight = newHeight;
        if (info->biSizeImage != 0)
            info->biSizeImage = DibAlignedImageSize(newWidth, newHeight, info->biBitCount);
    } else {
        BITMAPCOREHEADER* core = static_cast<BITMAPCOREHEADER*>(dib);
        core->bcWidth = static_cast<WORD>(newWidth);
        core->bcHeight = static_cast<WORD>(newHeight);
    }
}

void MovePixels(const void* source, void* target)
{
    const int width = DibWidth(source);
    const int height = DibHeight(source);
    const int bits = DibBitCount(source);
    if (!MovesPixels(bits))
        return;
    const DWORD sourceStride = DibAlignedImageSize(width, 1, bits);
    const DWORD targetStride = DibAlignedImageSize(height, 1, bits);
    const BYTE* sourceBits = DibBits(source);
    BYTE* targetBits = DibBits(target);
    for (int r = 0; r < height; ++r) {
        const BYTE* sourceRow = sourceBits + static_cast<size_t>(sourceStride) * r;
        for (int x = 0; x < width; ++x) {
            BYTE* targetRow = targetBits + static_cast<size_t>(targetStride) * x;
            SetPixel(targetRow, height - 1 - r, bits, GetPixel(sourceRow, x, bits));
        }
    }
}

}  // namespace

HGLOBAL RotateDib90(HGLOBAL source)
{
    if (!source)
        return nullptr;
    const void* dib = GlobalLock(source);
    if (!dib)
        return nullptr;
    const int width = DibWidth(dib);
    const int height = DibHeight(dib);
    const DWORD imageSize = DibAlignedImageSize(height, width, DibBitCount(dib));
    const DWORD headerAndTable = DibHeaderSize(dib) + DibPaletteSize(dib);
    if (width <= 0 || height <= 0 || imageSize == 0 ||
        GlobalSize(source) < headerAndTable + static_cast<SIZE_T>(
                                 DibAlignedImageSize(width, height, DibBitCount(dib)))) {
        GlobalUnlock(source);
        return nullptr;
    }
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, headerAndTable + imageSize);
    void* rotated = block ? GlobalLock(block) : nullptr;
    if (rotated) {
        memcpy(rotated, dib, headerAndTable);
        SwapDimensions(rotated, height, width);
        MovePixels(dib, rotated);
        GlobalUnlock(block);
    } else if (block) {
        GlobalFree(block);
        block = nullptr;
    }
    GlobalUnlock(source);
    SetCursor(previous);
    return block;
}
