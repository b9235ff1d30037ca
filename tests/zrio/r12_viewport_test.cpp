// Paper layouts seen through their viewports: R12 viewports (view in the
// ACAD extended data) and R2000 ones, layers frozen in one viewport, the
// sheet's own viewport, damaged view data, and the layout list.
#include "tests/support/gtest.h"

#include <string>

#include "platform/zrio/viewport_data.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/render_support.h"

using namespace zriotest;

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kCyan = RGB(0, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// The paper layout of a drawing fitted into a white surface, with paper
// coordinates mapped to pixels (y downwards).
class PaperView {
 public:
  PaperView(CDrawing* d, int width, int height) : m_surface(width, height), m_height(height) {
    DWG_SetBackgroundColor(RGB(255, 255, 255));
    d->setLayout(1);
    d->setViewSize(width, height);
    d->zoomExtents(0, 0, 1.0);
    double b[3];
    d->clientToDrawing(0, 0, m_origin);
    d->clientToDrawing(100, 0, b);
    m_unitsPerPixel = (b[0] - m_origin[0]) / 100;
    d->draw(m_surface.dc());
    DWG_SetBackgroundColor(kBlack);
  }

  int px(double x) const { return int((x - m_origin[0]) / m_unitsPerPixel + 0.5); }
  int py(double y) const { return m_height - int((y - m_origin[1]) / m_unitsPerPixel + 0.5); }
  bool shows(double x, double y, COLORREF color, int radius = 2) const {
    return m_surface.hasColorNear(px(x), py(y), color, radius);
  }
  // Pixels of a colour strictly inside a paper rectangle.
  int countInside(double x0, double y0, double x1, double y1, COLORREF color) const {
    int n = 0;
    for (int y = py(y1) + 2; y <= py(y0) - 2; ++y)
      for (int x = px(x0) + 2; x <= px(x1) - 2; ++x)
        if (m_surface.at(x, y) == color) ++n;
    return n;
  }
  const PixelSurface& surface() const { return m_surface; }

 private:
  PixelSurface m_surface;
  int m_height;
  double m_origin[3] = {0, 0, 0};
  double m_unitsPerPixel = 1;
};

class FrozenViewportTest : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(FrozenViewportTest, ModelShowsThroughTheViewports) {
  DrawingPtr d = OpenFixture(GetParam());
  ASSERT_TRUE(d);
  ASSERT_EQ(2, d->getLayoutCount());
  char name[64];
  ASSERT_TRUE(d->getLayoutName(0, name, sizeof(name)));
  EXPECT_STREQ("Model", name);
  ASSERT_TRUE(d->getLayoutName(1, name, sizeof(name)));
  EXPECT_STREQ("Layout1", name);
  EXPECT_FALSE(d->getLayoutName(2, name, sizeof(name)));

  PaperView v(d.get(), 402, 262);
  // Main viewport: model (50, 50) at paper (150, 100), one unit a unit.
  EXPECT_TRUE(v.shows(120, 100, kRed));      // model (20, 50)
  EXPECT_TRUE(v.shows(150, 120, kGreen));    // model (50, 70)
  EXPECT_FALSE(v.shows(150, 140, kGreen, 3));  // model (50, 90): clipped at the frame
  EXPECT_FALSE(v.shows(120, 120, kBlue, 3));   // HIDDEN is frozen in this viewport
  EXPECT_TRUE(v.shows(100, 85, kBlack));     // the frame's left edge
  EXPECT_TRUE(v.shows(10, 0, kCyan));        // the paper line
  // Turned viewport: twist 90 makes the red line upright, the green level.
  EXPECT_TRUE(v.shows(300, 120, kRed));
  EXPECT_TRUE(v.shows(320, 100, kGreen));
  EXPECT_FALSE(v.shows(320, 100, kRed, 3));
  EXPECT_TRUE(v.shows(280, 110, kBlue) || v.shows(320, 110, kBlue));  // HIDDEN shows here
  // The sheet's own viewport (id 1) shows no model view of its own.
  EXPECT_FALSE(v.shows(250, 160, kGreen, 3));
  EXPECT_FALSE(v.shows(240, 100, kRed, 3));
}

INSTANTIATE_TEST_SUITE_P(Files, FrozenViewportTest,
                         ::testing::Values("r12_viewport.dxf", "r12_viewport_bin.dxf",
                                           "frozen_viewport.dxf"));

TEST(R12Viewport, DamagedViewDataLeavesOnlyTheFrame) {
  DrawingPtr d = OpenFixture("r12_broken_viewports.dxf");
  ASSERT_TRUE(d);
  ASSERT_EQ(2, d->getLayoutCount());
  // The broken viewports sit at (50 + 60 i, 50), 40 x 40; one per damaged
  // list written by make_fixtures.py.
  const int kBroken = 17;
  PaperView v(d.get(), 1240, 240);
  for (int i = 0; i < kBroken; ++i) {
    double cx = 50 + 60 * i;
    EXPECT_TRUE(v.shows(cx - 20, 50, kCyan)) << "frame of viewport " << i;
    EXPECT_EQ(0, v.countInside(cx - 20, 30, cx + 20, 70, kRed)) << "model in viewport " << i;
  }
  // The good one, behind another application's data, shows the red cross.
  EXPECT_TRUE(v.shows(50, 150, kRed));
  EXPECT_TRUE(v.shows(40, 150, kRed));
  int allRed = v.surface().count(kRed);
  EXPECT_GT(allRed, 0);
  EXPECT_EQ(allRed, v.countInside(25, 125, 75, 175, kRed));  // nothing outside its frame

  double xMin, xMax, yMin, yMax;
  d->getLayoutLimits(&xMin, &xMax, &yMin, &yMax);  // from $PLIMMIN/$PLIMMAX
  EXPECT_EQ(0, xMin);
  EXPECT_EQ(1000, xMax);
  EXPECT_EQ(0, yMin);
  EXPECT_EQ(200, yMax);
}

namespace {

zr::RawGroups MView(const char* height) {
  return {{8, "0"},       {1001, "ACAD"}, {1000, "MVIEW"}, {1002, "{"},   {1010, "1"},
          {1020, "2"},    {1010, "0"},    {1020, "0"},     {1030, "1"},   {1040, "15"},
          {1040, height}, {1040, "5"},    {1040, "6"},     {1040, "50"},  {1040, "0"},
          {1040, "0"},    {1070, "0"},    {1002, "{"},     {1003, "A"},   {1003, " B "},
          {1002, "}"},    {1002, "}"},    {1001, "NEXT"},  {1000, "x"}};
}

}  // namespace

TEST(R12Viewport, ReadsTheMViewList) {
  zr::MViewData d;
  // No data version, a 2D target, another application after it.
  ASSERT_TRUE(zr::ReadMViewData(MView("30"), &d));
  EXPECT_EQ(1, d.target.x);
  EXPECT_EQ(2, d.target.y);
  EXPECT_EQ(0, d.target.z);
  EXPECT_EQ(1, d.direction.z);
  EXPECT_EQ(15, d.twist);
  EXPECT_EQ(30, d.height);
  EXPECT_EQ(5, d.centerX);
  EXPECT_EQ(6, d.centerY);
  ASSERT_EQ(2u, d.frozenLayers.size());
  EXPECT_EQ("A", d.frozenLayers[0]);
  EXPECT_EQ("B", d.frozenLayers[1]);

  EXPECT_FALSE(zr::ReadMViewData(MView("0"), &d));
  EXPECT_FALSE(zr::ReadMViewData(MView("30x"), &d));
  zr::RawGroups cut = MView("30");
  for (size_t n = 0; n + 2 < cut.size(); ++n) {
    zr::RawGroups part(cut.begin(), cut.begin() + long(n));
    EXPECT_FALSE(zr::ReadMViewData(part, &d)) << n << " groups";
  }
}
