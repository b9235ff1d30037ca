// Shape files: SHAPE entities find their file beside the drawing, at the
// path the text style stores or in the search folders, and draw nothing
// without it; shapes a DWG gives by number take their names from the file;
// damaged shape files read and draw without harm.
#include "tests/support/gtest.h"

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "platform/zrio/shape_file.h"
#include "platform/zrio/zrio.h"
#include "tests/support/mutation_harness.h"
#include "tests/support/test_files.h"

namespace {

std::string InkFolder() { return testfiles::ToWinePath(ZRIO_INK_DRAWINGS); }

// The width of the extents of a drawing of shapes.
double ShapesWidth(const std::string& path) {
  CDrawing* d = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
  EXPECT_EQ(0, d->open(path.c_str(), nullptr)) << path;
  double corner1[3], corner2[3], width = 0, height = 0;
  if (!d->getExtentCorners(corner1, corner2, &width, &height)) width = 0;
  CDrawing::DeleteDrawing(d);
  return width;
}

// The groups 2 and 7 of each SHAPE of a DXF file, as "2 NAME" and "7 STYLE".
std::vector<std::string> ShapeNames(const std::string& path) {
  std::string text;
  EXPECT_TRUE(testfiles::ReadFileBytes(path, text)) << path;
  std::istringstream lines(text);
  std::vector<std::string> found;
  std::string code, value;
  bool inShape = false;
  while (std::getline(lines, code) && std::getline(lines, value)) {
    int number = atoi(code.c_str());
    if (!value.empty() && value.back() == '\r') value.pop_back();
    if (number == 0) inShape = value == "SHAPE";
    else if (inShape && (number == 2 || number == 7))
      found.push_back(std::to_string(number) + " " + value);
  }
  return found;
}

// Saves a drawing as DXF 2004 and returns the SHAPE groups of what it wrote.
std::vector<std::string> SavedShapeNames(const std::string& path) {
  CDrawing* d = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
  EXPECT_EQ(0, d->open(path.c_str(), nullptr)) << path;
  std::string saved = path + ".saved.dxf";
  EXPECT_TRUE(d->save(saved.c_str(), 2, 9, 0));
  CDrawing::DeleteDrawing(d);
  return ShapeNames(saved);
}

}  // namespace

TEST(ShapeFile, FoundBesideTheDrawingAtItsStoredPathOrInTheSearchFolders) {
  std::string drawing;
  ASSERT_TRUE(testfiles::ReadFileBytes(InkFolder() + "\\shapes.dxf", drawing));
  double beside = ShapesWidth(InkFolder() + "\\shapes.dxf");
  EXPECT_GT(beside, 50);
  std::string alone = testfiles::MakeScratchFolder("shapes") + "\\shapes.dxf";
  ASSERT_TRUE(testfiles::WriteFileBytes(alone, drawing));
  EXPECT_NE(beside, ShapesWidth(alone));  // an empty drawing's extents are its limits
  DWG_SetSearchDirectories(("C:\\nowhere;" + InkFolder()).c_str());
  EXPECT_EQ(beside, ShapesWidth(alone));
  DWG_SetSearchDirectories("");
  size_t name = drawing.find("\nshapes.shx");
  ASSERT_NE(std::string::npos, name);
  drawing.replace(name + 1, 10, InkFolder() + "\\shapes.shx");
  ASSERT_TRUE(testfiles::WriteFileBytes(alone, drawing));
  EXPECT_EQ(beside, ShapesWidth(alone));
}

