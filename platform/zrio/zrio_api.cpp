// The library's flat functions.
#include "platform/zrio/win32.h"
#include "platform/zrio/zrio.h"

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/zrio/dwg_preview.h"
#include "platform/zrio/dwg_worker.h"
#include "platform/zrio/library_globals.h"

using zr::Globals;

int InitDLL() {
  zr::StartDwgWorkerAhead();
  return 1;
}

void UninitDLL() {
  zr::ReleaseDwgWorkers();
  std::lock_guard<std::mutex> hold(Globals().lock);
  Globals().passwords.clear();
}

namespace {

void SetFolders(std::string zr::LibraryGlobals::*list, const char* paths) {
  std::lock_guard<std::mutex> hold(Globals().lock);
  Globals().*list = paths ? paths : "";
}

int GetFolders(std::string zr::LibraryGlobals::*list, char* buffer, int size) {
  std::lock_guard<std::mutex> hold(Globals().lock);
  const std::string& paths = Globals().*list;
  if (buffer && size > 0) lstrcpynA(buffer, paths.c_str(), size);
  return int(paths.size());
}

}  // namespace

void DWG_SetSearchDirectories(const char* paths) {
  SetFolders(&zr::LibraryGlobals::searchDirectories, paths);
}

int DWG_GetSearchDirectories(char* buffer, int size) {
  return GetFolders(&zr::LibraryGlobals::searchDirectories, buffer, size);
}

void DWG_SetUserSearchDirectories(const char* paths) {
  SetFolders(&zr::LibraryGlobals::userSearchDirectories, paths);
}

int DWG_GetUserSearchDirectories(char* buffer, int size) {
  return GetFolders(&zr::LibraryGlobals::userSearchDirectories, buffer, size);
}

void DWG_SetFileAboutFunc(DWG_ABORT_FUNC query, void* user) {
  std::lock_guard<std::mutex> hold(Globals().lock);
  Globals().viewAbort = query;
  Globals().viewAbortUser = user;
}

void DWG_SetFileAboutFunc_2(DWG_ABORT_FUNC query, void* user) {
  std::lock_guard<std::mutex> hold(Globals().lock);
  Globals().thumbnailAbort = query;
  Globals().thumbnailAbortUser = user;
}

void DWG_SetProgressCallBackFuns(DWG_LOAD_BEGIN_FUNC begin, DWG_LOAD_PROGRESS_FUNC progress,
                                 DWG_LOAD_END_FUNC end) {
  std::lock_guard<std::mutex> hold(Globals().lock);
  Globals().loadBegin = begin;
  Globals().loadProgress = progress;
  Globals().loadEnd = end;
}

bool lppp(const char* path, unsigned char** buffer, long* length) {
  if (buffer) *buffer = nullptr;
  if (length) *length = 0;
  if (!path || !buffer || !length) return false;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  std::vector<char> data;
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < 0x40000000;
  if (ok) {
    data.assign(size_t(size.QuadPart) + 1, 0);
    DWORD done = 0;
    ok = ReadFile(file, data.data(), DWORD(size.QuadPart), &done, nullptr) &&
         done == DWORD(size.QuadPart);
  }
  CloseHandle(file);
  std::vector<uint8_t> bmp;
  if (!ok || !zr::ExtractPreviewBmp(data.data(), data.size() - 1, &bmp)) return false;
  *buffer = new unsigned char[bmp.size()];
  memcpy(*buffer, bmp.data(), bmp.size());
  *length = long(bmp.size());
  return true;
}

void ppll(unsigned char** buffer) {
  if (!buffer) return;
  delete[] *buffer;
  *buffer = nullptr;
}

void DWG_SetBackgroundColor(COLORREF color) { Globals().background = color; }

COLORREF DWG_GetBackgroundColor() { return Globals().background; }

void CommonPenSets_SetDPI(int dpi) { Globals().dpi = dpi < 0 ? 0 : dpi; }

void CommonPenSets_SetPens(const short* colorIndexes, const double* widths, int count) {
  std::vector<zr::PenSetPen> pens;
  if (colorIndexes && widths && count > 0) {
    pens.resize(size_t(std::min(count, 256)));
    for (size_t i = 0; i < pens.size(); ++i) {
      pens[i].colorIndex = colorIndexes[i];
      pens[i].width = int(std::max(0.0, std::min(widths[i], 1000.0)));
    }
  }
  std::lock_guard<std::mutex> hold(Globals().lock);
  Globals().pens.swap(pens);
}

char* g_U2A(const wchar_t* text) {
  static thread_local std::vector<char> buffer;
  const WCHAR* wide = reinterpret_cast<const WCHAR*>(text);
  if (!wide) {
    buffer.assign(1, 0);
    return buffer.data();
  }
  int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  buffer.assign(size_t(n > 0 ? n : 1), 0);
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer.data(), n, nullptr, nullptr);
  return buffer.data();
}

void DWG_TestRequirePassword(const char* path, const char* password) {
  std::lock_guard<std::mutex> hold(Globals().lock);
  if (!path) {
    Globals().passwords.clear();
    return;
  }
  std::string key(path);
  CharUpperBuffA(&key[0], DWORD(key.size()));
  Globals().passwords[key] = password ? password : "";
}
