// Shortcuts (".lnk" files) to dropped files, made by the shell's own link
// object so that the shell and other programs resolve them.
#pragma once
#include <windows.h>

#include <vector>

#include "platform/classlib/cstring.h"

// Makes one shortcut per target in the folder (which ends with "\\"),
// named as the shell names new shortcuts; a name that is taken gets a
// number, so no existing file is ever replaced. True when every shortcut
// was made. The calling thread has COM initialised.
bool MakeShortcuts(const std::vector<CString>& targets, const CString& folder);
