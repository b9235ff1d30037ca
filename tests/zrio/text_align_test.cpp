// TEXT, ATTRIB and ATTDEF alignments: aligned and fit texts span their two
// points, the others sit on their alignment point by the text measure; the
// extents, the walker's runs, the screen, the hit test and a saved copy
// agree, and degenerate texts fall back to the insertion point.
#include "tests/support/gtest.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/zrio/box_sink.h"
#include "platform/zrio/drawing_state.h"
#include "platform/zrio/entity_walker.h"
#include "platform/zrio/text_measure.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/render_support.h"

using namespace zriotest;

namespace {

// Keeps the text runs the walker hands out.
class RunSink : public zr::PrimitiveSink {
 public:
  double chordTolerance() const override { return 0.01; }
  void polyline(const zr::Vec3*, size_t, bool, const zr::DrawStyle&) override {}
  void fill(const zr::Vec3*, const int*, int, const zr::DrawStyle&) override {}
  void point(const zr::Vec3&, const zr::DrawStyle&) override {}
  void text(const zr::TextRun& run, const zr::DrawStyle&) override { runs.push_back(run); }
  std::vector<zr::TextRun> runs;
};

std::vector<zr::TextRun> RunsOf(const zr::Database& db, const zr::Entity& e) {
  RunSink sink;
  zr::EntityWalker(db, sink, zr::WalkOptions()).walk(e);
  return sink.runs;
}

zr::Box3 BoxOf(const zr::Database& db, const zr::Entity& e) {
  zr::BoxSink sink;
  zr::EntityWalker(db, sink, zr::WalkOptions()).walk(e);
  return sink.box();
}

void ExpectBox(double loX, double loY, double hiX, double hiY, const zr::Box3& box) {
  ASSERT_TRUE(box.valid());
  EXPECT_NEAR(loX, box.lo.x, 1e-9);
  EXPECT_NEAR(loY, box.lo.y, 1e-9);
  EXPECT_NEAR(hiX, box.hi.x, 1e-9);
  EXPECT_NEAR(hiY, box.hi.y, 1e-9);
}

// text_align.dxf (make_fixtures.py), in this order: points at (0, 0) and
// (100, 100); an aligned "Aligned" from (10, 70) to (50, 78), width factor
// 0.8, rotation 30; a red fit "FIT WIDTH" from (10, 60) to (90, 60), height
// 4; a middle "Middle" at (50, 45), height 3, insertion point (0, 0); an
// ATTDEF fit "ATTDEF FIT" from (10, 50) to (40, 50), height 2; twelve "Ab"
// of height 2, halign 0..2 and valign 0..3 at (15 + 30 halign,
// 10 + 6 valign), valign outer; an aligned "Same" with both points at
// (70, 20), height 2.5; a fit "%%u" from (70, 30) to (90, 30), height 2.
class TextAlignDrawing : public ::testing::Test {
 protected:
  static const size_t kAligned = 2, kFit = 3, kMiddle = 4, kAttDef = 5, kGrid = 6,
                      kSame = 18, kNothing = 19;

  void SetUp() override {
    m_drawing = OpenFixture("text_align.dxf");
    ASSERT_TRUE(m_drawing);
    ASSERT_EQ(20u, m_drawing->state()->layoutEntities().size());
  }
  const zr::Box3& box(size_t i) { return m_drawing->state()->layoutBoxes()[i]; }
  zr::TextRun run(size_t i) {
    std::vector<zr::TextRun> runs =
        RunsOf(*m_drawing->state()->db, m_drawing->state()->layoutEntities()[i]);
    EXPECT_EQ(1u, runs.size());
    return runs.empty() ? zr::TextRun() : runs[0];
  }
  // Draws the whole drawing on black, 404 pixels for its 100 units: (x, y)
  // lands on pixel (2 + 4x, 402 - 4y).
  void drawInto(const PixelSurface& s) {
    m_drawing->setViewSize(kSize, kSize);
    m_drawing->zoomExtents(0, 0, 1.0);
    m_drawing->draw(s.dc());
  }
  static const int kSize = 404;
  DrawingPtr m_drawing;
};

}  // namespace

