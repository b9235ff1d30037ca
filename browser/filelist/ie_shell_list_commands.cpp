// The file list's selection, its items opened, renamed, deleted and shown
// in the preview, its dialogs (new folder, Exif, saving thumbnails), and
// the viewer's previous and next drawing.
#include "browser/filelist/ie_shell_list_ctrl.h"

#include "browser/dialogs/exif_dlg.h"
#include "browser/dialogs/new_folder_dlg.h"
#include "browser/shell/file_name_check.h"
#include "browser/tree/shell_tree_messages.h"
#include "core/appsw.h"
#include "core/file_types.h"
#include "core/path_parts.h"
#include "core/preference.h"
#include "core/res_string.h"
#include "core/shell_properties.h"
#include "core/size_text.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "resources/browser_ids.h"
#include "views/preview/preview_pane.h"
#include "views/viewer/view_frame.h"

namespace {

const int kPathBufferSize = MAX_PATH;

// The folder part of a path, with its trailing backslash.
CString FolderOf(const CString& path)
{
    PathParts parts(path);
    return parts.drive + parts.folder;
}

}  // namespace

void CIEShellListCtrl::ShowMessage(UINT stringId)
{
    AfxMessageBox(LoadResString(stringId), MB_OK | MB_ICONINFORMATION);
}

// ---------------------------------------------------------------------------
// Rows, records and paths.

