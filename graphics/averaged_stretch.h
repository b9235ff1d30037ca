// The smooth reduction of pictures: thumbnails and reduced raster views.
// Wine's HALFTONE stretch picks one source pixel for each target pixel, so
// a fine pattern (a one-pixel checker, hatching, a scanned drawing) comes
// out black, white or moire. Here every target pixel is the mean of the
// source pixels it covers, each weighted by how much of it is covered.
#pragma once
#include <vector>

#include <windows.h>

// A 24-bit picture made by ReduceDibByArea, ready for StretchDIBits.
struct KReducedDib {
    BITMAPINFO info;
    std::vector<BYTE> bits;
};

// The source rectangle (sourceX, sourceY, sourceWidth, sourceHeight, in the
// DIB's own coordinates as StretchDIBits takes them: y from the bottom row)
// averaged down to width x height. The rows keep the source's order
// (bottom-up or top-down).
// False, with `reduced` untouched, when the rectangle is not a reduction
// (an empty one, or one that grows in either direction), lies outside the
// DIB, when the DIB is compressed or of an unusual depth, or when memory
// runs out. Handles 1, 4, 8 (palette), 16 (5-5-5), 24 and 32 bits per pixel.
bool ReduceDibByArea(const BITMAPINFO* info, const void* bits, int sourceX, int sourceY, int sourceWidth,
                     int sourceHeight, int width, int height, KReducedDib& reduced);

// StretchDIBits (DIB_RGB_COLORS, SRCCOPY) for the HALFTONE mode: a
// reduction is averaged by ReduceDibByArea and copied; anything it cannot
// average is stretched by the device context's own stretch mode. Returns
// the number of rows drawn, as StretchDIBits does.
int StretchDibAveraged(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                       int sourceHeight, const void* bits, const BITMAPINFO* info);
