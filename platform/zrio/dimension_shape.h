// What a dimension draws when the file has no block for it, from its
// definition points: the dimension and extension lines (or the arc of an
// angular or arc dimension) and the text, the measurement or its override,
// at the text's midpoint. Arrowheads are left out.
#pragma once
#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"
#include "platform/zrio/edge_curves.h"

namespace zr {

struct DimensionShape {
  EdgeCurves lines;  // in the entity's world coordinates
  std::string text;  // UTF-8; empty when none
  Vec3 textAt;       // the text's middle
  Vec3 textDirection{1, 0, 0};
  double textHeight = 0;
};

// A DIMENSION (or ARC_DIMENSION, when `arc`) from its groups as kept;
// false when they give no definition points.
bool ReadDimensionShape(const RawGroups& raw, bool arc, const Database& db, DimensionShape* shape);

}  // namespace zr
