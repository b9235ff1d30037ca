// The shell's folder dialog.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "platform/classlib/cstring.h"

// Lets the user choose a folder, starting at path when that is an existing
// folder (else path is emptied first). True with path set to the chosen
// folder; false when cancelled (path as after the check) or when the shell
// allocator is not available.
bool BrowseForFolder(HWND owner, const char* title, CString& path);

// The dialog's callback: selects the start folder given as data and shows
// the selected folder's path as status text.
int CALLBACK BrowseFolderCallback(HWND window, UINT message, LPARAM item, LPARAM data);
