// Reading a drawing file's bytes, and comparing paths.
#pragma once
#include "platform/zrio/win32.h"

#include <string>
#include <vector>

namespace zr {

// The whole file (ANSI path) followed by one zero byte, which the DXF
// reader wants; false when it cannot be read or is 2 GB or larger.
bool ReadWholeFile(const char* path, std::vector<char>* data);

// Upper-case copy of an ANSI path, for comparing paths without case.
std::string UpperPath(const char* path);

}  // namespace zr
