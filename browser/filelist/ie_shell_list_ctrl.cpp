// The file list's window, its folder and its rows: creation, the shown
// folder, enumeration, the incremental refresh, sorting and report cells.
#include "browser/filelist/ie_shell_list_ctrl.h"

#include <algorithm>
#include <map>

#include "browser/shell/shell_details.h"
#include "browser/shell/shell_pidl.h"
#include "browser/tree/shell_tree_messages.h"
#include "core/appsw.h"
#include "core/file_types.h"
#include "core/locale_info.h"
#include "core/preference.h"
#include "core/registry_root.h"
#include "core/registry_values.h"
#include "core/res_string.h"
#include "drawing/common/draw_messages.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "graphics/kbmp.h"
#include "resources/browser_ids.h"
#include "views/preview/preview_pane.h"

IMPLEMENT_DYNAMIC(CIEShellListCtrl, CUIODListCtrl)

BEGIN_MESSAGE_MAP(CIEShellListCtrl, CUIODListCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SETTINGCHANGE()
    ON_WM_MOUSEMOVE()
    ON_WM_ERASEBKGND()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_TIMER()
    ON_MESSAGE(WM_SETMESSAGESTRING, &CIEShellListCtrl::OnSetMessageString)
    ON_MESSAGE(WM_ODLIST_RENAME, &CIEShellListCtrl::OnRenameKey)
    ON_MESSAGE(WM_ODLIST_DELETE, &CIEShellListCtrl::OnDeleteKey)
    ON_MESSAGE(WM_ODLIST_PROPERTIES, &CIEShellListCtrl::OnPropertiesKey)
    ON_MESSAGE(WM_ODLIST_OPEN, &CIEShellListCtrl::OnOpenKey)
    ON_MESSAGE(WM_SHOW_FOLDER, &CIEShellListCtrl::OnShowFolder)
    ON_MESSAGE(WM_THUMB_DONE, &CIEShellListCtrl::OnThumbDone)
    ON_MESSAGE(WM_THUMB_STAGE, &CIEShellListCtrl::OnThumbStage)
    ON_MESSAGE(WM_THUMBS_FINISHED, &CIEShellListCtrl::OnThumbsFinished)
    ON_MESSAGE(WM_GET_CURRENT_FOLDER, &CIEShellListCtrl::OnGetCurrentFolder)
    ON_MESSAGE(WM_FOLDER_CONTENT_CHANGED, &CIEShellListCtrl::OnFolderContentChanged)
END_MESSAGE_MAP()

namespace {

const int kColumnCount = 4;
// A shell that never says its columns ended stops here.
const UINT kMaxShellColumns = 256;

// Whether filling a folder clears the preview; UI thread only.
bool g_clearPreviewOnFill = true;

// What the shell sort hands its compare.
// The shell's own compare orders sizes and dates by their texts ("9 KB"
// after "10 KB"), so those two columns compare the files' numbers, read once
// per sort.
struct CFileSortKey {
    bool folder;
    uint64_t size;
    uint64_t written;
};

struct CShellSortInfo {
    IShellFolder* folder;
    int column;
    bool ascending;
    std::map<const CShellItemData*, CFileSortKey> keys;
};

const int kSizeColumn = 1;
const int kDateColumn = 3;

CFileSortKey ReadSortKey(const CShellItemData& record)
{
    CFileSortKey key = {record.IsFolder(), 0, 0};
    char path[MAX_PATH];
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (record.GetPath(path) && GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        key.size = ((uint64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
        key.written = ((uint64_t)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
    }
    return key;
}

// Folders before files, then the column's number.
int CompareFileKeys(const CFileSortKey& a, const CFileSortKey& b, int column)
{
    if (a.folder != b.folder)
        return a.folder ? -1 : 1;
    uint64_t first = column == kSizeColumn ? a.size : a.written;
    uint64_t second = column == kSizeColumn ? b.size : b.written;
    return first < second ? -1 : first > second ? 1 : 0;
}

CShellItemData* RecordOf(LPARAM rowData)
{
    CUIListCtrlData* row = (CUIListCtrlData*)rowData;
    return row ? (CShellItemData*)row->m_object : nullptr;
}

// The wait cursor while a folder is read.
class CBusyCursor {
public:
    CBusyCursor() : m_old(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    ~CBusyCursor() { ::SetCursor(m_old); }

private:
    HCURSOR m_old;
};

// Orders relative id lists the way the shown folder compares them.
struct CShellPidlCompare {
    IShellFolder* folder;
    bool operator()(LPCITEMIDLIST a, LPCITEMIDLIST b) const
    {
        HRESULT result = folder->CompareIDs(0, a, b);
        return FAILED(result) ? false : (short)HRESULT_CODE(result) < 0;
    }
};

}  // namespace

CIEShellListCtrl::CIEShellListCtrl()
{
    SHGetMalloc(&m_pMalloc);
    SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &m_pidlDesktop);
    m_columnHeadings = LoadResString(IDS_FILE_LIST_HEADINGS);
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    auto lighten = [](int c) { return 255 - c < 71 ? 255 : c + 70; };
    m_lightHighlight = RGB(lighten(GetRValue(highlight)), lighten(GetGValue(highlight)),
                           lighten(GetBValue(highlight)));
    m_styleBits = 0;
    m_extendedStyle = LVS_EX_INFOTIP;
    LoadViewSettings();
}

CIEShellListCtrl::~CIEShellListCtrl()
{
    FreeTaskTable();
    ReleaseFolder();
    FreeAllRecords();
    if (m_pidlDesktop)
        ILFree(m_pidlDesktop);
    if (m_pMalloc)
        m_pMalloc->Release();
    SaveViewSettings();
}

void CIEShellListCtrl::LoadViewSettings()
{
    CRegKey key;
    int column = 0;
    bool ascending = true;
    if (key.Open(HKEY_CURRENT_USER, HARBECK_REGISTRY_ROOT "Option\\Browser", KEY_READ) == ERROR_SUCCESS) {
        DWORD value = 0;
        if (key.QueryDWORDValue("SortType", value) == ERROR_SUCCESS && value <= 3)
            column = (int)value;
        if (key.QueryDWORDValue("SortDir", value) == ERROR_SUCCESS)
            ascending = value != 0;
    }
    SetSortInfoNoResort(column, ascending);
    CRegKey mainKey;
    if (mainKey.Open(HKEY_CURRENT_USER, HARBECK_REGISTRY_ROOT "main", KEY_READ) == ERROR_SUCCESS) {
        DWORD value = 0;
        if (mainKey.QueryDWORDValue("LastViewType", value) == ERROR_SUCCESS)
            m_viewType = value > VIEWTYPE_THUMBNAILS ? VIEWTYPE_THUMBNAILS : (int)value;
    }
}

void CIEShellListCtrl::SaveViewSettings() const
{
    CRegKey key;
    if (CreateProductKey(key, "Option\\Browser")) {
        key.SetDWORDValue("SortType", (DWORD)GetSortColumn());
        key.SetDWORDValue("SortDir", GetSortAscending() ? 1 : 0);
    }
    CRegKey mainKey;
    if (CreateProductKey(mainKey, "main"))
        mainKey.SetDWORDValue("LastViewType", (DWORD)m_viewType);
}

// ---------------------------------------------------------------------------
// The window.

DWORD CIEShellListCtrl::GetCreateStyle() const
{
    DWORD viewStyle = IsThumbnailView() ? LVS_ICON : (DWORD)m_viewType;
    return viewStyle | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | LVS_EDITLABELS | LVS_SHAREIMAGELISTS |
           LVS_SHOWSELALWAYS;
}

void CIEShellListCtrl::ChangeStyle(UINT& style)
{
    CUIODListCtrl::ChangeStyle(style);
    style |= LVS_EDITLABELS | LVS_SHAREIMAGELISTS;
}

int CIEShellListCtrl::OnCreate(LPCREATESTRUCT cs)
{
    if (CUIODListCtrl::OnCreate(cs) == -1)
        return -1;
    if (TTaskManageThread* thread = TaskThread())
        thread->SetNotifyWnd(m_hWnd);
    m_showOtherFiles = Preference.ShowNoneDrawingFile;
    m_onlyDrawings = Preference.OnlyShowDrawing;
    SetSystemImageLists();
    if (IsThumbnailView())
        SetThumbnailMode(true);
    m_contextMenu.LoadMenu(IDR_FILE_LIST_MENU);
    m_folderWatch.Start(m_hWnd);
    m_shellSettings.Refresh();
    return 0;
}

void CIEShellListCtrl::OnDestroy()
{
    m_folderWatch.StopAllThreads();
    FreeTaskTable();
    if (TTaskManageThread* thread = TaskThread()) {
        thread->SetNotifyEnabled(false);
        if (thread->GetNotifyWnd() == m_hWnd)
            thread->SetNotifyWnd(nullptr);
    }
    CUIODListCtrl::OnDestroy();
}

void CIEShellListCtrl::SetSystemImageLists()
{
    SHFILEINFOA info = {};
    m_smallSysImages =
        (HIMAGELIST)SHGetFileInfoA("", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    m_largeSysImages = (HIMAGELIST)SHGetFileInfoA("", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_ICON);
    if (info.hIcon)
        DestroyIcon(info.hIcon);
    SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)m_smallSysImages);
    SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, (LPARAM)m_largeSysImages);
}

void CIEShellListCtrl::InitializeList()
{
    if (!m_columnsMade)
        MakeColumns();
}

void CIEShellListCtrl::MakeColumns()
{
    if (InitColumnHeadings(m_columnHeadings) > 0)
        m_columnsMade = 1;
}

CString CIEShellListCtrl::GetShellColumnHeadings()
{
    CString headings;
    CShellDetails details(m_folder);
    for (UINT column = 0; column < kMaxShellColumns; ++column) {
        SHELLDETAILS heading = {};
        if (FAILED(details.GetDetailsOf(nullptr, column, &heading)))
            break;
        LPSTR text = nullptr;
        if (FAILED(m_pidls.StrRetToText(heading.str, nullptr, &text)))
            break;
        if (column > 0)
            headings += '|';
        headings += text;
        m_pidls.FreeText(text);
    }
    return headings;
}

void CIEShellListCtrl::SetClearPreviewOnFill(bool on)
{
    g_clearPreviewOnFill = on;
}

bool CIEShellListCtrl::ClearsPreviewOnFill()
{
    return g_clearPreviewOnFill;
}

void CIEShellListCtrl::OnSettingChange(UINT flags, LPCSTR section)
{
    CUIODListCtrl::OnSettingChange(flags, section);
    m_shellSettings.Refresh();
    RefreshKeepSelection(true, false);
}

void CIEShellListCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (!IsLabelEditing() && ::GetFocus() != m_hWnd)
        SetFocus();
    CUIODListCtrl::OnMouseMove(flags, point);
}

LRESULT CIEShellListCtrl::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    CWnd* parent = GetParent();
    return parent ? parent->SendMessage(WM_SETMESSAGESTRING, wParam, lParam) : 0;
}

