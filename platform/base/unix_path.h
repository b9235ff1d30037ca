// The Unix name of a Win32 path, for native libraries that open files by
// path. Wine maps every drive to a Unix folder.
#pragma once
#include <string>

// False when the path is empty or Wine has no Unix name for it.
bool GetUnixPath(const char* win32Path, std::string* unixPath);
