#include "graphics/dib_format.h"

#include <cstdlib>
#include <cstring>

#include "platform/base/byte_reader.h"

namespace {

const BITMAPINFOHEADER* Info(const void* dib)
{
    return static_cast<const BITMAPINFOHEADER*>(dib);
}

const BITMAPCOREHEADER* Core(const void* dib)
{
    return static_cast<const BITMAPCOREHEADER*>(dib);
}

int DefaultColorCount(int bitCount)
{
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

}  // namespace

int DibRaisedBitCount(int bits)
{
    if (bits <= 1)
        return 1;
    if (bits <= 4)
        return 4;
    if (bits <= 8)
        return 8;
    if (bits <= 24)
        return 24;
    return 32;
}

bool DibIsInfoHeader(const void* dib)
{
    return Info(dib)->biSize == sizeof(BITMAPINFOHEADER);
}

DWORD DibHeaderSize(const void* dib)
{
    return Info(dib)->biSize;
}

int DibWidth(const void* dib)
{
    return DibIsInfoHeader(dib) ? Info(dib)->biWidth : Core(dib)->bcWidth;
}

int DibHeight(const void* dib)
{
    return DibIsInfoHeader(dib) ? Info(dib)->biHeight : Core(dib)->bcHeight;
}

int DibBitCount(const void* dib)
{
    return DibIsInfoHeader(dib) ? Info(dib)->biBitCount : Core(dib)->bcBitCount;
}

int DibColorCount(const void* dib)
{
    if (DibIsInfoHeader(dib) && Info(dib)->biClrUsed != 0)
        return static_cast<int>(Info(dib)->biClrUsed & 0xFFFF);
    return DefaultColorCount(DibBitCount(dib));
}

DWORD DibPaletteSize(const void* dib)
{
    if (!DibIsInfoHeader(dib))
        return static_cast<DWORD>(DefaultColorCount(DibBitCount(dib)) * sizeof(RGBTRIPLE));
    return static_cast<DWORD>(DibColorCount(dib) * sizeof(RGBQUAD));
}

DWORD DibAlignedImageSize(int width, int height, int bitCount, int planes)
{
    uint64_t rowBits = static_cast<uint64_t>(bitCount) * static_cast<uint64_t>(planes) *
                       static_cast<uint64_t>(std::llabs(width));
    uint64_t size = (rowBits + 31) / 32 * 4 * static_cast<uint64_t>(std::llabs(height));
    return size > 0xFFFFFFFFu ? 0 : static_cast<DWORD>(size);
}

DWORD DibImageSize(const void* dib)
{
    if (DibIsInfoHeader(dib) && Info(dib)->biSizeImage != 0)
        return Info(dib)->biSizeImage;
    int planes = DibIsInfoHeader(dib) ? Info(dib)->biPlanes : Core(dib)->bcPlanes;
    return DibAlignedImageSize(DibWidth(dib), DibHeight(dib), DibBitCount(dib), planes);
}

DWORD DibSize(const void* dib)
{
    return DibHeaderSize(dib) + DibPaletteSize(dib) + DibImageSize(dib);
}

void DibFillImageSize(void* dib)
{
    if (DibIsInfoHeader(dib) && Info(dib)->biSizeImage == 0)
        static_cast<BITMAPINFOHEADER*>(dib)->biSizeImage = DibImageSize(dib);
}

BYTE* DibBits(void* dib)
{
    return static_cast<BYTE*>(dib) + DibHeaderSize(dib) + DibPaletteSize(dib);
}

const BYTE* DibBits(const void* dib)
{
    return static_cast<const BYTE*>(dib) + DibHeaderSize(dib) + DibPaletteSize(dib);
}

BITMAPINFOHEADER MakeInfoHeader(int width, int height, int bits)
{
    BITMAPINFOHEADER header;
    memset(&header, 0, sizeof(header));
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biCompression = BI_RGB;
    return header;
}

HGLOBAL NewDib(int width, int height, int bits)
{
    const BITMAPINFOHEADER header = MakeInfoHeader(width, height, DibRaisedBitCount(bits));
    DWORD image = DibImageSize(&header);
    if (image == 0 && width != 0 && height != 0)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                header.biSize + DibPaletteSize(&header) + image);
    if (!block)
        return nullptr;
    void* dib = GlobalLock(block);
    if (!dib) {
        GlobalFree(block);
        return nullptr;
    }
    memcpy(dib, &header, sizeof(header));
    GlobalUnlock(block);
    return block;
}