// F2 renames the current item in place, as the rename command does.
LRESULT CIEShellListCtrl::OnRenameKey(WPARAM, LPARAM)
{
    StartRename();
    return 0;
}

LRESULT CIEShellListCtrl::OnDeleteKey(WPARAM, LPARAM)
{
    DeleteItems();
    return 0;
}

LRESULT CIEShellListCtrl::OnPropertiesKey(WPARAM, LPARAM)
{
    ShowProperties();
    return 0;
}

LRESULT CIEShellListCtrl::OnOpenKey(WPARAM, LPARAM)
{
    OpenSelectedItem();
    return 0;
}

LRESULT CIEShellListCtrl::OnShowFolder(WPARAM, LPARAM lParam)
{
    const CShellTreeItemData* item = (const CShellTreeItemData*)lParam;
    if (!item)
        return 0;
    CShellFolderRef folder = {item->parentFolder, item->item, item->fullItem};
    BrowseToFolder(folder);
    return 1;
}

void CIEShellListCtrl::PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(message, wParam, lParam);
}

LRESULT CIEShellListCtrl::SendToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) const
{
    CWnd* main = AfxGetMainWnd();
    return main ? main->SendMessage(message, wParam, lParam) : 0;
}

// ---------------------------------------------------------------------------
// The shown folder.

