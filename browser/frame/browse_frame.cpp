#include "browser/frame/browse_frame.h"

#include "browser/dialogs/edit_path_box_dlg.h"
#include "core/appsw.h"
#include "core/preference.h"
#include "core/product_info.h"
#include "drawing/common/draw_messages.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "resources/resource.h"
#include "views/common/view_messages.h"

namespace {

const char kPlacementEntry[] = "Browser";
const char kBarStateProfile[] = "Bar State";
// The sizing bars' starting sizes and style (CBRS_ALIGN_LEFT | CBRS_TOOLTIPS
// | CBRS_SIZE_DYNAMIC with the bar's own style bits).
const DWORD kSizingBarStyle = 0x11400;
const int kBarWidth = 225;
const int kTreeBarHeight = 100;
const int kPreviewBarHeight = 80;
const DWORD kToolBarStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY |
                            CBRS_SIZE_DYNAMIC;
const int kSummaryPaneWidth = 2000;
const UINT kMenuToolbars[] = {IDR_BROWSE_FRAME, IDR_PREVIEW_POINT_TOOLBAR, IDR_RASTER_TOOLBAR};

}  // namespace

IMPLEMENT_DYNCREATE(CBrowseFrame, CCJFrameWnd)

BEGIN_MESSAGE_MAP(CBrowseFrame, CCJFrameWnd)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_DEVICECHANGE()
    ON_MESSAGE(WM_UPDATE_STATUS, &CBrowseFrame::OnUpdateStatus)
    ON_MESSAGE(WM_DRAW_PROGRESS, &CBrowseFrame::OnDrawProgress)
    ON_MESSAGE(WM_STATUS_TEXT, &CBrowseFrame::OnStatusText)
    ON_MESSAGE(WM_UPDATE_PATHLABEL, &CBrowseFrame::OnUpdatePathLabel)
    ON_MESSAGE(WM_PATHBOX_ENTER, &CBrowseFrame::OnPathBoxEnter)
    ON_MESSAGE(WM_THUMBS_FINISHED, &CBrowseFrame::OnAllThumbnailsDone)
    ON_MESSAGE(WM_PREFS_CHANGED, &CBrowseFrame::OnApplyPreferences)
    ON_MESSAGE(WM_THUMB_LOOK_CHANGED, &CBrowseFrame::OnListOptionsChanged)
    ON_MESSAGE(WM_REGEN_ALL, &CBrowseFrame::OnRegenThumbnails)
    ON_MESSAGE(WM_BOOKMARKS_CHANGED, &CBrowseFrame::OnBookmarksChanged)
    ON_MESSAGE(WM_LIST_FILLED, &CBrowseFrame::OnUpdatePathLabel)

    ON_COMMAND(ID_OPEN_ITEM, &CBrowseFrame::OnFileOpen)
    ON_COMMAND(ID_EDIT_WITH_APP, &CBrowseFrame::OnEditWithApp)
    ON_COMMAND(ID_FOLDER_UP, &CBrowseFrame::OnFolderUp)
    ON_COMMAND(ID_BROWSE_REFRESH, &CBrowseFrame::OnRefresh)
    ON_COMMAND(ID_BROWSE_FILE_PROPERTIES, &CBrowseFrame::OnFileProperties)
    ON_COMMAND(ID_EDIT_CUT, &CBrowseFrame::OnEditCut)
    ON_COMMAND(ID_EDIT_COPY, &CBrowseFrame::OnEditCopy)
    ON_COMMAND(ID_EDIT_PASTE, &CBrowseFrame::OnEditPaste)
    ON_COMMAND(ID_DELETE_FILES, &CBrowseFrame::OnDeleteFiles)
    ON_COMMAND(ID_SELECT_ALL, &CBrowseFrame::OnSelectAll)
    ON_COMMAND(ID_SELECT_ALL_DRAWINGS, &CBrowseFrame::OnSelectAllDrawings)
    ON_COMMAND(ID_SELECT_NONE, &CBrowseFrame::OnSelectNone)
    ON_COMMAND(ID_INVERT_SELECTION, &CBrowseFrame::OnInvertSelection)
    ON_COMMAND(ID_RENAME_ITEM, &CBrowseFrame::OnRename)
    ON_COMMAND(ID_VIEW_TOOLBAR, &CBrowseFrame::OnViewToolbar)
    ON_COMMAND(ID_VIEW_STATUS_BAR, &CBrowseFrame::OnViewStatusBar)
    ON_COMMAND(ID_TREE_BAR, &CBrowseFrame::OnToggleFolderPane)
    ON_COMMAND(ID_PREVIEW_BAR, &CBrowseFrame::OnTogglePreviewPane)
    ON_COMMAND(ID_REGEN_ALL_THUMBNAILS, &CBrowseFrame::OnRegenAllThumbnails)
    ON_COMMAND(ID_REGEN_SELECTED_THUMBNAILS, &CBrowseFrame::OnRegenSelectedThumbnails)
    ON_COMMAND(ID_SKIP_THUMBNAIL, &CBrowseFrame::OnSkipCurrentThumbnail)
    ON_COMMAND(ID_SHOW_SELECTED_ITEM, &CBrowseFrame::OnShowSelectedItem)
    ON_COMMAND(ID_VIEW_THUMBNAILS, &CBrowseFrame::OnViewThumbnails)
    ON_COMMAND(ID_VIEW_LARGEICON, &CBrowseFrame::OnViewLargeIcon)
    ON_COMMAND(ID_VIEW_SMALLICON, &CBrowseFrame::OnViewSmallIcon)
    ON_COMMAND(ID_VIEW_LIST, &CBrowseFrame::OnViewList)
    ON_COMMAND(ID_VIEW_DETAILS, &CBrowseFrame::OnViewDetails)
    ON_COMMAND(ID_SWITCH_TO_VIEW, &CBrowseFrame::OnSwitchToView)
    ON_COMMAND(ID_SORT_BY_NAME, &CBrowseFrame::OnSortByName)
    ON_COMMAND(ID_SORT_BY_SIZE, &CBrowseFrame::OnSortBySize)
    ON_COMMAND(ID_SORT_BY_TYPE, &CBrowseFrame::OnSortByType)
    ON_COMMAND(ID_SORT_BY_DATE, &CBrowseFrame::OnSortByDate)
    ON_COMMAND(ID_SORT_ASCENDING, &CBrowseFrame::OnSortAscending)
    ON_COMMAND(ID_SORT_DESCENDING, &CBrowseFrame::OnSortDescending)
    ON_COMMAND(ID_INTERFACE_STYLE, &CBrowseFrame::OnInterfaceStyle)
    ON_COMMAND(ID_INSERT_TO_AUTOCAD, &CBrowseFrame::OnInsertToAutoCAD)
    ON_COMMAND(ID_SHOW_EXIF, &CBrowseFrame::OnExifInfo)
    ON_COMMAND(ID_NEW_FOLDER, &CBrowseFrame::OnNewFolder)
    ON_COMMAND(ID_SAVE_THUMBNAILS, &CBrowseFrame::OnSaveThumbnails)

    ON_UPDATE_COMMAND_UI(ID_OPEN_ITEM, &CBrowseFrame::OnUpdateFileOpen)
    ON_UPDATE_COMMAND_UI(ID_EDIT_WITH_APP, &CBrowseFrame::OnUpdateEditWithApp)
    ON_UPDATE_COMMAND_UI(ID_FOLDER_UP, &CBrowseFrame::OnUpdateFolderUp)
    ON_UPDATE_COMMAND_UI(ID_BROWSE_REFRESH, &CBrowseFrame::OnUpdateRefresh)
    ON_UPDATE_COMMAND_UI(ID_BROWSE_FILE_PROPERTIES, &CBrowseFrame::OnUpdateHasSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, &CBrowseFrame::OnUpdateEditCut)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CBrowseFrame::OnUpdateEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CBrowseFrame::OnUpdateEditPaste)
    ON_UPDATE_COMMAND_UI(ID_DELETE_FILES, &CBrowseFrame::OnUpdateHasSelection)
    ON_UPDATE_COMMAND_UI(ID_SELECT_ALL, &CBrowseFrame::OnUpdateHasItems)
    ON_UPDATE_COMMAND_UI(ID_SELECT_ALL_DRAWINGS, &CBrowseFrame::OnUpdateHasItems)
    ON_UPDATE_COMMAND_UI(ID_SELECT_NONE, &CBrowseFrame::OnUpdateHasSelection)
    ON_UPDATE_COMMAND_UI(ID_INVERT_SELECTION, &CBrowseFrame::OnUpdateHasSelection)
    ON_UPDATE_COMMAND_UI(ID_RENAME_ITEM, &CBrowseFrame::OnUpdateRename)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, &CBrowseFrame::OnUpdateViewToolbar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, &CBrowseFrame::OnUpdateViewStatusBar)
    ON_UPDATE_COMMAND_UI(ID_TREE_BAR, &CBrowseFrame::OnUpdateToggleFolderPane)
    ON_UPDATE_COMMAND_UI(ID_PREVIEW_BAR, &CBrowseFrame::OnUpdateTogglePreviewPane)
    ON_UPDATE_COMMAND_UI(ID_REGEN_ALL_THUMBNAILS, &CBrowseFrame::OnUpdateRegenAllThumbnails)
    ON_UPDATE_COMMAND_UI(ID_REGEN_SELECTED_THUMBNAILS, &CBrowseFrame::OnUpdateRegenSelectedThumbnails)
    ON_UPDATE_COMMAND_UI(ID_SKIP_THUMBNAIL, &CBrowseFrame::OnUpdateSkipCurrentThumbnail)
    ON_UPDATE_COMMAND_UI(ID_SHOW_SELECTED_ITEM, &CBrowseFrame::OnUpdateShowSelectedItem)
    ON_UPDATE_COMMAND_UI(ID_VIEW_THUMBNAILS, &CBrowseFrame::OnUpdateViewThumbnails)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LARGEICON, &CBrowseFrame::OnUpdateListStyle)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SMALLICON, &CBrowseFrame::OnUpdateListStyle)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LIST, &CBrowseFrame::OnUpdateListStyle)
    ON_UPDATE_COMMAND_UI(ID_VIEW_DETAILS, &CBrowseFrame::OnUpdateListStyle)
    ON_UPDATE_COMMAND_UI(ID_SWITCH_TO_VIEW, &CBrowseFrame::OnUpdateSwitchToView)
    ON_UPDATE_COMMAND_UI(ID_SORT_BY_NAME, &CBrowseFrame::OnUpdateSortColumn)
    ON_UPDATE_COMMAND_UI(ID_SORT_BY_SIZE, &CBrowseFrame::OnUpdateSortColumn)
    ON_UPDATE_COMMAND_UI(ID_SORT_BY_TYPE, &CBrowseFrame::OnUpdateSortColumn)
    ON_UPDATE_COMMAND_UI(ID_SORT_BY_DATE, &CBrowseFrame::OnUpdateSortColumn)
    ON_UPDATE_COMMAND_UI(ID_SORT_ASCENDING, &CBrowseFrame::OnUpdateSortDirection)
    ON_UPDATE_COMMAND_UI(ID_SORT_DESCENDING, &CBrowseFrame::OnUpdateSortDirection)
    ON_UPDATE_COMMAND_UI(ID_INSERT_TO_AUTOCAD, &CBrowseFrame::OnUpdateInsertToAutoCAD)
    ON_UPDATE_COMMAND_UI(ID_SHOW_EXIF, &CBrowseFrame::OnUpdateExifInfo)
    ON_UPDATE_COMMAND_UI(ID_NEW_FOLDER, &CBrowseFrame::OnUpdateNewFolder)
    ON_UPDATE_COMMAND_UI(ID_SAVE_THUMBNAILS, &CBrowseFrame::OnUpdateSaveThumbnails)
