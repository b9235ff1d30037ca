// The view of a VIEWPORT entity in a DWG save. Files of 2000 and later
// give it in the entity's own groups; R12 and R14 in the "ACAD"
// application's extended data, a list that starts with "MVIEW" (and an R14
// DWG keeps it there too).
#pragma once
#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "platform/zrio/dwg_record.h"

namespace zr {

struct ViewportView {
  Vec3 center;  // of the view, in model space (x, y)
  double height = 0;
  Vec3 target, direction{0, 0, 1};
  double twist = 0;  // degrees, as DXF has it
  double lens = 50, frontClip = 0, backClip = 0;
  // The status flags of 2000 (view mode, UCS icon, fast zoom, snap and
  // grid, snap style and isometric pair, hidden in plot).
  uint32_t flags = 0;
  int circleZoom = 1000;
  double snapAngle = 0;  // degrees
  Vec3 snapBase, snapSpacing{0.5, 0.5}, gridSpacing{0.5, 0.5};
  std::vector<uint64_t> frozenLayers;      // by handle (2000 and later)
  std::vector<std::string> frozenNames;    // by name (the MVIEW list)
};

// The view of a viewport record, from its own groups when it has them
// (the view height, 45), else from its MVIEW list.
ViewportView ViewportViewOf(const RecordView& record);

// Whether the record's ACAD extended data holds the MVIEW list.
bool HasMViewList(const RecordView& record);

// The record with the view added as its MVIEW list (frozen layers named
// through `layerNames`, by handle).
FormRecord WithMViewList(const FormRecord& record, const ViewportView& view,
                         const std::map<uint64_t, std::string>& layerNames);

}  // namespace zr
