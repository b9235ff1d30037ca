// Where the records of an enhanced metafile draw on the device they are
// played into, so that a damaged record (or a damaged header that scales
// every record) cannot make GDI trace a shape millions of pixels large.
#pragma once
#include <windows.h>

// The device box of the shape a record draws: the box around its points
// (corners, line ends, polygon points, the target of a bitmap) mapped
// through the DC's current transform. False for records that draw no shape
// of their own and for records too short for their points.
bool CxEmfRecordDeviceBox(HDC dc, const ENHMETARECORD* record, RECT* box);

// Whether a device box reaches farther from the picture of the given size
// than a shape that GDI clips in reasonable time: more than 16 times the
// picture's larger side (and at least 4096 pixels) beyond its edges.
bool CxEmfBoxIsFarOutside(const RECT& box, LONG width, LONG height);
