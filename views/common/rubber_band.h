// The window-zoom rubber band of the preview pane and the drawing view: a
// white outline drawn in XOR mode, so that drawing the same band twice
// removes it.
#pragma once
#include <windows.h>

void DrawRubberBand(HWND window, POINT start, POINT end);

// The band's rectangle with left <= right and top <= bottom.
RECT NormalisedRect(const RECT& rect);
