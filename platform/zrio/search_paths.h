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

}  // namespace zr
