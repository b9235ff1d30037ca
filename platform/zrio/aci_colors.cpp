#include "platform/zrio/win32.h"
#include "platform/zrio/aci_colors.h"

#include <cmath>

namespace zr {

namespace {

struct Table {
  COLORREF colors[256];
  Table() {
    static const COLORREF kFirst[10] = {
        RGB(0, 0, 0),     RGB(255, 0, 0),     RGB(255, 255, 0), RGB(0, 255, 0),
        RGB(0, 255, 255), RGB(0, 0, 255),     RGB(255, 0, 255), RGB(255, 255, 255),
        RGB(128, 128, 128), RGB(192, 192, 192)};
    for (int i = 0; i < 10; ++i) colors[i] = kFirst[i];
    // 10..249: 24 hues of 15 degrees, each in five values, full and half saturation.
    static const double kValues[5] = {1.0, 0.8, 0.6, 0.5, 0.3};
    for (int i = 10; i < 250; ++i) {
      int hue = (i - 10) / 10, shade = (i - 10) % 10;
      double v = kValues[shade / 2], s = (shade & 1) ? 0.5 : 1.0;
      double h = hue * 15.0 / 60.0;
      int sector = int(h) % 6;
      double f = h - std::floor(h);
      double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
      double r, g, b;
      switch (sector) {
        case 0: r = v; g = t; b = p; break;
        case 1: r = q; g = v; b = p; break;
        case 2: r = p; g = v; b = t; break;
        case 3: r = p; g = q; b = v; break;
        case 4: r = t; g = p; b = v; break;
        default: r = v; g = p; b = q; break;
      }
      colors[i] = RGB(int(r * 255), int(g * 255), int(b * 255));
    }
    static const int kGreys[6] = {51, 91, 132, 173, 214, 255};
    for (int i = 0; i < 6; ++i) colors[250 + i] = RGB(kGreys[i], kGreys[i], kGreys[i]);
  }
};

const Table& Colors() {
  static const Table table;
  return table;
}

}  // namespace

COLORREF AciColor(int index) {
  if (index < 1 || index > 255) return RGB(255, 255, 255);
  return Colors().colors[index];
}

int NearestAci(COLORREF color) {
  int best = 7;
  long bestDistance = 0x7FFFFFFF;
  for (int i = 1; i < 256; ++i) {
    COLORREF c = Colors().colors[i];
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
