#include "browser/tree/shell_tree.h"

#include <dbt.h>
#include <stdio.h>
#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "browser/shell/file_name_check.h"
#include "browser/shell/shell_statics.h"
#include "core/appsw.h"
#include "core/preference.h"
#include "core/res_string.h"
#include "graphics/os_version.h"
#include "platform/base/unix_path.h"
#include "resources/browser_ids.h"
#include "toolkit/dragdrop/drag_drop_list.h"

namespace {

const UINT_PTR kShowFolderTimer = 259;
const UINT kShowFolderDelayMs = 200;
const UINT_PTR kDeviceChangeTimer = 261;
const UINT kDeviceChangeDelayMs = 1500;
// How long the tree waits for a watcher to end when it stops them.
const DWORD kWatcherStopTimeoutMs = 5000;
const ULONG kFillAttributes = SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_LINK;
const ULONG kSyncAttributes = SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_SHARE |
                              SFGAO_LINK | SFGAO_GHOSTED;

// The path a re-sync posted by the tree itself names.
char g_refreshedPath[MAX_PATH];

struct WatcherParameter {
    HANDLE stopEvent;
    HWND tree;
    char root[MAX_PATH];
};

CShellTreeItemData* DataOf(CTreeCtrl& tree, HTREEITEM item)
{
    return item ? (CShellTreeItemData*)tree.GetItemData(item) : nullptr;
}

// A drive that Wine maps to the Unix root holds the whole machine: watching
// its subtree would read every folder there is.
bool IsUnixRoot(LPCSTR root)
{
    std::string unixPath;
    return GetUnixPath(root, &unixPath) && unixPath == "/";
}

// Orders ids by their folder's first column, for the re-sync's map.
struct CShellPidlCompare {
    IShellFolder* folder;
    bool operator()(LPCITEMIDLIST first, LPCITEMIDLIST second) const
    {
        HRESULT result = folder->CompareIDs(0, first, second);
        return SUCCEEDED(result) && (short)HRESULT_CODE(result) < 0;
    }
};

}  // namespace

IMPLEMENT_DYNAMIC(CShellTree, CDragDropTree)

BEGIN_MESSAGE_MAP(CShellTree, CDragDropTree)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGA, &CShellTree::OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDEDA, &CShellTree::OnItemExpanded)
    ON_NOTIFY_REFLECT(NM_RCLICK, &CShellTree::OnRClick)
    ON_NOTIFY_REFLECT(TVN_ENDLABELEDITA, &CShellTree::OnEndLabelEdit)
    ON_NOTIFY_REFLECT(TVN_DELETEITEMA, &CShellTree::OnDeleteItem)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, &CShellTree::OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_GETDISPINFOA, &CShellTree::OnGetDispInfo)
    ON_WM_DESTROY()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_TREE_SELECT_ITEM, &CShellTree::OnSelectPath)
    ON_MESSAGE(WM_DRIVE_CHANGED, &CShellTree::OnDriveChanged)
END_MESSAGE_MAP()

CShellTree::CShellTree()
    : m_newerSystem(GetOSVersionKind() == 6),
      m_driveTimerPending(false),
      m_startFolderChanged(false),
      m_pendingFolder(nullptr),
      m_notificationsOff(false),
      m_listWindow(nullptr),
      m_watchers(),
      m_stopEvents(),
      m_watcherCount(0),
      m_expandedWatching(false)
{
}

CShellTree::~CShellTree()
{
    StopDriveWatchers();
}

void CShellTree::PreSubclassWindow()
{
    CDragDropTree::PreSubclassWindow();
    ReadDrives();
}

// ---------------------------------------------------------------------------
// Filling and sorting.

void CShellTree::PopulateRoot()
{
    DeleteAllItems();
    IShellFolder* desktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&desktop)) || !desktop)
        return;
    FillChildren(desktop, nullptr, TVI_ROOT);
    desktop->Release();
    SortChildren(TVI_ROOT);
    if (HTREEITEM first = GetRootItem())
        SelectItem(first);
    WatchExpandedFolders();
}

void CShellTree::DeleteChildren(HTREEITEM parent)
{
    HTREEITEM child = GetChildItem(parent);
    while (child) {
        HTREEITEM next = GetNextSiblingItem(child);
        DeleteChildren(child);
        DeleteItem(child);
        child = next;
    }
}

