#include "platform/zrio/win32.h"
#include "platform/zrio/image_raster.h"

#include <string.h>

#include <algorithm>
#include <cmath>

#include "platform/zrio/raster_image.h"

namespace zr {

namespace {

// The image's unit square in output coordinates: (s, t) is at
// origin + a s + b t.
struct Frame {
  double ox = 0, oy = 0, ax = 0, ay = 0, bx = 0, by = 0, det = 0;

  void at(double s, double t, double* x, double* y) const {
    *x = ox + ax * s + bx * t;
    *y = oy + ay * s + by * t;
  }
};

// The least and greatest x (or y) of the frame's corners.
void Span(const Frame& f, bool alongY, double* lo, double* hi) {
  *lo = 1e300;
  *hi = -1e300;
  for (int corner = 0; corner < 4; ++corner) {
    double x, y;
    f.at(corner & 1, corner >> 1, &x, &y);
    *lo = std::min(*lo, alongY ? y : x);
    *hi = std::max(*hi, alongY ? y : x);
  }
}

bool FrameOf(const ImageRun& run, const OutputGrid& grid, Frame* f) {
  Vec3 o = grid.toOutput.apply(run.origin), a = grid.toOutput.applyVector(run.u),
       b = grid.toOutput.applyVector(run.v);
  *f = Frame{o.x, o.y, a.x, a.y, b.x, b.y, a.x * b.y - a.y * b.x};
  return std::isfinite(f->det) && std::fabs(f->det) > 1e-9 && std::isfinite(f->ox + f->oy);
}

// What each channel value becomes: contrast about the middle, brightness
// shifting it, then the fade towards the background.
struct ChannelLooks {
  uint8_t table[3][256];

  ChannelLooks(const ImageRun& run, COLORREF background) {
    double contrast = run.contrast / 50.0, shift = (run.brightness - 50) * 255.0 / 50.0, fade = run.fade / 100.0;
    int towards[3] = {GetRValue(background), GetGValue(background), GetBValue(background)};
    for (int channel = 0; channel < 3; ++channel)
      for (int v = 0; v < 256; ++v) {
        double x = (v - 127.5) * contrast + 127.5 + shift;
        x = std::max(0.0, std::min(255.0, x));
        x += (towards[channel] - x) * fade;
        table[channel][v] = uint8_t(std::lround(std::max(0.0, std::min(255.0, x))));
      }
  }
};

// The x of the clip boundary's crossings with the line at height y, sorted.
void Crossings(const std::vector<double>& xy, double y, std::vector<double>* out) {
  out->clear();
  size_t n = xy.size() / 2;
  for (size_t i = 0; i < n; ++i) {
    size_t j = (i + 1) % n;
    double x0 = xy[2 * i], y0 = xy[2 * i + 1], x1 = xy[2 * j], y1 = xy[2 * j + 1];
    if ((y0 <= y && y < y1) || (y1 <= y && y < y0)) out->push_back(x0 + (y - y0) * (x1 - x0) / (y1 - y0));
  }
  std::sort(out->begin(), out->end());
}

}  // namespace

bool ImageRows(const ImageRun& run, const OutputGrid& grid, int* top, int* bottom) {
  Frame f;
  if (!FrameOf(run, grid, &f)) return false;
  double lo, hi;
  Span(f, true, &lo, &hi);
  // Row r has its centre at height - r.
  double first = std::floor(grid.height - hi), last = std::ceil(grid.height - lo);
  *top = int(std::max(0.0, std::min(double(grid.height), first)));
  *bottom = int(std::max(0.0, std::min(double(grid.height), last + 1)));
  return *bottom > *top;
}

bool ResampleImage(const ImageRun& run, const OutputGrid& grid, int top, int bottom, OutputPixels* out) {
  const RasterImage* image = run.image;
  Frame f;
  if (!image || image->width <= 0 || image->height <= 0 || !FrameOf(run, grid, &f)) return false;
  double lo, hi;
  Span(f, false, &lo, &hi);
  int left = int(std::max(0.0, std::min(double(grid.width), std::floor(lo))));
  int right = int(std::max(0.0, std::min(double(grid.width), std::ceil(hi) + 1)));
  top = std::max(top, 0);
  bottom = std::min(bottom, grid.height);
  if (right <= left || bottom <= top) return false;
  out->left = left;
  out->top = top;
  out->width = right - left;
  out->height = bottom - top;
  out->pixels.assign(size_t(out->width) * size_t(out->height), 0);
  std::vector<double> clip, crossings;
  for (const Vec3& c : run.clip) {
    double x, y;
    f.at(c.x, c.y, &x, &y);
    clip.push_back(x);
    clip.push_back(y);
  }
  ChannelLooks looks(run, grid.background);
  bool grey = grid.colorMode != 0;
  for (int r = top; r < bottom; ++r) {
    double y = grid.height - r;
    if (!clip.empty()) Crossings(clip, y, &crossings);
    size_t crossed = 0;
    uint32_t* row = &out->pixels[size_t(r - top) * size_t(out->width)];
    for (int c = left; c < right; ++c) {
      double dx = c - f.ox, dy = y - f.oy;
      double s = (dx * f.by - dy * f.bx) / f.det, t = (f.ax * dy - f.ay * dx) / f.det;
      if (!(s >= 0 && s < 1 && t >= 0 && t < 1)) continue;
      if (!clip.empty()) {
        while (crossed < crossings.size() && crossings[crossed] <= c) ++crossed;
        if (((crossed & 1) != 0) == run.clipInverted) continue;
      }
      int column = std::min(image->width - 1, int(s * image->width));
      int line = std::min(image->height - 1, int((1 - t) * image->height));
      uint32_t p = image->pixels[size_t(line) * size_t(image->width) + size_t(column)];
      uint32_t alpha = run.transparent ? p >> 24 : 255;
      if (alpha == 0) continue;
      uint32_t red = looks.table[0][(p >> 16) & 255], green = looks.table[1][(p >> 8) & 255],
               blue = looks.table[2][p & 255];
      if (grey) red = green = blue = (red * 299 + green * 587 + blue * 114) / 1000;
      row[c - left] = (alpha << 24) | ((red * alpha / 255) << 16) | ((green * alpha / 255) << 8) |
                      (blue * alpha / 255);
    }
  }
  return true;
}

HBITMAP PixelSection(const OutputPixels& p) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = p.width;
  info.bmiHeader.biHeight = -p.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (section && !bits) {
    DeleteObject(section);
    return nullptr;
  }
  if (section) memcpy(bits, p.pixels.data(), p.pixels.size() * sizeof(uint32_t));
  return section;
}

}  // namespace zr
