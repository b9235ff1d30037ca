// Looking at rendered output: a 32-bit DIB section with a memory DC, and an
// export device that keeps where red was drawn.
#pragma once
#include "platform/zrio/win32.h"

#include <algorithm>
#include <functional>
#include <string>

#include "platform/zrio/zrio.h"

namespace zriotest {

class PixelSurface {
 public:
  PixelSurface(int width, int height);
  ~PixelSurface();
  HDC dc() const { return m_dc; }
  HBITMAP bitmap() const { return m_bitmap; }
  // Colour at (x, y), y downwards, as 0x00BBGGRR.
  COLORREF at(int x, int y) const;
  // True when a pixel within `radius` of (x, y) has the colour.
  bool hasColorNear(int x, int y, COLORREF color, int radius = 1) const;
  int count(COLORREF color) const;
  // Pixels that are not white.
  int ink() const;
  // Writes the pixels as an opaque PNG file (Win32 path).
  bool WritePng(const std::string& path) const;

 private:
  int m_width, m_height;
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_old;
  const unsigned int* m_bits;
};

// Runs a function on a Win32 thread (threads the C++ library starts are not
// Wine threads and cannot call Win32) and waits for it, at most 60 s.
class Win32Thread {
 public:
  explicit Win32Thread(std::function<void()> body);
  ~Win32Thread() { join(); }
  bool join();

 private:
  static DWORD WINAPI Run(void* self);
  std::function<void()> m_body;
  HANDLE m_handle;
};

// Keeps the span of the points drawn in red through an export device.
class RedPoints : public CDwgExport {
 public:
  void SetPenColor(COLORREF color, int) override { m_red = color == RGB(255, 0, 0); }
  void MoveTo(double x, double y, double) override { add(x, y); }
  void LineTo(double x, double y, double) override { add(x, y); }
  double left = 1e300, right = -1e300, top = -1e300, bottom = 1e300;
  int count = 0;

 private:
  void add(double x, double y) {
    if (!m_red) return;
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::max(top, y);
    bottom = std::min(bottom, y);
    ++count;
  }
  bool m_red = false;
};

// Prints the square from (0, 0) to (100, 100) of a drawing through an
// export device, ten page units a drawing unit, and puts its view back.
inline void ExportSquare(CDrawing* drawing, CDwgExport* device) {
  drawing->attachExport(device);
  double c1[3] = {0, 0, 0}, c2[3] = {100, 100, 0};
  drawing->saveViewState();
  drawing->setPrintView(c1, c2, 1000, 1000);
  drawing->update();
  drawing->attachExport(nullptr);
  drawing->restoreViewState();
}

}  // namespace zriotest