bool CIEShellListCtrl::BrowseToPath(LPCSTR path)
{
    CShellPidl pidls;
    LPITEMIDLIST absolute = nullptr;
    if (FAILED(pidls.ParsePath(path, &absolute, nullptr)) || !absolute)
        return false;
    CShellFolderRef folder = {nullptr, nullptr, absolute};
    bool shown = BrowseToFolder(folder);
    pidls.Free(absolute);
    return shown;
}

bool CIEShellListCtrl::BrowseToFolder(const CShellFolderRef& folder)
{
    IShellFolder* shown = nullptr;
    if (folder.parentFolder && folder.relative) {
        if (FAILED(folder.parentFolder->BindToObject(folder.relative, nullptr, IID_IShellFolder, (void**)&shown)))
            return false;
    } else {
        IShellFolder* desktop = nullptr;
        if (FAILED(SHGetDesktopFolder(&desktop)))
            return false;
        CShellPidl pidls;
        if (!folder.absolute || ILIsEmpty(folder.absolute) ||
            pidls.IsEqual(folder.absolute, m_pidlDesktop, desktop)) {
            shown = desktop;
        } else {
            HRESULT bound = desktop->BindToObject(folder.absolute, nullptr, IID_IShellFolder, (void**)&shown);
            desktop->Release();
            if (FAILED(bound))
                return false;
        }
    }
    bool result = SetFolder(folder, shown);
    shown->Release();
    return result;
}

