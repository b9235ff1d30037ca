// The drawing services' side of the thumbnail stores the settings reach:
// the in-memory thumbnail cache (TDwgCache) and the library index
// (TLibIndexTree), both process-wide objects of their own.
#pragma once
#include "core/thumbnail_stores.h"

class CDrawingThumbnailStores : public CThumbnailStores
{
public:
    void CreateDwgCache(bool enabled) override;
    void DeleteDwgCache() override;
    bool HasDwgCache() const override;
    bool IsDwgCacheEnabled() const override;
    void EnableDwgCache(bool enabled) override;

    void CreateLibIndexTree(const char* folder, bool saveInBrowserFolderFirst,
                            bool readFromBrowserFolderFirst) override;
    void DeleteLibIndexTree() override;
    bool HasLibIndexTree() const override;
    bool GetSaveInBrowserFolderFirst() const override;
    void SetSaveInBrowserFolderFirst(bool on) override;
    bool GetReadFromBrowserFolderFirst() const override;
    void SetReadFromBrowserFolderFirst(bool on) override;
    CString GetLibIndexPath() const override;
    void SetLibIndexPath(const char* folder) override;
};

// The process's stores; they live until the process ends, so the settings
// can delete the cache and the index from their own destructor.
CThumbnailStores* GetThumbnailStores();
