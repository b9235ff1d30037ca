// The shape files a drawing's text styles name, loaded when the drawing
// opens, and the strokes of its SHAPE entities drawn from them.
#pragma once
#include "platform/zrio/win32.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"
#include "platform/zrio/shape_file.h"

namespace zr {

struct LoadedShapeFile {
  std::string styleName;  // upper case: the text style that names the file
  ShapeFile file;
};

struct ShapeLibrary {
  std::vector<LoadedShapeFile> files;  // in the order of the styles that name them
};

// Loads the file of every text style that is a shape file (flag 1), found
// at its stored path, beside the drawing, or in one of the search
// folders; ".shx" is added to a name without an
// extension. Files that are missing or not shape files are left out.
std::shared_ptr<const ShapeLibrary> LoadShapeLibrary(const Database& db, const std::string& drawingPath,
                                                     const std::vector<std::string>& searchFolders);

// A DWG drawing gives a SHAPE by its number in its text style's shape
// file (the DWG worker writes the number in group 2 and the style in group
// 7), where a DXF drawing names it. Each such SHAPE of `db` whose style's
// file is loaded and holds its number takes the shape's name, as a DXF
// drawing holds it; the others keep number and style, so that they draw
// nothing and are saved as they came.
void NameNumberedShapes(const ShapeLibrary& library, Database* db);

// The strokes of a SHAPE entity (its groups as kept) in its object
// coordinates: placed at its insertion point with its size, rotation, width
// factor and slant. False when no loaded file has its shape.
bool ShapeEntityStrokes(const ShapeLibrary& library, const RawGroups& raw,
                        std::vector<std::vector<Vec3>>* strokes);

}  // namespace zr
