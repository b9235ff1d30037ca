// The drawing library's flat interface: set-up, load callbacks, stored
// preview pictures, background colour, pen dpi, TIFF output and text
// conversion. CDrawing and CDwgExport are in their own headers.
#pragma once
#include <windows.h>

#include "platform/zrio/drawing.h"
#include "platform/zrio/dwg_export.h"

typedef char (*DWG_ABORT_FUNC)(void* user);
typedef void (*DWG_LOAD_BEGIN_FUNC)(int value);
typedef void (*DWG_LOAD_PROGRESS_FUNC)(double percent);
typedef void (*DWG_LOAD_END_FUNC)();

// Once per process, before the first and after the last other call.
int InitDLL();
void UninitDLL();

// Folders (separated by ';') searched for fonts and referenced files: the
// host CAD program's support folders, given at start.
void DWG_SetSearchDirectories(const char* paths);
// Copies them into buffer (cut to size - 1 bytes and zero-terminated) and
// returns the length of the whole text.
int DWG_GetSearchDirectories(char* buffer, int size);
// The same for the folders the user lists in the search-path dialog, which
// are searched first.
void DWG_SetUserSearchDirectories(const char* paths);
int DWG_GetUserSearchDirectories(char* buffer, int size);

// Abort query polled during loads of view drawings; (0, 0) removes it.
void DWG_SetFileAboutFunc(DWG_ABORT_FUNC query, void* user);
// The same for drawings made with CDRAWING_SERVER_THUMBNAIL.
void DWG_SetFileAboutFunc_2(DWG_ABORT_FUNC query, void* user);
// Progress of loads of view drawings: begin(0), progress(percent), end().
void DWG_SetProgressCallBackFuns(DWG_LOAD_BEGIN_FUNC begin, DWG_LOAD_PROGRESS_FUNC progress,
                                 DWG_LOAD_END_FUNC end);

// The preview picture stored in a DWG, DWT, DWF or DXF file, as the bytes of
// a BMP file (a PNG preview is converted). The buffer belongs to the library:
// give it back with ppll.
bool lppp(const char* path, unsigned char** buffer, long* length);
void ppll(unsigned char** buffer);

// Background of every drawing's output (colour 7 contrasts with it).
void DWG_SetBackgroundColor(COLORREF color);
COLORREF DWG_GetBackgroundColor();
// Dots per inch used to turn lineweights into pixels; 0 draws thin lines.
void CommonPenSets_SetDPI(int dpi);
// The print pen set that drawToDC with pen widths draws in: for colour
// index i (0 .. count - 1) the colour index it is drawn in and its width in
// pixels. Lines of a true colour or of a higher index keep their own colour
// and lineweight. count 0 removes the set.
void CommonPenSets_SetPens(const short* colorIndexes, const double* widths, int count);

// Decodes the raster file at `path` (ANSI) into a new 32-bit DIB section
// whose alpha bytes hold each pixel's opacity; null when the file cannot be
// decoded. The library owns the bitmap it returns. IMAGE entities draw their
// pictures through the decoder set at start-up; with none set (null) they
// draw their frames only. The decoder may be called from any thread that
// draws.
typedef HBITMAP (*DWG_IMAGE_DECODER)(const char* path);
void DWG_SetImageDecoder(DWG_IMAGE_DECODER decoder);

// Writes the bitmap as a TIFF file at the given resolution; kind 3 is
// 24-bit colour (the only kind). 1 on success, 0 on failure.
int SaveRasterImage(HBITMAP bitmap, int kind, const char* path, long dpi);

// UTF-16 text to the ANSI code page. The result lives in a buffer of the
// calling thread that the next call on that thread reuses: copy it.
char* g_U2A(const wchar_t* text);

// Test hook: open() of `path` answers 4 (password needed) unless it is given
// `password`. A null path removes every such entry.
void DWG_TestRequirePassword(const char* path, const char* password);
