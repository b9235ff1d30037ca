// One step of a pan by the pointer, one zoom step at the wheel and the
// zoom to a dragged window, shared by the preview pane and the drawing view.
#pragma once
#include <windows.h>

#include "drawing/draw_thread/draw_thread.h"

// Moves the picture with the pointer from `from` to `to` (client points): a
// drawing through the thread's pan command (at once when the thread is
// idle), a raster image on its raster view. True when a raster image moved
// and the window must be repainted.
bool PanWithPointer(TDwgDrawThread* thread, POINT from, POINT to);

// Zooms in or out about a client point: a drawing (when one is loaded) by
// the thread's command at once, a raster image on its raster view. True
// when a raster image was zoomed and the window must be repainted.
bool ZoomAtPointer(TDwgDrawThread* thread, POINT at, bool in);

// One step of the zoom-in or zoom-out tool clicked at a client point: a
// drawing by the thread's command at once, a raster image on its raster
// view. True when a raster image was zoomed and the window must be
// repainted.
bool ZoomAtClick(TDwgDrawThread* thread, POINT at, bool in);

// Zooms to the window dragged from `from` to `to`: a drawing by the
// thread's command at once, a raster image on its raster view. True when a
// raster image was zoomed and the window must be repainted.
bool ZoomToWindow(TDwgDrawThread* thread, POINT from, POINT to);
