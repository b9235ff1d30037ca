// The view commands the preview pane and the drawing view share. The raster
// ones work on the idle drawing thread's raster image and return true when
// they changed the picture, which the caller then repaints.
#pragma once
#include <windows.h>

#include "drawing/draw_thread/draw_thread.h"
#include "platform/classlib/cmdtarget.h"

// The idle thread when it holds a raster image, else null.
TDwgDrawThread* GetIdleRasterThread();

// One screen pixel for each image pixel.
bool ShowRasterActualSize();
// The whole image in the window.
bool FitRasterView();
// A command from ID_RASTER_ROTATE_LEFT to ID_RASTER_FLIP (turn left, turn
// right, mirror, flip): the image is turned and shown whole, and the turn is
// written into its EXIF orientation, in one hold of the picture, so that the
// picture and its orientation never disagree. orientationChanged tells
// whether the EXIF orientation was written.
bool TurnRaster(UINT commandId, bool& orientationChanged);

// Switches the drawing's quick mode; the thread whose drawing was switched
// (the caller then has it regenerated), or null when there was none.
TDwgDrawThread* ToggleQuickMode();
// The quick-mode command: enabled for a drawing, checked while on.
void UpdateQuickMode(CCmdUI* cmdUI);