// A DWG drawing gives its shapes by number in their text style's file (the
// DWG worker writes the number in group 2 and the style in group 7). With
// the file found they take its names: they draw as the DXF twin does and
// save as it has them. Without it they draw nothing and save as they came.
TEST(ShapeFile, ShapesByNumberTakeTheirNamesFromTheStylesFile) {
  std::string twin, shapes;
  ASSERT_TRUE(testfiles::ReadFileBytes(InkFolder() + "\\shapes.dxf", twin));
  ASSERT_TRUE(testfiles::ReadFileBytes(InkFolder() + "\\shapes.shx", shapes));
  std::string numbered = twin;
  const char* const names[] = {"BOX", "ROUND", "FRACTION", "BULGE", "NESTED"};  // shapes 1 to 5
  for (int n = 0; n < 5; ++n) {
    std::string from = std::string("\n  2\n") + names[n] + "\n";
    std::string to = "\n  2\n" + std::to_string(n + 1) + "\n  7\nSHAPE_FILE\n";
    for (size_t at = numbered.find(from); at != std::string::npos; at = numbered.find(from, at + 1))
      numbered.replace(at, from.size(), to);
  }
  std::vector<std::string> byName = ShapeNames(InkFolder() + "\\shapes.dxf");
  ASSERT_EQ(7u, byName.size());

  std::string folder = testfiles::MakeScratchFolder("numbered-shapes");
  ASSERT_TRUE(testfiles::WriteFileBytes(folder + "\\numbered.dxf", numbered));
  ASSERT_TRUE(testfiles::WriteFileBytes(folder + "\\shapes.shx", shapes));
  std::vector<std::string> byNumber = ShapeNames(folder + "\\numbered.dxf");
  ASSERT_EQ(14u, byNumber.size());
  EXPECT_EQ(ShapesWidth(InkFolder() + "\\shapes.dxf"), ShapesWidth(folder + "\\numbered.dxf"));
  EXPECT_EQ(byName, SavedShapeNames(folder + "\\numbered.dxf"));

  std::string alone = testfiles::MakeScratchFolder("numbered-shapes-alone");
  ASSERT_TRUE(testfiles::WriteFileBytes(alone + "\\numbered.dxf", numbered));
  ASSERT_TRUE(testfiles::WriteFileBytes(alone + "\\named.dxf", twin));
  EXPECT_EQ(ShapesWidth(alone + "\\named.dxf"), ShapesWidth(alone + "\\numbered.dxf"));
  EXPECT_EQ(byNumber, SavedShapeNames(alone + "\\numbered.dxf"));
}

// A fractional arc as the format's description has it: from 55 to 92
// degrees (octant 1 + 56/256 to octant 2 + 11/256), radius 3, starting
// where the pen is.
TEST(ShapeFile, FractionalArcRunsFromItsStartToItsEndOffset) {
  const uint8_t bytes[] = {'A', 'u', 't', 'o', 'C', 'A', 'D', '-', '8', '6', ' ', 's', 'h', 'a', 'p', 'e',
                           's', ' ', '1', '.', '0', '\r', '\n', 0x1A, 1, 0, 1, 0, 1, 0, 1, 0, 9, 0,
                           'A', 0, 11, 56, 11, 0, 3, 0x12, 0};
  zr::ShapeFile file;
  ASSERT_TRUE(zr::ReadShapeFile(bytes, sizeof bytes, &file));
  std::vector<std::vector<zr::Vec3>> strokes;
  ASSERT_TRUE(zr::ShapeStrokes(file, 1, &strokes));
  ASSERT_EQ(1u, strokes.size());
  const double degree = zr::kPi / 180;
  double start = (45 + 56 * 45 / 256.0) * degree, end = (90 + 11 * 45 / 256.0) * degree;
  zr::Vec3 centre(-3 * std::cos(start), -3 * std::sin(start), 0);
  zr::Vec3 last = strokes[0].back() - centre;
  EXPECT_NEAR(3, last.length(), 1e-9);
  EXPECT_NEAR(end, std::atan2(last.y, last.x), 1e-9);
  EXPECT_NEAR(0, strokes[0].front().length(), 1e-12);
}

TEST(ShapeFile, DamagedFilesReadAndDrawWithoutHarm) {
  std::string valid;
  ASSERT_TRUE(testfiles::ReadFileBytes(InkFolder() + "\\shapes.shx", valid));
  codectest::CaseCall call = [](const std::string& bytes, bool& decoded) -> std::string {
    zr::ShapeFile file;
    decoded = zr::ReadShapeFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &file);
    for (const zr::ShapeDefinition& shape : file.shapes) {
      std::vector<std::vector<zr::Vec3>> strokes;
      zr::ShapeStrokes(file, shape.number, &strokes);
      for (const std::vector<zr::Vec3>& stroke : strokes)
        for (const zr::Vec3& p : stroke)
          if (!std::isfinite(p.x) || !std::isfinite(p.y)) return "a stroke point is not finite";
    }
    return std::string();
  };
  codectest::ExpectCasesKeepTheContract(valid, call, "shape file", 20261210, 3000, 20000);
}
