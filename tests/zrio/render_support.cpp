#include "tests/zrio/render_support.h"

#include "platform/base/unix_path.h"

#include "platform/native/native_begin.h"
#include <png.h>
#include "platform/native/native_end.h"

namespace zriotest {

PixelSurface::PixelSurface(int width, int height) : m_width(width), m_height(height) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  m_dc = CreateCompatibleDC(nullptr);
  m_bitmap = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  m_bits = static_cast<const unsigned int*>(bits);
  m_old = SelectObject(m_dc, m_bitmap);
}

PixelSurface::~PixelSurface() {
  SelectObject(m_dc, m_old);
  DeleteObject(m_bitmap);
  DeleteDC(m_dc);
}

COLORREF PixelSurface::at(int x, int y) const {
  GdiFlush();
  unsigned int v = m_bits[size_t(y) * size_t(m_width) + size_t(x)];
  return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
}

bool PixelSurface::hasColorNear(int x, int y, COLORREF color, int radius) const {
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx) {
      int px = x + dx, py = y + dy;
      if (px >= 0 && py >= 0 && px < m_width && py < m_height && at(px, py) == color) return true;
    }
  return false;
}

int PixelSurface::count(COLORREF color) const {
  GdiFlush();
  // Pixels are stored as 0x00RRGGBB.
  unsigned int wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  int n = 0;
  for (size_t i = 0; i < size_t(m_width) * size_t(m_height); ++i) n += (m_bits[i] & 0xFFFFFF) == wanted;
  return n;
}

int PixelSurface::ink() const { return m_width * m_height - count(RGB(255, 255, 255)); }

bool PixelSurface::WritePng(const std::string& path) const {
  GdiFlush();
  const unsigned char* first = reinterpret_cast<const unsigned char*>(m_bits);
  std::vector<unsigned char> pixels(first, first + size_t(m_width) * size_t(m_height) * 4);
  for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
  std::string unixPath;
  if (!GetUnixPath(path.c_str(), &unixPath)) return false;
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(m_width);
  image.height = png_uint_32(m_height);
  image.format = PNG_FORMAT_BGRA;
  return png_image_write_to_file(&image, unixPath.c_str(), 0, pixels.data(), 0, nullptr) != 0;
}

Win32Thread::Win32Thread(std::function<void()> body) : m_body(std::move(body)) {
  m_handle = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DWORD WINAPI Win32Thread::Run(void* self) {
  static_cast<Win32Thread*>(self)->m_body();
  return 0;
}

bool Win32Thread::join() {
  if (!m_handle) return true;
  bool done = WaitForSingleObject(m_handle, 60000) == WAIT_OBJECT_0;
  CloseHandle(m_handle);
  m_handle = nullptr;
  return done;
}

}  // namespace zriotest
