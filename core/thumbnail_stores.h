// The thumbnail stores whose switches the settings load and save: the
// in-memory thumbnail cache (with its enabled switch) and the library index
// (the cache folder and its two folder-first flags). They live in the
// drawing services, above the settings; the application hands the settings
// their implementation at start-up (CPreference::SetThumbnailStores).
#pragma once
#include "platform/classlib/cstring.h"

class CThumbnailStores
{
public:
    virtual ~CThumbnailStores() = default;

    // The in-memory thumbnail cache.
    virtual void CreateDwgCache(bool enabled) = 0;
    virtual void DeleteDwgCache() = 0;
    virtual bool HasDwgCache() const = 0;
    virtual bool IsDwgCacheEnabled() const = 0;
    virtual void EnableDwgCache(bool enabled) = 0;

    // The library index.
    virtual void CreateLibIndexTree(const char* folder, bool saveInBrowserFolderFirst,
                                    bool readFromBrowserFolderFirst) = 0;
    virtual void DeleteLibIndexTree() = 0;
    virtual bool HasLibIndexTree() const = 0;
    virtual bool GetSaveInBrowserFolderFirst() const = 0;
    virtual void SetSaveInBrowserFolderFirst(bool on) = 0;
    virtual bool GetReadFromBrowserFolderFirst() const = 0;
    virtual void SetReadFromBrowserFolderFirst(bool on) = 0;
    // The cache folder, with a trailing backslash.
    virtual CString GetLibIndexPath() const = 0;
    // Takes folder (a backslash appended) when it exists or can be created.
    virtual void SetLibIndexPath(const char* folder) = 0;
};
