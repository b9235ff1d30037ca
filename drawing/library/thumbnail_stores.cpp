#include "drawing/library/thumbnail_stores.h"

#include "drawing/library/dwg_cache.h"
#include "drawing/library/lib_index_tree.h"

void CDrawingThumbnailStores::CreateDwgCache(bool enabled)
{
    ::CreateDwgCache(enabled);
}

void CDrawingThumbnailStores::DeleteDwgCache()
{
    ::DeleteDwgCache();
}

bool CDrawingThumbnailStores::HasDwgCache() const
{
    return GetDwgCache() != nullptr;
}

bool CDrawingThumbnailStores::IsDwgCacheEnabled() const
{
    return GetDwgCache() && GetDwgCache()->IsEnabled();
}

void CDrawingThumbnailStores::EnableDwgCache(bool enabled)
{
    if (TDwgCache* cache = GetDwgCache())
        cache->Enable(enabled);
}

void CDrawingThumbnailStores::CreateLibIndexTree(const char* folder, bool saveInBrowserFolderFirst,
                                                 bool readFromBrowserFolderFirst)
{
    ::CreateLibIndexTree(folder, saveInBrowserFolderFirst, readFromBrowserFolderFirst);
}

void CDrawingThumbnailStores::DeleteLibIndexTree()
{
    ::DeleteLibIndexTree();
}

bool CDrawingThumbnailStores::HasLibIndexTree() const
{
    return GetLibIndexTree() != nullptr;
}

bool CDrawingThumbnailStores::GetSaveInBrowserFolderFirst() const
{
    return GetLibIndexTree() && GetLibIndexTree()->GetSaveInBrowserFolderFirst();
}

void CDrawingThumbnailStores::SetSaveInBrowserFolderFirst(bool on)
{
    if (TLibIndexTree* index = GetLibIndexTree())
        index->SetSaveInBrowserFolderFirst(on);
}

bool CDrawingThumbnailStores::GetReadFromBrowserFolderFirst() const
{
    return !GetLibIndexTree() || GetLibIndexTree()->GetReadFromBrowserFolderFirst();
}

void CDrawingThumbnailStores::SetReadFromBrowserFolderFirst(bool on)
{
    if (TLibIndexTree* index = GetLibIndexTree())
        index->SetReadFromBrowserFolderFirst(on);
}

CString CDrawingThumbnailStores::GetLibIndexPath() const
{
    return GetLibIndexTree() ? GetLibIndexTree()->GetPath() : CString();
}

void CDrawingThumbnailStores::SetLibIndexPath(const char* folder)
{
    if (TLibIndexTree* index = GetLibIndexTree())
        index->SetPath(folder);
}

CThumbnailStores* GetThumbnailStores()
{
    static CDrawingThumbnailStores* stores = new CDrawingThumbnailStores;
    return stores;
}
