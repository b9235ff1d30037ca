// A 32-bit DIB section with a memory DC, for looking at rendered pixels.
#pragma once
#include "platform/zrio/win32.h"

#include <functional>

namespace zriotest {

class PixelSurface {
 public:
  PixelSurface(int width, int height);
  ~PixelSurface();
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  // Colour at (x, y), y downwards, as 0x00BBGGRR.
  COLORREF at(int x, int y) const;
  // True when a pixel within `radius` of (x, y) has the colour.
  bool hasColorNear(int x, int y, COLORREF color, int radius = 1) const;
  int count(COLORREF color) const;

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  const unsigned int* bits_;
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
  std::function<void()> body_;
  HANDLE handle_;
};

}  // namespace zriotest