CShellItemData* CIEShellListCtrl::GetItemRecord(int index) const
{
    int row = index;
    if (row == -1) {
        row = (int)::SendMessageA(m_hWnd, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
        if (row < 0)
            row = (int)::SendMessageA(m_hWnd, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    }
    return row < 0 ? nullptr : (CShellItemData*)GetItemExtData(row);
}

CString CIEShellListCtrl::GetItemPath(int index)
{
    CShellItemData* record = GetItemRecord(index);
    return record ? record->GetPath() : CString();
}

int CIEShellListCtrl::FindItemByPath(LPCSTR path) const
{
    for (int row = 0; row < GetItemCount(); ++row) {
        CShellItemData* record = (CShellItemData*)GetItemExtData(row);
        char itemPath[kPathBufferSize];
        if (record && record->GetPath(itemPath) && lstrcmpA(itemPath, path) == 0)
            return row;
    }
    return -1;
}

bool CIEShellListCtrl::SelectItemByPath(LPCSTR path)
{
    if (!path || !*path)
        return false;
    int row = FindItemByPath(path);
    if (row < 0)
        return false;
    m_selectedPath = path;
    SetItemState(-1, 0, LVIS_SELECTED);
    SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnsureVisible(row, FALSE);
    return true;
}

// ---------------------------------------------------------------------------
// Selection.

void CIEShellListCtrl::SelectAll()
{
    SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    SetFocus();
}

void CIEShellListCtrl::SelectNone()
{
    SetItemState(-1, 0, LVIS_SELECTED);
    SetFocus();
}

void CIEShellListCtrl::InvertSelection()
{
    for (int row = 0; row < GetItemCount(); ++row)
        SetItemState(row, GetItemState(row, LVIS_SELECTED) ^ LVIS_SELECTED, LVIS_SELECTED);
    SetFocus();
}

bool CIEShellListCtrl::SelectAllDrawings()
{
    bool any = false;
    for (int row = 0; row < GetItemCount(); ++row) {
        CShellItemData* record = (CShellItemData*)GetItemExtData(row);
        bool drawing = record && record->fileKind >= 0;
        any = any || drawing;
        SetItemState(row, drawing ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    if (!any)
        ShowMessage(IDS_NO_DRAWING_FOUND);
    SetFocus();
    return any;
}

void CIEShellListCtrl::ShowSelectedItem()
{
    int row = GetSelectedOrFocusedRow();
    if (row < 0)
        return;
    SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    EnsureVisible(row, TRUE);
}

bool CIEShellListCtrl::IsSingleJpeg() const
{
    if (GetSelectedCount() != 1)
        return false;
    CShellItemData* record = GetItemRecord(-1);
    return record && record->fileKind == FILEKIND_JPEG;
}

bool CIEShellListCtrl::IsSingleDwgOrDxf() const
{
    if (GetSelectedCount() != 1)
        return false;
    CShellItemData* record = GetItemRecord(-1);
    return record && (record->fileKind == FILEKIND_DWG || record->fileKind == FILEKIND_DXF);
}

bool CIEShellListCtrl::IsCurrentItemViewable() const
{
    CShellItemData* record = GetItemRecord(-1);
    return record && record->fileKind >= 0;
}

bool CIEShellListCtrl::GetSelectedPaths(CStringList& paths)
{
    paths.RemoveAll();
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED)) {
        CShellItemData* record = (CShellItemData*)GetItemExtData(row);
        CString path = record ? record->GetPath() : CString();
        if (!path.IsEmpty())
            paths.AddTail(path);
    }
    return !paths.IsEmpty();
}

CString CIEShellListCtrl::GetSelectedSizeText()
{
    CString text;
    if (m_filling || GetSelectedCount() == 0)
        return text;
    int64_t total = 0;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED)) {
        CShellItemData* record = (CShellItemData*)GetItemExtData(row);
        char path[kPathBufferSize];
        if (!record || record->IsFolder() || !record->GetPath(path))
            continue;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA(path, GetFileExInfoStandard, &data))
            total += ((int64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    }
    if (total > 0)
        FormatFileSize(total, text);
    return text;
}

BOOL CIEShellListCtrl::OnSelectionChanged(int row, LRESULT* result)
{
    *result = 0;
    if (row == -1)
        return TRUE;
    m_selectedPath = GetItemPath(row);
    ShowInPreview(m_selectedPath);
    PostToMainWindow(WM_UPDATE_STATUS, 0, 0);
    return TRUE;
}

void CIEShellListCtrl::ClearPreview()
{
    if (m_pPreview && m_pPreview->GetSafeHwnd())
        m_pPreview->ClearPreview(true);
}

void CIEShellListCtrl::ShowInPreview(const CString& path)
{
    if (!IsWindowVisible() || path.GetLength() <= 3 || !m_pPreview || !m_pPreview->GetSafeHwnd())
        return;
    if (const CDrawingFileInfo* info = GetDrawingFileInfo(path))
        m_pPreview->PreviewFile(path, info, "", 0);
    else
        ClearPreview();
}

// ---------------------------------------------------------------------------
// Opening.

BOOL CIEShellListCtrl::OnItemActivate(NMITEMACTIVATE* activate)
{
    if (activate && activate->iItem >= 0)
        OpenItem(activate->iItem);
    return TRUE;
}

bool CIEShellListCtrl::OpenSelectedItem()
{
    if (IsLabelEditing()) {
        SetFocus();
        return false;
    }
    return OpenItem(GetSelectedOrFocusedRow());
}

bool CIEShellListCtrl::OpenItem(int index)
{
    if (index < 0 || index >= GetItemCount())
        return false;
    m_selectedPath = GetItemPath(index);
    DWORD attributes = GetFileAttributesA(m_selectedPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CShellItemData* record = (CShellItemData*)GetItemExtData(index);
        if (m_hTreeWnd && record) {
            CListFolderItem item = {record->pParentFolder, record->pidlAbsolute};
            ::SendMessageA(m_hTreeWnd, WM_TREE_SELECT_ITEM, 0, (LPARAM)&item);
        }
        return true;
    }
    if (Preference.DBClickOpenByQuorvantix && ViewSelectedFile())
        return true;
    return ShellOpenItem(index, nullptr);
}

bool CIEShellListCtrl::ViewSelectedFile()
{
    CShellItemData* record = GetItemRecord(-1);
    if (!record || record->fileKind < 0)
        return false;
    // The row's own path: a refresh may have emptied the remembered one.
    m_selectedPath = record->GetPath();
    AppSW.SetViewPath(m_selectedPath);
    // A visible preview already holds the file, and view mode shows it at
    // once; otherwise the drawing view opens it. Asked before the switch,
    // which hides the preview with the browse frame.
    bool previewHoldsFile = m_pPreview && m_pPreview->GetSafeHwnd() && m_pPreview->IsWindowVisible();
    if (!previewHoldsFile && m_selectedPath.GetLength() < 4)
        return true;
    AppSW.ToViewMode();
    if (!previewHoldsFile && AppSW.viewFrame != NULL)
        AppSW.viewFrame->GetView()->OpenSelectedListFile();
    return true;
}

bool CIEShellListCtrl::ShellOpenItem(int index, LPCSTR verb)
{
    CShellItemData* record = index >= 0 ? (CShellItemData*)GetItemExtData(index) : nullptr;
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = m_hWnd;
    info.lpVerb = verb;
    info.lpIDList = record ? record->pidlAbsolute : nullptr;
    info.nShow = SW_SHOW;
    return ShellExecuteExA(&info) != FALSE;
}

bool CIEShellListCtrl::ShowProperties()
{
    return GetSelectedCount() > 0 && ShowShellProperties(m_hWnd, GetItemPath(-1));
}

// ---------------------------------------------------------------------------
// The list's dialogs.

bool CIEShellListCtrl::NewFolder()
{
    if (!HasFolderPath())
        return false;
    CNewFolderDlg dialog(m_folderPath, "新建文件夹", this);
    return dialog.DoModal() == IDOK;
}

bool CIEShellListCtrl::ShowExif()
{
    CString path = GetItemPath(-1);
    if (ShowExifDialog(this, path))
        return true;
    CString text;
    text.Format("文件: %s\n\n未能发现 exif 信息 !", (LPCSTR)path);
    AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
    return false;
}

bool CIEShellListCtrl::SaveThumbnails(const ThumbnailProgress& progress)
{
    if (!IsTaskIdleWithFiles())
        return false;
    std::vector<ThumbnailFileRow> rows(GetItemCount());
    for (int row = 0; row < GetItemCount(); ++row) {
        rows[row].selected = GetItemState(row, LVIS_SELECTED) != 0;
        CShellItemData* record = (CShellItemData*)GetItemExtData(row);
        if (!record)
            continue;
        rows[row].sourcePath = record->GetPath();
        rows[row].thumbnail = record->pThumbnail;
        rows[row].folder = record->IsFolder();
    }
    return AskAndWriteThumbnailFiles(this, m_folderPath, rows, progress);
}

// ---------------------------------------------------------------------------
// Deleting and renaming.

bool CIEShellListCtrl::DeleteItems()
{
    if (!IsTaskThreadIdle() || GetSelectedCount() == 0)
        return false;
    std::vector<char> names;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED)) {
        CShellItemData* record = (CShellItemData*)GetItemExtData(row);
        char path[kPathBufferSize];
        if (record && record->GetPath(path))
            names.insert(names.end(), path, path + lstrlenA(path) + 1);
    }
    if (names.empty())
        return false;
    names.push_back('\0');
    m_refreshAllowed = 1;
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = m_hWnd;
    operation.wFunc = FO_DELETE;
    operation.pFrom = names.data();
    operation.fFlags = (GetKeyState(VK_SHIFT) & 0x8000) ? 0 : FOF_ALLOWUNDO;
    return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}

