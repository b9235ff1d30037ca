// The browse frame's commands and their update rules. Most go to the file
// list or the folder tree; copy, cut and paste follow the focus; the view
// styles and the sorting wait for the thumbnail batch.
#include "browser/frame/browse_frame.h"

#include <vector>

#include "browser/dialogs/file_info_page.h"
#include "browser/dialogs/insert_into_autocad.h"
#include "browser/shell/shell_context_menu.h"
#include "core/appsw.h"
#include "core/preference.h"
#include "drawing/draw_thread/draw_thread.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "resources/resource.h"
#include "views/common/view_state.h"
#include "views/preview/preview_pane.h"

namespace {

const int kThumbnailView = 4;
const int kLargeIconView = 0;
const int kReportView = 1;
const int kSmallIconView = 2;
const int kListView = 3;

bool IsFolderPath(const CString& path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsTaskThreadBusy()
{
    return AppSW.taskThread != NULL && !AppSW.taskThread->IsIdle();
}

bool IsTaskThreadIdle()
{
    return AppSW.taskThread != NULL && AppSW.taskThread->IsIdle();
}

// The view code whose list-view style a command checks.
struct ViewCommand {
    UINT id;
    int viewCode;
    DWORD style;
};

const ViewCommand kViewCommands[] = {
    {ID_VIEW_LARGEICON, kLargeIconView, LVS_ICON},
    {ID_VIEW_DETAILS, kReportView, LVS_REPORT},
    {ID_VIEW_SMALLICON, kSmallIconView, LVS_SMALLICON},
    {ID_VIEW_LIST, kListView, LVS_LIST},
};

const ViewCommand* FindViewCommand(UINT id)
{
    for (const ViewCommand& command : kViewCommands) {
        if (command.id == id)
            return &command;
    }
    return NULL;
}

}  // namespace

// --- Focus ------------------------------------------------------------------------------

bool CBrowseFrame::IsFocusOnListSide() const
{
    HWND focus = ::GetFocus();
    return focus != NULL && (focus == m_fileListView.GetSafeHwnd() ||
                             focus == const_cast<CBrowseFrame*>(this)->GetFileList()->GetSafeHwnd());
}

bool CBrowseFrame::IsFocusOnTreeSide() const
{
    HWND focus = ::GetFocus();
    return focus != NULL && (focus == m_treeBar.GetSafeHwnd() ||
                             focus == const_cast<CBrowseFrame*>(this)->GetTree()->GetSafeHwnd());
}

// --- Files ------------------------------------------------------------------------------

void CBrowseFrame::OnFileOpen()
{
    GetFileList()->OpenSelectedItem();
}

void CBrowseFrame::OnUpdateFileOpen(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetFileList()->HasSelectionOrFocus());
}

void CBrowseFrame::OnEditWithApp()
{
    CShellItemData* record = GetFileList()->GetItemRecord(-1);
    if (record == NULL || record->IsFolder())
        return;
    CString path = record->GetPath();
    if (path.IsEmpty() || IsFolderPath(path))
        return;
    const char* verb = record->fileKind >= 0 ? "open" : "edit";
    CWnd* main = AfxGetMainWnd();
    ::ShellExecuteA(main != NULL ? main->GetSafeHwnd() : NULL, verb, path, NULL, NULL, SW_SHOWNORMAL);
}

void CBrowseFrame::OnUpdateEditWithApp(CCmdUI* cmdUI)
{
    CShellItemData* record = GetFileList()->GetItemRecord(-1);
    CString path = record != NULL ? record->GetPath() : CString();
    cmdUI->Enable(!path.IsEmpty() && !IsFolderPath(path));
}

void CBrowseFrame::OnFileProperties()
{
    // The drawing thread's information belongs to the file it holds: only
    // when that is the current item does the sheet show it.
    CString path = GetFileList()->GetItemPath(-1);
    TDwgDrawThread* thread = GetRunningDrawThread();
    DRAWINGINFO info;
    if (thread != NULL && thread->IsCurrentFile(path) && GetPreviewDrawingInfo(&info))
        ShowFileProperties(path, &info);
    else
        GetFileList()->ShowFileProperties();
}