HTREEITEM CShellTree::InsertFolderItem(IShellFolder* folder, LPCITEMIDLIST parentFull, LPCITEMIDLIST item,
                                       ULONG attributes, HTREEITEM parent, HTREEITEM after, bool* failed)
{
    *failed = true;
    TVINSERTSTRUCTA insert = {};
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_SELECTEDIMAGE;
    if (attributes & SFGAO_HASSUBFOLDER) {
        insert.item.cChildren = 1;
        insert.item.mask |= TVIF_CHILDREN;
    }
    CShellTreeItemData* data = m_malloc ? (CShellTreeItemData*)m_malloc->Alloc(sizeof(CShellTreeItemData)) : nullptr;
    if (!data)
        return nullptr;
    char name[MAX_PATH];
    if (!GetFriendlyName(folder, item, SHGDN_NORMAL, name)) {
        m_malloc->Free(data);
        return nullptr;
    }
    data->fullItem = Concat(parentFull, item);
    data->item = Copy(item);
    if (!data->fullItem || !data->item) {
        Free(data->fullItem);
        Free(data->item);
        m_malloc->Free(data);
        return nullptr;
    }
    data->parentFolder = folder;
    folder->AddRef();
    insert.item.pszText = name;
    insert.item.iImage = CShellPidl::GetIcon(data->fullItem, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    insert.item.iSelectedImage =
        CShellPidl::GetIcon(data->fullItem, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
    insert.item.lParam = (LPARAM)data;
    insert.hParent = parent;
    insert.hInsertAfter = after ? after : TVI_LAST;
    HTREEITEM inserted = InsertItem(&insert);
    if (!inserted) {
        data->parentFolder->Release();
        Free(data->fullItem);
        Free(data->item);
        m_malloc->Free(data);
        return nullptr;
    }
    UINT state = 0;
    if (attributes & SFGAO_GHOSTED)
        state |= TVIS_CUT;
    if (attributes & SFGAO_SHARE)
        state |= INDEXTOOVERLAYMASK(1);
    else if (attributes & SFGAO_LINK)
        state |= INDEXTOOVERLAYMASK(2);
    SetItemState(inserted, state, TVIS_CUT | TVIS_OVERLAYMASK);
    *failed = false;
    return inserted;
}

void CShellTree::FillChildren(IShellFolder* folder, LPCITEMIDLIST parentFull, HTREEITEM parent)
{
    DeleteChildren(parent);
    if (!m_malloc)
        return;
    IEnumIDList* items = nullptr;
    HWND owner = ::GetParent(m_hWnd);
    if (folder->EnumObjects(owner, SHCONTF_FOLDERS, &items) != S_OK || !items)
        return;
    HTREEITEM previous = nullptr;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        LPCITEMIDLIST asked = item;
        ULONG attributes = kFillAttributes;
        folder->GetAttributesOf(1, &asked, &attributes);
        bool failed = false;
        if (attributes & SFGAO_FILESYSANCESTOR) {
            ULONG subfolders = SFGAO_HASSUBFOLDER;
            folder->GetAttributesOf(1, &asked, &subfolders);
            attributes |= subfolders & SFGAO_HASSUBFOLDER;
            HTREEITEM inserted = InsertFolderItem(folder, parentFull, item, attributes, parent, previous, &failed);
            if (inserted)
                previous = inserted;
        }
        Free(item);
        if (failed)
            break;
    }
    items->Release();
}

int CALLBACK CShellTree::CompareItems(LPARAM first, LPARAM second, LPARAM)
{
    CShellTreeItemData* firstData = (CShellTreeItemData*)first;
    CShellTreeItemData* secondData = (CShellTreeItemData*)second;
    HRESULT result = firstData->parentFolder->CompareIDs(0, firstData->item, secondData->item);
    if (FAILED(result))
        return 0;
    return (short)HRESULT_CODE(result);
}

void CShellTree::SortChildren(HTREEITEM parent)
{
    TVSORTCB sort = {parent, &CShellTree::CompareItems, 0};
    SortChildrenCB(&sort);
}

void CShellTree::OnItemExpanding(NMHDR* header, LRESULT* result)
{
    *result = 0;
    NMTREEVIEWA* notify = (NMTREEVIEWA*)header;
    HTREEITEM item = notify->itemNew.hItem;
    CShellTreeItemData* data = (CShellTreeItemData*)notify->itemNew.lParam;
    if (!data)
        return;
    SetRedraw(FALSE);
    IShellFolder* folder = nullptr;
    if (SUCCEEDED(data->parentFolder->BindToObject(data->item, nullptr, IID_IShellFolder, (void**)&folder)) &&
        folder) {
        FillChildren(folder, data->fullItem, item);
        folder->Release();
    }
    SortChildren(item);
    SetRedraw(TRUE);
}

void CShellTree::OnItemExpanded(NMHDR*, LRESULT* result)
{
    *result = 0;
    WatchExpandedFolders();
}

void CShellTree::OnGetDispInfo(NMHDR* header, LRESULT* result)
{
    *result = 0;
    NMTVDISPINFOA* info = (NMTVDISPINFOA*)header;
    if (info->item.mask != TVIF_CHILDREN)
        return;
    CShellTreeItemData* data = (CShellTreeItemData*)info->item.lParam;
    if (!data)
        return;
    LPCITEMIDLIST item = data->item;
    ULONG attributes = SFGAO_HASSUBFOLDER;
    if (FAILED(data->parentFolder->GetAttributesOf(1, &item, &attributes)))
        attributes = SFGAO_HASSUBFOLDER;
    info->item.cChildren = (attributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
}

void CShellTree::OnDeleteItem(NMHDR* header, LRESULT* result)
{
    *result = 0;
    CShellTreeItemData* data = (CShellTreeItemData*)((NMTREEVIEWA*)header)->itemOld.lParam;
    if (!data)
        return;
    if (data == m_pendingFolder) {
        KillTimer(kShowFolderTimer);
        m_pendingFolder = nullptr;
    }
    data->parentFolder->Release();
    Free(data->item);
    Free(data->fullItem);
    if (m_malloc)
        m_malloc->Free(data);
}

// ---------------------------------------------------------------------------
// Selection, the start folder and finding folders.

void CShellTree::OnSelChanged(NMHDR*, LRESULT* result)
{
    *result = 0;
    if (m_notificationsOff)
        return;
    HTREEITEM caret = GetSelectedItem();
    CShellTreeItemData* data = DataOf(*this, caret);
    if (!data)
        return;
    LPCITEMIDLIST item = data->item;
    ULONG attributes = SFGAO_FOLDER;
    if (FAILED(data->parentFolder->GetAttributesOf(1, &item, &attributes)) || !(attributes & SFGAO_FOLDER)) {
        DeleteItem(caret);
        return;
    }
    if (m_listWindow)
        ShowFolderLater(data);
}

void CShellTree::ShowFolderLater(CShellTreeItemData* data)
{
    if (m_pendingFolder)
        KillTimer(kShowFolderTimer);
    m_pendingFolder = data;
    SetTimer(kShowFolderTimer, kShowFolderDelayMs);
}

void CShellTree::OnTimer(UINT_PTR id)
{
    if (id == kShowFolderTimer) {
        KillTimer(id);
        if (m_listWindow)
            ::PostMessageA(m_listWindow, WM_SHOW_FOLDER, 0, (LPARAM)m_pendingFolder);
        m_pendingFolder = nullptr;
    } else if (id == kDeviceChangeTimer) {
        KillTimer(id);
        m_driveTimerPending = false;
        RefreshSelectedBranch();
        if (m_newerSystem)
            RefreshSelectedBranch();
        if (m_listWindow)
            ::PostMessageA(m_listWindow, WM_FOLDER_CONTENT_CHANGED, 0, 1);
    } else {
        CDragDropTree::OnTimer(id);
    }
}

// The same folder again changes nothing: when it has been opened it is not
// opened a second time, and when its opening is still to come (the last
// folder of the preferences, then the same folder from the command line)
// it still comes.
void CShellTree::SetStartFolder(LPCSTR path)
{
    if (path[0] && m_startFolder.CompareNoCase(path) == 0)
        return;
    m_startFolder = path;
    m_startFolderChanged = true;
}

bool CShellTree::SetStartFolderFromPrefs()
{
    if (Preference.StartPreviousFolder)
        SetStartFolder(AppSW.lastViewPath);
    return true;
}

bool CShellTree::OpenStartFolder()
{
    if (!m_startFolderChanged)
        return true;
    m_startFolderChanged = false;
    if (m_startFolder.IsEmpty())
        return false;
    return FindPath(m_startFolder);
}

HTREEITEM CShellTree::FindItemWithId(HTREEITEM from, LPCITEMIDLIST full)
{
    for (HTREEITEM item = from; item; item = GetNextSiblingItem(item)) {
        CShellTreeItemData* data = DataOf(*this, item);
        if (data && m_desktop && m_desktop->CompareIDs(0, data->fullItem, full) == S_OK)
            return item;
        if (HTREEITEM inChild = FindItemWithId(GetChildItem(item), full))
            return inChild;
    }
    return nullptr;
}

HTREEITEM CShellTree::ExtendPrefixAndFind(LPITEMIDLIST& prefix, LPCITEMIDLIST full, int index)
{
    LPITEMIDLIST item = GetItemAt(full, index);
    LPITEMIDLIST longer = Concat(prefix, item);
    Free(item);
    Free(prefix);
    prefix = longer;
    return prefix ? FindItemWithId(GetRootItem(), prefix) : nullptr;
}

bool CShellTree::FindPath(LPCSTR path)
{
    LPITEMIDLIST parsed = nullptr;
    if (FAILED(ParsePath(path, &parsed, nullptr)) || !parsed)
        return false;
    SetRedraw(FALSE);
    int count = GetItemCount(parsed);
    LPITEMIDLIST prefix = nullptr;
    HTREEITEM found = nullptr;
    bool complete = true;
    for (int index = 1; index <= count; ++index) {
        found = ExtendPrefixAndFind(prefix, parsed, index);
        if (!found) {
            complete = false;
            break;
        }
        Expand(found, TVE_EXPAND);
    }
    bool selected = complete && found && IsEqual(DataOf(*this, found)->fullItem, parsed);
    if (selected) {
        SelectItem(found);
        EnsureVisible(found);
    }
    Free(prefix);
    Free(parsed);
    SetRedraw(TRUE);
    WatchExpandedFolders();
    if (!selected) {
        char text[MAX_PATH + 96];
        snprintf(text, sizeof(text), (LPCSTR)LoadResString(IDS_DIRECTORY_NOT_FOUND), path);
        ::MessageBoxA(m_hWnd, text, nullptr, MB_ICONHAND);
    }
    return selected;
}

LRESULT CShellTree::OnSelectPath(WPARAM, LPARAM lParam)
{
    CListFolderItem* listItem = (CListFolderItem*)lParam;
    LPITEMIDLIST absolute = listItem ? Copy(listItem->absolute) : nullptr;
    if (!absolute)
        return 0;
    SetRedraw(FALSE);
    int count = GetItemCount(absolute);
    LPITEMIDLIST prefix = nullptr;
    HTREEITEM found = nullptr;
    HTREEITEM lastFound = nullptr;
    for (int index = 1; index <= count; ++index) {
        found = ExtendPrefixAndFind(prefix, absolute, index);
        if (!found && lastFound && listItem->folder) {
            // The folder is new to the tree: read its parent again from the
            // list's folder.
            LPITEMIDLIST folderId = Copy(absolute);
            LPITEMIDLIST tail = folderId;
            for (int step = 1; step < count && tail; ++step)
                tail = (LPITEMIDLIST)CShellPidl::NextItem(tail);
            if (tail)
                tail->mkid.cb = 0;
            FillChildren(listItem->folder, folderId, lastFound);
            Free(folderId);
            Expand(lastFound, TVE_EXPAND);
            found = FindItemWithId(GetRootItem(), prefix);
        }
        if (!found)
            break;
        Expand(found, TVE_EXPAND);
        lastFound = found;
    }
    if (found && IsEqual(DataOf(*this, found)->fullItem, absolute)) {
        SelectItem(found);
        EnsureVisible(found);
    }
    Free(prefix);
    Free(absolute);
    SetRedraw(TRUE);
    WatchExpandedFolders();
    return 1;
}

bool CShellTree::HasParentFolder()
{
    HTREEITEM caret = GetSelectedItem();
    return caret && GetParentItem(caret);
}

bool CShellTree::SelectParentFolder()
{
    HTREEITEM caret = GetSelectedItem();
    HTREEITEM parent = caret ? GetParentItem(caret) : nullptr;
    return parent && SelectItem(parent);
}

// ---------------------------------------------------------------------------
// Paths of items, drops and operations on disk.

bool CShellTree::GetPathOfItem(HTREEITEM item, CString& path, bool writableFolderOnly)
{
    CShellTreeItemData* data = DataOf(*this, item);
    char buffer[MAX_PATH] = {};
    if (!data || !::SHGetPathFromIDListA(data->fullItem, buffer))
        return false;
    path = buffer;
    if (!writableFolderOnly)
        return true;
    DWORD attributes = ::GetFileAttributesA(buffer);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool CShellTree::GetSelectedFolderPath(CString& path)
{
    return GetPathOfItem(GetSelectedItem(), path, true);
}

bool CShellTree::GetDropTargetFolderPath(CString& path)
{
    return GetPathOfItem(GetDropHilightItem(), path, true);
}

bool CShellTree::GetItemFolderPath(HTREEITEM item, CString& path, bool& isFolder)
{
    isFolder = GetPathOfItem(item, path, true);
    return isFolder;
}

BOOL CShellTree::CanDropAt(CWnd* window, int x, int y)
{
    CString path;
    bool writable = false;
    if (window && window->m_hWnd == m_hWnd) {
        writable = GetPathOfItem(HitTest(CPoint(x, y)), path, true);
    } else if (CDragDropList* list = dynamic_cast<CDragDropList*>(CWnd::FromHandlePermanent(window ? window->m_hWnd : nullptr))) {
        int item = list->HitTest(CPoint(x, y));
        DWORD attributes = item >= 0 ? ::GetFileAttributesA(list->GetItemPath(item)) : INVALID_FILE_ATTRIBUTES;
        writable = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                   !(attributes & FILE_ATTRIBUTE_READONLY);
    }
    ::SetCursor(::LoadCursor(nullptr, writable ? IDC_ARROW : IDC_NO));
    return writable;
}

void CShellTree::RefreshSelectedBranch()
{
    CString path;
    if (!GetPathOfItem(GetSelectedItem(), path, false))
        path.Empty();
    lstrcpynA(g_refreshedPath, path, MAX_PATH);
    PostMessage(WM_DRIVE_CHANGED, 0, (LPARAM)g_refreshedPath);
}

bool CShellTree::RenameItem(HTREEITEM item, LPCSTR newName)
{
    CShellTreeItemData* data = DataOf(*this, item);
    if (!data)
        return false;
    LPCITEMIDLIST relative = data->item;
    ULONG attributes = SFGAO_FILESYSTEM;
    CString oldPath;
    if (FAILED(data->parentFolder->GetAttributesOf(1, &relative, &attributes)) || !(attributes & SFGAO_FILESYSTEM) ||
        !GetPathOfItem(item, oldPath, false))
        return false;
    UINT refusal = 0;
    if (!IsAcceptableFileName(newName, refusal)) {
        AfxMessageBox(LoadResString(refusal), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    // The new path: the last name replaced, the folders above kept.
    int slash = oldPath.ReverseFind('\\');
    CString newPath = oldPath.Left(slash + 1) + newName;
    std::string from(oldPath, oldPath.GetLength());
    from.push_back('\0');
    std::string to(newPath, newPath.GetLength());
    to.push_back('\0');
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = m_hWnd;
    operation.wFunc = FO_RENAME;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    return ::SHFileOperationA(&operation) == 0;
}

void CShellTree::OnEndLabelEdit(NMHDR* header, LRESULT* result)
{
    NMTVDISPINFOA* info = (NMTVDISPINFOA*)header;
    if (info->item.pszText)
        *result = RenameItem(info->item.hItem, info->item.pszText) ? TRUE : FALSE;
}

bool CShellTree::RunFolderOperation(CWnd* owner, UINT operationKind, LPCITEMIDLIST source, LPCITEMIDLIST target)
{
    char from[MAX_PATH + 1] = {};
    char to[MAX_PATH + 1] = {};
    if (!::SHGetPathFromIDListA(source, from) || !::SHGetPathFromIDListA(target, to))
        return false;
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = owner ? owner->m_hWnd : nullptr;
    operation.wFunc = operationKind;
    operation.pFrom = from;
    operation.pTo = to;
    return ::SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}

bool CShellTree::MoveFolder(CWnd* owner, LPCITEMIDLIST source, LPCITEMIDLIST target)
{
    return RunFolderOperation(owner, FO_MOVE, source, target);
}

bool CShellTree::CopyFolder(CWnd* owner, LPCITEMIDLIST source, LPCITEMIDLIST target)
{
    return RunFolderOperation(owner, FO_COPY, source, target);
}

void CShellTree::OnRClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    if (IsDragging())
        return;
    POINT screen;
    ::GetCursorPos(&screen);
    POINT client = screen;
    ScreenToClient(&client);
    UINT flags = 0;
    HTREEITEM item = HitTest(CPoint(client.x, client.y), &flags);
    SelectItem(item);
    CShellTreeItemData* data = DataOf(*this, item);
    if (data && (flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)))
        ShowContextMenu(::GetParent(m_hWnd), data->parentFolder, data->item, screen);
}

void CShellTree::OnMouseMove(UINT flags, CPoint point)
{
    if (::GetFocus() != m_hWnd)
        SetFocus();
    CDragDropTree::OnMouseMove(flags, point);
}

void CShellTree::OnDestroy()
{
    m_notificationsOff = true;
    StopDriveWatchers();
    DeleteAllItems();
    CDragDropTree::OnDestroy();
}

// ---------------------------------------------------------------------------
// Changes on disk: the re-sync and the drive watchers.

LRESULT CShellTree::OnDriveChanged(WPARAM, LPARAM)
{
    if (!GetSelectedItem()) {
        Invalidate();
        return 1;
    }
    SetRedraw(FALSE);
    for (HTREEITEM item = GetRootItem(); item; item = GetNextSiblingItem(item))
        SyncBranch(item);
    SetRedraw(TRUE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    WatchExpandedFolders();
    return 1;
}

void CShellTree::SyncBranch(HTREEITEM branch)
{
    CShellTreeItemData* data = DataOf(*this, branch);
    if (!data || !(GetItemState(branch, TVIS_EXPANDED) & TVIS_EXPANDED))
        return;
    IShellFolder* folder = nullptr;
    if (FAILED(data->parentFolder->BindToObject(data->item, nullptr, IID_IShellFolder, (void**)&folder)) || !folder) {
        folder = m_desktop;
        if (!folder)
            return;
        folder->AddRef();
    }
    std::map<LPCITEMIDLIST, HTREEITEM, CShellPidlCompare> children(CShellPidlCompare{folder});
    for (HTREEITEM child = GetChildItem(branch); child; child = GetNextSiblingItem(child)) {
        if (CShellTreeItemData* childData = DataOf(*this, child))
            children[childData->item] = child;
    }
    std::vector<LPITEMIDLIST> added;
    IEnumIDList* items = nullptr;
    if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS, &items) == S_OK && items) {
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        while (items->Next(1, &item, &fetched) == S_OK && fetched == 1) {
            auto known = children.find(item);
            if (known != children.end()) {
                children.erase(known);
                Free(item);
            } else {
                added.push_back(item);
            }
        }
        items->Release();
    }
    for (auto& vanished : children)
        DeleteItem(vanished.second);
    bool failed = false;
    for (LPITEMIDLIST item : added) {
        LPCITEMIDLIST asked = item;
        ULONG attributes = kSyncAttributes;
        folder->GetAttributesOf(1, &asked, &attributes);
        if (!failed && (attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR)))
            InsertFolderItem(folder, data->fullItem, item, attributes, branch, nullptr, &failed);
        Free(item);
    }
    folder->Release();
    SortChildren(branch);
    for (HTREEITEM child = GetChildItem(branch); child; child = GetNextSiblingItem(child))
        SyncBranch(child);
}

LRESULT CShellTree::OnDeviceChange(WPARAM event, LPARAM)
{
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE)
        return 1;
    if (m_driveTimerPending)
        KillTimer(kDeviceChangeTimer);
    SetTimer(kDeviceChangeTimer, kDeviceChangeDelayMs);
    m_driveTimerPending = true;
    return 1;
}

