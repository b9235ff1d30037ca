// The picture of a TOLERANCE entity (a feature control frame) from its
// text: rows split at "^J", boxes split at "%%v", geometric-tolerance
// symbols written as {\Fgdt;x}.
//
// With text height h and gap g (the dimension style's DIMTXT and DIMGAP
// times DIMSCALE), a row is h + 2g high; the first row is centred on the
// insertion point and the others follow below it. A box holding a
// characteristic symbol alone is a square; any other box is as wide as its
// text and inline symbols (each h wide) plus a gap on either side. Empty
// fields have no box. Text stands on a baseline h/2 below the row's middle.
#pragma once
#include "platform/zrio/win32.h"

#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"
#include "platform/zrio/geometry.h"

namespace zr {

struct ToleranceText {
  std::string text;  // UTF-8
  Vec3 at;           // start of the baseline
  double height = 0;
};

struct ToleranceShape {
  // In the frame's own coordinates: x along its direction, y up, the
  // insertion point at the origin.
  std::vector<std::vector<Vec3>> lines;  // box edges and symbols
  std::vector<ToleranceText> texts;
};

// False when there is nothing to draw (no text, or no height).
bool LayoutTolerance(const std::string& text, double height, double gap, ToleranceShape* shape);

// The strokes of a geometric-tolerance symbol (the character of the GDT
// font) of size h centred on `centre`, and the letter of the modifiers
// drawn in a circle (L, M, P, S), 0 for the others; false for a character
// that is not a symbol.
bool ToleranceSymbol(char symbol, const Vec3& centre, double h, std::vector<std::vector<Vec3>>* lines,
                     char* letter);

// The frame of a TOLERANCE entity (its groups as kept) in its own
// coordinates, with its insertion point and unit x direction (world); its
// sizes come from its dimension style. False when it draws nothing.
bool ToleranceEntity(const Database& db, const RawGroups& raw, ToleranceShape* shape, Vec3* insertion,
                     Vec3* direction);

}  // namespace zr
