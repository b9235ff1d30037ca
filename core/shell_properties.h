// The shell's own properties dialog of a file.
#pragma once
#include <windows.h>

// Asks the shell to show the properties of the file (the "properties" verb
// through its id list); false when the shell refused.
bool ShowShellProperties(HWND owner, const char* path);
