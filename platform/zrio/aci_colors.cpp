#include "platform/zrio/win32.h"
#include "platform/zrio/aci_colors.h"

#include "platform/zrio/aci_palette.h"

namespace zr {

COLORREF AciColor(int index) {
  if (index < 1 || index > 255) return RGB(255, 255, 255);
  return zrio::AciColor(index);
}

int NearestAci(COLORREF color) {
  int best = 7;
  long bestDistance = 0x7FFFFFFF;
  for (int i = 1; i < 256; ++i) {
    COLORREF c = zrio::AciColor(i);
    long dr = long(GetRValue(c)) - GetRValue(color), dg = long(GetGValue(c)) - GetGValue(color),
         db = long(GetBValue(c)) - GetBValue(color);
    long d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

}  // namespace zr
