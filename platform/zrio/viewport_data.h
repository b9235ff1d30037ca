// The view and the frozen layers of VIEWPORT entities, taken from the
// groups kept when the entity was read: R2000 and later files give them as
// ordinary groups (frozen layers as layer handles, group 331), R12 files in
// the "ACAD" application's extended data, a list that starts with "MVIEW".
#pragma once
#include "platform/zrio/win32.h"

#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"

namespace zr {

// The view of an R12 viewport, read from its extended data.
struct MViewData {
  Vec3 target;
  Vec3 direction{0, 0, 1};
  double twist = 0;  // degrees
  double height = 0;
  double centerX = 0, centerY = 0;
  std::vector<std::string> frozenLayers;  // names as stored (file code page)
};

// Reads the "ACAD" extended data of a viewport's groups:
//   1001 ACAD, 1000 MVIEW, 1002 "{", [1070 data version],
//   1010 target, 1010 direction, 1040 twist, height, centre x, centre y,
//   lens length, front clip, back clip, then 1070/1040 display values,
//   1002 "{" 1003 frozen layer names... 1002 "}", 1002 "}".
// False when the data is missing or its groups are not in that order and of
// those kinds, or the height is not a positive finite number.
bool ReadMViewData(const RawGroups& groups, MViewData* data);

// Fills the view fields (`pts`, `nums`, see Entity) and the frozen layers
// of every viewport of the drawing from its kept groups. A viewport whose
// view cannot be read gets view height 0: only its frame is drawn.
void ResolveViewports(Database& db);

}  // namespace zr
