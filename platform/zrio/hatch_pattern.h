// Lines of a hatch pattern inside the hatch's boundary loops.
#pragma once
#include <vector>

#include "platform/zrio/dxf_model.h"

namespace zr {

struct PatternLine {
  double angle = 0;           // radians
  Vec3 base, offset;          // a line's origin and the step to the next line
  std::vector<double> dashes; // empty: continuous
};

// The pattern line families kept in a HATCH's groups (78 and what follows);
// empty when there are none.
std::vector<PatternLine> HatchPatternLines(const RawGroups& groups);

// Segments (pairs of points, object coordinates) of the pattern inside the
// loops (even-odd). False when the pattern is too dense to draw
// (more than `limit` segments): the caller shows the boundary instead.
bool PatternSegments(const std::vector<PatternLine>& lines,
                     const std::vector<std::vector<Vec3>>& loops, size_t limit,
                     std::vector<Vec3>* segments);

}  // namespace zr