void CBrowseFrame::OnUpdateHasSelection(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetFileList()->HasSelection());
}

void CBrowseFrame::OnSwitchToView()
{
    GetFileList()->ViewSelectedFile();
}

void CBrowseFrame::OnUpdateSwitchToView(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetFileList()->IsCurrentItemViewable());
}

void CBrowseFrame::OnInsertToAutoCAD()
{
    CStringList paths(10);
    if (GetFileList()->GetSelectedPaths(paths))
        InsertIntoAutoCAD(paths);
}

void CBrowseFrame::OnUpdateInsertToAutoCAD(CCmdUI* cmdUI)
{
    // GetIdleDrawThread: the program runs and the drawing thread is idle.
    cmdUI->Enable(GetIdleDrawThread() != NULL && GetFileList()->IsSingleDwgOrDxf());
}

void CBrowseFrame::OnExifInfo()
{
    GetFileList()->ShowExif();
}

void CBrowseFrame::OnUpdateExifInfo(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetFileList()->IsSingleJpeg());
}

void CBrowseFrame::OnSaveThumbnails()
{
    GetFileList()->SaveThumbnails(
        [this](int lower, int upper, int position) { SetProgress(lower, upper, position); });
}

void CBrowseFrame::OnUpdateSaveThumbnails(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetFileList()->IsTaskIdleWithFiles());
}

// --- Folders ----------------------------------------------------------------------------

void CBrowseFrame::OnFolderUp()
{
    GetTree()->SelectParentFolder();
}

void CBrowseFrame::OnUpdateFolderUp(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetTree()->HasParentFolder());
}

void CBrowseFrame::OnNewFolder()
{
    GetFileList()->NewFolder();
}

void CBrowseFrame::OnUpdateNewFolder(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetFileList()->HasFolderPath());
}

void CBrowseFrame::OnRefresh()
{
    // A running thumbnail batch is never restarted by the list's refresh;
    // the tree refreshes whenever it has the focus.
    if (::GetFocus() == GetTree()->GetSafeHwnd())
        GetTree()->RefreshSelectedBranch();
    else if (IsTaskThreadIdle())
        GetFileList()->RefreshKeepSelection(true, true);
}

void CBrowseFrame::OnUpdateRefresh(CCmdUI* cmdUI)
{
    cmdUI->Enable(::GetFocus() == GetTree()->GetSafeHwnd() || GetFileList()->IsTaskThreadIdle());
}

// --- Clipboard and deletion -------------------------------------------------------------

void CBrowseFrame::RunListClipboardVerb(UINT verb)
{
    CIEShellListCtrl* list = GetFileList();
    std::vector<LPCITEMIDLIST> items;
    IShellFolder* folder = NULL;
    CString firstPath;
    for (int row = list->GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list->GetNextItem(row, LVNI_SELECTED)) {
        CShellItemData* record = (CShellItemData*)list->GetItemExtData(row);
        if (record == NULL)
            continue;
        if (items.empty()) {
            folder = record->pParentFolder;
            firstPath = record->GetPath();
        }
        items.push_back(record->pidlRelative);
    }
    if (items.empty() || folder == NULL)
        return;
    HMENU popup = ::CreatePopupMenu();
    if (popup == NULL)
        return;
    // The menu's first item is the place the shell's commands go.
    ::AppendMenuA(popup, MF_STRING, 0, "");
    CShellContextMenu menu(&m_menuManager, GetSafeHwnd(), firstPath, items.data(), (UINT)items.size(), folder);
    if (SUCCEEDED(menu.Build(popup)))
        menu.Invoke(verb);
    ::DestroyMenu(popup);
}

void CBrowseFrame::MarkListSelectionCut()
{
    CIEShellListCtrl* list = GetFileList();
    for (int row = list->GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list->GetNextItem(row, LVNI_SELECTED))
        list->SetItemState(row, LVIS_CUT, LVIS_CUT | LVIS_OVERLAYMASK);
}