bool CIEShellListCtrl::SetFolder(const CShellFolderRef& folder, IShellFolder* shown)
{
    SendMessage(WM_SETREDRAW, FALSE);
    ModifyStyle(0, LVS_NOSCROLL);
    m_shellColumnMode = 1;
    ReleaseFolder();
    if (folder.relative)
        m_folderRelative = ILClone(folder.relative);
    m_folderAbsolute = folder.absolute ? ILClone(folder.absolute) : ILClone(m_pidlDesktop);
    char path[MAX_PATH] = "";
    if (m_folderAbsolute && SHGetPathFromIDListA(m_folderAbsolute, path))
        m_folderPath = path;
    else
        m_folderPath.Empty();
    AppSW.lastViewPath = m_folderPath;
    m_parentFolder = folder.parentFolder;
    if (m_parentFolder)
        m_parentFolder->AddRef();
    m_folder = shown;
    m_folder->AddRef();
    FillList();
    ModifyStyle(LVS_NOSCROLL, 0);
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate();
    m_folderWatch.Rearm();
    PostToMainWindow(WM_UPDATE_STATUS, 0, 0);
    return true;
}

void CIEShellListCtrl::ReleaseFolder()
{
    if (m_folder)
        m_folder->Release();
    if (m_parentFolder)
        m_parentFolder->Release();
    m_folder = nullptr;
    m_parentFolder = nullptr;
    if (m_folderRelative)
        ILFree(m_folderRelative);
    if (m_folderAbsolute)
        ILFree(m_folderAbsolute);
    m_folderRelative = nullptr;
    m_folderAbsolute = nullptr;
}

SHELLFLAGSTATE CIEShellListCtrl::GetShellFlags() const
{
    SHELLFLAGSTATE state = {};
    DWORD flags = m_shellSettings.GetFlags();
    memcpy(&state, &flags, sizeof(DWORD) < sizeof(state) ? sizeof(DWORD) : sizeof(state));
    return state;
}

SHCONTF CIEShellListCtrl::GetEnumFlags() const
{
    SHELLFLAGSTATE state = GetShellFlags();
    SHCONTF enumFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
    if (state.fShowAllObjects && !state.fShowSysFiles)
        enumFlags |= SHCONTF_INCLUDEHIDDEN;
    return enumFlags;
}

IEnumIDList* CIEShellListCtrl::EnumerateFolder()
{
    IEnumIDList* items = nullptr;
    CWnd* parent = GetParent();
    HRESULT result = m_folder->EnumObjects(parent ? parent->m_hWnd : m_hWnd, GetEnumFlags(), &items);
    if (FAILED(result) || result == S_FALSE) {
        if (items)
            items->Release();
        return nullptr;
    }
    return items;
}

