#include "platform/zrio/win32.h"
#include "platform/zrio/drawing_file.h"

#include <algorithm>

#include "platform/base/unix_path.h"
#include "platform/zrio/dwg_preview.h"

namespace zr {

namespace {

// Bytes a file's kind is told by: the DWG family's version text.
const size_t kKindBytes = 64;

std::string UnixNameOf(const char* path) {
  std::string name;
  return GetUnixPath(path, &name) ? name : std::string();
}

HANDLE OpenForReading(const char* path) {
  return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

DrawingFile::DrawingFile(const char* path)
    : m_path(path ? path : ""),
      m_native(UnixNameOf(path)),
      m_handle(m_native.isOpen() ? INVALID_HANDLE_VALUE : OpenForReading(path)) {}

DrawingFile::~DrawingFile() { close(); }

void DrawingFile::close() {
  m_native.close();
  if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
  m_handle = INVALID_HANDLE_VALUE;
}

bool DrawingFile::size(long long* bytes) {
  if (m_native.isOpen()) return m_native.size(bytes);
  LARGE_INTEGER length;
  if (m_handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(m_handle, &length)) return false;
  *bytes = length.QuadPart;
  return true;
}

bool DrawingFile::read(size_t size, std::vector<char>* data) {
  data->assign(size + 1, 0);
  if (m_native.isOpen()) return m_native.readStart(size, data->data());
  if (SetFilePointer(m_handle, 0, nullptr, FILE_BEGIN) != 0) return false;
  size_t at = 0;
  while (at < size) {
    DWORD done = 0, chunk = DWORD(std::min<size_t>(size - at, 1 << 24));
    if (!ReadFile(m_handle, data->data() + at, chunk, &done, nullptr) || done == 0) return false;
    at += done;
  }
  return true;
}

bool DrawingFile::readKind(std::vector<char>* data, bool* dwg) {
  long long bytes = 0;
  if (!size(&bytes) || bytes < 0 || bytes >= 0x7FFFFFFF) return false;
  size_t whole = size_t(bytes);
  if (!read(std::min(whole, kKindBytes), data)) return false;
  *dwg = IsDwgFamily(data->data(), data->size() - 1);
  if (!*dwg) return true;
  bool complete = read(whole, data);
  // Nothing more is read from it: closed now, not after the DWG read that
  // follows, which takes a while.
  close();
  return complete;
}

HANDLE DrawingFile::dxfHandle() {
  if (m_native.isOpen()) {
    m_native.close();
    m_handle = OpenForReading(m_path.c_str());
  }
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
