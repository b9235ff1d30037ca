// CPathManager: the bookmarked folders, in order, kept in the registry
// under the product key's "TypedDirs" as "TypedDir0", "TypedDir1", ...
#pragma once
#include <windows.h>

#include "graphics/containers.h"
#include "platform/classlib/cstring.h"

struct CPathItem {
    CString path;
};

class CPathManager : public OArray<CPathItem> {
public:
    // Empties the list and reads the bookmarks up to the first missing
    // number; a missing key gives an empty list. False without the key.
    bool Load();
    // Writes the list's non-empty paths numbered from 0, then removes the
    // entries the list no longer has: a save that fails part way keeps
    // every bookmark stored before. False when the key cannot be opened or
    // a value cannot be written.
    bool Save();
    // Appends the path unless a bookmark has it already (letter case not
    // counted); true when appended.
    bool AddPath(LPCSTR path);
    // The bookmark with that path (letter case not counted), which becomes
    // the current position; null when there is none.
    CPathItem* FindPath(LPCSTR path);
    // The path of the index-th bookmark (from 0), null past the end.
    LPCSTR GetAt(int index);
    void Clear() { RemoveAll(); }
};
