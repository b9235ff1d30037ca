// The decoder the drawing library draws the files of IMAGE entities
// through (DWG_SetImageDecoder, registered at start-up): any raster format
// the codecs read, as a 32-bit DIB section whose alpha bytes hold the
// picture's opacity.
#pragma once
#include <windows.h>

// A new top-down 32-bit DIB section of the file at the Win32 (ANSI) path;
// null when the file cannot be read or decoded. The caller deletes it.
HBITMAP DecodeDrawingImage(const char* path);
