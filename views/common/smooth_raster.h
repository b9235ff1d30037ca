// The smoothing pass of a reduced raster image, shared by the preview pane
// and the view frame: the picture drawn once more, smoothed instead of
// stretched fast.
#pragma once
#include "graphics/jgraphics.h"
#include "platform/classlib/classlib.h"

// Draws the picture smoothed (the caller holds the thread's idle use); the
// owner shows the wait cursor when the last draw was slow.
void DrawRasterSmoothed(JGraphics& picture, CCmdTarget& owner);