void CBrowseFrame::OnEditCut()
{
    if (!IsFocusOnListSide())
        return;
    MarkListSelectionCut();
    RunListClipboardVerb(CShellContextMenu::kCutId);
}

void CBrowseFrame::OnUpdateEditCut(CCmdUI* cmdUI)
{
    cmdUI->Enable(IsFocusOnListSide() && GetFileList()->HasSelection());
}

void CBrowseFrame::OnEditCopy()
{
    if (IsFocusOnListSide())
        RunListClipboardVerb(CShellContextMenu::kCopyId);
    else if (IsFocusOnTreeSide())
        GetTree()->CopyToClipboard();
}

void CBrowseFrame::OnUpdateEditCopy(CCmdUI* cmdUI)
{
    if (IsFocusOnListSide())
        cmdUI->Enable(GetFileList()->HasSelection());
    else if (IsFocusOnTreeSide())
        cmdUI->Enable(GetTree()->CanCopy());
    else
        cmdUI->Enable(FALSE);
}

void CBrowseFrame::OnEditPaste()
{
    if (IsFocusOnListSide())
        GetFileList()->Paste();
    else if (IsFocusOnTreeSide())
        GetTree()->Paste();
}

void CBrowseFrame::OnUpdateEditPaste(CCmdUI* cmdUI)
{
    if (IsFocusOnListSide())
        cmdUI->Enable(GetFileList()->CanPaste());
    else if (IsFocusOnTreeSide())
        cmdUI->Enable(GetTree()->CanPaste());
    else
        cmdUI->Enable(FALSE);
}

void CBrowseFrame::OnDeleteFiles()
{
    GetFileList()->DeleteSelected();
}

// --- Selection --------------------------------------------------------------------------

void CBrowseFrame::OnSelectAll()
{
    GetFileList()->SelectAll();
}

void CBrowseFrame::OnSelectAllDrawings()
{
    GetFileList()->SelectAllDrawings();
}

void CBrowseFrame::OnSelectNone()
{
    GetFileList()->SelectNone();
}

void CBrowseFrame::OnInvertSelection()
{
    GetFileList()->InvertSelection();
}

void CBrowseFrame::OnUpdateHasItems(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetFileList()->HasItems());
}

void CBrowseFrame::OnRename()
{
    GetFileList()->StartRename();
}

void CBrowseFrame::OnUpdateRename(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetFileList()->HasSelection() && ::GetFocus() == GetFileList()->GetSafeHwnd());
}

void CBrowseFrame::OnShowSelectedItem()
{
    GetFileList()->ShowSelectedItem();
}

void CBrowseFrame::OnUpdateShowSelectedItem(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetFileList()->HasSelectionOrFocus());
}

// --- Bars -------------------------------------------------------------------------------

void CBrowseFrame::ShowBarByPreference(CControlBar* bar, BYTE& preference)
{
    preference = preference ? 0 : 1;
    bar->ShowWindow(preference ? SW_SHOW : SW_HIDE);
    RecalcLayout();
}

void CBrowseFrame::OnViewToolbar()
{
    ShowBarByPreference(&m_toolBar, Preference.ShowToolBar);
}

void CBrowseFrame::OnUpdateViewToolbar(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(Preference.ShowToolBar ? 1 : 0);
}

void CBrowseFrame::OnViewStatusBar()
{
    ShowBarByPreference(&m_statusBar, Preference.ShowStatus);
}

void CBrowseFrame::OnUpdateViewStatusBar(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(Preference.ShowStatus ? 1 : 0);
}

void CBrowseFrame::OnToggleFolderPane()
{
    ShowControlBar(&m_treeBar, !m_treeBar.IsVisible(), FALSE);
}

void CBrowseFrame::OnUpdateToggleFolderPane(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_treeBar.IsVisible() ? 1 : 0);
}

void CBrowseFrame::OnTogglePreviewPane()
{
    ShowControlBar(&m_previewBar, !m_previewBar.IsVisible(), FALSE);
}

void CBrowseFrame::OnUpdateTogglePreviewPane(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_previewBar.IsVisible() ? 1 : 0);
}

