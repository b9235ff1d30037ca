// Writing a whole file safely: the bytes go to a new temporary file in the
// target's folder, which is renamed over the target only when complete.
#pragma once
#include <windows.h>

enum ReplaceFileResult {
    ReplaceFileDone = 0,
    ReplaceFileBadName,       // the path has no folder and file name
    ReplaceFileCannotCreate,  // no temporary file could be made in the folder
    ReplaceFileCannotWrite,   // the bytes could not all be written
    ReplaceFileCannotRename,  // the target could not be replaced
};

// On any failure the target is left as it was and no temporary file stays.
ReplaceFileResult ReplaceFileWithBytes(const char* path, const void* bytes, DWORD size);
