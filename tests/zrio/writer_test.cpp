// Saving DXF in the four versions: the file re-opens with the same extents,
// is written through a temporary file of its own, and DWG versions the library does not write fail. ezdxf reads the
// saved files in a test of its own (check_saved.py).
#include "tests/support/gtest.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/zrio/drawing_state.h"
#include "tests/support/test_files.h"
#include "tests/zrio/fixtures.h"

using namespace zriotest;

namespace {

void ExpectSameExtents(const zr::Box3& a, const zr::Box3& b, double tolerance) {
  double span = std::max(a.hi.x - a.lo.x, a.hi.y - a.lo.y);
  EXPECT_NEAR(a.lo.x, b.lo.x, tolerance * span);
  EXPECT_NEAR(a.lo.y, b.lo.y, tolerance * span);
  EXPECT_NEAR(a.hi.x, b.hi.x, tolerance * span);
  EXPECT_NEAR(a.hi.y, b.hi.y, tolerance * span);
}

}  // namespace

TEST(DxfWrite, EveryVersionReopensWithTheSameDrawing) {
  for (const char* source : {"basic_R2018_asc", "curves_R2010_bin", "basic_R12_bin", "viewport"}) {
    DrawingPtr original = OpenFixture(std::string(source) + ".dxf");
    ASSERT_TRUE(original);
    zr::Box3 extents = original->state()->layoutExtents();
    for (const auto& v : kSaveVersions) {
      SCOPED_TRACE(std::string(source) + " as " + v.name);
      DrawingPtr again = SaveAndReopen(*original, v, std::string(source) + "_as_" + v.name + ".dxf");
      ASSERT_TRUE(again);
      // R12 has no ellipses or splines: they come back as polylines.
      bool curves = std::string(source).find("curves") == 0;
      ExpectSameExtents(extents, again->state()->layoutExtents(), curves && v.code == 5 ? 1e-3 : 1e-9);
      EXPECT_EQ(original->getLayerCount(), again->getLayerCount());
      if (v.code != 5) {
        // R14 holds model space and one paper space.
        int layouts = original->getLayoutCount();
        EXPECT_EQ(v.code == 7 ? std::min(layouts, 2) : layouts, again->getLayoutCount());
        EXPECT_EQ(original->state()->layoutEntities().size(), again->state()->layoutEntities().size());
      }
    }
  }
}

namespace {

bool TableHasEntry(const zr::Database& db, const char* table, const char* name) {
  for (const zr::RawTable& t : db.otherTables)
    if (t.name == table)
      for (size_t i = 0; i + 1 < t.groups.size(); ++i)
        if (t.groups[i].code == 2 && t.groups[i].value == name) return true;
  return false;
}

}  // namespace

TEST(DxfWrite, TextStylesAndLineTypesAreWrittenBack) {
  DrawingPtr original = OpenFixture("basic_R2013_asc.dxf");
  ASSERT_TRUE(original);
  ASSERT_TRUE(TableHasEntry(*original->state()->db, "STYLE", "NOTES"));
  for (const auto& v : kSaveVersions) {
    SCOPED_TRACE(v.name);
    DrawingPtr again = SaveAndReopen(*original, v, std::string("styles_") + v.name + ".dxf");
    ASSERT_TRUE(again);
    EXPECT_TRUE(TableHasEntry(*again->state()->db, "STYLE", "NOTES"));
    EXPECT_TRUE(TableHasEntry(*again->state()->db, "LTYPE", "DASHED"));
  }
}

TEST(DxfWrite, PropertiesAndTextSurviveASave) {
  DrawingPtr original = OpenFixture("basic_R2018_asc.dxf");
  ASSERT_TRUE(original);
  std::string path = SavedPath("properties_2004.dxf");
  ASSERT_TRUE(original->save(path.c_str(), 2, 9, 0));
  DrawingPtr again(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  ASSERT_EQ(0, again->open(path.c_str(), nullptr));
  const std::vector<zr::Property>& a = original->state()->db->properties;
  const std::vector<zr::Property>& b = again->state()->db->properties;
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].id, b[i].id);
    EXPECT_EQ(a[i].text, b[i].text);
  }
}

TEST(DxfWrite, FailuresLeaveTheTargetAlone) {
  DrawingPtr original = OpenFixture("render.dxf");
  ASSERT_TRUE(original);
  std::string folder = testfiles::MakeScratchFolder("dxf-save");
  std::string target = folder + "\\kept.dxf";
  ASSERT_TRUE(testfiles::WriteFileBytes(target, "keep me"));
  // Each failure says why; the kinds it cannot write are the ones canSave denies.
  EXPECT_FALSE(CDrawing::canSave(2, 3));
  EXPECT_FALSE(original->save(target.c_str(), 2, 3, 0));  // unknown version
  EXPECT_STREQ("不能写入这种文件类型或版本", original->getSaveError());
  if (!CDrawing::canSave(1, 9)) {
    EXPECT_FALSE(original->save(target.c_str(), 1, 9, 0));
    EXPECT_STREQ("不能写入这种文件类型或版本", original->getSaveError());
  }
  EXPECT_FALSE(original->save((folder + "\\no_such_folder\\x.dxf").c_str(), 2, 8, 0));
  EXPECT_STREQ("不能在目标文件夹中创建文件", original->getSaveError());
  // A folder of the target's name cannot be replaced.
  ASSERT_TRUE(CreateDirectoryA((folder + "\\folder.dxf").c_str(), nullptr));
  EXPECT_FALSE(original->save((folder + "\\folder.dxf").c_str(), 2, 8, 0));
  EXPECT_STREQ("不能替换目标文件", original->getSaveError());
  EXPECT_TRUE(CDrawing::canSave(2, 8));
  EXPECT_TRUE(original->save((folder + "\\other.dxf").c_str(), 2, 8, 0));
  EXPECT_STREQ("", original->getSaveError());
  ASSERT_TRUE(DeleteFileA((folder + "\\other.dxf").c_str()));
  std::string bytes;
  ASSERT_TRUE(testfiles::ReadFileBytes(target, bytes));
  EXPECT_EQ("keep me", bytes);
  EXPECT_EQ(std::vector<std::string>({"kept.dxf"}), testfiles::FileNamesIn(folder));
}

TEST(DxfWrite, AFileOfTheTargetsNamePlusTmpIsTheUsersOwn) {
  DrawingPtr original = OpenFixture("render.dxf");
  ASSERT_TRUE(original);
  std::string folder = testfiles::MakeScratchFolder("dxf-save");
  std::string target = folder + "\\x.dxf";
  ASSERT_TRUE(testfiles::WriteFileBytes(target + ".tmp~", "mine"));
  ASSERT_TRUE(original->save(target.c_str(), 2, 8, 0));
  std::string bytes;
  ASSERT_TRUE(testfiles::ReadFileBytes(target, bytes));
  EXPECT_EQ(0u, bytes.find("  0\nSECTION"));
  ASSERT_TRUE(testfiles::ReadFileBytes(target + ".tmp~", bytes));
  EXPECT_EQ("mine", bytes);
  EXPECT_EQ(std::vector<std::string>({"x.dxf", "x.dxf.tmp~"}), testfiles::FileNamesIn(folder));
}