bool CIEShellListCtrl::StartRename()
{
    int row = GetSelectedOrFocusedRow();
    return row >= 0 && SendMessage(LVM_EDITLABELA, row) != 0;
}

BOOL CIEShellListCtrl::AcceptLabelEdit(int row, int column, LPCSTR text)
{
    if (column != 0 || row < 0)
        return CUIODListCtrl::AcceptLabelEdit(row, column, text);
    return RenameItem(row, text);
}

bool CIEShellListCtrl::RenameItem(int row, LPCSTR newText)
{
    CString oldPath = GetItemPath(row);
    if (oldPath.IsEmpty())
        return false;
    UINT refusal = 0;
    if (!IsAcceptableFileName(newText, refusal)) {
        ShowMessage(refusal);
        return false;
    }
    PathParts parts(oldPath);
    CString newPath = parts.drive + parts.folder + newText;
    if (!IsExtensionShown(row, parts.extension))
        newPath += parts.extension;
    if (newPath.CompareNoCase(oldPath) == 0)
        return true;
    // The new name stays in the shown folder and never replaces another item.
    if (FolderOf(newPath).CompareNoCase(FolderOf(oldPath)) != 0 || newPath.GetLength() >= kPathBufferSize) {
        ShowMessage(IDS_RENAME_TOO_LONG);
        return false;
    }
    if (GetFileAttributesA(newPath) != INVALID_FILE_ATTRIBUTES) {
        ShowMessage(IDS_RENAME_EXISTS);
        return false;
    }
    std::vector<char> from(oldPath.GetString(), oldPath.GetString() + oldPath.GetLength() + 1);
    std::vector<char> to(newPath.GetString(), newPath.GetString() + newPath.GetLength() + 1);
    from.push_back('\0');
    to.push_back('\0');
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = m_hWnd;
    operation.wFunc = FO_RENAME;
    operation.pFrom = from.data();
    operation.pTo = to.data();
    if (SHFileOperationA(&operation) != 0 || operation.fAnyOperationsAborted)
        return false;
    m_refreshAllowed = 1;
    if (SelectItem(row) < 0) {
        ClearPreview();
        return false;
    }
    m_selectedPath = newPath;
    ShowInPreview(m_selectedPath);
    return false;
}

