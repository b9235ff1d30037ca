// A wireframe of curves in world coordinates: the edges of a solid, region
// or surface read from its ACIS data. Drawn through a sink like any other
// entity's primitives.
#pragma once
#include "platform/zrio/win32.h"
#include <vector>

#include "platform/zrio/entity_walker.h"

namespace zr {

// Points c + u cos t + v sin t for t from t0 to t1 (t1 > t0).
struct EdgeArc {
  Vec3 center, u, v;
  double t0 = 0, t1 = 0;
};

struct EdgeSpline {
  int degree = 3;
  std::vector<Vec3> points;
  std::vector<double> knots;    // points.size() + degree + 1 values
  std::vector<double> weights;  // one a point, or none
  double from = 0, to = 0;      // the part drawn, in the spline's parameter (from < to)
};

struct EdgeCurves {
  std::vector<Vec3> segments;  // straight edges, two points each
  std::vector<EdgeArc> arcs;
  std::vector<EdgeSpline> splines;

  bool empty() const { return segments.empty() && arcs.empty() && splines.empty(); }
};

void DrawEdgeCurves(const EdgeCurves& curves, const Transform& t, const DrawStyle& style,
                    PrimitiveSink& sink);

}  // namespace zr