// --- Thumbnails -------------------------------------------------------------------------

void CBrowseFrame::OnRegenAllThumbnails()
{
    GetFileList()->SetFocus();
    GetFileList()->QueueThumbnails(false);
}

void CBrowseFrame::OnUpdateRegenAllThumbnails(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetFileList()->CanQueue(false));
}

void CBrowseFrame::OnRegenSelectedThumbnails()
{
    GetFileList()->QueueThumbnails(true);
}

void CBrowseFrame::OnUpdateRegenSelectedThumbnails(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetFileList()->CanQueue(true));
}

void CBrowseFrame::OnSkipCurrentThumbnail()
{
    GetFileList()->SkipCurrentThumbnail();
}

void CBrowseFrame::OnUpdateSkipCurrentThumbnail(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetFileList()->IsTaskBusy());
}

// --- View styles ------------------------------------------------------------------------

void CBrowseFrame::OnViewThumbnails()
{
    GetFileList()->SetViewType(kThumbnailView);
}

void CBrowseFrame::OnUpdateViewThumbnails(CCmdUI* cmdUI)
{
    CIEShellListCtrl* list = GetFileList();
    bool iconStyle = (list->GetStyle() & LVS_TYPEMASK) == LVS_ICON;
    cmdUI->SetCheck(iconStyle && list->GetViewType() == kThumbnailView ? 1 : 0);
}

void CBrowseFrame::OnViewLargeIcon()
{
    GetFileList()->SetViewType(kLargeIconView);
}

void CBrowseFrame::OnViewSmallIcon()
{
    GetFileList()->SetViewType(kSmallIconView);
}

void CBrowseFrame::OnViewList()
{
    GetFileList()->SetViewType(kListView);
}

void CBrowseFrame::OnViewDetails()
{
    GetFileList()->SetViewType(kReportView);
}

void CBrowseFrame::OnUpdateListStyle(CCmdUI* cmdUI)
{
    const ViewCommand* command = FindViewCommand(cmdUI->m_nID);
    if (command == NULL || IsTaskThreadBusy()) {
        cmdUI->Enable(FALSE);
        return;
    }
    CIEShellListCtrl* list = GetFileList();
    bool styled = (list->GetStyle() & LVS_TYPEMASK) == command->style;
    // Large icons and thumbnails share the icon style: the view code tells.
    if (command->viewCode == kLargeIconView)
        styled = styled && list->GetViewType() == kLargeIconView;
    cmdUI->Enable(TRUE);
    cmdUI->SetCheck(styled ? 1 : 0);
}

// --- Sorting ----------------------------------------------------------------------------

void CBrowseFrame::OnSortByName()
{
    GetFileList()->SetSortColumn(0);
}

void CBrowseFrame::OnSortBySize()
{
    GetFileList()->SetSortColumn(1);
}

void CBrowseFrame::OnSortByType()
{
    GetFileList()->SetSortColumn(2);
}

void CBrowseFrame::OnSortByDate()
{
    GetFileList()->SetSortColumn(3);
}

void CBrowseFrame::OnSortAscending()
{
    if (!GetFileList()->GetSortAscending())
        GetFileList()->SetSortAscending(true);
    Preference.SortDir = 1;
}

void CBrowseFrame::OnSortDescending()
{
    if (GetFileList()->GetSortAscending())
        GetFileList()->SetSortAscending(false);
    Preference.SortDir = 0;
}

void CBrowseFrame::OnUpdateSortColumn(CCmdUI* cmdUI)
{
    cmdUI->Enable(IsTaskThreadIdle());
    cmdUI->SetCheck(GetFileList()->GetSortColumn() == (int)(cmdUI->m_nID - ID_SORT_BY_NAME) ? 1 : 0);
}

void CBrowseFrame::OnUpdateSortDirection(CCmdUI* cmdUI)
{
    bool ascending = GetFileList()->GetSortAscending();
    cmdUI->Enable(IsTaskThreadIdle());
    cmdUI->SetCheck(ascending == (cmdUI->m_nID == ID_SORT_ASCENDING) ? 1 : 0);
}
