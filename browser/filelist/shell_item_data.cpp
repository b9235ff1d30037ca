#include "browser/filelist/shell_item_data.h"

#include <shlwapi.h>

#include "graphics/kbmp.h"

CShellItemDetails::CShellItemDetails(int columnCount)
{
    texts.SetSize(columnCount);
}

CShellItemDetails::~CShellItemDetails()
{
    if (pidlAbsolute)
        CoTaskMemFree(pidlAbsolute);
}

namespace {

// "X:\..." or "\\server\...": a file-system path, not a virtual item's
// parsing name ("::{...}").
bool IsFileSystemPath(const char* path)
{
    bool drive = ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' && path[2] == '\\';
    return drive || (path[0] == '\\' && path[1] == '\\');
}

}  // namespace

// The folder that holds the item names it for parsing in one step; the
// shell's way from the absolute id list looks the item up in its folder
// again, which costs a read of the whole folder on some systems.
bool CShellItemData::GetPath(char* path) const
{
    path[0] = '\0';
    STRRET name = {};
    if (pParentFolder && pidlRelative &&
        SUCCEEDED(pParentFolder->GetDisplayNameOf(pidlRelative, SHGDN_FORPARSING, &name)) &&
        SUCCEEDED(StrRetToBufA(&name, pidlRelative, path, MAX_PATH)) && IsFileSystemPath(path))
        return true;
    path[0] = '\0';
    return pidlAbsolute && SHGetPathFromIDListA(pidlAbsolute, path) && path[0];
}

CString CShellItemData::GetPath() const
{
    char path[MAX_PATH];
    return GetPath(path) ? CString(path) : CString();
}

void CShellItemData::DropThumbnail()
{
    delete pThumbnail;
    pThumbnail = nullptr;
    thumbResult = 0;
}

namespace {

LPITEMIDLIST CopyIdList(IMalloc* allocator, LPCITEMIDLIST list)
{
    UINT size = ILGetSize(list);
    if (size == 0)
        return nullptr;
    LPITEMIDLIST copy = (LPITEMIDLIST)allocator->Alloc(size);
    if (copy)
        memcpy(copy, list, size);
    return copy;
}

}  // namespace

CShellItemData* MakeItemRecord(IMalloc* allocator, IShellFolder* folder, LPCITEMIDLIST relative,
                               LPCITEMIDLIST folderAbsolute)
{
    CShellItemData* record = (CShellItemData*)allocator->Alloc(sizeof(CShellItemData));
    if (!record)
        return nullptr;
    memset(record, 0, sizeof(CShellItemData));
    record->pidlRelative = CopyIdList(allocator, relative);
    record->pidlAbsolute = ILCombine(folderAbsolute, relative);
    if (!record->pidlRelative || !record->pidlAbsolute) {
        FreeItemRecord(allocator, record);
        return nullptr;
    }
    record->pParentFolder = folder;
    if (folder)
        folder->AddRef();
    return record;
}

void FreeItemRecord(IMalloc* allocator, CShellItemData* record)
{
    if (!record)
        return;
    if (record->pParentFolder)
        record->pParentFolder->Release();
    if (record->pidlRelative)
        allocator->Free(record->pidlRelative);
    if (record->pidlAbsolute)
        ILFree(record->pidlAbsolute);
    delete record->pDetails;
    delete record->pThumbnail;
    allocator->Free(record);
}
