// Where an IMAGE (or a WIPEOUT) lies, read from its groups as kept: its
// insertion point (the picture's bottom left corner), the vectors of one
// pixel across and up, its size in pixels, its clip boundary (a rectangle
// or a polygon, in pixels from the centre of the top left one; shown
// inside, or outside when inverted), whether the picture shows, and its
// brightness, contrast and fade.
#pragma once
#include "platform/zrio/dxf_model.h"
#include "platform/zrio/entity_walker.h"

namespace zr {

struct ImagePlacement {
  ImageRun run;        // without its picture
  bool shown = true;   // the picture is displayed (else only its frame)
};

// False when the groups give no size in pixels.
bool ReadImagePlacement(const RawGroups& raw, ImagePlacement* placement);

// The corners of the part shown (the clip boundary, or the whole picture
// when there is none), in world coordinates.
std::vector<Vec3> ImageOutline(const ImageRun& run);

}  // namespace zr
