// The print-window pick of the drawing view: the rectangle the user drags
// out, its handles, how a handle drag moves it, and the overlay that shows
// it over the picture.
#pragma once
#include <windows.h>

class CGDIDevice;

// Which part of a finished rectangle is under the pointer.
enum PrintHandle {
    kHandleNone = 0,
    kHandleBottomLeft = 1,
    kHandleBottom = 2,
    kHandleBottomRight = 3,
    kHandleRight = 4,
    kHandleTopRight = 5,
    kHandleTop = 6,
    kHandleTopLeft = 7,
    kHandleLeft = 8,
    kHandleInside = 9,
};

// The handle at the point of a finished rectangle (4 pixels of tolerance).
int PrintHandleAt(const RECT& rect, POINT point);
// The cursor table entry of a handle.
int PrintHandleCursor(int handle);
// Moves the grabbed handle to the point: an edge moves only while it stays
// more than 4 pixels beyond the opposite edge and is then kept inside the
// client area; the inside handle moves the whole rectangle by the pointer's
// step from anchor when it stays inside the client area.
void MovePrintHandle(RECT& rect, int handle, POINT point, POINT anchor, const RECT& client);
bool HasArea(const RECT& rect);

// Draws the overlay of the picked rectangle over a copy of the picture:
// the outside shaded, the outline inverted, red brackets at the corners.
void PaintPrintPickOverlay(HDC target, const CGDIDevice& picture, const RECT& rect);
