// C `FILE` streams for Win32 paths. The C library of this build takes Unix
// paths, so a Win32 path ("Z:\\a\\b.jpg", or any drive Wine maps) is turned
// into the Unix name of the same file before it is opened.
#pragma once
#include <stdio.h>

// Opens the file at a Win32 (ANSI) path with the C library's mode text;
// null when the path has no Unix name or the file cannot be opened.
FILE* OpenWin32File(const char* path, const char* mode);
