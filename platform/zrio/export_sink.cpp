#include "platform/zrio/win32.h"
#include "platform/zrio/export_sink.h"

#include <algorithm>
#include <cmath>

#include "platform/zrio/image_raster.h"

namespace zr {

namespace {

// A device draws on its paper: the colour its images fade towards and its
// lines stand out from, whatever the screen's background is.
RenderOptions OnPaper(RenderOptions options, CDwgExport* device) {
  options.background = device->PaperColor();
  return options;
}

// The part of a polygon (x, y pairs) that lies inside a convex one, such as
// a viewport's frame.
std::vector<double> InsideConvex(std::vector<double> polygon, const std::vector<double>& convex) {
  size_t corners = convex.size() / 2;
  double area = 0;
  for (size_t i = 0; i < corners; ++i) {
    size_t j = (i + 1) % corners;
    area += convex[2 * i] * convex[2 * j + 1] - convex[2 * j] * convex[2 * i + 1];
  }
  double turn = area < 0 ? -1 : 1;
  std::vector<double> kept;
  for (size_t i = 0; i < corners && !polygon.empty(); ++i) {
    size_t j = (i + 1) % corners;
    double ax = convex[2 * i], ay = convex[2 * i + 1];
    double ex = convex[2 * j] - ax, ey = convex[2 * j + 1] - ay;
    // How far a point lies on the edge's inner side (below 0: outside).
    auto side = [&](size_t k) {
      return turn * (ex * (polygon[2 * k + 1] - ay) - ey * (polygon[2 * k] - ax));
    };
    size_t n = polygon.size() / 2;
    kept.clear();
    for (size_t k = 0; k < n; ++k) {
      size_t next = (k + 1) % n;
      double here = side(k), there = side(next);
      if (here >= 0) {
        kept.push_back(polygon[2 * k]);
        kept.push_back(polygon[2 * k + 1]);
      }
      if ((here >= 0) != (there >= 0)) {
        double t = here / (here - there);
        kept.push_back(polygon[2 * k] + t * (polygon[2 * next] - polygon[2 * k]));
        kept.push_back(polygon[2 * k + 1] + t * (polygon[2 * next + 1] - polygon[2 * k + 1]));
      }
    }
    polygon.swap(kept);
  }
  return polygon;
}

}  // namespace

ExportSink::ExportSink(CDwgExport* device, const Transform& worldToDevice, int width, int height,
                       const RenderOptions& options)
    : ScreenSink(worldToDevice, width, height, OnPaper(options, device)), m_device(device) {}

void ExportSink::fill(const Vec3* pts, const int* counts, int loops, const DrawStyle& style) {
  m_paperFill = style.background;
  ScreenSink::fill(pts, counts, loops, style);
  m_paperFill = false;
}

void ExportSink::setStyle(COLORREF color, int width, int colorIndex) {
  if (m_paperFill) return;  // paper takes no pen
  m_device->SetPenColor(color, colorIndex);
  m_device->SetPenWidth(double(width));
}

void ExportSink::emitPolyline(const double* xy, size_t count) {
  // A paper-coloured outline (a wipeout's with filling off) has no pen to
  // print in.
  if (count == 0 || m_paperFill) return;
  m_device->MoveTo(xy[0], xy[1], 0);
  for (size_t i = 1; i < count; ++i) m_device->LineTo(xy[2 * i], xy[2 * i + 1], 0);
}

void ExportSink::emitPolygons(const double* xy, const int* counts, int loops) {
  size_t total = 0;
  for (int i = 0; i < loops; ++i) total += size_t(counts[i]);
  if (total == 0) return;
  if (m_paperFill) {
    emitPaper(xy, counts, loops);
    return;
  }
  m_points.assign(total, DwgExportPoint{0, 0, 0, 0, 0});
  for (size_t i = 0; i < total; ++i) {
    m_points[i].x = xy[2 * i];
    m_points[i].y = xy[2 * i + 1];
  }
  if (loops == 1) m_device->Polygon(0, counts[0] - 1, m_points.data());
  else m_device->PolyPolygon(m_points.data(), counts, loops);
}

void ExportSink::emitPaper(const double* xy, const int* counts, int loops) {
  COLORREF color = m_device->PaperColor();
  OutputPixels pixel;
  pixel.width = pixel.height = 1;
  pixel.pixels.assign(1, 0xFF000000u | uint32_t(GetRValue(color)) << 16 |
                             uint32_t(GetGValue(color)) << 8 | uint32_t(GetBValue(color)));
  HBITMAP paper = PixelSection(pixel);
  if (!paper) return;
  size_t at = 0;
  for (int i = 0; i < loops; ++i) {
    size_t count = size_t(std::max(counts[i], 0));
    coverWithPaper(std::vector<double>(xy + 2 * at, xy + 2 * (at + count)), paper);
    at += count;
  }
  DeleteObject(paper);
}

void ExportSink::coverWithPaper(std::vector<double> loop, HBITMAP paper) {
  // The device's clips do not nest: the loop is cut to the drawing's clip
  // here, and that clip set again afterwards.
  if (!m_clip.empty()) loop = InsideConvex(loop, m_clip);
  if (loop.size() < 6) return;
  double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
  for (size_t i = 0; i < loop.size(); ++i) {
    lo[i % 2] = std::min(lo[i % 2], loop[i]);
    hi[i % 2] = std::max(hi[i % 2], loop[i]);
  }
  // The clip gives the paper its edges: the block reaches a unit past the
  // loop, and no further than just past the page.
  double left = std::max(std::floor(lo[0]) - 1, -1.0);
  double bottom = std::max(std::floor(lo[1]) - 1, -1.0);
  double right = std::min(std::ceil(hi[0]) + 1, m_width + 1.0);
  double top = std::min(std::ceil(hi[1]) + 1, m_height + 1.0);
  if (!(right > left) || !(top > bottom)) return;
  if (!m_clip.empty()) m_device->ResetClip();
  setDeviceClip(loop);
  m_device->Raster(left, bottom, int(right - left), int(top - bottom), paper);
  m_device->ResetClip();
  if (!m_clip.empty()) setDeviceClip(m_clip);
}

void ExportSink::setDeviceClip(const std::vector<double>& xy) {
  size_t count = xy.size() / 2;
  m_points.assign(count, DwgExportPoint{0, 0, 0, 0, 0});
  for (size_t i = 0; i < count; ++i) {
    m_points[i].x = xy[2 * i];
    m_points[i].y = xy[2 * i + 1];
  }
  m_device->SetClip(int(count), m_points.data());
}

// The device takes one clip at a time: a clip inside another replaces it
// until it ends, and the one it was inside is set again.
void ExportSink::beginClip(const double* xy, int count) {
  m_outerClips.push_back(m_clip);
  std::vector<double> corners(xy, xy + 2 * std::max(count, 0));
  setDeviceClip(corners);
  // A device takes no clip of fewer than three corners.
  if (count >= 3)
    m_clip.swap(corners);
  else
    m_clip.clear();
}

void ExportSink::endClip() {
  m_device->ResetClip();
  m_clip.clear();
  if (m_outerClips.empty()) return;
  m_clip.swap(m_outerClips.back());
  m_outerClips.pop_back();
  if (!m_clip.empty()) setDeviceClip(m_clip);
}

void ExportSink::emitPixels(const OutputPixels& p) {
  HBITMAP dib = PixelSection(p);
  if (!dib) return;
  // The lower left corner of the pixels, in page coordinates.
  m_device->Raster(p.left - 0.5, m_height - (p.top + p.height) + 0.5, p.width, p.height, dib);
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
