// CDrawing: view changes and output.
#include "platform/zrio/win32.h"
#include <algorithm>
#include <cmath>

#include "platform/zrio/drawing.h"
#include "platform/zrio/drawing_state.h"
#include "platform/zrio/export_sink.h"
#include "platform/zrio/gdi_sink.h"
#include "platform/zrio/hit_sink.h"
#include "platform/zrio/library_globals.h"

using zr::Transform;
using zr::Vec3;

namespace {

const double kZoomStep = 1.5;
const double kHitTolerance = 5;

double ZoomFactor(int steps) { return std::pow(kZoomStep, steps < 1 ? 1 : steps); }

// Depth (view z) of the middle of the layout's extents: the pivot of turns.
double PivotDepth(zr::DrawingState* s) {
  zr::Box3 box = s->layoutExtents();
  if (!box.valid()) return 0;
  Vec3 mid = (box.lo + box.hi) * 0.5;
  return s->view.params().rotation.apply(mid).z;
}

void FillBackground(HDC dc, int width, int height) {
  HBRUSH brush = CreateSolidBrush(zr::Globals().background);
  RECT rect = {0, 0, width, height};
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

}  // namespace

void CDrawing::setViewSize(int width, int height) { state_->view.setSize(width, height); }

void CDrawing::zoomExtents(int, int, double factor) {
  if (!state_->db) return;
  state_->view.push();
  state_->view.fit(state_->viewExtents(), factor);
}

void CDrawing::zoomIn(int steps) {
  if (!state_->db) return;
  state_->view.push();
  state_->view.zoomAt(ZoomFactor(steps), state_->view.width() / 2.0, state_->view.height() / 2.0);
}

void CDrawing::zoomOut(int steps) {
  if (!state_->db) return;
  state_->view.push();
  state_->view.zoomAt(1 / ZoomFactor(steps), state_->view.width() / 2.0,
                      state_->view.height() / 2.0);
}

void CDrawing::zoomInAt(int x, int y, int steps) {
  if (!state_->db) return;
  state_->view.push();
  state_->view.zoomAt(ZoomFactor(steps), x, y);
}

void CDrawing::zoomOutAt(int x, int y, int steps) {
  if (!state_->db) return;
  state_->view.push();
  state_->view.zoomAt(1 / ZoomFactor(steps), x, y);
}

void CDrawing::zoomWindow(int x1, int y1, int x2, int y2) {
  if (!state_->db || (x1 == x2 && y1 == y2)) return;
  state_->view.push();
  state_->view.zoomWindow(x1, y1, x2, y2);
}

void CDrawing::pan(int x1, int y1, int x2, int y2) {
  if (!state_->db) return;
  state_->view.pushUnlessChangeOpen();
  state_->view.pan(x2 - x1, y2 - y1);
}

void CDrawing::beginViewChange() {
  if (state_->db) state_->view.beginChange();
}

void CDrawing::previousView() { state_->view.previous(); }

bool CDrawing::hasPreviousView() const { return state_->db && state_->view.hasPrevious(); }

void CDrawing::setViewPoint(int code) {
  static const double kDirections[10][3] = {
      {0, -1, 0}, {0, 1, 0},  {-1, 0, 0}, {1, 0, 0},  {0, 0, 1},
      {0, 0, -1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}};
  if (code < 0 || code > 9) return;
  setViewDirection(kDirections[code]);
}

void CDrawing::setViewDirection(const double* xyz) {
  if (!state_->db || !xyz) return;
  Vec3 direction(xyz[0], xyz[1], xyz[2]);
  if (!(direction.length() > 1e-12)) return;
  state_->view.push();
  state_->view.setRotation(zr::ViewRotationFor(direction), 0);
  state_->view.fit(state_->viewExtents(), 1.0);
}

void CDrawing::getViewDirection(double* xyz) const {
  if (!xyz) return;
  const Transform& r = state_->view.params().rotation;
  for (int i = 0; i < 3; ++i) xyz[i] = r.m[2][i];
}

bool CDrawing::getExtentCorners(double* corner1, double* corner2, double* width,
                                double* height) const {
  if (!state_->db || !corner1 || !corner2) return false;
  zr::Box3 box = state_->viewExtents();
  if (!box.valid()) return false;
  Transform back = state_->view.params().rotation.transposedRotation();
  Vec3 lo = back.apply(box.lo), hi = back.apply(box.hi);
  corner1[0] = lo.x, corner1[1] = lo.y, corner1[2] = lo.z;
  corner2[0] = hi.x, corner2[1] = hi.y, corner2[2] = hi.z;
  if (width) *width = box.hi.x - box.lo.x;
  if (height) *height = box.hi.y - box.lo.y;
  return true;
}

bool CDrawing::canSetViewPoint() const { return state_->db && state_->currentLayout == 0; }

void CDrawing::prepareView() { state_->view.closeChange(); }

void CDrawing::rotateView(double radians) {
  if (!state_->db) return;
  state_->view.push();
  state_->view.rotate(Transform::rotationZ(radians), PivotDepth(state_));
}

void CDrawing::turnHorizontal(double radians) {
  if (!state_->db || state_->currentLayout != 0) return;
  state_->view.pushUnlessChangeOpen();
  state_->view.rotate(Transform::rotationX(radians), PivotDepth(state_));
}

void CDrawing::turnVertical(double radians) {
  if (!state_->db || state_->currentLayout != 0) return;
  state_->view.pushUnlessChangeOpen();
  state_->view.rotate(Transform::rotationY(radians), PivotDepth(state_));
}

void CDrawing::roll(double radians) {
  if (!state_->db) return;
  state_->view.pushUnlessChangeOpen();
  state_->view.rotate(Transform::rotationZ(radians), PivotDepth(state_));
}

void CDrawing::clientToDrawing(double x, double y, double* xyz) const {
  if (!xyz) return;
  double vx, vy;
  state_->view.deviceToView(x, y, &vx, &vy);
  const Transform& r = state_->view.params().rotation;
  Transform back = r.transposedRotation();
  // The point on the world plane z = 0 when the view sees it, else at depth 0.
  Vec3 dir = back.applyVector(Vec3(0, 0, 1));
  Vec3 p = back.apply(Vec3(vx, vy, 0));
  if (std::fabs(dir.z) > 1e-9) p = p - dir * (p.z / dir.z);
  xyz[0] = p.x;
  xyz[1] = p.y;
  xyz[2] = p.z;
}

void CDrawing::getViewSizeInUnits(double* width, double* height) const {
  double s = state_->view.params().scale;
  if (width) *width = state_->view.width() / s;
  if (height) *height = state_->view.height() / s;
}

int CDrawing::getColorMode() const { return state_->colorMode; }
void CDrawing::setColorMode(int mode) { state_->colorMode = mode >= 0 && mode <= 2 ? mode : 0; }
int CDrawing::getPointMode() const { return state_->pointMode; }
double CDrawing::getPointSize() const { return state_->pointSize; }
void CDrawing::setPointMode(int mode) { state_->pointMode = mode; }
void CDrawing::setPointSize(double size) { state_->pointSize = size; }
int CDrawing::getUnitMode() const { return state_->db ? state_->db->lunits : 2; }
int CDrawing::getPrecision() const { return state_->db ? state_->db->luprec : 4; }
void CDrawing::setQuickMode(bool on) { state_->quickMode = on; }
bool CDrawing::getQuickMode() const { return state_->quickMode; }
int CDrawing::getPrintColorMode() const { return state_->printColorMode; }
void CDrawing::setPrintColorMode(int mode) { state_->printColorMode = mode; }
void CDrawing::setPrintSwitch(int which, bool on) {
  if (which >= 0 && which < 2) state_->printSwitch[which] = on;
}
void CDrawing::setPageValue(int value) { state_->pageValue = value; }
void CDrawing::breakDraw() { state_->breakDraw = true; }
void CDrawing::attachExport(CDwgExport* device) { state_->exportDevice = device; }

void CDrawing::saveViewState() {
  state_->savedView = state_->view;
  state_->hasSavedView = true;
}

void CDrawing::restoreViewState() {
  if (!state_->hasSavedView) return;
  state_->view = state_->savedView;
  state_->hasSavedView = false;
}

void CDrawing::setPrintView(const double corner1[3], const double corner2[3], double pageWidth,
                            double pageHeight) {
  if (!state_->db || !corner1 || !corner2) return;
  int w = int(std::lround(std::max(1.0, std::min(pageWidth, 1e6))));
  int h = int(std::lround(std::max(1.0, std::min(pageHeight, 1e6))));
  state_->view.setSize(w, h);
  const Transform& r = state_->view.params().rotation;
  zr::Box3 box;
  box.add(r.apply(Vec3(corner1[0], corner1[1], corner1[2])));
  box.add(r.apply(Vec3(corner2[0], corner2[1], corner2[2])));
  state_->view.fit(box, 1.0);
}

void CDrawing::update() {
  if (!state_->db || !state_->exportDevice) return;
  state_->breakDraw = false;
  const zr::ViewState& v = state_->view;
  zr::ExportSink sink(state_->exportDevice, v.worldToDevice(), v.width(), v.height(),
                      state_->renderOptions(true));
  zr::EntityWalker walker(*state_->db, sink, state_->drawOptions());
  walker.setModelBoxes(state_->modelBoxes());
  walker.walkList(state_->layoutEntities(), &state_->layoutBoxes());
}

void CDrawing::draw(HDC dc) {
  if (!dc) return;
  state_->breakDraw = false;
  FillBackground(dc, state_->view.width(), state_->view.height());
  if (!state_->db) return;
  state_->render(dc, true, state_->view, state_->renderOptions(false));
  if (state_->highlighted && !state_->breakDraw) {
    zr::RenderOptions o = state_->renderOptions(false);
    o.only = state_->highlighted;
    o.highlight = true;
    state_->render(dc, true, state_->view, o);
  }
}

void CDrawing::drawToDC(HDC dc, bool usePenWidths) {
  if (!dc || !state_->db) return;
  state_->breakDraw = false;
  zr::RenderOptions o = state_->renderOptions(true);
  if (usePenWidths) {
    std::lock_guard<std::mutex> hold(zr::Globals().lock);
    o.pens = zr::Globals().pens;
  } else {
    o.dpi = 0;
  }
  state_->render(dc, false, state_->view, o);
}

bool CDrawing::highlightAt(HDC dc, int x, int y) {
  if (!state_->db) return false;
  zr::HitSink sink(state_->view.worldToDevice(), x, y, kHitTolerance);
  zr::EntityWalker walker(*state_->db, sink, zr::WalkOptions());
  walker.walkList(state_->layoutEntities(), &state_->layoutBoxes());
  const zr::Entity* found = sink.found();
  if (!found) return false;
  state_->highlighted = found;
  if (dc) {
    zr::RenderOptions o = state_->renderOptions(false);
    o.only = found;
    o.highlight = true;
    state_->render(dc, true, state_->view, o);
  }
  return true;
}

bool CDrawing::hasHighlight() const { return state_->highlighted != nullptr; }

void CDrawing::restoreHighlight(HDC dc) {
  state_->highlighted = nullptr;
  if (dc) draw(dc);
}
