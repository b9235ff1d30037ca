// The cursor's drawing coordinates as the view frame's status bar shows
// them, in the drawing's linear unit mode and read-out precision.
#pragma once
#include "platform/classlib/cstring.h"

// Unit modes: 1 scientific, 2 decimal, 3 engineering, 4 architectural,
// 5 fractional; any other value reads as decimal.
CString FormatCoordinateReadout(const double xyz[3], int unitMode, int precision, const char* decimalSeparator);
