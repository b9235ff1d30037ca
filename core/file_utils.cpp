#include "core/file_utils.h"

#include <string.h>

#include "core/path_parts.h"
#include "platform/classlib/file.h"

namespace {

bool HasWildcard(const char* path)
{
    return strpbrk(path, "*?") != nullptr;
}

// Byte index of the last backslash that ends a whole character, or -1.
int LastBackslash(const char* text, int length)
{
    int found = -1;
    for (int i = 0; i < length; i += ClasslibCharLength(text, length, i)) {
        if (text[i] == '\\' && !ClasslibIsLeadByte(text[i]))
            found = i;
    }
    return found;
}

bool EndsWithBackslash(const char* text, int length)
{
    return length > 0 && LastBackslash(text, length) == length - 1;
}

// The entry the path names (attributes, times, size); false for wildcards,
// for paths that end with a backslash and for paths that name nothing. One
// lookup of the name: searching for it would read the whole folder.
bool FindEntry(const char* path, WIN32_FILE_ATTRIBUTE_DATA& entry)
{
    if (!path || !*path || HasWildcard(path) || EndsWithBackslash(path, (int)strlen(path)))
        return false;
    return GetFileAttributesExA(path, GetFileExInfoStandard, &entry) != 0;
}

bool IsFolderEntry(const WIN32_FILE_ATTRIBUTE_DATA& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFolder(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA entry;
    return FindEntry(path, entry) && IsFolderEntry(entry);
}

}  // namespace

bool GetFileModifiedTime(const char* path, FILETIME& time)
{
    time.dwLowDateTime = 0;
    time.dwHighDateTime = 0;
    WIN32_FILE_ATTRIBUTE_DATA entry;
    if (!FindEntry(path, entry))
        return false;
    return FileTimeToLocalFileTime(&entry.ftLastWriteTime, &time) != 0;
}

uint64_t GetFileSizeByName(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA entry;
    if (!FindEntry(path, entry))
        return 0;
    return ((uint64_t)entry.nFileSizeHigh << 32) | entry.nFileSizeLow;
}

bool FileExists(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA entry;
    return FindEntry(path, entry) && !IsFolderEntry(entry);
}

bool DirectoryExists(const char* path)
{
    if (!path || HasWildcard(path))
        return false;
    int length = (int)strlen(path);
    if (EndsWithBackslash(path, length)) {
        CString folder(path, length - 1);
        if (LastBackslash(folder, folder.GetLength()) < 0) {
            UINT kind = GetDriveTypeA(path);
            return kind == DRIVE_FIXED || kind == DRIVE_REMOTE;
        }
        return IsFolder(folder);
    }
    return IsFolder(path);
}

bool CreateDirectories(const char* path)
{
    if (!path || !*path)
        return true;
    int length = (int)strlen(path);
    if (length >= MAX_PATH)
        return false;
    for (int i = 0; i < length; i += ClasslibCharLength(path, length, i)) {
        if (path[i] != '\\' || ClasslibIsLeadByte(path[i]) || i == 0 || path[i - 1] == ':')
            continue;
        CString prefix(path, i);
        if (!DirectoryExists(prefix) && !CreateDirectoryA(prefix, nullptr))
            return false;
    }
    if (EndsWithBackslash(path, length) || DirectoryExists(path))
        return true;
    return CreateDirectoryA(path, nullptr) != 0;
}

bool EndsWithBackslash(const char* path)
{
    return path && EndsWithBackslash(path, (int)strlen(path));
}

CString AddTrailingBackslash(const char* path)
{
    CString result(path);
    if (!EndsWithBackslash(path))
        result += '\\';
    return result;
}

CString GetFileDir(const char* path)
{
    PathParts parts(path);
    return parts.drive + parts.folder;
}

CString GetProgramPath()
{
    char program[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(NULL, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return CString();
    return CString(program);
}

CString GetProgramFolder()
{
    CString program = GetProgramPath();
    return program.IsEmpty() ? program : GetFileDir(program);
}

CString GetFileNameExt(const char* path)
{
    PathParts parts(path);
    return parts.name + parts.extension;
}

CString GetFileExt(const char* path)
{
    return PathParts(path).extension;
}

CString ReplaceFileExt(const char* path, const char* newExtension)
{
    PathParts parts(path);
    parts.extension = newExtension ? newExtension : "";
    return parts.Join();
}

CString ReadStringFromFile(CFile& file)
{
    CString text;
    char ch = 0;
    while (file.Read(&ch, 1) == 1 && ch != '\0')
        text += ch;
    return text;
}