bool CIEShellListCtrl::FillList()
{
    CBusyCursor wait;
    InitializeList();
    if (g_clearPreviewOnFill)
        ClearPreview();
    if (!m_folder)
        return false;
    IEnumIDList* items = EnumerateFolder();
    if (!items) {
        ResetForFolder();
        EndFill();
        return false;
    }
    if (!m_listCleared)
        ResetForFolder();
    SendToMainWindow(WM_LIST_FILLED, 0, 0);
    if (IsThumbnailView() && UpdateCellSize())
        RebuildCells();
    BeginThumbnailBatch(false);
    m_filling = 1;
    m_drawDuringFill = 1;
    LPITEMIDLIST relative = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &relative, &fetched) == S_OK && fetched == 1) {
        ULONG attributes = kItemAttributeMask;
        m_folder->GetAttributesOf(1, (LPCITEMIDLIST*)&relative, &attributes);
        int32_t kind = 0;
        bool stop = false;
        if (ClassifyItem(relative, attributes, kind))
            stop = AddItemRow(relative, attributes, kind) == nullptr;
        CoTaskMemFree(relative);
        if (stop)
            break;
    }
    items->Release();
    m_filling = 0;
    EndFill();
    RequeueThumbnails();
    StartThumbnailTasks(false, false);
    return true;
}

CShellItemData* CIEShellListCtrl::AddItemRow(LPCITEMIDLIST relative, ULONG attributes, int32_t kind)
{
    CShellItemData* record = MakeItemRecord(m_pMalloc, m_folder, relative, m_folderAbsolute);
    if (!record)
        return nullptr;
    record->attributes = attributes;
    record->fileKind = kind;
    m_records.push_back(record);
    AddObject(record, I_IMAGECALLBACK);
    return record;
}

bool CIEShellListCtrl::ClassifyItem(LPCITEMIDLIST relative, ULONG attributes, int32_t& kind)
{
    if (!(attributes & (SFGAO_FOLDER | SFGAO_FILESYSTEM)))
        return false;
    if (attributes & SFGAO_FOLDER) {
        if (IsThumbnailView() && !(attributes & SFGAO_FILESYSANCESTOR))
            return false;
        ++m_folderCount;
        kind = kItemKindFolder;
        return true;
    }
    kind = FileKindOf(relative);
    if (kind >= 0) {
        ++m_fileCount;
        return true;
    }
    return !IsThumbnailView() && m_showOtherFiles;
}

int32_t CIEShellListCtrl::FileKindOf(LPCITEMIDLIST relative)
{
    char name[MAX_PATH];
    m_pidls.GetFriendlyName(m_folder, relative, SHGDN_INFOLDER | SHGDN_FORPARSING, name);
    const CDrawingFileInfo* info = GetDrawingFileInfo(name);
    return info ? info->type : kItemKindOther;
}

// A kept row is read again: its kind by the present file-type table (which
// the file-type filter rebuilds), and its size and date from the disk.
void CIEShellListCtrl::UpdateKeptRecord(CShellItemData& record)
{
    if (record.pDetails) {
        record.pDetails->texts[kSizeColumn].Empty();
        record.pDetails->texts[kDateColumn].Empty();
    }
    if (record.IsFolder())
        return;
    int32_t kind = FileKindOf(record.pidlRelative);
    if (kind != record.fileKind) {
        record.DropThumbnail();
        record.fileKind = kind;
    }
}

// The rows a refresh drops: those FillList would no longer list.
bool CIEShellListCtrl::IsRefusedNow(const CShellItemData& record) const
{
    if (IsThumbnailView())
        return record.fileKind == kItemKindOther ||
               (record.IsFolder() && !(record.attributes & SFGAO_FILESYSANCESTOR));
    return record.fileKind == kItemKindOther && !m_showOtherFiles;
}

void CIEShellListCtrl::ResetForFolder()
{
    m_listCleared = 1;
    FreeAllRecords();
    SendMessage(LVM_DELETEALLITEMS);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    FreeAllRecords();
    m_folderWatch.Rearm();
}

void CIEShellListCtrl::EndFill()
{
    m_listCleared = 0;
    Sort();
    if (!m_shellColumnMode)
        for (int column = 0; column < GetColumnCount(); ++column)
            SendMessage(LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE);
}

void CIEShellListCtrl::OnDeleteAllItems()
{
    FreeAllRecords();
}

void CIEShellListCtrl::FreeAllRecords()
{
    FreeTaskTable();
    m_retryItem = -1;
    for (CShellItemData* record : m_records)
        FreeItemRecord(m_pMalloc, record);
    m_records.clear();
}

void CIEShellListCtrl::CountKinds()
{
    m_fileCount = 0;
    m_folderCount = 0;
    for (int row = 0; row < GetItemCount(); ++row) {
        CShellItemData* record = GetItemRecord(row);
        if (!record)
            continue;
        if (record->IsFolder())
            ++m_folderCount;
        else if (record->fileKind >= 0)
            ++m_fileCount;
    }
}

