#include "platform/zrio/win32.h"
#include "platform/zrio/image_files.h"

#include <atomic>
#include <vector>

#include "platform/zrio/library_globals.h"
#include "platform/zrio/zrio.h"

namespace zr {

namespace {

std::atomic<DWG_IMAGE_DECODER> g_decoder{nullptr};

// Pictures above this many pixels are kept reduced: a screen never shows
// more of one.
const int64_t kMaxPixels = int64_t(8) << 20;
const int kLargestSide = 1 << 16;

bool IsFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsAbsolute(const std::string& path) {
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

std::string FileNameOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return folder;
}

std::vector<std::string> SearchFolders() {
  std::string list;
  {
    std::lock_guard<std::mutex> hold(Globals().lock);
    list = Globals().searchDirectories;
  }
  std::vector<std::string> folders;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) folders.push_back(WithBackslash(list.substr(start, end - start)));
    start = end + 1;
  }
  return folders;
}

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
  std::lock_guard<std::mutex> hold(lock_);
  size_t slash = path.find_last_of("\\/");
  folder_ = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  found_.clear();
}

std::string ImageFiles::locate(const std::string& stored) const {
  std::vector<std::string> candidates;
  if (IsAbsolute(stored)) candidates.push_back(stored);
  else if (!folder_.empty()) candidates.push_back(folder_ + stored);
  std::string name = FileNameOf(stored);
  if (!folder_.empty()) candidates.push_back(folder_ + name);
  for (const std::string& folder : SearchFolders()) candidates.push_back(folder + name);
  for (const std::string& path : candidates)
    if (IsFile(path)) return path;
  return std::string();
}

std::shared_ptr<const RasterImage> ImageFiles::find(const std::string& storedPath) {
  std::lock_guard<std::mutex> hold(lock_);
  auto it = found_.find(storedPath);
  if (it != found_.end()) return it->second;
  std::string stored = Utf8ToAnsi(storedPath);
  std::string path = stored.empty() ? std::string() : locate(stored);
  std::shared_ptr<const RasterImage> image = path.empty() ? nullptr : DecodeRasterFile(path);
  found_[storedPath] = image;
  return image;
}

}  // namespace zr

void DWG_SetImageDecoder(DWG_IMAGE_DECODER decoder) { zr::g_decoder.store(decoder); }
