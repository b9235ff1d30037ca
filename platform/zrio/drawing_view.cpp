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

void CDrawing::setViewSize(int width, int height) { m_state->view.setSize(width, height); }

void CDrawing::zoomExtents(int, int, double factor) {
  if (!m_state->db) return;
  m_state->view.push();
  m_state->view.fit(m_state->viewExtents(), factor);
}

void CDrawing::zoomIn(int steps) {
  if (!m_state->db) return;
  m_state->view.push();
  m_state->view.zoomAt(ZoomFactor(steps), m_state->view.width() / 2.0, m_state->view.height() / 2.0);
}

void CDrawing::zoomOut(int steps) {
  if (!m_state->db) return;
  m_state->view.push();
  m_state->view.zoomAt(1 / ZoomFactor(steps), m_state->view.width() / 2.0,
                      m_state->view.height() / 2.0);
}

void CDrawing::zoomInAt(int x, int y, int steps) {
  if (!m_state->db) return;
  m_state->view.push();
  m_state->view.zoomAt(ZoomFactor(steps), x, y);
}

void CDrawing::zoomOutAt(int x, int y, int steps) {
  if (!m_state->db) return;
  m_state->view.push();
  m_state->view.zoomAt(1 / ZoomFactor(steps), x, y);
}

void CDrawing::zoomWindow(int x1, int y1, int x2, int y2) {
  if (!m_state->db || (x1 == x2 && y1 == y2)) return;
  m_state->view.push();
  m_state->view.zoomWindow(x1, y1, x2, y2);
}

void CDrawing::pan(int x1, int y1, int x2, int y2) {
  if (!m_state->db) return;
  m_state->view.pushUnlessChangeOpen();
  m_state->view.pan(x2 - x1, y2 - y1);
}

void CDrawing::beginViewChange() {
  if (m_state->db) m_state->view.beginChange();
}

void CDrawing::previousView() { m_state->view.previous(); }

bool CDrawing::hasPreviousView() const { return m_state->db && m_state->view.hasPrevious(); }

void CDrawing::setViewPoint(int code) {
  static const double kDirections[10][3] = {
      {0, -1, 0}, {0, 1, 0},  {-1, 0, 0}, {1, 0, 0},  {0, 0, 1},
      {0, 0, -1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}};
  if (code < 0 || code > 9) return;
  setViewDirection(kDirections[code]);
}

void CDrawing::setViewDirection(const double* xyz) {
  if (!m_state->db || !xyz) return;
  Vec3 direction(xyz[0], xyz[1], xyz[2]);
  if (!(direction.length() > 1e-12)) return;
  m_state->view.push();
  m_state->view.setRotation(zr::ViewRotationFor(direction), 0);
  m_state->view.fit(m_state->viewExtents(), 1.0);
}

void CDrawing::getViewDirection(double* xyz) const {
  if (!xyz) return;
  const Transform& r = m_state->view.params().rotation;
  for (int i = 0; i < 3; ++i) xyz[i] = r.m[2][i];
}

bool CDrawing::getExtentCorners(double* corner1, double* corner2, double* width,
                                double* height) const {
  if (!m_state->db || !corner1 || !corner2) return false;
  zr::Box3 box = m_state->viewExtents();
  if (!box.valid()) return false;
  Transform back = m_state->view.params().rotation.transposedRotation();
  Vec3 lo = back.apply(box.lo), hi = back.apply(box.hi);
  corner1[0] = lo.x, corner1[1] = lo.y, corner1[2] = lo.z;
  corner2[0] = hi.x, corner2[1] = hi.y, corner2[2] = hi.z;
  if (width) *width = box.hi.x - box.lo.x;
  if (height) *height = box.hi.y - box.lo.y;
  return true;
}

bool CDrawing::canSetViewPoint() const { return m_state->db && m_state->currentLayout == 0; }

void CDrawing::prepareView() { m_state->view.closeChange(); }

void CDrawing::rotateView(double radians) {
  if (!m_state->db) return;
  m_state->view.push();
  m_state->view.rotate(Transform::rotationZ(radians), PivotDepth(m_state));
}

void CDrawing::turnHorizontal(double radians) {
  if (!m_state->db || m_state->currentLayout != 0) return;
  m_state->view.pushUnlessChangeOpen();
  m_state->view.rotate(Transform::rotationX(radians), PivotDepth(m_state));
}

void CDrawing::turnVertical(double radians) {
  if (!m_state->db || m_state->currentLayout != 0) return;
  m_state->view.pushUnlessChangeOpen();
  m_state->view.rotate(Transform::rotationY(radians), PivotDepth(m_state));
}

void CDrawing::roll(double radians) {
  if (!m_state->db) return;
  m_state->view.pushUnlessChangeOpen();
  m_state->view.rotate(Transform::rotationZ(radians), PivotDepth(m_state));
}

void CDrawing::clientToDrawing(double x, double y, double* xyz) const {
  if (!xyz) return;
  double vx, vy;
  m_state->view.deviceToView(x, y, &vx, &vy);
  const Transform& r = m_state->view.params().rotation;
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
  double s = m_state->view.params().scale;
  if (width) *width = m_state->view.width() / s;
  if (height) *height = m_state->view.height() / s;
}

