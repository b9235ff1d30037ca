// Draws primitives on a device context with GDI pens, brushes and fonts.
#pragma once
#include "platform/zrio/win32.h"
#include <map>

#include "platform/zrio/screen_sink.h"

namespace zr {

class GdiSink : public ScreenSink {
 public:
  // flipY: the DC counts y downwards (plain pixels); else it is mapped with
  // y upwards already.
  GdiSink(HDC dc, bool flipY, const Transform& worldToDevice, int width, int height,
          const RenderOptions& options);
  ~GdiSink() override;

 protected:
  void setStyle(COLORREF color, int width, int colorIndex) override;
  void emitPolyline(const double* xy, size_t count) override;
  void emitPolygons(const double* xy, const int* counts, int loops) override;
  void emitText(const DeviceText& text) override;
  void emitPixels(const OutputPixels& pixels) override;
  void beginClip(const double* xy, int count) override;
  void endClip() override;

 private:
  // look: 1 bold, 2 italic.
  HFONT font(double height, double angle, LONG charWidth, int look);
  LONG deviceY(double y) const;

  HDC m_dc;
  bool m_flipY;
  COLORREF m_color = 0;
  std::map<uint64_t, HPEN> m_pens;
  std::map<COLORREF, HBRUSH> m_brushes;
  std::map<uint64_t, HFONT> m_fonts;
  HGDIOBJ m_oldPen, m_oldBrush, m_oldFont;
  int m_oldBkMode, m_oldFillMode;
  UINT m_oldAlign;
  COLORREF m_oldTextColor;
  std::vector<POINT> m_points;
  std::vector<int> m_savedStates;  // of each clip begun, the innermost last
};

}  // namespace zr