void CIEShellListCtrl::Refresh(bool sort)
{
    if (!m_folder)
        return;
    CBusyCursor wait;
    if (IsThumbnailView() && UpdateCellSize())
        RebuildCells();
    BeginThumbnailBatch(true);
    std::map<LPCITEMIDLIST, int, CShellPidlCompare> kept(CShellPidlCompare{m_folder});
    for (int row = 0; row < GetItemCount();) {
        CShellItemData* record = GetItemRecord(row);
        if (record)
            UpdateKeptRecord(*record);
        if (record && IsRefusedNow(*record)) {
            record->DropThumbnail();
            SendMessage(LVM_DELETEITEM, row);
            continue;
        }
        if (record)
            kept[record->pidlRelative] = row;
        ++row;
    }
    std::vector<LPITEMIDLIST> added;
    if (IEnumIDList* items = EnumerateFolder()) {
        LPITEMIDLIST relative = nullptr;
        ULONG fetched = 0;
        while (items->Next(1, &relative, &fetched) == S_OK && fetched == 1) {
            auto found = kept.find(relative);
            if (found != kept.end())
                kept.erase(found);
            else
                added.push_back(ILClone(relative));
            CoTaskMemFree(relative);
        }
        items->Release();
    }
    ModifyStyle(0, LVS_NOSCROLL);
    SendMessage(WM_SETREDRAW, FALSE);
    std::vector<int> vanished;
    for (const auto& entry : kept)
        vanished.push_back(entry.second);
    std::sort(vanished.begin(), vanished.end());
    int deleted = 0;
    for (int row : vanished) {
        int index = row - deleted++;
        if (GetItemState(index, LVIS_SELECTED | LVIS_FOCUSED)) {
            ClearPreview();
            m_selectedPath.Empty();
        }
        if (CShellItemData* record = GetItemRecord(index))
            record->DropThumbnail();
        SendMessage(LVM_DELETEITEM, index);
    }
    for (LPITEMIDLIST relative : added) {
        if (relative) {
            ULONG attributes = kItemAttributeMask;
            m_folder->GetAttributesOf(1, (LPCITEMIDLIST*)&relative, &attributes);
            int32_t kind = 0;
            if (ClassifyItem(relative, attributes, kind))
                AddItemRow(relative, attributes, kind);
        }
        ILFree(relative);
    }
    if (sort)
        Sort();
    CountKinds();
    ModifyStyle(LVS_NOSCROLL, 0);
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate();
    RequeueThumbnails();
    StartThumbnailTasks(false, true);
}

void CIEShellListCtrl::RefreshKeepSelection(bool sort, bool clearFirst)
{
    if (!m_folder)
        return;
    CString kept = m_selectedPath;
    m_refreshAllowed = 0;
    if (clearFirst) {
        SendMessage(LVM_DELETEALLITEMS);
        FreeAllRecords();
    }
    Refresh(sort);
    m_refreshAllowed = 1;
    if (!kept.IsEmpty() && !SelectItemByPath(kept))
        m_selectedPath.Empty();
    PostToMainWindow(WM_UPDATE_STATUS, 0, 0);
}

// ---------------------------------------------------------------------------
// The folder watcher's notices.

LRESULT CIEShellListCtrl::OnGetCurrentFolder(WPARAM wParam, LPARAM)
{
    char* buffer = (char*)wParam;
    if (AppSW.mode == APPMODE_BROWSE && buffer) {
        buffer[0] = '\0';
        if (m_folderAbsolute)
            SHGetPathFromIDListA(m_folderAbsolute, buffer);
    }
    return 1;
}

LRESULT CIEShellListCtrl::OnFolderContentChanged(WPARAM, LPARAM lParam)
{
    if (m_folderWatch.OnFolderChanged(lParam) && m_refreshAllowed)
        RefreshKeepSelection(true, true);
    return 1;
}

// ---------------------------------------------------------------------------
// Views.

