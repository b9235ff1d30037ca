// What an MLINE draws with its MLINESTYLE: each element's line through the
// vertices at the offsets the entity stores, the style's fill between the
// outermost elements, the caps at its ends (a line across, the outer arcs,
// the inner arcs) and the miter lines at its joints, as the style's flags
// and the entity's own (closed, caps suppressed) say.
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"

namespace zr {

struct MlineElement {
  double offset = 0;
  int16_t color = 256;     // 256 by layer, 0 by block (the MLINE's own)
  int32_t trueColor = -1;  // 0x00RRGGBB
  std::string linetype;    // upper-case name; "BYLAYER", "BYBLOCK" or empty (by layer)
};

struct MlineStyle {
  uint32_t flags = 0;  // MLINESTYLE group 70
  int16_t fillColor = 256;
  int32_t fillTrueColor = -1;
  std::vector<MlineElement> elements;
};

// The drawing's MLINESTYLE objects, by handle and by upper-case name.
struct MlineStyles {
  std::map<uint64_t, std::shared_ptr<const MlineStyle>> byHandle;
  std::map<std::string, std::shared_ptr<const MlineStyle>> byName;
};

MlineStyles ReadMlineStyles(const Database& db);

// The style an MLINE names (by handle, else by name, else "STANDARD"); null
// when the drawing has none of them.
std::shared_ptr<const MlineStyle> StyleOfMline(const MlineStyles& styles, const RawGroups& raw,
                                               const Database& db);

// A piece of an MLINE's picture, drawn in the colour and linetype of one
// element of its style (-1: the MLINE's own).
struct MlinePiece {
  int element = -1;
  std::vector<Vec3> points;
  bool closed = false;
};

struct MlineShape {
  std::vector<MlinePiece> pieces;
  std::vector<Vec3> fill;       // the fill's loops (even-odd), one after another
  std::vector<int> fillCounts;  // points of each loop
};

// The picture of an MLINE in its own coordinates, with the style when it
// has one (without, the element lines only); arcs as chords no farther
// than `tolerance` from them. False when it draws nothing.
bool ReadMlineShape(const RawGroups& raw, const Vec3& normal, const MlineStyle* style,
                    double tolerance, MlineShape* shape);

}  // namespace zr
