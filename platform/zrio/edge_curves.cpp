#include "platform/zrio/win32.h"
#include "platform/zrio/edge_curves.h"

#include "platform/zrio/spline_points.h"

namespace zr {

void DrawEdgeCurves(const EdgeCurves& curves, const Transform& t, const DrawStyle& style,
                    PrimitiveSink& sink) {
  for (size_t i = 0; i + 1 < curves.segments.size(); i += 2) {
    Vec3 p[2] = {t.apply(curves.segments[i]), t.apply(curves.segments[i + 1])};
    sink.polyline(p, 2, false, style);
  }
  for (const EdgeArc& arc : curves.arcs)
    DrawEllipseArc(sink, t.apply(arc.center), t.applyVector(arc.u), t.applyVector(arc.v), arc.t0,
                   arc.t1, style);
  std::vector<Vec3> points;
  for (const EdgeSpline& spline : curves.splines) {
    points.clear();
    if (!AppendSplinePointsBetween(spline.degree, spline.points, spline.knots, spline.weights,
                                   sink.wantsArcs() ? 64 : 16, spline.from, spline.to, &points))
      continue;
    for (Vec3& p : points) p = t.apply(p);
    sink.polyline(points.data(), points.size(), false, style);
  }
}

}  // namespace zr
