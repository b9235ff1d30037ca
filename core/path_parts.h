// Splitting a path into drive, folder, name and extension, the way the C
// runtime's _splitpath does: the drive is "X:" when the second character is
// a colon; the folder runs to the last backslash or slash (inclusive); the
// extension starts at the last dot of the file-name part and keeps its dot.
// Double-byte characters are stepped over whole, so a trail byte that looks
// like a backslash or a dot never splits a name.
#pragma once
#include "platform/classlib/cstring.h"

struct PathParts {
    CString drive;
    CString folder;
    CString name;
    CString extension;

    PathParts() = default;
    explicit PathParts(const char* path) { Split(path); }

    // A null path gives four empty parts.
    void Split(const char* path);
    CString Join() const { return drive + folder + name + extension; }
};
