// Finds the top-level entity drawn nearest to a point of the output.
#pragma once
#include "platform/zrio/win32.h"
#include "platform/zrio/entity_walker.h"

namespace zr {

class HitSink : public PrimitiveSink {
 public:
  HitSink(const Transform& worldToDevice, double x, double y, double tolerance);

  const Entity* found() const { return m_best; }

  double chordTolerance() const override { return m_tolerance / m_scale; }
  bool wantsBox(const Box3& box) override;
  void polyline(const Vec3* pts, size_t count, bool closed, const DrawStyle& style) override;
  void fill(const Vec3* pts, const int* counts, int loops, const DrawStyle& style) override;
  void point(const Vec3& p, const DrawStyle& style) override;
  void text(const TextRun& run, const DrawStyle& style) override;
  // Only a viewport's frame is hit, not what shows through it.
  void pushClip(const Vec3*, int) override { ++m_clipped; }
  void popClip() override { --m_clipped; }

 private:
  int m_clipped = 0;
  void consider(double distance, const DrawStyle& style);

  Transform m_toDevice;
  double x_, y_, m_tolerance, m_scale;
  double m_bestDistance;
  const Entity* m_best = nullptr;
};

}  // namespace zr
