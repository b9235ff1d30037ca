// Extents of entities: exact for lines, arcs, circles, ellipses and
// polylines; splines from a fine approximation; text from an estimate.
#pragma once
#include "platform/zrio/win32.h"
#include "platform/zrio/entity_walker.h"

namespace zr {

class BoxSink : public PrimitiveSink {
 public:
  // `view` is applied to every point first (identity for world extents).
  explicit BoxSink(const Transform& view = Transform()) : m_view(view) {}

  const Box3& box() const { return m_box; }
  void reset() { m_box = Box3(); }

  double chordTolerance() const override { return 1e-9; }
  bool wantsArcs() const override { return true; }
  void polyline(const Vec3* pts, size_t count, bool closed, const DrawStyle& style) override;
  void ellipseArc(const Vec3& c, const Vec3& u, const Vec3& v, double t0, double t1,
                  const DrawStyle& style) override;
  void fill(const Vec3* pts, const int* counts, int loops, const DrawStyle& style) override;
  void point(const Vec3& p, const DrawStyle& style) override;
  void text(const TextRun& run, const DrawStyle& style) override;
  // A viewport counts with its frame, not with what shows through it.
  void pushClip(const Vec3* corners, int count) override;
  void popClip() override { --m_clipped; }

 private:
  Transform m_view;
  Box3 m_box;
  int m_clipped = 0;
};

// Height of a text run's baseline over its anchor point, in text heights, for
// its vertical alignment (baseline, bottom, middle, top).
double BaselineOffset(int valign);

// The four corners of a text run's box: its advance along the baseline, one
// text height up.
void TextRunCorners(const TextRun& run, Vec3 corners[4]);

}  // namespace zr
