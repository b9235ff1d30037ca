// Packed DIBs: a BITMAPINFOHEADER (or BITMAPCOREHEADER), its colour table and
// the pixel rows in one block, as a BMP file stores them after its 14-byte
// file header. These helpers read the sizes of such a block, make new ones
// in movable global memory and build their palettes.
#pragma once
#include <windows.h>
#include <cstdint>

// Header kind: a header whose size field is 40 is an info header; any other
// is a core header.
bool DibIsInfoHeader(const void* dib);

// Width and height: signed in an info header, unsigned 16-bit in a core one.
int DibWidth(const void* dib);
int DibHeight(const void* dib);
int DibBitCount(const void* dib);
DWORD DibHeaderSize(const void* dib);

// Bytes of the colour table.
DWORD DibPaletteSize(const void* dib);
// Entries of the colour table: the colour count, else 2, 16 or 256 for
// 1, 4 or 8 bits; 0 for deeper pictures.
int DibColorCount(const void* dib);
// Bytes of the pixel rows: the header's image-size field when it is set,
// else the rows' DWORD-aligned size. 0 when that does not fit 32 bits.
DWORD DibImageSize(const void* dib);
// The rows' DWORD-aligned size computed from the header, ignoring the
// image-size field; 0 when it does not fit 32 bits.
DWORD DibAlignedImageSize(int width, int height, int bitCount, int planes = 1);
// Header, colour table and pixel rows.
DWORD DibSize(const void* dib);
// Writes the image size computed from the dimensions into an info header
// whose image-size field is 0 (the block must be the caller's own).
void DibFillImageSize(void* dib);
// The first pixel byte.
BYTE* DibBits(void* dib);
const BYTE* DibBits(const void* dib);

// An info header of width x height pixels (bottom-up for a height above 0)
// of `bits` bits, BI_RGB, its other fields 0.
BITMAPINFOHEADER MakeInfoHeader(int width, int height, int bits);

// A new zero-filled packed DIB with an info header: the depth is raised to
// 1, 4, 8, 24 or 32 bits and the colour table (all black) has 2^bits
// entries up to 8 bits. Null when it cannot be allocated.
HGLOBAL NewDib(int width, int height, int bits);

// A new movable zero-initialised block with the same bytes.
HGLOBAL CopyGlobalHandle(HGLOBAL source);
HGLOBAL CopyToGlobalHandle(const void* source, SIZE_T size);

// The palette of a packed DIB of 8 bits or less; null for deeper ones.
HPALETTE CreateDibPalette(const void* dib);

// The depth a new packed DIB gets for a requested one: 1, 4, 8, 24 or 32.
int DibRaisedBitCount(int bits);

// Entry i of the colour table (RGBQUAD or, for a core header, RGBTRIPLE);
// black past the table's entries.
RGBQUAD DibColorEntry(const void* dib, int index);

// True when the block of the given size holds a whole packed DIB that can
// be used safely: a known header kind and size, 1, 4, 8, 16, 24 or 32 bits,
// one plane, a width above 0, a height other than 0, and the colour table
// and the rows within the block. Only the header is read.
bool DibFitsIn(const void* dib, size_t size);

// The 14-byte BMP file header: "BM", the file size, two zero words and the
// offset of the pixel rows.
const int kBmpFileHeaderSize = 14;
void MakeBmpFileHeader(BYTE header[kBmpFileHeaderSize], DWORD fileSize, DWORD bitsOffset);
