// Drawing device bitmaps onto device contexts.
#pragma once
#include <windows.h>

// Copies the source rectangle of the bitmap into the destination rectangle
// (BitBlt when both have the same size, else StretchBlt in COLORONCOLOR
// mode), with the palette, when given, realised in the target.
BOOL PaintBitmap(HDC target, HBITMAP bitmap, const RECT* destination, const RECT* source,
                 HPALETTE palette);

// Draws the bitmap at (x, y) with every pixel of transparentColour left out.
void DrawTransparentBitmap(HDC target, HBITMAP bitmap, int x, int y, COLORREF transparentColour);
