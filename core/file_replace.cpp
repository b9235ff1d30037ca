#include "core/file_replace.h"

ReplaceFileResult ReplaceFileWithBytes(const char* path, const void* bytes, DWORD size)
{
    char folder[MAX_PATH];
    char* namePart = nullptr;
    DWORD length = GetFullPathNameA(path, MAX_PATH, folder, &namePart);
    if (length == 0 || length >= MAX_PATH || !namePart || !*namePart)
        return ReplaceFileBadName;
    *namePart = 0;
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder, "hbk", 0, temporary))
        return ReplaceFileCannotCreate;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(temporary);
        return ReplaceFileCannotCreate;
    }
    DWORD done = 0;
    bool written = WriteFile(file, bytes, size, &done, nullptr) && done == size;
    written = CloseHandle(file) && written;
    if (!written) {
        DeleteFileA(temporary);
        return ReplaceFileCannotWrite;
    }
    if (!MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        DeleteFileA(temporary);
        return ReplaceFileCannotRename;
    }
    return ReplaceFileDone;
}