void CIEShellListCtrl::SetViewType(int type)
{
    if (type < VIEWTYPE_LARGE_ICONS || type > VIEWTYPE_THUMBNAILS || type == m_viewType)
        return;
    bool thumbnailsChange = type == VIEWTYPE_THUMBNAILS || IsThumbnailView();
    m_viewType = type;
    if (thumbnailsChange) {
        if (!m_folder) {
            ApplyViewStyle();
            return;
        }
        CString kept = m_selectedPath;
        ApplyViewStyle();
        Refresh(false);
        m_refreshAllowed = 1;
        SelectItemByPath(kept);
        return;
    }
    SendMessage(WM_SETREDRAW, FALSE);
    ApplyViewStyle();
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate();
    SelectItemByPath(m_selectedPath);
}

void CIEShellListCtrl::ApplyViewStyle()
{
    switch (m_viewType) {
    case VIEWTYPE_LARGE_ICONS:
        SetThumbnailMode(false);
        ModifyStyle(0x803, LVS_ICON | LVS_AUTOARRANGE);
        break;
    case VIEWTYPE_REPORT:
        SetThumbnailMode(false);
        ModifyStyle(0x103, LVS_REPORT);
        break;
    case VIEWTYPE_SMALL_ICONS:
        SetThumbnailMode(false);
        ModifyStyle(0x803, LVS_SMALLICON | LVS_AUTOARRANGE);
        break;
    case VIEWTYPE_LIST:
        SetThumbnailMode(false);
        ModifyStyle(0x803, LVS_LIST | LVS_AUTOARRANGE);
        break;
    default:
        ModifyStyle(0x803, LVS_ICON | LVS_AUTOARRANGE);
        SetThumbnailMode(true);
        break;
    }
}

void CIEShellListCtrl::OnPreferencesChanged(bool refreshOtherViews, bool force)
{
    BYTE showOther = Preference.ShowNoneDrawingFile;
    // A new file-type filter changes the kinds of the rows in every view.
    bool filterChanged = Preference.OnlyShowDrawing != m_onlyDrawings;
    if (showOther == m_showOtherFiles && !force && !filterChanged)
        return;
    m_showOtherFiles = showOther;
    m_onlyDrawings = Preference.OnlyShowDrawing;
    if ((refreshOtherViews && !IsThumbnailView()) || ((force || filterChanged) && IsThumbnailView())) {
        m_refreshAllowed = 0;
        Refresh(false);
        m_refreshAllowed = 1;
    }
}

// ---------------------------------------------------------------------------
// Sorting and report cells.

void CIEShellListCtrl::OnSortChanged()
{
    Preference.SetSortType(GetSortColumn());
    Preference.SortDir = GetSortAscending() ? 1 : 0;
}

int CALLBACK CIEShellListCtrl::CompareByShell(LPARAM first, LPARAM second, LPARAM sortInfo)
{
    const CShellSortInfo* info = (const CShellSortInfo*)sortInfo;
    CShellItemData* a = RecordOf(first);
    CShellItemData* b = RecordOf(second);
    if (!a || !b)
        return 0;
    int order = 0;
    int shellColumn = info->column;
    if (info->column == kSizeColumn || info->column == kDateColumn) {
        order = CompareFileKeys(info->keys.at(a), info->keys.at(b), info->column);
        shellColumn = 0;
    }
    if (order == 0) {
        HRESULT result = info->folder->CompareIDs(shellColumn, a->pidlRelative, b->pidlRelative);
        order = FAILED(result) ? 0 : (short)HRESULT_CODE(result);
    }
    return info->ascending ? order : -order;
}

void CIEShellListCtrl::SortByShell()
{
    CShellSortInfo info = {m_folder, GetSortColumn(), GetSortAscending(), {}};
    if (info.column == kSizeColumn || info.column == kDateColumn)
        for (int row = 0; row < GetItemCount(); ++row)
            if (const CShellItemData* record = GetItemRecord(row))
                info.keys[record] = ReadSortKey(*record);
    SendMessage(LVM_SORTITEMS, (WPARAM)&info, (LPARAM)&CIEShellListCtrl::CompareByShell);
    SetSortInfoNoResort(info.column, info.ascending);
    GetHeader().SetSortImage(info.column, info.ascending);
}

void CIEShellListCtrl::Sort()
{
    if (m_shellColumnMode && m_folder)
        SortByShell();
    else
        CUIODListCtrl::Sort();
}