TEST_F(TextAlignDrawing, AlignedTextRunsBetweenItsPointsAndTakesItsHeight) {
  double advance = zr::TextAdvance("Aligned");
  double length = std::hypot(40.0, 8.0);
  double height = length / (advance * 0.8);
  zr::TextRun r = run(kAligned);
  EXPECT_EQ(0, r.halign);
  EXPECT_EQ(0, r.valign);
  EXPECT_NEAR(height, r.yAxis.length(), 1e-9);
  EXPECT_NEAR(0.8, r.xAxis.length() / r.yAxis.length(), 1e-12);
  // Along the vector between the points, whatever the rotation says.
  zr::Vec3 end = r.origin + r.xAxis * r.advance;
  EXPECT_NEAR(10, r.origin.x, 1e-9);
  EXPECT_NEAR(70, r.origin.y, 1e-9);
  EXPECT_NEAR(50, end.x, 1e-9);
  EXPECT_NEAR(78, end.y, 1e-9);
  // The box of the turned text: its baseline from (10, 70) to (50, 78), its
  // top edge `height` further along (-8, 40) / length.
  ExpectBox(10 - 8 / length * height, 70, 50, 78 + 40 / length * height, box(kAligned));
}

TEST_F(TextAlignDrawing, FitTextKeepsItsHeightAndStretchesToItsPoints) {
  zr::TextRun r = run(kFit);
  double advance = zr::TextAdvance("FIT WIDTH");
  EXPECT_NEAR(4, r.yAxis.length(), 1e-12);
  EXPECT_NEAR(80 / (4 * advance), r.xAxis.length() / r.yAxis.length(), 1e-12);
  ExpectBox(10, 60, 90, 64, box(kFit));
  // Attribute definitions are placed the same way.
  ExpectBox(10, 50, 40, 52, box(kAttDef));
}

TEST_F(TextAlignDrawing, MiddleTextIsCentredOnItsAlignmentPoint) {
  const zr::Box3& b = box(kMiddle);
  EXPECT_NEAR(50, (b.lo.x + b.hi.x) / 2, 1e-9);
  EXPECT_NEAR(45, (b.lo.y + b.hi.y) / 2, 1e-9);
  EXPECT_NEAR(3 * zr::TextAdvance("Middle"), b.hi.x - b.lo.x, 1e-9);
  EXPECT_NEAR(3, b.hi.y - b.lo.y, 1e-9);
}

TEST_F(TextAlignDrawing, OtherAlignmentsPlaceTheMeasuredTextOnTheAlignmentPoint) {
  // Where the baseline lies above the alignment point, in text heights, for
  // baseline, bottom (room for descenders below the baseline), middle, top.
  const double kBaselineAbove[4] = {0, 0.2, -0.5, -1};
  double width = 2 * zr::TextAdvance("Ab");
  for (int v = 0; v < 4; ++v)
    for (int h = 0; h < 3; ++h) {
      SCOPED_TRACE("halign " + std::to_string(h) + " valign " + std::to_string(v));
      double x = 15 + 30 * h, y = 10 + 6 * v;
      double left = x - width * h / 2, baseline = y + 2 * kBaselineAbove[v];
      ExpectBox(left, baseline, left + width, baseline + 2, box(kGrid + size_t(3 * v + h)));
    }
}

TEST_F(TextAlignDrawing, TextsThatCannotSpanTheirPointsAreLeftAlignedAtTheInsertionPoint) {
  ExpectBox(70, 20, 70 + 2.5 * zr::TextAdvance("Same"), 22.5, box(kSame));
  ExpectBox(70, 30, 70, 32, box(kNothing));  // nothing to measure: no width
  // They are drawn with the rest.
  PixelSurface s(kSize, kSize);
  drawInto(s);
  EXPECT_GT(s.count(RGB(255, 0, 0)), 0);
}

TEST(TextAlign, AlignedTextSpansItsPointsSeenFromBelow) {
  // Extrusion (0, 0, -1): object x runs along world -x.
  zr::Database db;
  zr::Entity e;
  e.kind = zr::EntityKind::Text;
  e.text = "abc";
  e.pts = {zr::Vec3(2, 0, 0), zr::Vec3(12, 0, 0)};
  e.nums = {1, 45, 1};
  e.flags = 3 | (1u << 8);
  e.more().extrusion = zr::Vec3(0, 0, -1);
  double height = 10 / zr::TextAdvance("abc");
  ExpectBox(-12, 0, -2, height, BoxOf(db, e));
}

