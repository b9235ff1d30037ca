#include "platform/zrio/win32.h"
#include "platform/zrio/image_files.h"

#include <atomic>
#include <vector>

#include "platform/zrio/drawing_file.h"
#include "platform/zrio/library_globals.h"
#include "platform/zrio/search_paths.h"
#include "platform/zrio/zrio.h"

namespace zr {

namespace {

std::atomic<DWG_IMAGE_DECODER> g_decoder{nullptr};

// Pictures above this many pixels are kept reduced: a screen never shows
// more of one.
const int64_t kMaxPixels = int64_t(8) << 20;
const int kLargestSide = 1 << 16;

// The rows of a bitmap, every step-th row and column, into a picture.
bool CopyPixels(HBITMAP bitmap, int width, int height, int step, RasterImage* image) {
  image->width = (width + step - 1) / step;
  image->height = (height + step - 1) / step;
  image->pixels.resize(size_t(image->width) * size_t(image->height));
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up: scan line 0 is the bottom row
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> row(static_cast<size_t>(width));
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  bool ok = true;
  for (int y = 0; y < image->height && ok; ++y) {
    ok = GetDIBits(dc, bitmap, UINT(height - 1 - y * step), 1, row.data(), &info, DIB_RGB_COLORS) == 1;
    for (int x = 0; x < image->width && ok; ++x)
      image->pixels[size_t(y) * size_t(image->width) + size_t(x)] = row[size_t(x) * size_t(step)];
  }
  DeleteDC(dc);
  return ok;
}

}  // namespace

std::shared_ptr<const RasterImage> DecodeRasterFile(const std::string& ansiPath) {
  DWG_IMAGE_DECODER decoder = g_decoder.load();
  if (!decoder) return nullptr;
  HBITMAP bitmap = decoder(ansiPath.c_str());
  if (!bitmap) return nullptr;
  BITMAP size = {};
  std::shared_ptr<RasterImage> image;
  if (GetObjectA(bitmap, sizeof size, &size) == sizeof size && size.bmWidth > 0 && size.bmHeight > 0 &&
      size.bmWidth <= kLargestSide && size.bmHeight <= kLargestSide) {
    int step = 1;
    while (int64_t(size.bmWidth / step) * int64_t(size.bmHeight / step) > kMaxPixels) ++step;
    image = std::make_shared<RasterImage>();
    if (!CopyPixels(bitmap, size.bmWidth, size.bmHeight, step, image.get())) image.reset();
  }
  DeleteObject(bitmap);
  return image;
}

void ImageFiles::setDrawing(const std::string& path) {
  std::lock_guard<std::mutex> hold(m_lock);
  size_t slash = path.find_last_of("\\/");
  m_folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  m_found.clear();
  m_decoded.clear();
}

std::shared_ptr<const RasterImage> ImageFiles::find(const std::string& storedPath,
                                                    const std::string& referenceFolder) {
  std::lock_guard<std::mutex> hold(m_lock);
  std::pair<std::string, std::string> key(referenceFolder, storedPath);
  auto it = m_found.find(key);
  if (it != m_found.end()) return it->second;
  std::vector<std::string> folders;
  if (!referenceFolder.empty()) folders.push_back(referenceFolder);
  if (!m_folder.empty()) folders.push_back(m_folder);
  std::string stored = Utf8ToAnsi(storedPath);
  std::string path = stored.empty() ? std::string() : FindReferencedFile(stored, folders);
  std::shared_ptr<const RasterImage> image;
  if (!path.empty()) {
    std::string file = UpperPath(path.c_str());
    auto decoded = m_decoded.find(file);
    image = decoded != m_decoded.end() ? decoded->second : DecodeRasterFile(path);
    m_decoded[file] = image;
  }
  m_found[key] = image;
  return image;
}

}  // namespace zr

void DWG_SetImageDecoder(DWG_IMAGE_DECODER decoder) { zr::g_decoder.store(decoder); }