END_MESSAGE_MAP()

CBrowseFrame::CBrowseFrame()
    : m_refreshOnActivate(0),
      m_progress(NULL),
      m_firstShown(0),
      m_transientText(0)
{
}

CBrowseFrame::~CBrowseFrame() = default;

BOOL CBrowseFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CCJFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.lpszClass = AfxRegisterWndClass(0, NULL, NULL, NULL);
    return TRUE;
}

int CBrowseFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CCJFrameWnd::OnCreate(cs) == -1)
        return -1;
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) &&
        m_frameFont.CreateFontIndirect(&metrics.lfMenuFont))
        SendMessage(WM_SETFONT, (WPARAM)m_frameFont.GetSafeHandle(), TRUE);
    m_menuManager.Install(this);
    for (UINT toolbar : kMenuToolbars)
        m_menuManager.LoadToolbar(toolbar);
    if (!CreateBars())
        return -1;
    EnsureBarState();
    m_placement.LoadWindowPos(this, kPlacementEntry);
    LoadBarState(kBarStateProfile);
    GetTree()->SetStartFolderFromPrefs();
    ApplyPreferences(false);
    SetViewBrowser(&m_viewSide);
    return 0;
}

bool CBrowseFrame::CreateBars()
{
    m_fileListView.SetHost(this);
    if (!m_fileListView.Create(this, AFX_IDW_PANE_FIRST))
        return false;
    if (!m_toolBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT, kToolBarStyle, CRect(0, 0, 0, 0),
                            AFX_IDW_TOOLBAR) ||
        !m_toolBar.LoadToolBar(IDR_BROWSE_FRAME))
        return false;
    const UINT indicators[] = {0};
    if (!m_statusBar.Create(this, WS_CHILD | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_statusBar.SetIndicators(indicators, 1))
        return false;
    m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_toolBar);

    if (!m_treeBar.Create(this, ID_TREE_BAR, "Dir Tree", kBarWidth, kTreeBarHeight, kSizingBarStyle, TRUE))
        return false;
    m_treeBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_treeBar, AFX_IDW_DOCKBAR_LEFT);
    GetFileList()->SetTreeWindow(GetTree()->GetSafeHwnd());
    GetTree()->SetListWindow(GetFileList()->GetSafeHwnd());

    if (!m_previewBar.Create(this, ID_PREVIEW_BAR, "PreView", kBarWidth, kPreviewBarHeight, kSizingBarStyle,
                             TRUE))
        return false;
    m_previewBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_previewBar, AFX_IDW_DOCKBAR_LEFT);
    GetFileList()->SetPreview(GetPreview());
    m_statusBar.SetPaneWidth(0, kSummaryPaneWidth);
    return true;
}

