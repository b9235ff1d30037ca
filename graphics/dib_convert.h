// Packed DIBs and DIB sections: making one from the other, and changing a
// packed DIB's colour depth through GDI.
#pragma once
#include <windows.h>

// A DIB section on the screen holding the packed DIB's pixels and colour
// table; null when it cannot be made.
HBITMAP CreateDibSection(const void* packedDib);

// A new movable packed DIB (info header) of a DIB section's pixels; null
// when the bitmap is no DIB section or its bits cannot be read.
HGLOBAL DdbToDib(HBITMAP section);

// A new movable packed DIB of the source at the given depth, the colours
// mapped by GDI to the table FillDibColorTable gives; null on failure.
HGLOBAL ConvertDib(const void* source, int bits, HPALETTE palette);

// Fills the colour table behind newHeader (2^biBitCount entries up to 8
// bits) for a conversion of source: black and white at 1 bit; at 4 and 8
// bits the palette's entries, else the source's own table when it has the
// same depth, else (4 bits) the default palette or (8 bits) an octree
// palette of the source of 236 colours, the halftone palette when none
// comes. Entries past the colours found are black.
void FillDibColorTable(BITMAPINFO* newHeader, const void* source, HPALETTE palette);
