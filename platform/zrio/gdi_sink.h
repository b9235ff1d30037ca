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

  HDC dc_;
  bool flipY_;
  COLORREF color_ = 0;
  std::map<uint64_t, HPEN> pens_;
  std::map<COLORREF, HBRUSH> brushes_;
  std::map<uint64_t, HFONT> fonts_;
  HGDIOBJ oldPen_, oldBrush_, oldFont_;
  int oldBkMode_, oldFillMode_;
  UINT oldAlign_;
  COLORREF oldTextColor_;
  std::vector<POINT> points_;
  std::vector<int> savedStates_;  // of each clip begun, the innermost last
};

}  // namespace zr
