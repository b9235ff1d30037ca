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
  bool changed = width != width_ || height != height_;
  width_ = width;
  height_ = height;
  if (changed && sizeFitted_ && SameView(p_, sizeFitView_)) fitToSize(sizeFitBox_, sizeFitFactor_);
}

Transform ViewState::worldToDevice() const {
  Transform d = Transform::scaling(p_.scale, p_.scale, p_.scale);
  d.t = Vec3(width_ / 2.0 - p_.cx * p_.scale, height_ / 2.0 - p_.cy * p_.scale, 0);
  return d * p_.rotation;
}

void ViewState::deviceToView(double x, double y, double* vx, double* vy) const {
  *vx = (x - width_ / 2.0) / p_.scale + p_.cx;
  *vy = (y - height_ / 2.0) / p_.scale + p_.cy;
}

void ViewState::fit(const Box3& box, double factor) {
  if (!box.valid()) return;
  double fill = factor > 1 ? 1 / factor : (factor > 0 ? factor : 1);
  double w = box.hi.x - box.lo.x, h = box.hi.y - box.lo.y;
  // Keep a pixel free at each edge so that outlines stay visible.
  double usableW = std::max(1.0, (width_ - 2) * fill), usableH = std::max(1.0, (height_ - 2) * fill);
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
  sizeFitted_ = box.valid();
  sizeFitBox_ = box;
  sizeFitFactor_ = factor;
  sizeFitView_ = p_;
}

void ViewState::zoomAt(double factor, double x, double y) {
  if (!(factor > 0)) return;
  double vx, vy;
  deviceToView(x, y, &vx, &vy);
  double scale = p_.scale * factor;
  if (scale > 1e12 || scale < 1e-12) return;
  p_.scale = scale;
  // The point under (x, y) stays there.
  p_.cx = vx - (x - width_ / 2.0) / scale;
  p_.cy = vy - (y - height_ / 2.0) / scale;
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
  history_.push_back(p_);
  while (history_.size() > kHistoryLimit) history_.pop_front();
  changeOpen_ = false;
}

bool ViewState::previous() {
  if (history_.empty()) return false;
  p_ = history_.back();
  history_.pop_back();
  changeOpen_ = false;
  return true;
}

}  // namespace zr