void CShellTree::ReadDrives()
{
    if (m_watcherCount > 0)
        return;
    char drives[MAX_PATH] = {};
    DWORD length = ::GetLogicalDriveStringsA(sizeof(drives), drives);
    if (length == 0 || length > sizeof(drives))
        return;
    for (const char* root = drives; *root; root += strlen(root) + 1) {
        UINT kind = ::GetDriveTypeA(root);
        if ((kind == DRIVE_FIXED || kind == DRIVE_REMOTE || kind == DRIVE_RAMDISK) && !IsUnixRoot(root))
            StartDriveWatcher(root);
    }
    StartExpandedFolderWatcher();
}

void CShellTree::StartExpandedFolderWatcher()
{
    if (m_watcherCount >= kMaxWatchers || m_expandedWatching)
        return;
    HANDLE thread = nullptr;
    HANDLE stopEvent = nullptr;
    if (!m_expandedWatch.Start(m_hWnd, thread, stopEvent))
        return;
    m_watchers[m_watcherCount] = thread;
    m_stopEvents[m_watcherCount] = stopEvent;
    ++m_watcherCount;
    m_expandedWatching = true;
    WatchExpandedFolders();
}

void CShellTree::WatchExpandedFolders()
{
    if (!m_expandedWatching || !m_hWnd)
        return;
    std::vector<std::string> folders;
    CollectExpandedFolders(GetRootItem(), folders);
    m_expandedWatch.SetFolders(folders);
}

