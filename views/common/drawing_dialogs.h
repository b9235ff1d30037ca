// What both views do around the dialog library's dialogs over the open
// drawing (the layer manager, the view point): the dialog runs while no
// command runs on the drawing thread, and a drawing the user changed is
// drawn again through the thread's pending slot.
#pragma once
#include "drawing/draw_thread/draw_thread.h"

class CDrawing;

// A dialog of the dialog library over a drawing: 1 when the user changed it.
typedef int (*DrawingDialog)(CDrawing* drawing);

// Runs the dialog over the thread's drawing; the thread's next command
// waits until it is closed. The dialog's answer; 0 without a thread, while
// a command runs, for a raster file or without a drawing.
int RunDrawingDialog(TDwgDrawThread* thread, DrawingDialog dialog);

// DCMD_REFRESH written into the pending slot, the running command (if any)
// told that it is no longer current, and the thread woken.
void RefreshDrawing(TDwgDrawThread* thread);
