// Draws primitives through an export device (CDwgExport), in page
// coordinates with y upwards, on the device's paper colour.
#pragma once
#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_export.h"
#include "platform/zrio/screen_sink.h"

namespace zr {

class ExportSink : public ScreenSink {
 public:
  ExportSink(CDwgExport* device, const Transform& worldToDevice, int width, int height,
             const RenderOptions& options);

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
  CDwgExport* device_;
  std::vector<DwgExportPoint> points_;
  std::vector<std::vector<DwgExportPoint>> clips_;  // the innermost last
};

}  // namespace zr
