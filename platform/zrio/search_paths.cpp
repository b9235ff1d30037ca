#include "platform/zrio/win32.h"
#include "platform/zrio/search_paths.h"

#include <algorithm>
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

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string Joined(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return IsSeparator(folder.back()) ? folder + name : folder + "\\" + name;
}

bool IsAbsolute(const std::string& path) {
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && IsSeparator(path[0]));
}

bool IsFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return n > 0 && n < sizeof full ? std::string(full, n) : path;
}

std::string FindReferencedFile(const std::string& stored, const std::vector<std::string>& folders) {
  std::string path = stored;
  std::replace(path.begin(), path.end(), '/', '\\');
  std::string name = path.substr(path.find_last_of('\\') + 1);
  if (name.empty()) return std::string();
  std::vector<std::string> places;
  if (IsAbsolute(path)) places.push_back(path);
  for (const std::string& folder : folders) {
    if (!IsAbsolute(path)) places.push_back(Joined(folder, path));
    places.push_back(Joined(folder, name));
  }
  for (const std::string& searched : SearchFolders()) places.push_back(Joined(searched, name));
  for (const std::string& place : places)
    if (IsFile(place)) return FullPath(place);
  return std::string();
}

}  // namespace zr
