// View changes: zoom steps, zoom at a point, windows (also of zero width),
// pan, the previous-view history, 3D view points and layouts.
#include "tests/support/gtest.h"

#include <cmath>

#include "platform/zrapp/zrapp.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/render_support.h"

using namespace zriotest;

namespace {

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_drawing = OpenFixture("render.dxf");
    ASSERT_TRUE(m_drawing);
    m_drawing->setViewSize(202, 202);
    m_drawing->zoomExtents(0, 0, 1.0);
  }
  void world(double x, double y, double* wx, double* wy) {
    double xyz[3];
    m_drawing->clientToDrawing(x, y, xyz);
    *wx = xyz[0];
    *wy = xyz[1];
  }
  double unitsWide() {
    double w, h;
    m_drawing->getViewSizeInUnits(&w, &h);
    return w;
  }
  DrawingPtr m_drawing;
};

}  // namespace

TEST_F(ViewTest, ZoomExtentsFitsTheDrawing) {
  double x, y;
  world(101, 101, &x, &y);
  EXPECT_NEAR(50, x, 1e-9);
  EXPECT_NEAR(50, y, 1e-9);
  EXPECT_NEAR(101, unitsWide(), 1e-9);  // 200 usable pixels for 100 units
  m_drawing->zoomExtents(0, 0, 0.5);
  EXPECT_NEAR(202, unitsWide(), 1e-9);
  m_drawing->zoomExtents(0, 0, 2.0);  // above 1: the drawing fills half as well
  EXPECT_NEAR(202, unitsWide(), 1e-9);
}

TEST_F(ViewTest, ZoomStepsKeepTheCentreAndPointsKeepTheirPlace) {
  double w = unitsWide();
  m_drawing->zoomIn(1);
  EXPECT_NEAR(w / 1.5, unitsWide(), 1e-9);
  double x, y;
  world(101, 101, &x, &y);
  EXPECT_NEAR(50, x, 1e-9);
  m_drawing->zoomOut(1);
  EXPECT_NEAR(w, unitsWide(), 1e-9);

  double bx, by, ax, ay;
  world(30, 170, &bx, &by);
  m_drawing->zoomInAt(30, 170, 1);
  world(30, 170, &ax, &ay);
  EXPECT_NEAR(bx, ax, 1e-9);
  EXPECT_NEAR(by, ay, 1e-9);
  m_drawing->zoomOutAt(30, 170, 2);
  world(30, 170, &ax, &ay);
  EXPECT_NEAR(bx, ax, 1e-9);
}

TEST_F(ViewTest, PanMovesTheDrawingByTheVector) {
  double bx, by, ax, ay;
  world(50, 60, &bx, &by);
  m_drawing->pan(10, 10, 30, 0);  // moves the drawing right 20 and down 10
  world(70, 50, &ax, &ay);
  EXPECT_NEAR(bx, ax, 1e-9);
  EXPECT_NEAR(by, ay, 1e-9);
}

TEST_F(ViewTest, ZoomWindowFitsTheRectangleAndZeroWidthFitsTheHeight) {
  m_drawing->zoomWindow(51, 51, 151, 151);  // half the output: twice the zoom
  EXPECT_NEAR(50.5, unitsWide(), 1e-9);
  m_drawing->zoomExtents(0, 0, 1.0);
  m_drawing->zoomWindow(100, 51, 100, 151);  // no width: the height decides
  EXPECT_TRUE(std::isfinite(unitsWide()));
  EXPECT_NEAR(50.5, unitsWide(), 1e-9);
  double w = unitsWide();
  m_drawing->zoomWindow(10, 10, 10, 10);  // a point: nothing happens
  EXPECT_EQ(w, unitsWide());
}

TEST_F(ViewTest, PreviousViewWalksBackAndKeepsFifty) {
  double w = unitsWide();
  m_drawing->zoomIn(1);
  m_drawing->zoomIn(1);
  EXPECT_TRUE(m_drawing->hasPreviousView());
  m_drawing->previousView();
  EXPECT_NEAR(w / 1.5, unitsWide(), 1e-9);
  m_drawing->previousView();
  EXPECT_NEAR(w, unitsWide(), 1e-9);
  for (int i = 0; i < 80; ++i) m_drawing->zoomIn(1);
  int steps = 0;
  while (m_drawing->hasPreviousView()) {
    m_drawing->previousView();
    ++steps;
  }
  EXPECT_EQ(50, steps);
}

TEST_F(ViewTest, APanDragIsOneHistoryEntry) {
  m_drawing->beginViewChange();
  for (int i = 0; i < 10; ++i) m_drawing->pan(0, 0, 3, 0);
  m_drawing->previousView();
  double x, y;
  world(101, 101, &x, &y);
  EXPECT_NEAR(50, x, 1e-9);
  m_drawing->previousView();  // the view before the fixture's zoom
  EXPECT_FALSE(m_drawing->hasPreviousView());
}

TEST_F(ViewTest, ViewPointsTurnTheViewAndStillDraw) {
  ASSERT_TRUE(m_drawing->canSetViewPoint());
  m_drawing->setViewPoint(0);  // front: the drawing plane is seen edge-on
  PixelSurface edge(202, 202);
  m_drawing->draw(edge.dc());
  m_drawing->setViewPoint(6);  // south-west isometric
  PixelSurface iso(202, 202);
  m_drawing->draw(iso.dc());
  EXPECT_GT(iso.count(RGB(0, 0, 255)), 50);
  m_drawing->setViewPoint(4);  // top: back to the plan
  double x, y;
  world(101, 101, &x, &y);
  EXPECT_NEAR(50, x, 1e-6);
  EXPECT_NEAR(50, y, 1e-6);
  m_drawing->roll(0.5);
  m_drawing->turnHorizontal(0.3);
  m_drawing->turnVertical(-0.2);
  m_drawing->rotateView(1.0);
  PixelSurface turned(202, 202);
  m_drawing->draw(turned.dc());
  EXPECT_GT(turned.count(RGB(0, 0, 255)), 20);
}

