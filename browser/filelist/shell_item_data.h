// The record of one file-list row: the shell item (its folder, relative and
// absolute id lists, attributes), its kind in the file-type table and its
// thumbnail; and the per-row cache of the report view's cell texts.
#pragma once
#include "platform/classlib/classlib.h"

#include <shlobj.h>
#include <stdint.h>

class KBMP;

// Kinds that are not in the file-type table.
const int32_t kItemKindFolder = -1;
const int32_t kItemKindOther = -2;

// The attributes asked of every item: ghosted, link, share, file-system
// ancestor and folder.
const ULONG kItemAttributeMask = 0x30038000;

class CShellItemDetails {
public:
    explicit CShellItemDetails(int columnCount);
    ~CShellItemDetails();
    CShellItemDetails(const CShellItemDetails&) = delete;
    CShellItemDetails& operator=(const CShellItemDetails&) = delete;

    // The cell texts, one per column, filled on demand.
    CStringArray texts;
    LPITEMIDLIST pidlAbsolute = nullptr;
    int smallIcon = -1;
};

struct CShellItemData {
    IShellFolder* pParentFolder;
    LPITEMIDLIST pidlRelative;
    LPITEMIDLIST pidlAbsolute;
    uint32_t attributes;
    CShellItemDetails* pDetails;
    KBMP* pThumbnail;
    int32_t fileKind;
    int32_t thumbResult;

    // The file-system path (MAX_PATH bytes); false when there is none.
    bool GetPath(char* path) const;
    CString GetPath() const;
    bool IsFolder() const { return fileKind == kItemKindFolder; }
    // Drops the thumbnail and its result.
    void DropThumbnail();
};

// A zero-filled record from the shell allocator holding a reference to the
// folder and copies of the item's id lists; null when memory runs out.
CShellItemData* MakeItemRecord(IMalloc* allocator, IShellFolder* folder, LPCITEMIDLIST relative,
                               LPCITEMIDLIST folderAbsolute);
void FreeItemRecord(IMalloc* allocator, CShellItemData* record);
