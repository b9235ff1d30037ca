// The CAD colour index (ACI) palette: 256 display colours, index 0 to 255.
#pragma once
#include <windows.h>

namespace zrio {

// The colour of an index as 0x00BBGGRR; indexes outside 0..255 give black.
COLORREF AciColor(int index);

}  // namespace zrio
