// Drawings that other programs wrote draw as ezdxf's drawing add-on draws
// them (real_drawing_reference.py): a table through its block, a detail
// sheet with most of its layers off framed on what shows, a hatch whose
// boundary has a spline edge. Each test leaves a picture of the file in the
// shots folder.
#include "tests/support/gtest.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/zrio/drawing_state.h"
#include "platform/zrio/entity_walker.h"
#include "tests/support/test_files.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/render_support.h"

#include "platform/native/native_begin.h"
#include <json/json.h>
#include "platform/native/native_end.h"

using namespace zriotest;

namespace {

const char* const kTable = "ezd_acad_table_simple.dxf";
const char* const kDetails = "dxp_api-cw750-details.dxf";
const char* const kHatches = "ezd_hatches_2.dxf";
const int kWidth = 800, kHeight = 600;

DrawingPtr OpenReal(const std::string& name) {
  DrawingPtr drawing(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  std::string path = testfiles::ToWinePath(std::string(ZRIO_DXF_FIXTURES) + "/" + name);
  if (drawing->open(path.c_str(), nullptr) != 0) drawing.reset();
  return drawing;
}

std::string ShotPath(const std::string& name) {
  std::string folder = testfiles::ToWinePath(ZRIO_DXF_SHOTS);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\" + name;
}

double Distance(double px, double py, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay;
  double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
  t = std::max(0.0, std::min(1.0, t));
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// Distance from a point to a closed polygon's edges.
double DistanceToOutline(const zr::Vec3& p, const Json::Value& outline) {
  double best = 1e300;
  for (Json::ArrayIndex i = 0; i < outline.size(); ++i) {
    const Json::Value& a = outline[i];
    const Json::Value& b = outline[(i + 1) % outline.size()];
    best = std::min(best, Distance(p.x, p.y, a[0].asDouble(), a[1].asDouble(), b[0].asDouble(),
                                   b[1].asDouble()));
  }
  return best;
}

double Area(const std::vector<zr::Vec3>& loop) {
  double area = 0;
  for (size_t i = 0; i < loop.size(); ++i) {
    const zr::Vec3& a = loop[i];
    const zr::Vec3& b = loop[(i + 1) % loop.size()];
    area += a.x * b.y - b.x * a.y;
  }
  return std::fabs(area) / 2;
}

// Keeps the loops filled for one top-level entity.
class FillRecorder : public zr::PrimitiveSink {
 public:
  explicit FillRecorder(uint64_t handle) : m_handle(handle) {}
  double chordTolerance() const override { return 0.01; }
  void polyline(const zr::Vec3*, size_t, bool, const zr::DrawStyle&) override {}
  void fill(const zr::Vec3* pts, const int* counts, int loops, const zr::DrawStyle& style) override {
    if (!style.top || style.top->handle != m_handle) return;
    for (int i = 0; i < loops; ++i) {
      this->loops.emplace_back(pts, pts + counts[i]);
      pts += counts[i];
    }
  }
  void point(const zr::Vec3&, const zr::DrawStyle&) override {}
  void text(const zr::TextRun&, const zr::DrawStyle&) override {}
  std::vector<std::vector<zr::Vec3>> loops;

 private:
  uint64_t m_handle;
};

class RealDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ReadJsonFile(testfiles::ToWinePath(ZRIO_DXF_REFERENCE), &m_reference))
        << ZRIO_DXF_REFERENCE;
  }
  // Opens the file, zooms to its extents and draws it on white; the
  // picture is kept for looking at beside ezdxf's.
  DrawingPtr Draw(const char* name, PixelSurface* surface) {
    DrawingPtr d = OpenReal(name);
    if (!d) return d;
    DWG_SetBackgroundColor(RGB(255, 255, 255));
    d->setViewSize(kWidth, kHeight);
    d->zoomExtents(0, 0, 0.95);
    d->draw(surface->dc());
    DWG_SetBackgroundColor(RGB(0, 0, 0));
    EXPECT_TRUE(surface->WritePng(ShotPath(std::string(name) + ".png")));
    return d;
  }
  Json::Value m_reference;
};

}  // namespace

// The view frames what ezdxf draws: the table's block, and of the detail
// sheet only the layers that are on (its extents in the file count the
// many layers that are off, which left what shows squeezed into a corner).
TEST_F(RealDrawing, ExtentsFrameWhatEzdxfDraws) {
  for (const char* name : {kTable, kDetails, kHatches}) {
    SCOPED_TRACE(name);
    DrawingPtr d = OpenReal(name);
    ASSERT_TRUE(d);
    zr::Box3 ours = d->state()->layoutExtents();
    const Json::Value& drawn = m_reference[name]["drawn"];
    double lowX = drawn[0][0].asDouble(), lowY = drawn[0][1].asDouble();
    double highX = drawn[1][0].asDouble(), highY = drawn[1][1].asDouble();
    double slack = 0.01 * std::max(highX - lowX, highY - lowY);
    EXPECT_NEAR(lowX, ours.lo.x, slack);
    EXPECT_NEAR(lowY, ours.lo.y, slack);
    EXPECT_NEAR(highX, ours.hi.x, slack);
    EXPECT_NEAR(highY, ours.hi.y, slack);
  }
}

