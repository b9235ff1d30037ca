#include "drawing/library/dwg_cache.h"

#include <new>

#include "core/file_utils.h"
#include "drawing/library/image_lib.h"
#include "graphics/kbmp.h"

namespace {

TDwgCache* g_dwgCache = nullptr;

}  // namespace

TDwgCache::TDwgCache(bool enabled) : m_library(nullptr), m_reloadPending(0)
{
    if (enabled)
        m_library = new (std::nothrow) TImageLib;
}

TDwgCache::~TDwgCache()
{
    delete m_library;
}

void TDwgCache::Enable(bool on)
{
    TImageLib* gone = nullptr;
    {
        CSingleLock hold(&m_lock, TRUE);
        if (on && !m_library) {
            m_library = new (std::nothrow) TImageLib;
        } else if (!on) {
            gone = m_library;
            m_library = nullptr;
        }
    }
    delete gone;
}

bool TDwgCache::SetFolder(const char* folder)
{
    if (!folder)
        return false;
    CSingleLock hold(&m_lock, TRUE);
    if (m_folder.CompareNoCase(folder) != 0)
        m_folder = AddTrailingBackslash(folder);
    return true;
}

void TDwgCache::ClearList()
{
    CSingleLock hold(&m_lock, TRUE);
    if (!m_library)
        return;
    m_library->Clear();
    m_reloadPending = 1;
}

void TDwgCache::LoadIfPending()
{
    CSingleLock hold(&m_lock, TRUE);
    if (!m_reloadPending)
        return;
    m_reloadPending = 0;
    try {
        if (m_library && DirectoryExists(m_folder))
            m_library->Load(m_folder);
    } catch (const std::bad_alloc&) {
        m_library->Clear();
    }
}

bool TDwgCache::Lookup(const char* path, KBMP* thumbnail)
{
    if (!thumbnail)
        return false;
    CSingleLock hold(&m_lock, TRUE);
    try {
        return m_library && m_library->Lookup(path, thumbnail->boxWidth, thumbnail->boxHeight, *thumbnail);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void TDwgCache::AddImage(const char* path, const KBMP* thumbnail, int width, int height)
{
    CSingleLock hold(&m_lock, TRUE);
    try {
        if (m_library && thumbnail && thumbnail->data)
            m_library->Add(path, *thumbnail, width, height);
    } catch (const std::bad_alloc&) {
    }
}

void TDwgCache::Save(bool force, int width, int height)
{
    CSingleLock hold(&m_lock, TRUE);
    if (!m_library)
        return;
    try {
        if (!m_folder.IsEmpty() && DirectoryExists(m_folder))
            m_library->Save(m_folder, force, width, height);
    } catch (const std::bad_alloc&) {
    }
    m_library->Clear();
    m_folder.Empty();
}

bool TDwgCache::CheckLibFile(const char* folder, int& width, int& height) const
{
    return m_library && TImageLib::CheckLibFile(folder, width, height);
}

void CreateDwgCache(bool enabled)
{
    delete g_dwgCache;
    g_dwgCache = new (std::nothrow) TDwgCache(enabled);
}

TDwgCache* GetDwgCache()
{
    return g_dwgCache;
}

void DeleteDwgCache()
{
    delete g_dwgCache;
    g_dwgCache = nullptr;
}
