// File and folder tests, path splitting and folder creation. Paths are
// ANSI texts in the Windows code page. Paths holding the wildcards '*' or
// '?' name no file and no folder.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "platform/classlib/cstring.h"

class CFile;

// The last-write time of the file as local time; false (time zeroed) when
// the path names nothing.
bool GetFileModifiedTime(const char* path, FILETIME& time);
// The size of the file, or 0 when the path names nothing.
uint64_t GetFileSizeByName(const char* path);
// True when the path names something that is not a folder.
bool FileExists(const char* path);
// True when the path names a folder. A drive root ("C:\\") counts only for
// fixed and network drives.
bool DirectoryExists(const char* path);
// Creates the folder and every missing folder above it; true when it
// exists afterwards (an empty path gives true). Paths of MAX_PATH bytes or
// more give false.
bool CreateDirectories(const char* path);

// True when the path's last character is a backslash (a double-byte
// character whose trail byte is 0x5C does not count).
bool EndsWithBackslash(const char* path);
// The path with a backslash appended unless it already ends with one.
CString AddTrailingBackslash(const char* path);

// Drive and folder of the path (ending with a backslash when it has one).
CString GetFileDir(const char* path);
// The program file's full path; empty when it cannot be had.
CString GetProgramPath();
// The folder of the program file, ending with a backslash; empty when the
// program's path cannot be had.
CString GetProgramFolder();
// File name with extension.
CString GetFileNameExt(const char* path);
// The extension with its dot, or empty.
CString GetFileExt(const char* path);
// The path with its extension replaced by newExtension; null removes it.
CString ReplaceFileExt(const char* path, const char* newExtension);

// Bytes of an open file up to a zero byte or the end of the file, without
// the zero byte. Errors of the file (exceptions) reach the caller.
CString ReadStringFromFile(CFile& file);
