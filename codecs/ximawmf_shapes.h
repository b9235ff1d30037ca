// Where the records of an enhanced metafile draw on the device they are
// played into, so that a damaged record (or a damaged header that scales
// every record) cannot make GDI trace a shape millions of pixels large.
#pragma once
#include <windows.h>

#include <stdint.h>

// Whether a record may be played into a picture of width x height pixels:
// not when it draws a shape (lines, curves, polygons, rectangles, arcs,
// bitmaps) but is too short for the shape's points, nor when the shape's
// device box (its points mapped through the DC's current transform) reaches
// more than 16 times the picture's larger side (and at least 4096 pixels)
// beyond the picture's edges; nor when a bitmap it carries (a transfer's
// source or mask, a brush's pattern), its text or its region does not lie
// inside it, nor when the part of a bitmap a transfer draws does not lie
// inside the bitmap.
bool CxEmfRecordIsPlayable(HDC dc, const ENHMETARECORD* record, LONG width, LONG height);

// Whether the record draws one of the shapes above.
bool CxEmfRecordIsShape(const ENHMETARECORD* record);

// The most device pixels one logical unit of the DC becomes along either
// axis under its current transform (1 when it cannot be read).
double CxEmfDeviceScale(HDC dc);

// Where the parts of a device-independent bitmap lie.
struct CxDibLayout {
    uint64_t headerBytes;   // the header, its masks and its colour table
    uint64_t rowBytes;      // one row of pixels, padded
    uint64_t width;         // pixels a row
    uint64_t rows;
    bool compressed;        // run-length or other coded rows
};

// Reads the layout of the bitmap whose header starts at `bytes` (with
// `available` bytes there); `usage` says whether its colour table holds
// colours or palette indices. False when the header is not one GDI takes,
// or larger than 65536 pixels in a direction.
bool CxReadDibLayout(const uint8_t* bytes, size_t available, uint32_t usage, CxDibLayout* layout);
