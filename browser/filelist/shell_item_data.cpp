#include "browser/filelist/shell_item_data.h"

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

bool CShellItemData::GetPath(char* path) const
{
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
