// The 256 colour indexes of drawings as RGB values.
#pragma once
#include "platform/zrio/win32.h"

namespace zr {

// COLORREF of an index 1..255; other values give white.
COLORREF AciColor(int index);
// The index whose colour is nearest to an RGB value (1..255).
int NearestAci(COLORREF color);

}  // namespace zr
