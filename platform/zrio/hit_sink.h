// Finds the top-level entity drawn nearest to a point of the output.
#pragma once
#include "platform/zrio/win32.h"
#include "platform/zrio/entity_walker.h"

namespace zr {

class HitSink : public PrimitiveSink {
 public:
  HitSink(const Transform& worldToDevice, double x, double y, double tolerance);

  const Entity* found() const { return best_; }

  double chordTolerance() const override { return tolerance_ / scale_; }
  bool wantsBox(const Box3& box) override;
  void polyline(const Vec3* pts, size_t count, bool closed, const DrawStyle& style) override;
  void fill(const Vec3* pts, const int* counts, int loops, const DrawStyle& style) override;
  void point(const Vec3& p, const DrawStyle& style) override;
  void text(const TextRun& run, const DrawStyle& style) override;
  // Only a viewport's frame is hit, not what shows through it.
  void pushClip(const Vec3*, int) override { ++clipped_; }
  void popClip() override { --clipped_; }

 private:
  int clipped_ = 0;
  void consider(double distance, const DrawStyle& style);

  Transform toDevice_;
  double x_, y_, tolerance_, scale_;
  double bestDistance_;
  const Entity* best_ = nullptr;
};

}  // namespace zr
