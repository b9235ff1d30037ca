// Where the records of an enhanced metafile draw on the device they are
// played into, so that a damaged record (or a damaged header that scales
// every record) cannot make GDI trace a shape millions of pixels large.
#pragma once
#include <windows.h>

// Whether a record may be played into a picture of width x height pixels:
// not when it draws a shape (lines, curves, polygons, rectangles, arcs,
// bitmaps) but is too short for the shape's points, nor when the shape's
// device box (its points mapped through the DC's current transform) reaches
// more than 16 times the picture's larger side (and at least 4096 pixels)
// beyond the picture's edges.
bool CxEmfRecordIsPlayable(HDC dc, const ENHMETARECORD* record, LONG width, LONG height);
