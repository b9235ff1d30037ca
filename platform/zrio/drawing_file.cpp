#include "platform/zrio/win32.h"
#include "platform/zrio/drawing_file.h"

#include <algorithm>

namespace zr {

bool ReadWholeFile(const char* path, std::vector<char>* data) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 && size.QuadPart < 0x7FFFFFFF;
  if (ok) {
    data->assign(size_t(size.QuadPart) + 1, 0);
    DWORD done = 0;
    size_t at = 0;
    while (ok && at < size_t(size.QuadPart)) {
      DWORD chunk = DWORD(std::min<size_t>(size_t(size.QuadPart) - at, 1 << 24));
      ok = ReadFile(file, data->data() + at, chunk, &done, nullptr) && done > 0;
      at += done;
    }
    if (ok) data->back() = 0;
  }
  CloseHandle(file);
  return ok;
}


std::string UpperPath(const char* path) {
  std::string s(path ? path : "");
  CharUpperBuffA(&s[0], DWORD(s.size()));
  return s;
}

}  // namespace zr
