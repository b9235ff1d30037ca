// The filled outline of a polyline with widths: one band a segment (arc
// segments as curved bands), the bands of neighbouring segments meeting at
// the point where their edges cross.
#pragma once
#include <vector>

#include "platform/zrio/dxf_model.h"

namespace zr {

// The bands of the segments with width, each a closed polygon, and the
// segments without width as lines, in the polyline's own (object)
// coordinates.
struct WideOutline {
  std::vector<std::vector<Vec3>> bands, lines;
};

// The outline of an LWPOLYLINE or 2D POLYLINE. `tolerance` is the largest
// distance between an arc and its chords.
void WidePolylineOutline(const Entity& e, bool closed, double tolerance, WideOutline* out);

}  // namespace zr
