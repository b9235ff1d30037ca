#include "platform/zrio/win32.h"
#include "platform/zrio/hit_sink.h"

#include <cmath>

#include "platform/zrio/box_sink.h"

namespace zr {

namespace {

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace

HitSink::HitSink(const Transform& worldToDevice, double x, double y, double tolerance)
    : m_toDevice(worldToDevice), x_(x), y_(y), m_tolerance(tolerance), m_bestDistance(tolerance) {
  m_scale = std::sqrt(worldToDevice.m[0][0] * worldToDevice.m[0][0] +
                     worldToDevice.m[1][0] * worldToDevice.m[1][0]);
  if (!(m_scale > 0)) m_scale = 1;
}

bool HitSink::wantsBox(const Box3& box) {
  if (!box.valid()) return true;
  Box3 d = box.transformed(m_toDevice);
  return x_ >= d.lo.x - m_tolerance && x_ <= d.hi.x + m_tolerance && y_ >= d.lo.y - m_tolerance &&
         y_ <= d.hi.y + m_tolerance;
}

void HitSink::consider(double distance, const DrawStyle& style) {
  if (m_clipped) return;
  // The later of two equally near entities is drawn on top: it wins.
  if (distance <= m_bestDistance) {
    m_bestDistance = distance;
    m_best = style.top;
  }
}

void HitSink::polyline(const Vec3* pts, size_t count, bool closed, const DrawStyle& style) {
  if (count == 0) return;
  Vec3 prev = m_toDevice.apply(pts[0]);
  Vec3 first = prev;
  if (count == 1) consider(std::hypot(prev.x - x_, prev.y - y_), style);
  for (size_t i = 1; i < count; ++i) {
    Vec3 p = m_toDevice.apply(pts[i]);
    consider(SegmentDistance(x_, y_, prev.x, prev.y, p.x, p.y), style);
    prev = p;
  }
  if (closed && count > 2) consider(SegmentDistance(x_, y_, prev.x, prev.y, first.x, first.y), style);
}

void HitSink::fill(const Vec3* pts, const int* counts, int loops, const DrawStyle& style) {
  // Inside (even-odd) counts as a hit at distance 0.
  bool inside = false;
  size_t at = 0;
  for (int l = 0; l < loops; ++l) {
    size_t n = size_t(counts[l] > 0 ? counts[l] : 0);
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
      Vec3 a = m_toDevice.apply(pts[at + i]), b = m_toDevice.apply(pts[at + j]);
      if ((a.y > y_) != (b.y > y_) && x_ < (b.x - a.x) * (y_ - a.y) / (b.y - a.y) + a.x)
        inside = !inside;
    }
    polyline(pts + at, n, true, style);
    at += n;
  }
  if (inside) consider(0, style);
}

void HitSink::point(const Vec3& p, const DrawStyle& style) {
  Vec3 d = m_toDevice.apply(p);
  consider(std::hypot(d.x - x_, d.y - y_), style);
}

void HitSink::text(const TextRun& run, const DrawStyle& style) {
  Vec3 corners[4];
  TextRunCorners(run, corners);
  int count = 4;
  fill(corners, &count, 1, style);
}

}  // namespace zr