BOOL CBrowseFrame::ActivateBrowseMode(int nCmdShow)
{
    // What the list fills while the frame comes back must not clear the
    // preview: it still holds the file view mode showed, which the list
    // selects again.
    CIEShellListCtrl::SetClearPreviewOnFill(false);
    BOOL result = ShowAndSelectPreviewedFile(nCmdShow);
    CIEShellListCtrl::SetClearPreviewOnFill(true);
    return result;
}

BOOL CBrowseFrame::ShowAndSelectPreviewedFile(int nCmdShow)
{
    CIEShellListCtrl* list = GetFileList();
    BOOL result;
    bool first = !m_firstShown;
    if (first) {
        // As ShowWindow would: whether the window was visible before.
        result = IsWindowVisible();
        m_firstShown = 1;
        m_placement.RestoreWindowPos(this);
    } else {
        result = ShowWindow(nCmdShow);
    }
    UpdateWindow();
    if (first)
        GetTree()->PopulateRoot();
    GetTree()->OpenStartFolder();
    if (!list->SelectItemByPath(m_rememberedItemPath)) {
        GetPreview()->ClearPreview(true);
        return result;
    }
    if (AppSW.resumeThumbnails) {
        AppSW.resumeThumbnails = 0;
        if (IsTaskThreadAlive())
            list->RefreshKeepSelection(true, false);
    } else if (m_refreshOnActivate) {
        list->RefreshKeepSelection(true, false);
        m_refreshOnActivate = 0;
    }
    return result;
}