TEST(TextAlign, BadNumbersNeverReachTheRun) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const double kInf = std::numeric_limits<double>::infinity();
  zr::Database db;
  struct Case {
    int halign;
    zr::Vec3 second;
    double height, widthFactor, rotation;
    bool drawn;
  };
  const Case cases[] = {
      {3, zr::Vec3(1e300, 0, 0), 1, 1e-300, 0, true},  // the height would overflow
      {3, zr::Vec3(kNaN, 0, 0), 1, 1, 0, true},
      {3, zr::Vec3(10, 0, 0), kNaN, 1, 0, true},       // aligned takes no height from the file
      {5, zr::Vec3(10, 0, 0), kInf, 1, 0, false},
      {5, zr::Vec3(10, 0, 0), -2, 1, 0, true},
      {5, zr::Vec3(10, 0, 0), 0, 1, 0, true},
      {5, zr::Vec3(10, 0, 0), 2, kNaN, kNaN, true},
      {0, zr::Vec3(10, 0, 0), kNaN, 1, 0, false},
      {1, zr::Vec3(10, 0, 0), 2, -1, kInf, true},
      {9, zr::Vec3(10, 0, 0), 2, 1, 0, true},           // no such alignment: left
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("halign " + std::to_string(c.halign) + " height " + std::to_string(c.height));
    zr::Entity e;
    e.kind = zr::EntityKind::Text;
    e.text = "abc";
    e.pts = {zr::Vec3(0, 0, 0), c.second};
    e.nums = {c.height, c.rotation, c.widthFactor};
    e.flags = uint32_t(c.halign) | (1u << 8);
    std::vector<zr::TextRun> runs = RunsOf(db, e);
    ASSERT_EQ(c.drawn ? 1u : 0u, runs.size());
    if (!c.drawn) continue;
    const zr::TextRun& r = runs[0];
    for (const zr::Vec3& p : {r.origin, r.xAxis, r.yAxis})
      EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
    zr::Box3 box = BoxOf(db, e);
    EXPECT_TRUE(std::isfinite(box.lo.x) && std::isfinite(box.hi.y));
  }
}

TEST_F(TextAlignDrawing, FitTextPixelsLieBetweenItsPoints) {
  PixelSurface s(kSize, kSize);
  drawInto(s);
  int left = kSize, right = -1, top = kSize, bottom = -1;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      COLORREF c = s.at(x, y);
      if (!(GetRValue(c) > 60 && GetGValue(c) == 0 && GetBValue(c) == 0)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  ASSERT_GE(right, 0);
  // The stand-in face's glyphs keep their side bearings when fitted to the
  // measured width: they may reach a little past their cells, as in MTEXT.
  const int kOverhang = 4;  // a quarter of the text's height
  EXPECT_GE(left, 2 + 4 * 10 - kOverhang);
  EXPECT_LE(right, 2 + 4 * 90 + kOverhang);  // not past the second point
  EXPECT_GT(right, 2 + 4 * 85);               // and the last letter reaches it
  EXPECT_GE(top, 402 - 4 * 64 - 1);           // capitals between baseline and height
  EXPECT_LE(bottom, 402 - 4 * 60 + 1);
}

TEST_F(TextAlignDrawing, HitTestFollowsTheStretchedText) {
  PixelSurface s(kSize, kSize);
  drawInto(s);
  // y upwards in pixels: (87, 62) lies in the fit text near its end.
  EXPECT_TRUE(m_drawing->highlightAt(s.dc(), 2 + 4 * 87, 2 + 4 * 62));
  m_drawing->restoreHighlight(s.dc());
  EXPECT_FALSE(m_drawing->highlightAt(s.dc(), 2 + 4 * 95, 2 + 4 * 62));
}

TEST_F(TextAlignDrawing, ExportOutlinesOfTheFitTextLieBetweenItsPoints) {
  RedPoints device;
  ExportSquare(m_drawing.get(), &device);  // ten page units a drawing unit
  ASSERT_GT(device.count, 50);
  const double kOverhang = 10;  // a quarter of the text's height, as on the screen
  EXPECT_GE(device.left, 100 - kOverhang);
  EXPECT_LE(device.right, 900 + kOverhang);
  EXPECT_GT(device.right, 850);
  EXPECT_GE(device.bottom, 600 - 1);
  EXPECT_LE(device.top, 640 + 4);  // ascenders above the capitals
}

TEST_F(TextAlignDrawing, ASavedCopyHasTheSameTextBoxes) {
  for (const auto& v : kSaveVersions) {
    SCOPED_TRACE(v.name);
    DrawingPtr again = SaveAndReopen(*m_drawing, v, std::string("text_align_saved_") + v.name + ".dxf");
    ASSERT_TRUE(again);
    const std::vector<zr::Box3>& boxes = again->state()->layoutBoxes();
    ASSERT_EQ(20u, boxes.size());
    for (size_t i = kAligned; i < boxes.size(); ++i) {
      SCOPED_TRACE(i);
      ExpectBox(box(i).lo.x, box(i).lo.y, box(i).hi.x, box(i).hi.y, boxes[i]);
    }
  }
}
