// Octree colour quantisation: a palette of at most maxColors colours for
// the pixels of a picture, each entry the average colour of one leaf of a
// tree that sorts pixels by the bits of their red, green and blue values.
#pragma once
#include <windows.h>

// The palette of a DIB section of 1, 4, 8, 16, 24 or 32 bits per pixel;
// null for other depths, for colorBits above 8 and for maxColors 0.
HPALETTE CreateOctreePalette(HBITMAP section, UINT maxColors, UINT colorBits);

// The same for a packed DIB (through a temporary DIB section).
HPALETTE CreateOctreePalette(const void* packedDib, UINT maxColors, UINT colorBits);
