// What a MULTILEADER draws, read from its groups as kept: its leader lines
// (each ending at its leader's landing point), the landings, the arrowhead
// size and the MTEXT content. Block content is not read.
#pragma once
#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"

namespace zr {

struct MLeaderShape {
  std::vector<std::vector<Vec3>> lines;  // from the arrowhead to the landing point
  std::vector<std::vector<Vec3>> landings;
  bool spline = false;
  double arrowSize = 0;
  std::string text;  // MTEXT contents; empty when none
  Vec3 textAt, textDirection{1, 0, 0};
  double textHeight = 0;
};

// False when the groups hold no leader line.
bool ReadMLeader(const RawGroups& raw, MLeaderShape* shape);

}  // namespace zr
