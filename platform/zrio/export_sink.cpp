#include "platform/zrio/win32.h"
#include "platform/zrio/export_sink.h"

#include "platform/zrio/image_raster.h"

namespace zr {

namespace {

// A device draws on its paper: the colour its images fade towards and its
// lines stand out from, whatever the screen's background is.
RenderOptions OnPaper(RenderOptions options, CDwgExport* device) {
  options.background = device->PaperColor();
  return options;
}

}  // namespace

ExportSink::ExportSink(CDwgExport* device, const Transform& worldToDevice, int width, int height,
                       const RenderOptions& options)
    : ScreenSink(worldToDevice, width, height, OnPaper(options, device)), device_(device) {}

void ExportSink::setStyle(COLORREF color, int width, int colorIndex) {
  device_->SetPenColor(color, colorIndex);
  device_->SetPenWidth(double(width));
}

void ExportSink::emitPolyline(const double* xy, size_t count) {
  if (count == 0) return;
  device_->MoveTo(xy[0], xy[1], 0);
  for (size_t i = 1; i < count; ++i) device_->LineTo(xy[2 * i], xy[2 * i + 1], 0);
}

void ExportSink::emitPolygons(const double* xy, const int* counts, int loops) {
  size_t total = 0;
  for (int i = 0; i < loops; ++i) total += size_t(counts[i]);
  if (total == 0) return;
  points_.assign(total, DwgExportPoint{0, 0, 0, 0, 0});
  for (size_t i = 0; i < total; ++i) {
    points_[i].x = xy[2 * i];
    points_[i].y = xy[2 * i + 1];
  }
  if (loops == 1) device_->Polygon(0, counts[0] - 1, points_.data());
  else device_->PolyPolygon(points_.data(), counts, loops);
}

// The device takes one clip at a time: a clip inside another replaces it
// until it ends.
void ExportSink::beginClip(const double* xy, int count) {
  clips_.emplace_back(size_t(count), DwgExportPoint{0, 0, 0, 0, 0});
  for (int i = 0; i < count; ++i) {
    clips_.back()[size_t(i)].x = xy[2 * i];
    clips_.back()[size_t(i)].y = xy[2 * i + 1];
  }
  device_->SetClip(count, clips_.back().data());
}

void ExportSink::endClip() {
  if (clips_.empty()) return;
  clips_.pop_back();
  device_->ResetClip();
  if (!clips_.empty()) device_->SetClip(int(clips_.back().size()), clips_.back().data());
}

void ExportSink::emitPixels(const OutputPixels& p) {
  HBITMAP dib = PixelSection(p);
  if (!dib) return;
  // The lower left corner of the pixels, in page coordinates.
  device_->Raster(p.left - 0.5, height_ - (p.top + p.height) + 0.5, p.width, p.height, dib);
  DeleteObject(dib);
}

void ExportSink::emitText(const DeviceText& text) {
  std::vector<double> xy;
  std::vector<int> counts;
  TextOutlines(text, &xy, &counts);
  size_t at = 0;
  for (int c : counts) {
    std::vector<double> loop(xy.begin() + long(at * 2), xy.begin() + long((at + size_t(c)) * 2));
    loop.push_back(loop[0]);
    loop.push_back(loop[1]);
    emitPolyline(loop.data(), loop.size() / 2);
    at += size_t(c);
  }
}

}  // namespace zr
