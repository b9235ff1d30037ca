// Settings shared by every drawing of the process: load callbacks,
// background colour, pen dpi and pen set, search folders and the password
// test hook.
#pragma once
#include "platform/zrio/win32.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/zrio/screen_sink.h"
#include "platform/zrio/zrio.h"

namespace zr {

struct LibraryGlobals {
  std::mutex lock;
  DWG_ABORT_FUNC viewAbort = nullptr;
  void* viewAbortUser = nullptr;
  DWG_ABORT_FUNC thumbnailAbort = nullptr;
  void* thumbnailAbortUser = nullptr;
  DWG_LOAD_BEGIN_FUNC loadBegin = nullptr;
  DWG_LOAD_PROGRESS_FUNC loadProgress = nullptr;
  DWG_LOAD_END_FUNC loadEnd = nullptr;
  COLORREF background = RGB(0, 0, 0);
  int dpi = 0;
  std::vector<PenSetPen> pens;  // under `lock`
  std::string searchDirectories;      // the host CAD program's support folders
  std::string userSearchDirectories;  // the folders of the search-path dialog
  std::map<std::string, std::string> passwords;  // upper-case path -> password
};

LibraryGlobals& Globals();

// Format version code of a version text such as "AC1015"; -1 when unknown.
short VersionCodeOf(const std::string& acadver);

// ANSI (code page of the process) <-> UTF-8.
std::string AnsiToUtf8(const std::string& ansi);
std::string Utf8ToAnsi(const std::string& utf8);

}  // namespace zr
