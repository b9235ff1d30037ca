// Files handed between the program and the shell: the dropped-file block
// (CF_HDROP) that drags and the clipboard carry, the clipboard's
// "Preferred DropEffect", and the one shell operation that copies or moves
// dropped files into a folder.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <vector>

#include "platform/classlib/cstring.h"

// The block: a 20-byte header (file list offset 20, drop point 0,0, not
// non-client, 8-bit texts), then each path with its NUL and one more NUL;
// exactly that size. Null when it cannot be allocated.
HGLOBAL BuildDroppedFileBlock(const std::vector<CString>& paths);

// The names a dropped-file block holds, in order; unreadable ones skipped.
std::vector<CString> ReadDroppedFiles(HDROP drop);

// The clipboard's "Preferred DropEffect", 0 when it has none.
DWORD GetPreferredDropEffect();

// Puts the paths on the clipboard as a dropped-file block, with a
// "Preferred DropEffect" when effect is not 0 (DROPEFFECT_MOVE: the files
// were cut). False when the clipboard could not be opened or written.
bool PutFilesOnClipboard(HWND owner, const std::vector<CString>& paths, DWORD effect);

// The files named on the clipboard; false when it holds no dropped files.
bool ReadClipboardFiles(HWND owner, std::vector<CString>& paths);

// Copies (or with DROPEFFECT_MOVE moves) the files into the folder, each
// under its own name, in one shell operation owned by the window. Left
// where they are: a drive root, a file already in the folder, and a folder
// dropped into itself or into a folder inside it. True when the shell
// reports success for the rest; false when none is left.
bool TransferFiles(HWND owner, const std::vector<CString>& sources, const CString& folder, DWORD effect);
