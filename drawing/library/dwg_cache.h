// The front of the thumbnail cache: the folder the task thread works on and
// that folder's library while caching is enabled. One instance per process.
//
// The task thread uses the library while the options may switch caching on
// or off on the UI thread: the library pointer is changed, and the library
// used, only under the cache's lock. The UI thread is the only one that
// changes the pointer, so its own reads of it need no lock.
#pragma once
#include <windows.h>

#include "platform/classlib/critical_section.h"
#include "platform/classlib/cstring.h"

class KBMP;
class TImageLib;

class TDwgCache {
public:
    explicit TDwgCache(bool enabled);
    virtual ~TDwgCache();
    TDwgCache(const TDwgCache&) = delete;
    TDwgCache& operator=(const TDwgCache&) = delete;

    bool IsEnabled() const { return m_library != nullptr; }
    // Creates or deletes the library (deleting it waits for its writer).
    void Enable(bool on);

    // Holds the folder (with a trailing backslash) when it differs, without
    // regard to case, from the one held; false for a null folder.
    bool SetFolder(const char* folder);
    // Empties the library's list and marks the folder's library for loading.
    void ClearList();
    // Loads the folder's library when marked.
    void LoadIfPending();
    // A copy of the cached thumbnail of the file, for the size in the
    // thumbnail's box.
    bool Lookup(const char* path, KBMP* thumbnail);
    void AddImage(const char* path, const KBMP* thumbnail, int width, int height);
    // Hands the folder's thumbnails to the writer (or deletes its library
    // when none is left), then forgets the folder.
    void Save(bool force, int width, int height);
    // The thumbnail size stored in the folder's library file.
    bool CheckLibFile(const char* folder, int& width, int& height) const;

    // The library, for tests and the benchmarks; null while disabled.
    TImageLib* GetLibrary() const { return m_library; }

private:
    mutable CCriticalSection m_lock;
    CString m_folder;
    TImageLib* m_library;
    BYTE m_reloadPending;
};

void CreateDwgCache(bool enabled);
TDwgCache* GetDwgCache();
void DeleteDwgCache();
