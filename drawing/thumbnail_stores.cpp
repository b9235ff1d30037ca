#include "drawing/thumbnail_stores.h"

#include "core/file_utils.h"

CDrawingThumbnailStores::CDrawingThumbnailStores()
    : m_hasCache(false),
      m_cacheEnabled(false),
      m_hasIndex(false),
      m_saveInBrowserFolderFirst(false),
      m_readFromBrowserFolderFirst(true)
{
}

void CDrawingThumbnailStores::CreateDwgCache(bool enabled)
{
    m_hasCache = true;
    m_cacheEnabled = enabled;
}

void CDrawingThumbnailStores::DeleteDwgCache()
{
    m_hasCache = false;
    m_cacheEnabled = false;
}

void CDrawingThumbnailStores::EnableDwgCache(bool enabled)
{
    if (m_hasCache)
        m_cacheEnabled = enabled;
}

void CDrawingThumbnailStores::CreateLibIndexTree(const char* folder, bool saveInBrowserFolderFirst,
                                                 bool readFromBrowserFolderFirst)
{
    m_hasIndex = true;
    m_libPath = AddTrailingBackslash(folder);
    m_saveInBrowserFolderFirst = saveInBrowserFolderFirst;
    m_readFromBrowserFolderFirst = readFromBrowserFolderFirst;
}

void CDrawingThumbnailStores::DeleteLibIndexTree()
{
    m_hasIndex = false;
    m_libPath.Empty();
    m_saveInBrowserFolderFirst = false;
    m_readFromBrowserFolderFirst = true;
}

void CDrawingThumbnailStores::SetSaveInBrowserFolderFirst(bool on)
{
    m_saveInBrowserFolderFirst = on;
}

void CDrawingThumbnailStores::SetReadFromBrowserFolderFirst(bool on)
{
    m_readFromBrowserFolderFirst = on;
}

void CDrawingThumbnailStores::SetLibIndexPath(const char* folder)
{
    CString path = AddTrailingBackslash(folder);
    if (DirectoryExists(path) || CreateDirectoryA(path, nullptr))
        m_libPath = path;
}

CThumbnailStores* GetThumbnailStores()
{
    static CDrawingThumbnailStores* stores = new CDrawingThumbnailStores;
    return stores;
}
