// The drawing services' side of the thumbnail stores the settings reach:
// the in-memory thumbnail cache switch and the library index settings.
// For now it holds the values only; the cache and the index objects take
// them over when they are built.
#pragma once
#include "core/thumbnail_stores.h"

class CDrawingThumbnailStores : public CThumbnailStores
{
public:
    CDrawingThumbnailStores();

    void CreateDwgCache(bool enabled) override;
    void DeleteDwgCache() override;
    bool HasDwgCache() const override { return m_hasCache; }
    bool IsDwgCacheEnabled() const override { return m_hasCache && m_cacheEnabled; }
    void EnableDwgCache(bool enabled) override;

    void CreateLibIndexTree(const char* folder, bool saveInBrowserFolderFirst,
                            bool readFromBrowserFolderFirst) override;
    void DeleteLibIndexTree() override;
    bool HasLibIndexTree() const override { return m_hasIndex; }
    bool GetSaveInBrowserFolderFirst() const override { return m_saveInBrowserFolderFirst; }
    void SetSaveInBrowserFolderFirst(bool on) override;
    bool GetReadFromBrowserFolderFirst() const override { return m_readFromBrowserFolderFirst; }
    void SetReadFromBrowserFolderFirst(bool on) override;
    CString GetLibIndexPath() const override { return m_libPath; }
    void SetLibIndexPath(const char* folder) override;

private:
    bool m_hasCache;
    bool m_cacheEnabled;
    bool m_hasIndex;
    bool m_saveInBrowserFolderFirst;
    bool m_readFromBrowserFolderFirst;
    CString m_libPath;   // with a trailing backslash
};

// The process's stores; they live until the process ends, so the settings
// can delete the cache and the index from their own destructor.
CThumbnailStores* GetThumbnailStores();
