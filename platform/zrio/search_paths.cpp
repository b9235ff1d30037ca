#include "platform/zrio/win32.h"
#include "platform/zrio/search_paths.h"

#include <mutex>

#include "platform/zrio/library_globals.h"

namespace zr {

namespace {

// The folders of a list separated by ';', trimmed, empty ones left out.
std::vector<std::string> SplitFolders(const std::string& list) {
  std::vector<std::string> folders;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    std::string folder = list.substr(start, end - start);
    size_t first = folder.find_first_not_of(" \t");
    if (first != std::string::npos)
      folders.push_back(folder.substr(first, folder.find_last_not_of(" \t") - first + 1));
    start = end + 1;
  }
  return folders;
}

}  // namespace

std::vector<std::string> SearchFolders() {
  std::string user, host;
  {
    LibraryGlobals& g = Globals();
    std::lock_guard<std::mutex> hold(g.lock);
    user = g.userSearchDirectories;
    host = g.searchDirectories;
  }
  std::vector<std::string> folders;
  for (const std::string& list : {user, host})
    for (const std::string& folder : SplitFolders(list)) {
      bool listed = false;
      for (const std::string& f : folders)
        listed = listed || lstrcmpiA(f.c_str(), folder.c_str()) == 0;
      if (!listed) folders.push_back(folder);
    }
  return folders;
}

}  // namespace zr
