// Rendering a known drawing: lit pixels where its lines are, colours by
// layer and entity, colour modes, background contrast, layers off, the
// export device and the thumbnail interface.
#include "tests/support/gtest.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

#include "platform/zrapp/zrapp.h"
#include "tests/support/test_files.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/render_support.h"

using namespace zriotest;

namespace {

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

// render.dxf spans (0, 0)-(100, 100); at 202 x 202 pixels a drawing unit is
// two pixels and (50, 50) lands on pixel (101, 101).
class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DWG_SetBackgroundColor(kWhite);
    m_drawing = OpenFixture("render.dxf");
    ASSERT_TRUE(m_drawing);
    m_drawing->setViewSize(202, 202);
    m_drawing->zoomExtents(0, 0, 1.0);
  }
  void TearDown() override { DWG_SetBackgroundColor(kBlack); }
  int layer(const char* name) {
    for (int i = 0; i < m_drawing->getLayerCount(); ++i) {
      char text[64];
      m_drawing->getLayerName(i, text, sizeof(text));
      if (lstrcmpiA(text, name) == 0) return i;
    }
    return -1;
  }
  DrawingPtr m_drawing;
};

}  // namespace

TEST_F(RenderTest, LinesLightTheirPixelsInTheLayerColour) {
  PixelSurface s(202, 202);
  m_drawing->draw(s.dc());
  EXPECT_EQ(kWhite, s.at(5, 5));
  EXPECT_TRUE(s.hasColorNear(31, 101, kRed));    // (15, 50) on the red line
  EXPECT_TRUE(s.hasColorNear(181, 101, kRed));
  EXPECT_TRUE(s.hasColorNear(101, 31, kGreen));  // (50, 85) on the green line
  EXPECT_TRUE(s.hasColorNear(101, 171, kGreen));
  EXPECT_TRUE(s.hasColorNear(136, 66, kBlue));   // the circle at 45 degrees
  EXPECT_FALSE(s.hasColorNear(60, 60, kRed, 3));
  // Colour 7 points contrast with the white background.
  EXPECT_TRUE(s.hasColorNear(1, 201, kBlack));
}

TEST_F(RenderTest, DarkBackgroundDrawsColourSevenWhite) {
  DWG_SetBackgroundColor(kBlack);
  PixelSurface s(202, 202);
  m_drawing->draw(s.dc());
  EXPECT_EQ(kBlack, s.at(5, 5));
  EXPECT_TRUE(s.hasColorNear(1, 201, kWhite));
}

