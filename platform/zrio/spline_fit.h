// The cubic B-spline through a SPLINE's fit points, for splines stored with
// fit points only (as DWG files and some DXF writers keep them).
#pragma once
#include <vector>

#include "platform/zrio/geometry.h"

namespace zr {

// Control points and knots of the cubic through the points, parameters
// spaced by chord length, leaving the ends along the given tangents (null:
// along the parabola through the three end points) at the speed of the
// total chord length. False when fewer than
// two distinct points (or too many) are given.
bool FitPointsToControlPoints(const std::vector<Vec3>& fitPoints, const Vec3* startTangent,
                              const Vec3* endTangent, std::vector<Vec3>* controlPoints,
                              std::vector<double>* knots);

}  // namespace zr
