#include "platform/zrio/win32.h"
#include "platform/zrio/view_state.h"

#include <algorithm>
#include <cmath>

namespace zr {

namespace {

bool SameView(const ViewParams& a, const ViewParams& b) {
  if (a.cx != b.cx || a.cy != b.cy || a.scale != b.scale) return false;
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column)
      if (a.rotation.m[row][column] != b.rotation.m[row][column]) return false;
  return true;
}

}  // namespace

void ViewState::setSize(int width, int height) {
  width = width < 1 ? 1 : width;
  height = height < 1 ? 1 : height;
  bool changed = width != m_width || height != m_height;
  m_width = width;
  m_height = height;
  if (changed && m_sizeFitted && SameView(p_, m_sizeFitView)) fitToSize(m_sizeFitBox, m_sizeFitFactor);
}

Transform ViewState::worldToDevice() const {
  Transform d = Transform::scaling(p_.scale, p_.scale, p_.scale);
  d.t = Vec3(m_width / 2.0 - p_.cx * p_.scale, m_height / 2.0 - p_.cy * p_.scale, 0);
  return d * p_.rotation;
}

void ViewState::deviceToView(double x, double y, double* vx, double* vy) const {
  *vx = (x - m_width / 2.0) / p_.scale + p_.cx;
  *vy = (y - m_height / 2.0) / p_.scale + p_.cy;
}

void ViewState::fit(const Box3& box, double factor) {
  if (!box.valid()) return;
  double fill = factor > 1 ? 1 / factor : (factor > 0 ? factor : 1);
  double w = box.hi.x - box.lo.x, h = box.hi.y - box.lo.y;
  // Keep a pixel free at each edge so that outlines stay visible.
  double usableW = std::max(1.0, (m_width - 2) * fill), usableH = std::max(1.0, (m_height - 2) * fill);
  double scale;
  if (w <= 0 && h <= 0) scale = p_.scale;  // a single point: keep the zoom
  else if (w <= 0) scale = usableH / h;
  else if (h <= 0) scale = usableW / w;
  else scale = std::min(usableW / w, usableH / h);
  if (!(scale > 0) || !std::isfinite(scale)) scale = 1;
  p_.scale = scale;
  p_.cx = (box.lo.x + box.hi.x) / 2;
  p_.cy = (box.lo.y + box.hi.y) / 2;
}

void ViewState::fitToSize(const Box3& box, double factor) {
  fit(box, factor);
  m_sizeFitted = box.valid();
  m_sizeFitBox = box;
  m_sizeFitFactor = factor;
  m_sizeFitView = p_;
}

void ViewState::zoomAt(double factor, double x, double y) {
  if (!(factor > 0)) return;
  double vx, vy;
  deviceToView(x, y, &vx, &vy);
  double scale = p_.scale * factor;
  if (scale > 1e12 || scale < 1e-12) return;
  p_.scale = scale;
  // The point under (x, y) stays there.
  p_.cx = vx - (x - m_width / 2.0) / scale;
  p_.cy = vy - (y - m_height / 2.0) / scale;
}

void ViewState::zoomWindow(double x1, double y1, double x2, double y2) {
  double ax, ay, bx, by;
  deviceToView(std::min(x1, x2), std::min(y1, y2), &ax, &ay);
  deviceToView(std::max(x1, x2), std::max(y1, y2), &bx, &by);
  Box3 box;
  box.add(Vec3(ax, ay, 0));
  box.add(Vec3(bx, by, 0));
  if (box.hi.x - box.lo.x <= 0 && box.hi.y - box.lo.y <= 0) return;
  fit(box, 1.0);
}

void ViewState::pan(double dx, double dy) {
  p_.cx -= dx / p_.scale;
  p_.cy -= dy / p_.scale;
}

void ViewState::rotate(const Transform& m, double pivotDepth) {
  setRotation(m * p_.rotation, pivotDepth);
}

void ViewState::setRotation(const Transform& r, double pivotDepth) {
  // The world point at the centre, at the given depth, stays at the centre.
  Vec3 world = p_.rotation.transposedRotation().apply(Vec3(p_.cx, p_.cy, pivotDepth));
  p_.rotation = r;
  Vec3 v = r.apply(world);
  p_.cx = v.x;
  p_.cy = v.y;
}

void ViewState::push() {
  m_history.push_back(p_);
  while (m_history.size() > kHistoryLimit) m_history.pop_front();
  m_changeOpen = false;
}

bool ViewState::previous() {
  if (m_history.empty()) return false;
  p_ = m_history.back();
  m_history.pop_back();
  m_changeOpen = false;
  return true;
}

}  // namespace zr