// The user edited the name as the row shows it: with its extension when the
// shell's setting says so, or when the shell's name carries it anyway (as
// Wine's does), so that "a.dxf" never becomes "a.dxf.dxf".
bool CIEShellListCtrl::IsExtensionShown(int row, const CString& extension)
{
    SHELLFLAGSTATE state = GetShellFlags();
    if (state.fShowExtensions || extension.IsEmpty())
        return state.fShowExtensions != 0;
    CShellItemData* record = (CShellItemData*)GetItemExtData(row);
    char name[MAX_PATH];
    if (!record || !m_pidls.GetFriendlyName(record->pParentFolder, record->pidlRelative, SHGDN_NORMAL, name))
        return false;
    CString shown(name);
    return shown.GetLength() > extension.GetLength() &&
           shown.Right(extension.GetLength()).CompareNoCase(extension) == 0;
}

void CIEShellListCtrl::ShowContextMenu(int, UINT, int x, int y)
{
    CMenu* popup = m_contextMenu.GetSubMenu(0);
    CWnd* main = AfxGetMainWnd();
    if (popup && main)
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, main);
}

// ---------------------------------------------------------------------------
// The viewer's previous and next drawing.

// The next row from 'from' in the direction of step whose record is a
// drawing or image; -1 when none (a row without record ends the search).
int CIEShellListCtrl::FindDrawing(int from, int step) const
{
    for (int row = from + step; row >= 0 && row < GetItemCount(); row += step) {
        CShellItemData* record = (CShellItemData*)GetItemExtData(row);
        if (!record)
            return -1;
        if (record->fileKind >= 0)
            return row;
    }
    return -1;
}

bool CIEShellListCtrl::HasPrevDrawing() const
{
    int current = GetSelectedOrFocusedRow();
    return current > 0 && FindDrawing(current, -1) >= 0;
}

bool CIEShellListCtrl::HasNextDrawing() const
{
    int current = GetSelectedOrFocusedRow();
    return current < GetItemCount() - 1 && FindDrawing(current, 1) >= 0;
}

CShellItemData* CIEShellListCtrl::MoveToDrawing(int step)
{
    int current = GetSelectedOrFocusedRow();
    if (current < 0 && step < 0)
        return nullptr;
    int found = FindDrawing(current, step);
    if (found < 0)
        return nullptr;
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    if (current >= 0)
        SetItemState(current, 0, both);
    SetItemState(found, both, both);
    EnsureVisible(found, TRUE);
    CShellItemData* record = (CShellItemData*)GetItemExtData(found);
    AppSW.SetViewPath(record->GetPath());
    return record;
}

CShellItemData* CIEShellListCtrl::SelectPrevDrawing()
{
    return MoveToDrawing(-1);
}

CShellItemData* CIEShellListCtrl::SelectNextDrawing()
{
    return MoveToDrawing(1);
}