void CBrowseFrame::SetStartFolder(const char* path)
{
    m_startFolder = path != NULL ? path : "";
    GetTree()->SetStartFolder(m_startFolder);
}

BOOL CBrowseFrame::IsTaskThreadAlive() const
{
    return AppSW.taskThread != NULL && AppSW.taskThread->IsIdle();
}

void CBrowseFrame::UpdateTitle()
{
    CString title;
    title.Format("%s %s", "", (LPCSTR)ProductInfo.GetCaption());
    CString path = GetFileList()->GetSelectedPath();
    if (Preference.ShowFullPath && !path.IsEmpty())
        title += " [ " + path + " ]";
    SetWindowText(title);
}

bool CBrowseFrame::GoToFolder(LPCSTR path)
{
    GetTree()->SetStartFolder(path);
    return GetTree()->FindPath(path);
}

void CBrowseFrame::EditBookmarks()
{
    // On OK the editor posts WM_BOOKMARKS_CHANGED to the main window, which
    // reloads the path box.
    CEditPathBoxDlg dialog(AfxGetMainWnd());
    dialog.DoModal();
}

BOOL CBrowseFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The pane answers from its own command map only, not its children's.
    if (m_fileListView.GetSafeHwnd() != NULL &&
        m_fileListView.CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (m_previewBar.GetSafeHwnd() != NULL && m_previewBar.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CCJFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CBrowseFrame::OnSetFocus(CWnd*)
{
    if (GetFileList()->GetSafeHwnd() != NULL)
        GetFileList()->SetFocus();
}

void CBrowseFrame::OnClose()
{
    m_placement.SaveWindowPos(this);
    SaveBarState(kBarStateProfile);
    AppSW.SetToQuit();
    CCJFrameWnd::OnClose();
}

void CBrowseFrame::OnDestroy()
{
    AppSW.mode = APPMODE_QUITTING;
    if (GetViewBrowser() == &m_viewSide)
        SetViewBrowser(NULL);
    CCJFrameWnd::OnDestroy();
}

BOOL CBrowseFrame::OnDeviceChange(UINT event, DWORD_PTR data)
{
    return (BOOL)GetTree()->OnDeviceChange(event, (LPARAM)data);
}

LRESULT CBrowseFrame::OnDrawProgress(WPARAM percent, LPARAM lParam)
{
    return GetPreview()->OnDrawProgress(percent, lParam);
}

LRESULT CBrowseFrame::OnUpdatePathLabel(WPARAM, LPARAM)
{
    m_fileListView.UpdatePathLabel();
    return 0;
}

LRESULT CBrowseFrame::OnPathBoxEnter(WPARAM, LPARAM)
{
    if (GoToFolder(m_fileListView.GetPathBoxText()))
        m_fileListView.GetPathBox().AddCurrentFolder();
    else
        m_fileListView.UpdatePathLabel();
    return 0;
}

LRESULT CBrowseFrame::OnAllThumbnailsDone(WPARAM, LPARAM)
{
    RemoveProgressPane();
    return 0;
}

LRESULT CBrowseFrame::OnApplyPreferences(WPARAM force, LPARAM)
{
    ApplyPreferences(force == 1);
    return 0;
}

void CBrowseFrame::ApplyPreferences(bool force)
{
    m_fileListView.RelayoutNow();
    m_toolBar.ShowWindow(Preference.ShowToolBar ? SW_SHOW : SW_HIDE);
    m_statusBar.ShowWindow(Preference.ShowStatus ? SW_SHOW : SW_HIDE);
    RecalcLayout();
    GetFileList()->SetSortInfo(Preference.SortType, Preference.SortDir == 1);
    GetFileList()->OnPreferencesChanged(true, force);
    UpdateTitle();
}

LRESULT CBrowseFrame::OnListOptionsChanged(WPARAM, LPARAM)
{
    GetFileList()->OnThumbLookChanged();
    GetPreview()->RefreshRasterView();
    return 0;
}

LRESULT CBrowseFrame::OnRegenThumbnails(WPARAM, LPARAM)
{
    GetFileList()->QueueThumbnails(false);
    GetPreview()->ApplyOptions();
    return 0;
}

LRESULT CBrowseFrame::OnBookmarksChanged(WPARAM, LPARAM)
{
    m_fileListView.ReloadPathBox();
    return 0;
}
