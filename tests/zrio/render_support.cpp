#include "tests/zrio/render_support.h"

#include "platform/base/unix_path.h"

#include "platform/native/native_begin.h"
#include <png.h>
#include "platform/native/native_end.h"

namespace zriotest {

PixelSurface::PixelSurface(int width, int height) : width_(width), height_(height) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<const unsigned int*>(bits);
  old_ = SelectObject(dc_, bitmap_);
}

PixelSurface::~PixelSurface() {
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

COLORREF PixelSurface::at(int x, int y) const {
  GdiFlush();
  unsigned int v = bits_[size_t(y) * size_t(width_) + size_t(x)];
  return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
}

bool PixelSurface::hasColorNear(int x, int y, COLORREF color, int radius) const {
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx) {
      int px = x + dx, py = y + dy;
      if (px >= 0 && py >= 0 && px < width_ && py < height_ && at(px, py) == color) return true;
    }
  return false;
}

int PixelSurface::count(COLORREF color) const {
  GdiFlush();
  // Pixels are stored as 0x00RRGGBB.
  unsigned int wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  int n = 0;
  for (size_t i = 0; i < size_t(width_) * size_t(height_); ++i) n += (bits_[i] & 0xFFFFFF) == wanted;
  return n;
}

int PixelSurface::ink() const { return width_ * height_ - count(RGB(255, 255, 255)); }

bool PixelSurface::WritePng(const std::string& path) const {
  GdiFlush();
  const unsigned char* first = reinterpret_cast<const unsigned char*>(bits_);
  std::vector<unsigned char> pixels(first, first + size_t(width_) * size_t(height_) * 4);
  for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
  std::string unixPath;
  if (!GetUnixPath(path.c_str(), &unixPath)) return false;
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(width_);
  image.height = png_uint_32(height_);
  image.format = PNG_FORMAT_BGRA;
  return png_image_write_to_file(&image, unixPath.c_str(), 0, pixels.data(), 0, nullptr) != 0;
}

Win32Thread::Win32Thread(std::function<void()> body) : body_(std::move(body)) {
  handle_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DWORD WINAPI Win32Thread::Run(void* self) {
  static_cast<Win32Thread*>(self)->body_();
  return 0;
}

bool Win32Thread::join() {
  if (!handle_) return true;
  bool done = WaitForSingleObject(handle_, 60000) == WAIT_OBJECT_0;
  CloseHandle(handle_);
  handle_ = nullptr;
  return done;
}

}  // namespace zriotest