TEST(FitToSize, ADrawingOpenedBeforeItsViewHadASizeFillsEachSizeUntilTheUserZooms) {
  DrawingPtr d = OpenFixture("render.dxf");
  ASSERT_TRUE(d);
  double w, h;
  for (int size : {50, 202, 402}) {
    d->setViewSize(size, size);
    d->getViewSizeInUnits(&w, &h);
    EXPECT_NEAR(100.0 * size / (size - 2), w, 1e-9) << size;  // a pixel free at each edge
    double centre[3];
    d->clientToDrawing(size / 2.0, size / 2.0, centre);
    EXPECT_NEAR(50, centre[0], 1e-9);
    EXPECT_NEAR(50, centre[1], 1e-9);
  }

  // Once the user has zoomed, a new size keeps the scale.
  d->zoomIn(1);
  d->setViewSize(804, 804);
  d->getViewSizeInUnits(&w, &h);
  EXPECT_NEAR(804 / (4 * 1.5), w, 1e-9);
}

TEST(Layouts, SwitchingToAPaperLayout) {
  DrawingPtr d = OpenFixture("basic_R2010_asc.dxf");
  ASSERT_TRUE(d);
  EXPECT_EQ(0, d->getCurrentLayout());
  d->setLayout(1);
  EXPECT_EQ(1, d->getCurrentLayout());
  EXPECT_FALSE(d->canSetViewPoint());
  d->setLayout(9);  // no such layout: unchanged
  EXPECT_EQ(1, d->getCurrentLayout());
  d->setViewSize(100, 80);
  PixelSurface s(100, 80);
  d->draw(s.dc());  // an empty paper layout draws its background
  d->setLayout(0);
  EXPECT_TRUE(d->canSetViewPoint());
}

TEST(Document, ViewDelegatesToTheDrawing) {
  ZrApp::Document* doc = ZrApp::Document::create();
  ASSERT_NE(nullptr, doc->getDrawing());
  ASSERT_NE(nullptr, doc->getView());
  EXPECT_FALSE(doc->getDrawing()->isLoaded());
  ASSERT_EQ(0, doc->getDrawing()->open(FixturePath("render.dxf").c_str(), ""));
  ZrApp::View* view = doc->getView();
  view->setSize(202, 202);
  view->zoomExtents(0, 0, 1.0);
  view->setQuickMode(true);
  EXPECT_TRUE(view->queryState());
  view->setColorMode(1);
  EXPECT_EQ(1, view->getColorMode());
  EXPECT_EQ(2, view->getUnitMode());
  PixelSurface s(202, 202);
  view->draw(s.dc(), 0);
  EXPECT_TRUE(view->highlightAt(s.dc(), 0, 101, 31));
  EXPECT_TRUE(view->hasHighlight());
  view->restoreHighlight(s.dc(), 101, 31);
  EXPECT_FALSE(view->hasHighlight());
  doc->close();
  EXPECT_FALSE(doc->getDrawing()->isLoaded());
  ZrApp::Document::release(doc);
}

TEST(Layouts, ViewportsShowTheModelClippedToTheirFrame) {
  DWG_SetBackgroundColor(RGB(255, 255, 255));
  DrawingPtr d = OpenFixture("viewport.dxf");
  ASSERT_TRUE(d);
  ASSERT_EQ(2, d->getLayoutCount());
  d->setLayout(1);
  const int w = 402, h = 262;
  d->setViewSize(w, h);
  d->zoomExtents(0, 0, 1.0);
  // Paper point -> pixel (y downwards), from two read-outs of the view.
  double a[3], b[3];
  d->clientToDrawing(0, 0, a);
  d->clientToDrawing(100, 0, b);
  double unitsPerPixel = (b[0] - a[0]) / 100;
  auto pixel = [&](double x, double y, int* px, int* py) {
    *px = int((x - a[0]) / unitsPerPixel + 0.5);
    *py = h - int((y - a[1]) / unitsPerPixel + 0.5);
  };
  PixelSurface s(w, h);
  d->draw(s.dc());
  int x, y;
  pixel(120, 100, &x, &y);  // model (20, 50): the red line
  EXPECT_TRUE(s.hasColorNear(x, y, RGB(255, 0, 0), 2));
  pixel(150, 120, &x, &y);  // model (50, 70): the green line inside the frame
  EXPECT_TRUE(s.hasColorNear(x, y, RGB(0, 255, 0), 2));
  pixel(150, 140, &x, &y);  // model (50, 90): outside the frame, clipped
  EXPECT_FALSE(s.hasColorNear(x, y, RGB(0, 255, 0), 3));
  pixel(10, 0, &x, &y);     // the paper line
  EXPECT_TRUE(s.hasColorNear(x, y, RGB(0, 255, 255), 2));
  pixel(100, 85, &x, &y);   // the frame's left edge
  EXPECT_TRUE(s.hasColorNear(x, y, RGB(0, 0, 0), 2));
  DWG_SetBackgroundColor(RGB(0, 0, 0));
}