HGLOBAL CopyToGlobalHandle(const void* source, SIZE_T size)
{
    if (!source)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block)
        return nullptr;
    void* target = GlobalLock(block);
    if (!target) {
        GlobalFree(block);
        return nullptr;
    }
    memcpy(target, source, size);
    GlobalUnlock(block);
    return block;
}

HGLOBAL CopyGlobalHandle(HGLOBAL source)
{
    if (!source)
        return nullptr;
    const void* bytes = GlobalLock(source);
    if (!bytes)
        return nullptr;
    HGLOBAL copy = CopyToGlobalHandle(bytes, GlobalSize(source));
    GlobalUnlock(source);
    return copy;
}

HPALETTE CreateDibPalette(const void* dib)
{
    int count = DibColorCount(dib);
    if (count == 0 || DibBitCount(dib) > 8)
        return nullptr;
    size_t size = sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(count);
    LOGPALETTE* palette = static_cast<LOGPALETTE*>(calloc(1, size));
    if (!palette)
        return nullptr;
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(count);
    for (int i = 0; i < count; ++i) {
        RGBQUAD quad = DibColorEntry(dib, i);
        palette->palPalEntry[i].peRed = quad.rgbRed;
        palette->palPalEntry[i].peGreen = quad.rgbGreen;
        palette->palPalEntry[i].peBlue = quad.rgbBlue;
    }
    HPALETTE result = CreatePalette(palette);
    free(palette);
    return result;
}

RGBQUAD DibColorEntry(const void* dib, int index)
{
    RGBQUAD entry = {0, 0, 0, 0};
    if (index < 0 || index >= DibColorCount(dib))
        return entry;
    const BYTE* table = static_cast<const BYTE*>(dib) + DibHeaderSize(dib);
    if (DibIsInfoHeader(dib))
        return reinterpret_cast<const RGBQUAD*>(table)[index];
    const RGBTRIPLE& triple = reinterpret_cast<const RGBTRIPLE*>(table)[index];
    entry.rgbRed = triple.rgbtRed;
    entry.rgbGreen = triple.rgbtGreen;
    entry.rgbBlue = triple.rgbtBlue;
    return entry;
}

bool DibFitsIn(const void* dib, size_t size)
{
    if (!dib || size < sizeof(BITMAPCOREHEADER))
        return false;
    const DWORD headerSize = DibHeaderSize(dib);
    if (headerSize != sizeof(BITMAPCOREHEADER) && headerSize != sizeof(BITMAPINFOHEADER))
        return false;
    if (headerSize > size)
        return false;
    const int bits = DibBitCount(dib);
    const int planes = DibIsInfoHeader(dib) ? Info(dib)->biPlanes : Core(dib)->bcPlanes;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    if (planes != 1 || DibWidth(dib) <= 0 || DibHeight(dib) == 0)
        return false;
    if (DibIsInfoHeader(dib) && Info(dib)->biCompression != BI_RGB &&
        Info(dib)->biCompression != BI_RLE8 && Info(dib)->biCompression != BI_RLE4)
        return false;
    const DWORD aligned = DibAlignedImageSize(DibWidth(dib), DibHeight(dib), bits);
    if (aligned == 0)
        return false;
    uint64_t image = DibImageSize(dib);
    // Uncompressed rows must all be there, whatever the image-size field says.
    if (!DibIsInfoHeader(dib) || Info(dib)->biCompression == BI_RGB) {
        if (image < aligned)
            return false;
    }
    return uint64_t(headerSize) + DibPaletteSize(dib) + image <= size;
}

void MakeBmpFileHeader(BYTE header[kBmpFileHeaderSize], DWORD fileSize, DWORD bitsOffset)
{
    memset(header, 0, kBmpFileHeaderSize);
    header[0] = 'B';
    header[1] = 'M';
    PutU32LE(header + 2, fileSize);
    PutU32LE(header + 10, bitsOffset);
}
