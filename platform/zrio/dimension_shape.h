// What a dimension draws when the file has no block for it, from its
// definition points: the dimension and extension lines (or the arc of an
// angular or arc dimension), the arrowheads of its style, and the text, the
// measurement or its override, at the text's midpoint.
#pragma once
#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"
#include "platform/zrio/edge_curves.h"

namespace zr {

// How a dimension style ends its dimension lines (or a leader its first
// segment): a block of the drawing drawn at the arrowhead's size, or one of
// the kinds drawn without a block.
struct ArrowStyle {
  enum Kind { kClosedFilled, kTick, kNone };
  Kind kind = kClosedFilled;
  int32_t block = -1;  // the arrowhead's block in the drawing, -1 when none
  double size = 0.18;
};

// An arrowhead's tip and the unit direction it points in (out of the line it ends).
struct DimensionArrow {
  Vec3 tip, direction;
  ArrowStyle style;
};

struct DimensionShape {
  EdgeCurves lines;  // in the entity's world coordinates
  std::vector<DimensionArrow> arrows;
  std::string text;  // UTF-8; empty when none
  Vec3 textAt;       // the text's middle
  Vec3 textDirection{1, 0, 0};
  double textHeight = 0;
};

// A DIMENSION (or ARC_DIMENSION, when `arc`) from its groups as kept;
// false when they give no definition points.
bool ReadDimensionShape(const RawGroups& raw, bool arc, const Database& db, DimensionShape* shape);

// The arrowhead a LEADER's style (and the overrides it carries) gives it;
// false when the leader has its arrowhead turned off.
bool LeaderArrowStyle(const RawGroups& raw, const Database& db, ArrowStyle* style);

}  // namespace zr