// The expanded items' folders in tree order; virtual folders, which have no
// path, are passed through, not taken.
void CShellTree::CollectExpandedFolders(HTREEITEM first, std::vector<std::string>& folders)
{
    for (HTREEITEM item = first; item; item = GetNextSiblingItem(item)) {
        if (!(GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED))
            continue;
        CString path;
        if (GetPathOfItem(item, path, false))
            folders.push_back((LPCSTR)path);
        CollectExpandedFolders(GetChildItem(item), folders);
    }
}

void CShellTree::StartDriveWatcher(LPCSTR root)
{
    if (m_watcherCount >= kMaxWatchers)
        return;
    WatcherParameter* parameter = new WatcherParameter;
    parameter->stopEvent = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    parameter->tree = m_hWnd;
    lstrcpynA(parameter->root, root, MAX_PATH);
    HANDLE thread = parameter->stopEvent
                        ? ::CreateThread(nullptr, 0, &CShellTree::DriveWatchThread, parameter, CREATE_SUSPENDED, nullptr)
                        : nullptr;
    if (!thread) {
        if (parameter->stopEvent)
            ::CloseHandle(parameter->stopEvent);
        delete parameter;
        return;
    }
    m_stopEvents[m_watcherCount] = parameter->stopEvent;
    m_watchers[m_watcherCount] = thread;
    ++m_watcherCount;
    ::SetThreadPriority(thread, THREAD_PRIORITY_IDLE);
    ::ResumeThread(thread);
}