TEST(RenderColours, IndexesOutsideThePaletteDrawInTheForegroundColour) {
  // Lines on layers of colour 0 and 300, on a light grey background.
  std::string text = "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n"
                     "0\nLAYER\n2\nZERO\n62\n0\n0\nLAYER\n2\nHIGH\n62\n300\n0\nENDTAB\n0\nENDSEC\n"
                     "0\nSECTION\n2\nENTITIES\n"
                     "0\nLINE\n8\nZERO\n10\n0\n20\n10\n11\n100\n21\n10\n"
                     "0\nLINE\n8\nHIGH\n10\n0\n20\n90\n11\n100\n21\n90\n0\nENDSEC\n0\nEOF\n";
  std::string path = SavedPath("colours_outside_the_palette.dxf");
  ASSERT_TRUE(testfiles::WriteFileBytes(path, text));
  DrawingPtr drawing(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  ASSERT_EQ(0, drawing->open(path.c_str(), nullptr));
  const COLORREF grey = RGB(192, 192, 192);
  DWG_SetBackgroundColor(grey);
  drawing->setViewSize(202, 202);
  drawing->zoomExtents(0, 0, 1.0);
  PixelSurface s(202, 202);
  drawing->draw(s.dc());
  DWG_SetBackgroundColor(kBlack);
  EXPECT_EQ(grey, s.at(101, 101));
  EXPECT_EQ(0, s.count(kWhite));
  EXPECT_GT(s.count(kBlack), 300);  // two lines across the view
}

TEST_F(RenderTest, ColourModesGreyAndBlack) {
  PixelSurface grey(202, 202), mono(202, 202);
  m_drawing->setColorMode(1);
  m_drawing->draw(grey.dc());
  EXPECT_TRUE(grey.hasColorNear(31, 101, RGB(76, 76, 76)));
  EXPECT_EQ(0, grey.count(kRed));
  m_drawing->setColorMode(2);
  m_drawing->draw(mono.dc());
  EXPECT_TRUE(mono.hasColorNear(31, 101, kBlack));
  EXPECT_EQ(0, mono.count(kGreen));
  EXPECT_EQ(2, m_drawing->getColorMode());
}

TEST_F(RenderTest, LayersOffOrFrozenAreNotDrawn) {
  int red = layer("RED"), green = layer("GREEN");
  ASSERT_GE(red, 0);
  ASSERT_GE(green, 0);
  m_drawing->setLayerOn(red, false);
  m_drawing->setLayerFrozen(green, true);
  PixelSurface s(202, 202);
  m_drawing->draw(s.dc());
  EXPECT_EQ(0, s.count(kRed));
  EXPECT_EQ(0, s.count(kGreen));
  EXPECT_GT(s.count(kBlue), 100);
}

TEST_F(RenderTest, HighlightFindsTheEntityUnderThePoint) {
  PixelSurface s(202, 202);
  m_drawing->draw(s.dc());
  EXPECT_FALSE(m_drawing->hasHighlight());
  EXPECT_FALSE(m_drawing->highlightAt(s.dc(), 20, 180));  // empty corner (y up)
  // (31, 101) from the top is (31, 101) from the bottom too: on the red line.
  EXPECT_TRUE(m_drawing->highlightAt(s.dc(), 31, 101));
  EXPECT_TRUE(m_drawing->hasHighlight());
  EXPECT_EQ(kRed, s.at(31, 100));  // drawn wider
  EXPECT_EQ(kRed, s.at(31, 102));
  m_drawing->restoreHighlight(s.dc());
  EXPECT_FALSE(m_drawing->hasHighlight());
  EXPECT_NE(kRed, s.at(31, 99));
}

TEST(LineTypes, DashesFollowThePattern) {
  DWG_SetBackgroundColor(kWhite);
  DrawingPtr d = OpenFixture("dashed.dxf");
  ASSERT_TRUE(d);
  d->setViewSize(202, 202);
  d->zoomExtents(0, 0, 1.0);
  PixelSurface s(202, 202);
  d->draw(s.dc());
  // Two pixels a unit: 20 pixels lit, 20 dark, from x = 1.
  EXPECT_TRUE(s.hasColorNear(11, 101, kRed));
  EXPECT_FALSE(s.hasColorNear(31, 101, kRed, 3));
  EXPECT_TRUE(s.hasColorNear(51, 101, kRed));
  EXPECT_FALSE(s.hasColorNear(71, 101, kRed, 3));
  // Zoomed out far, the pattern is finer than a few pixels: a solid line.
  d->setViewSize(12, 12);  // a tenth of a pixel a unit: a period of 2 pixels
  d->zoomExtents(0, 0, 1.0);
  PixelSurface zoomedOut(12, 12);
  d->draw(zoomedOut.dc());
  int lit = 0;
  for (int x = 2; x < 10; ++x) lit += zoomedOut.at(x, 6) == kRed;
  EXPECT_EQ(8, lit);
  DWG_SetBackgroundColor(kBlack);
}

TEST(Hatches, PatternLinesInsideTheBoundaryAndSolidFills) {
  DWG_SetBackgroundColor(kWhite);
  DrawingPtr d = OpenFixture("hatch.dxf");
  ASSERT_TRUE(d);
  d->setViewSize(202, 202);
  d->zoomExtents(0, 0, 1.0);
  PixelSurface s(202, 202);
  d->draw(s.dc());
  int lit = 0;
  for (int y = 10; y < 60; ++y)
    for (int x = 10; x < 60; ++x) lit += s.at(x, y) == kBlack;
  // 45-degree lines 6.35 units (12.7 pixels) apart cross each row of 50
  // pixels about 2.8 times: some 140 pixels lit.
  EXPECT_GT(lit, 110);
  EXPECT_LT(lit, 170);
  EXPECT_EQ(kGreen, s.at(101, 101));  // inside the solid fill
  EXPECT_EQ(kGreen, s.at(85, 115));
  DWG_SetBackgroundColor(kBlack);
}

namespace {

// Records what the drawing sends to an export device.
class RecordingExport : public CDwgExport {
 public:
  void MoveTo(double x, double y, double) override { points.push_back({x, y}); }
  void LineTo(double x, double y, double) override {
    points.push_back({x, y});
    ++lines;
  }
  void SetPenColor(COLORREF color, int index) override {
    colors.push_back(color);
    indexes.push_back(index);
  }
  std::vector<std::pair<double, double>> points;
  std::vector<COLORREF> colors;
  std::vector<int> indexes;
  int lines = 0;
};

}  // namespace

TEST_F(RenderTest, ExportDeviceReceivesPageCoordinatesWithYUp) {
  RecordingExport device;
  m_drawing->attachExport(&device);
  double c1[3] = {0, 0, 0}, c2[3] = {100, 100, 0};
  m_drawing->saveViewState();
  m_drawing->setPrintView(c1, c2, 1002, 1002);
  m_drawing->update();
  m_drawing->attachExport(nullptr);
  m_drawing->restoreViewState();
  EXPECT_GT(device.lines, 50);
  bool redLine = false;
  for (size_t i = 0; i + 1 < device.points.size(); ++i) {
    EXPECT_GE(device.points[i].first, -1);
    EXPECT_LE(device.points[i].first, 1003);
    if (std::abs(device.points[i].second - 501) < 1 && std::abs(device.points[i + 1].second - 501) < 1 &&
        std::abs(device.points[i + 1].first - device.points[i].first) > 900)
      redLine = true;
  }
  EXPECT_TRUE(redLine);
  EXPECT_NE(device.colors.end(), std::find(device.colors.begin(), device.colors.end(), kRed));
  EXPECT_NE(device.indexes.end(), std::find(device.indexes.begin(), device.indexes.end(), 1));
  // Detached: nothing more arrives.
  int before = device.lines;
  m_drawing->update();
  EXPECT_EQ(before, device.lines);
}

TEST(Thumbnail, FlatInterfaceDrawsAndBreaksFromAnotherThread) {
  DWG_SetBackgroundColor(RGB(255, 255, 255));
  int context = zrapp::create();
  DrawingPtr d(CDrawing::CreateDrawing(CDRAWING_SERVER_THUMBNAIL));
  ASSERT_EQ(0, d->open(FixturePath("basic_R2018_asc.dxf").c_str(), nullptr));
  d->setViewSize(120, 90);
  d->zoomExtents(0, 0, 0.98);
  PixelSurface s(120, 90);
  std::atomic<bool> stop(false);
  Win32Thread breaker([&]() {
    while (!stop) zrapp::callBreak(context);
  });
  zrapp::draw(context, d.get(), s.dc(), 120, 90, 0);
  stop = true;
  ASSERT_TRUE(breaker.join());
  zrapp::draw(context, d.get(), s.dc(), 120, 90, 0);
  EXPECT_GT(s.count(RGB(255, 0, 0)), 5);
  zrapp::callBreak(context);  // idle: harmless
  zrapp::release(context);
  zrapp::callBreak(context);  // released: ignored
  DWG_SetBackgroundColor(RGB(0, 0, 0));
}
