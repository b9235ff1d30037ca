// Shape files (.shx, "AutoCAD-86 shapes 1.0"): numbered shapes, each a name
// and a string of vector byte codes, and the strokes those codes draw.
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/zrio/geometry.h"

namespace zr {

struct ShapeDefinition {
  uint16_t number = 0;
  std::string name;            // upper case, as the file has it
  std::vector<uint8_t> codes;  // the byte codes after the name, up to the end code
};

struct ShapeFile {
  std::vector<ShapeDefinition> shapes;  // in the file's order

  const ShapeDefinition* find(uint16_t number) const;
  const ShapeDefinition* findByName(const std::string& upperName) const;
};

// Reads the bytes of a compiled shape file. False, with nothing kept, when
// they are not one; a definition whose bytes are not all there ends the
// file's shapes at the ones before it.
bool ReadShapeFile(const uint8_t* data, size_t size, ShapeFile* file);

// The pen-down strokes of a shape, in its own vector units from where it
// starts. Subshapes are drawn from the same file; arcs become chords of at
// most 1/16 of a circle. False when the file has no such shape.
bool ShapeStrokes(const ShapeFile& file, uint16_t number, std::vector<std::vector<Vec3>>* strokes);

}  // namespace zr
