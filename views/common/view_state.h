// What the views ask before they act: whether the program runs, whether
// the drawing thread exists and is idle, and what it holds.
#pragma once
#include "drawing/draw_thread/draw_thread.h"

// The drawing thread while the program runs (its mode is not 0), else null.
TDwgDrawThread* GetRunningDrawThread();
// How long a view waits for a busy drawing thread before it changes what
// the thread holds (after the options changed).
const DWORD kDrawThreadIdleWaitMs = 10000;

// The usual guard of every view handler: the running drawing thread when no
// command runs on it, else null.
TDwgDrawThread* GetIdleDrawThread();

// The running thread holds a drawing kind (respectively a raster kind).
bool IsVectorFile();
bool IsRasterFile();

// A drawing kind with its drawing loaded.
bool HasVectorDrawing();
// The thread's raster picture holds a decoded image.
bool HasRasterImage();
// The thread is idle and holds a loaded drawing or a decoded image.
bool HasSomethingToShow();

// The drawing background: the colour of the settings' colour index.
COLORREF DrawingBackgroundColour();
