#include "platform/zrio/win32.h"
#include "platform/zrio/drawing_file.h"

#include <algorithm>

#include "platform/zrio/dwg_preview.h"

namespace zr {

namespace {

// Bytes a file's kind is told by: the DWG family's version text.
const size_t kKindBytes = 64;

}  // namespace

DrawingFile::DrawingFile(const char* path)
    : m_handle(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

DrawingFile::~DrawingFile() { close(); }

void DrawingFile::close() {
  if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
  m_handle = INVALID_HANDLE_VALUE;
}

bool DrawingFile::read(size_t size, std::vector<char>* data) {
  if (SetFilePointer(m_handle, 0, nullptr, FILE_BEGIN) != 0) return false;
  data->assign(size + 1, 0);
  size_t at = 0;
  while (at < size) {
    DWORD done = 0, chunk = DWORD(std::min<size_t>(size - at, 1 << 24));
    if (!ReadFile(m_handle, data->data() + at, chunk, &done, nullptr) || done == 0) return false;
    at += done;
  }
  return true;
}

bool DrawingFile::readKind(std::vector<char>* data, bool* dwg) {
  LARGE_INTEGER size;
  if (m_handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(m_handle, &size) || size.QuadPart < 0 ||
      size.QuadPart >= 0x7FFFFFFF)
    return false;
  size_t whole = size_t(size.QuadPart);
  if (!read(std::min(whole, kKindBytes), data)) return false;
  *dwg = IsDwgFamily(data->data(), data->size() - 1);
  if (!*dwg) return true;
  bool complete = read(whole, data);
  // Nothing more is read from it. Closed now, not after the DWG read that
  // follows: that takes a while, Wine's server sits idle meanwhile, and the
  // first call it gets after idling costs a tenth of a millisecond more.
  close();
  return complete;
}

HANDLE DrawingFile::dxfHandle() {
  if (m_handle == INVALID_HANDLE_VALUE || SetFilePointer(m_handle, 0, nullptr, FILE_BEGIN) != 0)
    return nullptr;
  return m_handle;
}

std::string UpperPath(const char* path) {
  std::string s(path ? path : "");
  CharUpperBuffA(&s[0], DWORD(s.size()));
  return s;
}

}  // namespace zr
