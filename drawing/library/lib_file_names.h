// The names of thumbnail library files: the folder's own library, the
// numbered libraries of the cache folder, and the test that a path names a
// library file at all (paths read from an index are never trusted further).
#pragma once
#include "platform/classlib/cstring.h"

// The file name of a folder's own library.
extern const char kFolderLibName[];
// The pattern of the numbered libraries in the cache folder.
extern const char kNumberedLibPattern[];

// folder + "\" (unless it ends with one) + kFolderLibName. With mustExist set
// it is false, and out is left alone, when no such file exists.
bool MakeFolderLibPath(const char* folder, bool mustExist, CString& out);
// "QuorvantixLib" + the number with at least 6 digits + ".qrvlib".
CString MakeNumberedLibName(int number);
// True when the path's file name ends with ".qrvlib": the only files the
// cache ever writes over or deletes.
bool IsLibraryFileName(const char* path);
// folder with one trailing backslash removed.
CString StripTrailingBackslash(const char* folder);
