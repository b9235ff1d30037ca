// Where the library looks for the files a drawing refers to (external
// references, fonts, images): the folders the user listed in the search-path
// dialog, then the host CAD program's support folders handed over at start.
#pragma once
#include "platform/zrio/win32.h"

#include <string>
#include <vector>

namespace zr {

// Both lists, in that order, each folder once (compared without case),
// without blanks around them.
std::vector<std::string> SearchFolders();

// The full form of a path (ANSI); the path itself when it has none.
std::string FullPath(const std::string& path);

// The file a stored path (ANSI) names, as a full path: the path itself when
// it is absolute; else, in each of the folders in turn, the path relative to
// the folder and then its file name in the folder; last its file name in the
// search folders. Empty when it is nowhere to be found.
std::string FindReferencedFile(const std::string& stored, const std::vector<std::string>& folders);

}  // namespace zr
