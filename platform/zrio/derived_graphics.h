// What an entity draws beyond its own interpreted groups, worked out once
// the whole drawing is read, as it comes from other parts of the file or
// needs decoding that a draw should not repeat: the edges of a solid's,
// region's or surface's ACIS data (its own groups, or the ACDSDATA
// section), the bytes of proxy graphics, the file an IMAGE shows, and the
// entities of a dynamic block that the insert's visibility state hides,
// and the style an MLINE is drawn with.
#pragma once
#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"
#include "platform/zrio/edge_curves.h"
#include "platform/zrio/mline_shape.h"

namespace zr {

struct DerivedGraphics {
  EdgeCurves edges;
  std::vector<uint8_t> proxy;          // proxy graphics, as stored
  std::string imagePath;               // IMAGE: its definition's file name (UTF-8)
  std::string imageFolder;             // IMAGE of an xref: its drawing's folder (ANSI)
  std::vector<uint64_t> hiddenHandles; // INSERT: handles of block entities it hides, sorted
  std::shared_ptr<const MlineStyle> mlineStyle;  // MLINE: its style, when the drawing has it
};

// The entity kinds whose picture is their ACIS data.
bool IsAcisKind(const std::string& type);

// Fills EntityExtra::derived of the entities of every block that have any
// of the above.
void ResolveDerivedGraphics(Database& db);

}  // namespace zr