int CDrawing::getColorMode() const { return m_state->colorMode; }
void CDrawing::setColorMode(int mode) { m_state->colorMode = mode >= 0 && mode <= 2 ? mode : 0; }
int CDrawing::getPointMode() const { return m_state->pointMode; }
double CDrawing::getPointSize() const { return m_state->pointSize; }
void CDrawing::setPointMode(int mode) { m_state->pointMode = mode; }
void CDrawing::setPointSize(double size) { m_state->pointSize = size; }
int CDrawing::getUnitMode() const { return m_state->db ? m_state->db->lunits : 2; }
int CDrawing::getPrecision() const { return m_state->db ? m_state->db->luprec : 4; }
void CDrawing::setQuickMode(bool on) { m_state->quickMode = on; }
bool CDrawing::getQuickMode() const { return m_state->quickMode; }
int CDrawing::getPrintColorMode() const { return m_state->printColorMode; }
void CDrawing::setPrintColorMode(int mode) { m_state->printColorMode = mode; }
void CDrawing::setPrintSwitch(int which, bool on) {
  if (which >= 0 && which < 2) m_state->printSwitch[which] = on;
}
void CDrawing::setPageValue(int value) { m_state->pageValue = value; }
void CDrawing::breakDraw() { m_state->breakDraw = true; }
void CDrawing::attachExport(CDwgExport* device) { m_state->exportDevice = device; }

void CDrawing::saveViewState() {
  m_state->savedView = m_state->view;
  m_state->hasSavedView = true;
}

void CDrawing::restoreViewState() {
  if (!m_state->hasSavedView) return;
  m_state->view = m_state->savedView;
  m_state->hasSavedView = false;
}

void CDrawing::setPrintView(const double corner1[3], const double corner2[3], double pageWidth,
                            double pageHeight) {
  if (!m_state->db || !corner1 || !corner2) return;
  int w = int(std::lround(std::max(1.0, std::min(pageWidth, 1e6))));
  int h = int(std::lround(std::max(1.0, std::min(pageHeight, 1e6))));
  m_state->view.setSize(w, h);
  const Transform& r = m_state->view.params().rotation;
  zr::Box3 box;
  box.add(r.apply(Vec3(corner1[0], corner1[1], corner1[2])));
  box.add(r.apply(Vec3(corner2[0], corner2[1], corner2[2])));
  m_state->view.fit(box, 1.0);
}

void CDrawing::update() {
  if (!m_state->db || !m_state->exportDevice) return;
  m_state->breakDraw = false;
  const zr::ViewState& v = m_state->view;
  zr::ExportSink sink(m_state->exportDevice, v.worldToDevice(), v.width(), v.height(),
                      m_state->renderOptions(true));
  zr::EntityWalker walker(*m_state->db, sink, m_state->drawOptions());
  walker.setModelBoxes(m_state->modelBoxes());
  walker.walkList(m_state->layoutEntities(), &m_state->layoutBoxes());
}

void CDrawing::draw(HDC dc) {
  if (!dc) return;
  m_state->breakDraw = false;
  FillBackground(dc, m_state->view.width(), m_state->view.height());
  if (!m_state->db) return;
  m_state->render(dc, true, m_state->view, m_state->renderOptions(false));
  if (m_state->highlighted && !m_state->breakDraw) {
    zr::RenderOptions o = m_state->renderOptions(false);
    o.only = m_state->highlighted;
    o.highlight = true;
    m_state->render(dc, true, m_state->view, o);
  }
}

void CDrawing::drawToDC(HDC dc, bool usePenWidths) {
  if (!dc || !m_state->db) return;
  m_state->breakDraw = false;
  zr::RenderOptions o = m_state->renderOptions(true);
  if (usePenWidths) {
    std::lock_guard<std::mutex> hold(zr::Globals().lock);
    o.pens = zr::Globals().pens;
  } else {
    o.dpi = 0;
  }
  m_state->render(dc, false, m_state->view, o);
}

bool CDrawing::highlightAt(HDC dc, int x, int y) {
  if (!m_state->db) return false;
  zr::HitSink sink(m_state->view.worldToDevice(), x, y, kHitTolerance);
  zr::EntityWalker walker(*m_state->db, sink, zr::WalkOptions());
  walker.walkList(m_state->layoutEntities(), &m_state->layoutBoxes());
  const zr::Entity* found = sink.found();
  if (!found) return false;
  m_state->highlighted = found;
  if (dc) {
    zr::RenderOptions o = m_state->renderOptions(false);
    o.only = found;
    o.highlight = true;
    m_state->render(dc, true, m_state->view, o);
  }
  return true;
}

bool CDrawing::hasHighlight() const { return m_state->highlighted != nullptr; }

void CDrawing::restoreHighlight(HDC dc) {
  m_state->highlighted = nullptr;
  if (dc) draw(dc);
}
