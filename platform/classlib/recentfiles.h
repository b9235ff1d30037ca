// CRecentFileList: the most recently used files, newest first, kept in a
// profile section as "File1", "File2"... (the entry format).
#pragma once
#include <windows.h>
#include <vector>
#include "platform/classlib/cstring.h"

class CRecentFileList {
public:
    CRecentFileList(LPCSTR section, LPCSTR entryFormat, int size);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return (int)m_names.size(); }
    // The path at the index; empty for an unused place.
    const CString& operator[](int index) const { return m_names[index]; }

    // Puts the file (as a full path) first; a path already in the list
    // (compared without regard to case) moves up, the oldest falls off.
    virtual void Add(LPCSTR path);
    virtual void Remove(int index);
    virtual void ReadList();
    // Replaces the profile section with the used places.
    virtual void WriteList();

protected:
    std::vector<CString> m_names;
    CString m_section;
    CString m_entryFormat;
};