DWORD WINAPI CShellTree::DriveWatchThread(void* given)
{
    WatcherParameter* parameter = (WatcherParameter*)given;
    char root[MAX_PATH];
    lstrcpynA(root, parameter->root, MAX_PATH);
    HANDLE stopEvent = parameter->stopEvent;
    HWND tree = parameter->tree;
    delete parameter;
    HANDLE change = ::FindFirstChangeNotificationA(root, TRUE, FILE_NOTIFY_CHANGE_DIR_NAME);
    if (change == INVALID_HANDLE_VALUE)
        return 1;
    HANDLE waits[2] = {change, stopEvent};
    while (!AppSW.toQuit) {
        if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0)
            break;
        // A drive that went away ends its watcher quietly.
        if (!::FindNextChangeNotification(change))
            break;
        if (::IsWindow(tree))
            ::PostMessageA(tree, WM_DRIVE_CHANGED, 0, 0);
    }
    ::FindCloseChangeNotification(change);
    return 0;
}

void CShellTree::StopDriveWatchers()
{
    if (m_watcherCount == 0)
        return;
    for (int index = 0; index < m_watcherCount; ++index)
        ::SetEvent(m_stopEvents[index]);
    ::WaitForMultipleObjects(m_watcherCount, m_watchers, TRUE, kWatcherStopTimeoutMs);
    for (int index = 0; index < m_watcherCount; ++index) {
        ::CloseHandle(m_watchers[index]);
        ::CloseHandle(m_stopEvents[index]);
        m_watchers[index] = m_stopEvents[index] = nullptr;
    }
    m_watcherCount = 0;
    m_expandedWatching = false;
}
