#include "browser/bookmarks/path_manager.h"

#include <stdio.h>

#include <set>
#include <string>
#include <vector>

#include "core/registry_values.h"
#include "platform/classlib/regkey.h"

namespace {

const char kBookmarkKey[] = "TypedDirs";
const DWORD kPathBytes = MAX_PATH;

CString ValueName(int number)
{
    char name[32];
    snprintf(name, sizeof(name), "TypedDir%d", number);
    return CString(name);
}

std::vector<std::string> ValueNames(HKEY key)
{
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof(name);
        if (::RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    return names;
}

}  // namespace

bool CPathManager::Load()
{
    Clear();
    CRegKey key;
    if (!OpenProductKey(key, kBookmarkKey))
        return false;
    for (int number = 0;; ++number) {
        char path[kPathBytes] = {};
        DWORD bytes = sizeof(path);
        if (key.QueryValue(path, ValueName(number), &bytes) != ERROR_SUCCESS)
            break;
        if (!Append(CPathItem{CString(path)}))
            break;
    }
    return true;
}

bool CPathManager::Save()
{
    CRegKey key;
    if (!CreateProductKey(key, kBookmarkKey))
        return false;
    std::set<std::string> written;
    int number = 0;
    for (CPathItem* item = First(); item; item = Next()) {
        if (item->path.IsEmpty())
            continue;
        CString name = ValueName(number++);
        if (key.SetStringValue(name, item->path) != ERROR_SUCCESS)
            return false;
        written.insert(std::string(name));
    }
    for (const std::string& name : ValueNames(key)) {
        if (!written.count(name))
            key.DeleteValue(name.c_str());
    }
    return true;
}

bool CPathManager::AddPath(LPCSTR path)
{
    for (CPathItem* item = First(); item; item = Next()) {
        if (item->path.CompareNoCase(path) == 0)
            return false;
    }
    return Append(CPathItem{CString(path)}) != nullptr;
}

CPathItem* CPathManager::FindPath(LPCSTR path)
{
    for (CPathItem* item = First(); item; item = Next()) {
        if (item->path.CompareNoCase(path) == 0)
            return item;
    }
    return nullptr;
}

LPCSTR CPathManager::GetAt(int index)
{
    int position = 0;
    for (CPathItem* item = First(); item; item = Next(), ++position) {
        if (position == index)
            return item->path;
    }
    return nullptr;
}
