// The view of a drawing: output size, 3D direction, centre, scale and the
// history of earlier views.
#pragma once
#include "platform/zrio/win32.h"
#include <deque>

#include "platform/zrio/geometry.h"

namespace zr {

struct ViewParams {
  Transform rotation;  // world -> view axes (rotation only)
  double cx = 0, cy = 0;  // view-plane point at the output's centre
  double scale = 1;       // pixels per drawing unit
};

class ViewState {
 public:
  static const size_t kHistoryLimit = 50;

  int width() const { return m_width; }
  int height() const { return m_height; }
  // A view still as fitToSize left it is fitted to the new size again.
  void setSize(int width, int height);
  const ViewParams& params() const { return p_; }
  void setParams(const ViewParams& p) { p_ = p; }

  // World point -> output pixel (y upwards).
  Transform worldToDevice() const;
  // Output pixel (y upwards) -> view-plane point.
  void deviceToView(double x, double y, double* vx, double* vy) const;

  // Fits a box given in view coordinates; `factor` below 1 fills that part
  // of the output, above 1 fills 1/factor of it.
  void fit(const Box3& viewBox, double factor);
  // Fits the box and keeps it fitted whenever the output changes its size,
  // until the view is changed otherwise: a drawing opened before its window
  // had its size fills the window once it has one.
  void fitToSize(const Box3& viewBox, double factor);
  void zoomAt(double factor, double x, double y);
  // A window of zero width or height fits its other extent.
  void zoomWindow(double x1, double y1, double x2, double y2);
  void pan(double dx, double dy);
  // Applies a rotation to the view axes, keeping the world point at the
  // output's centre there (its depth taken from `pivotDepth`).
  void rotate(const Transform& m, double pivotDepth);
  void setRotation(const Transform& r, double pivotDepth);

  void push();
  bool previous();
  bool hasPrevious() const { return !m_history.empty(); }
  void clearHistory() { m_history.clear(); }
  // Whether the next pan or turn starts a new history entry.
  void beginChange() { push(); m_changeOpen = true; }
  void pushUnlessChangeOpen() {
    if (!m_changeOpen) push();
  }
  void closeChange() { m_changeOpen = false; }

 private:
  int m_width = 1, m_height = 1;
  ViewParams p_;
  // What fitToSize fitted and the view it made.
  bool m_sizeFitted = false;
  Box3 m_sizeFitBox;
  double m_sizeFitFactor = 1;
  ViewParams m_sizeFitView;
  std::deque<ViewParams> m_history;
  bool m_changeOpen = false;
};

}  // namespace zr
