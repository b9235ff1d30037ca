// Points along a B-spline (rational when it has weights), for the SPLINE
// entity and for spline edges of hatch boundaries alike.
#pragma once
#include "platform/zrio/win32.h"
#include <vector>

#include "platform/zrio/geometry.h"

namespace zr {

// Appends points of the curve over its whole parameter range, first and
// last included: `perSpan` of them a knot span, at most 8192 in all. The
// knots are controlPoints.size() + degree + 1 values, none smaller than the
// one before; weights are one a control point, or none for 1 each. False
// (nothing appended) when degree, knots and control points make no curve.
bool AppendSplinePoints(int degree, const std::vector<Vec3>& controlPoints,
                        const std::vector<double>& knots, const std::vector<double>& weights,
                        int perSpan, std::vector<Vec3>* out);

// The same over the part of the range from `from` to `to` (within it).
bool AppendSplinePointsBetween(int degree, const std::vector<Vec3>& controlPoints,
                               const std::vector<double>& knots, const std::vector<double>& weights,
                               int perSpan, double from, double to, std::vector<Vec3>* out);

}  // namespace zr
