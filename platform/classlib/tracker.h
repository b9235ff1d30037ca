// The inverted frames drawn while the user drags a bar or a bar's edge.
#pragma once
#include <windows.h>

// The 50 % grey brush of the trackers (one per process, never freed).
HBRUSH AfxGetHalftoneBrush();
// Inverts a frame of that width just inside the rectangle with the
// halftone brush; drawing it twice takes it away.
void AfxInvertTrackerFrame(HDC dc, const RECT& rect, int width);
