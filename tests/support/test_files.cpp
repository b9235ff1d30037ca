#include "tests/support/test_files.h"

#include <algorithm>

#include <windows.h>

namespace testfiles {

std::string SourceDir() { return HARBECK_SOURCE_DIR; }
std::string BinaryDir() { return HARBECK_BINARY_DIR; }

std::string ToWinePath(const std::string& unixPath)
{
    std::string result = "Z:";
    for (char c : unixPath)
        result += (c == '/') ? '\\' : c;
    return result;
}

std::string MakeScratchFolder(const std::string& hint)
{
    static LONG counter = 0;
    std::string root = ToWinePath(BinaryDir()) + "\\scratch";
    CreateDirectoryA(root.c_str(), NULL);
    for (;;) {
        char name[64];
        wsprintfA(name, "\\%s-%lu-%ld", hint.c_str(), GetCurrentProcessId(),
                  InterlockedIncrement(&counter));
        std::string folder = root + name;
        if (CreateDirectoryA(folder.c_str(), NULL))
            return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return std::string();
    }
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool ReadFileBytes(const std::string& path, std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF;
    if (ok) {
        bytes.resize((size_t)size.QuadPart);
        DWORD read = 0;
        ok = bytes.empty() ||
             (ReadFile(file, &bytes[0], (DWORD)bytes.size(), &read, NULL) && read == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

std::vector<std::string> FileNamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace testfiles
