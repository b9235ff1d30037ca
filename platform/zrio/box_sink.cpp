#include "platform/zrio/win32.h"
#include "platform/zrio/box_sink.h"

namespace zr {

double BaselineOffset(int valign) {
  return valign == 3 ? -1.0 : (valign == 2 ? -0.5 : (valign == 1 ? 0.2 : 0.0));
}

void TextRunCorners(const TextRun& run, Vec3 corners[4]) {
  double w = run.advance;
  double left = -w * run.halign / 2.0;
  double bottom = BaselineOffset(run.valign);
  double dx[4] = {left, left + w, left + w, left};
  double dy[4] = {bottom, bottom, bottom + 1, bottom + 1};
  for (int i = 0; i < 4; ++i) corners[i] = run.origin + run.xAxis * dx[i] + run.yAxis * dy[i];
}

void BoxSink::pushClip(const Vec3* corners, int count) {
  for (int i = 0; i < count; ++i) m_box.add(m_view.apply(corners[i]));
  ++m_clipped;
}

void BoxSink::polyline(const Vec3* pts, size_t count, bool, const DrawStyle&) {
  if (m_clipped) return;
  for (size_t i = 0; i < count; ++i) m_box.add(m_view.apply(pts[i]));
}

void BoxSink::ellipseArc(const Vec3& c, const Vec3& u, const Vec3& v, double t0, double t1,
                         const DrawStyle&) {
  if (m_clipped) return;
  m_box.add(EllipseArcBox(m_view.apply(c), m_view.applyVector(u), m_view.applyVector(v), t0, t1));
}

void BoxSink::fill(const Vec3* pts, const int* counts, int loops, const DrawStyle& style) {
  size_t total = 0;
  for (int i = 0; i < loops; ++i) total += size_t(counts[i] > 0 ? counts[i] : 0);
  polyline(pts, total, true, style);
}

void BoxSink::point(const Vec3& p, const DrawStyle&) {
  if (!m_clipped) m_box.add(m_view.apply(p));
}

void BoxSink::text(const TextRun& run, const DrawStyle& style) {
  Vec3 corners[4];
  TextRunCorners(run, corners);
  polyline(corners, 4, true, style);
}

}  // namespace zr
