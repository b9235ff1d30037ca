// What a MULTILEADER draws, read from its groups as kept: its leader lines
// (each ending at its leader's landing point), the landings, the arrowhead
// size, and its content: MTEXT, or a block placed, scaled and turned, with
// the texts of its attributes.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"

namespace zr {

// The text a block content gives the attribute definition of that handle.
struct MLeaderAttribute {
  uint64_t definition = 0;
  std::string text;
};

struct MLeaderShape {
  std::vector<std::vector<Vec3>> lines;  // from the arrowhead to the landing point
  std::vector<std::vector<Vec3>> landings;
  bool spline = false;
  double arrowSize = 0;
  std::string text;  // MTEXT contents; empty when none
  Vec3 textAt, textDirection{1, 0, 0};
  double textHeight = 0;
  uint64_t blockRecord = 0;  // the block content's BLOCK_RECORD handle; 0 when none
  Vec3 blockAt, blockScale{1, 1, 1}, blockNormal{0, 0, 1};
  double blockRotation = 0;  // radians
  std::vector<MLeaderAttribute> attributes;
};

// False when the groups hold no leader line.
bool ReadMLeader(const RawGroups& raw, MLeaderShape* shape);

}  // namespace zr
