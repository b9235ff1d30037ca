// Draws primitives through an export device (CDwgExport), in page
// coordinates with y upwards, on the device's paper colour. A fill in the
// paper colour (a wipeout) goes down as paper, hiding what lies under it.
#pragma once
#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_export.h"
#include "platform/zrio/screen_sink.h"

namespace zr {

class ExportSink : public ScreenSink {
 public:
  ExportSink(CDwgExport* device, const Transform& worldToDevice, int width, int height,
             const RenderOptions& options);

  void fill(const Vec3* pts, const int* counts, int loops, const DrawStyle& style) override;

 protected:
  void setStyle(COLORREF color, int width, int colorIndex) override;
  void emitPolyline(const double* xy, size_t count) override;
  void emitPolygons(const double* xy, const int* counts, int loops) override;
  void emitText(const DeviceText& text) override;
  // Images go to the device's Raster as 32-bit premultiplied pixels; a
  // device that takes none shows their frames only.
  void emitPixels(const OutputPixels& pixels) override;
  void beginClip(const double* xy, int count) override;
  void endClip() override;

 private:
  // A device's pens print in any colour but its paper's (a white pen
  // prints black), so paper goes down as its Raster: one opaque pixel of
  // the paper colour stretched over each loop, clipped to the loop and to
  // the clip the drawing set.
  void emitPaper(const double* xy, const int* counts, int loops);
  void coverWithPaper(std::vector<double> loop, HBITMAP paper);
  void setDeviceClip(const std::vector<double>& xy);

  CDwgExport* m_device;
  std::vector<DwgExportPoint> m_points;
  std::vector<double> m_clip;  // the drawing's clip (x, y pairs), empty when none
  std::vector<std::vector<double>> m_outerClips;  // the clips it is inside, the innermost last
  bool m_paperFill = false;    // the fill being drawn is in the paper colour
};

}  // namespace zr