// Turning the hidden layers on frames all of the sheet again.
TEST_F(RealDrawing, ExtentsFollowLayersTurnedOn) {
  DrawingPtr d = OpenReal(kDetails);
  ASSERT_TRUE(d);
  double shownWidth = d->state()->layoutExtents().hi.x - d->state()->layoutExtents().lo.x;
  for (int i = 0; i < d->getLayerCount(); ++i) d->setLayerOn(i, true);
  zr::Box3 all = d->state()->layoutExtents();
  EXPECT_GT(all.hi.x - all.lo.x, 2 * shownWidth);
  EXPECT_LT(all.lo.y, 200);
}

// Sampled lines of ezdxf's drawing have our ink under their middles.
TEST_F(RealDrawing, LinesAreDrawnWhereEzdxfDrawsThem) {
  for (const char* name : {kTable, kDetails, kHatches}) {
    SCOPED_TRACE(name);
    PixelSurface surface(kWidth, kHeight);
    DrawingPtr d = Draw(name, &surface);
    ASSERT_TRUE(d);
    double origin[3], unit[3];
    d->clientToDrawing(0, 0, origin);
    d->clientToDrawing(1, 1, unit);
    int missing = 0, sampled = 0;
    for (const Json::Value& line : m_reference[name]["lines"]) {
      double x = (line[0].asDouble() + line[2].asDouble()) / 2;
      double y = (line[1].asDouble() + line[3].asDouble()) / 2;
      int column = int(std::lround((x - origin[0]) / (unit[0] - origin[0])));
      int row = kHeight - int(std::lround((y - origin[1]) / (unit[1] - origin[1])));
      if (column < 2 || row < 2 || column >= kWidth - 2 || row >= kHeight - 2) {
        ++missing;
        continue;
      }
      bool inked = false;
      for (int dy = -2; dy <= 2 && !inked; ++dy)
        for (int dx = -2; dx <= 2 && !inked; ++dx)
          inked = surface.at(column + dx, row + dy) != RGB(255, 255, 255);
      missing += !inked;
      ++sampled;
    }
    EXPECT_GT(sampled, 5);
    EXPECT_EQ(0, missing);
  }
}

// The green hatch's boundary has a spline edge: its fill follows the
// curve ezdxf flattens, where the control points made spikes before.
TEST_F(RealDrawing, SplineEdgesOfHatchBoundariesFollowTheCurve) {
  PixelSurface surface(kWidth, kHeight);
  DrawingPtr d = Draw(kHatches, &surface);
  ASSERT_TRUE(d);
  const Json::Value& theirs = m_reference[kHatches]["fills"]["233"];
  ASSERT_EQ(1u, theirs.size());
  FillRecorder recorder(0x233);
  zr::EntityWalker walker(*d->state()->db, recorder, zr::WalkOptions());
  walker.walkList(d->state()->layoutEntities(), nullptr);
  ASSERT_EQ(1u, recorder.loops.size());
  const std::vector<zr::Vec3>& loop = recorder.loops[0];
  EXPECT_NEAR(theirs[0]["area"].asDouble(), Area(loop), 0.002 * theirs[0]["area"].asDouble());
  double farthest = 0;
  for (const zr::Vec3& p : loop)
    farthest = std::max(farthest, DistanceToOutline(p, theirs[0]["points"]));
  EXPECT_LT(farthest, 0.05);
}

// A table keeps its picture when saved in a version that has no tables
// or is older than the file's: a reference to its block.
TEST_F(RealDrawing, TablesSavedForOlderVersionsKeepTheirPicture) {
  DrawingPtr d = OpenReal(kTable);
  ASSERT_TRUE(d);
  zr::Box3 before = d->state()->layoutExtents();
  for (const SaveVersion& version : kSaveVersions) {
    SCOPED_TRACE(version.name);
    DrawingPtr again = SaveAndReopen(*d, version, std::string("table_saved_") + version.name + ".dxf");
    ASSERT_TRUE(again);
    const std::vector<zr::Entity>& entities = again->state()->layoutEntities();
    ASSERT_EQ(1u, entities.size());
    EXPECT_EQ(zr::EntityKind::Insert, entities[0].kind);
    zr::Box3 after = again->state()->layoutExtents();
    EXPECT_NEAR(before.lo.x, after.lo.x, 1e-6);
    EXPECT_NEAR(before.lo.y, after.lo.y, 1e-6);
    EXPECT_NEAR(before.hi.x, after.hi.x, 1e-6);
    EXPECT_NEAR(before.hi.y, after.hi.y, 1e-6);
  }
}