BOOL CIEShellListCtrl::OnColumnClick(NMLISTVIEW* listView)
{
    if (!m_shellColumnMode || !m_folder)
        return CUIODListCtrl::OnColumnClick(listView);
    int column = listView->iSubItem;
    bool ascending = column == GetSortColumn() ? !GetSortAscending() : true;
    SetSortInfoNoResort(column, ascending);
    OnSortChanged();
    SortByShell();
    int row = GetSelectedOrFocusedRow();
    if (row >= 0)
        EnsureVisible(row, FALSE);
    return TRUE;
}

BOOL CIEShellListCtrl::GetDispInfoText(NMLVDISPINFOA* dispInfo)
{
    CShellItemData* record = RecordOf(dispInfo->item.lParam);
    if (!record)
        return FALSE;
    CShellItemDetails& details = DetailsOf(*record);
    LVITEMA& item = dispInfo->item;
    if (item.mask & LVIF_IMAGE) {
        // Thumbnail cells draw their own pictures: the small icon is looked
        // up when another view shows it.
        if (details.smallIcon < 0 && !IsThumbnailView()) {
            SHFILEINFOA info = {};
            SHGetFileInfoA((LPCSTR)record->pidlAbsolute, 0, &info, sizeof(info),
                           SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
            details.smallIcon = info.iIcon;
        }
        item.iImage = details.smallIcon >= 0 ? details.smallIcon : I_IMAGENONE;
        if (record->attributes & SFGAO_GHOSTED) {
            item.mask |= LVIF_STATE;
            item.stateMask |= LVIS_CUT;
            item.state |= LVIS_CUT;
        }
        if (record->attributes & (SFGAO_LINK | SFGAO_SHARE)) {
            item.mask |= LVIF_STATE;
            item.stateMask |= LVIS_OVERLAYMASK;
            item.state |= INDEXTOOVERLAYMASK((record->attributes & SFGAO_LINK) ? 2 : 1);
        }
    }
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 && item.iSubItem >= 0 &&
        item.iSubItem < kColumnCount) {
        CString text = GetColumnText(details, item.iSubItem, *record);
        lstrcpynA(item.pszText, text, item.cchTextMax);
    }
    return TRUE;
}

CShellItemDetails& CIEShellListCtrl::DetailsOf(CShellItemData& record)
{
    if (!record.pDetails) {
        record.pDetails = new CShellItemDetails(kColumnCount);
        record.pDetails->pidlAbsolute = ILClone(record.pidlAbsolute);
    }
    return *record.pDetails;
}

CString CIEShellListCtrl::GetColumnText(CShellItemDetails& details, int column, CShellItemData& record)
{
    CString& cached = details.texts[column];
    if (!cached.IsEmpty())
        return cached;
    switch (column) {
    case 0: {
        char name[MAX_PATH];
        if (m_pidls.GetFriendlyName(record.pParentFolder, record.pidlRelative, SHGDN_NORMAL, name))
            cached = name;
        break;
    }
    case 2: {
        CString path = record.GetPath();
        SHFILEINFOA info = {};
        if (path.GetLength() > 3 && SHGetFileInfoA(path, 0, &info, sizeof(info), SHGFI_TYPENAME))
            cached = info.szTypeName;
        break;
    }
    default:
        if (!record.IsFolder()) {
            CString size;
            CString date;
            if (GetSizeAndDate(record.GetPath(), size, date))
                cached = column == 1 ? size : date;
        }
        break;
    }
    return cached;
}

bool CIEShellListCtrl::GetSizeAndDate(const CString& path, CString& size, CString& date)
{
    WIN32_FILE_ATTRIBUTE_DATA found = {};
    if (path.GetLength() <= 3 || !GetFileAttributesExA(path, GetFileExInfoStandard, &found))
        return false;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    uint64_t bytes = ((uint64_t)found.nFileSizeHigh << 32) | found.nFileSizeLow;
    // Kilobytes rounded up; up to 1024 bytes, empty files too, count as one.
    uint64_t kilobytes = bytes <= 1024 ? 1 : (bytes + 1023) / 1024;
    size.Format("%llu", (unsigned long long)kilobytes);
    FormatThousands(size);
    size += " KB";
    FILETIME time = found.ftLastWriteTime;
    if (time.dwLowDateTime == 0 && time.dwHighDateTime == 0)
        time = found.ftCreationTime;
    date = CLocaleInfo::Instance().FormatFileTime(time);
    return true;
}
