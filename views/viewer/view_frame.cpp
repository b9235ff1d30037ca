// The view frame: its bars and view, its size, show and full screen, the
// remembered window rectangle, and the drawing thread's answers.
#include "views/viewer/view_frame.h"

#include <stdlib.h>

#include "core/appsw.h"
#include "core/file_types.h"
#include "core/file_utils.h"
#include "core/product_info.h"
#include "drawing/common/draw_messages.h"
#include "drawing/draw_thread/draw_commands.h"
#include "resources/views_ids.h"
#include "views/common/idle_use.h"
#include "views/common/view_browser.h"
#include "views/common/view_messages.h"
#include "views/common/view_state.h"
#include "views/password/password_prompt.h"
#include "views/viewer/view_window_rect.h"

namespace {

const int kFirstPaneRight = 250;

bool Within1(int a, int b)
{
    return abs(a - b) <= 1;
}

void FillWithBackground(CGDIDevice& device)
{
    device.BlendRect(0, 0, device.m_nWidth, device.m_nHeight, DrawingBackgroundColour(), 100, false, 0);
}

}  // namespace

IMPLEMENT_DYNCREATE(CViewFrame, CCJFrameWnd)

BEGIN_MESSAGE_MAP(CViewFrame, CCJFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SHOWWINDOW()
    ON_WM_SIZE()
    ON_WM_ENTERSIZEMOVE()
    ON_WM_EXITSIZEMOVE()
    ON_WM_GETMINMAXINFO()
    ON_WM_MENUSELECT()
    ON_WM_MOUSEWHEEL()
    ON_WM_TIMER()
    ON_WM_DEVICECHANGE()
    ON_MESSAGE(WM_DRAW_OPENED, &CViewFrame::OnDrawingOpened)
    ON_MESSAGE(WM_DRAW_DONE, &CViewFrame::OnDrawCommandDone)
    ON_MESSAGE(WM_DRAW_PROGRESS, &CViewFrame::OnDrawProgress)
    ON_MESSAGE(WM_THUMB_STAGE, &CViewFrame::OnImageReady)
    ON_MESSAGE(WM_BACK_TO_BROWSE, &CViewFrame::OnViewDblClk)
    ON_MESSAGE(WM_REGEN_ALL, &CViewFrame::OnOptionsChanged)
    ON_COMMAND(ID_BACK_TO_BROWSE, &CViewFrame::OnBackToBrowse)
    ON_COMMAND(ID_VIEW_FULL_SCREEN, &CViewFrame::OnFullScreen)
    ON_UPDATE_COMMAND_UI(ID_VIEW_FULL_SCREEN, &CViewFrame::OnUpdateFullScreen)
    ON_COMMAND_RANGE(ID_VIEW_TOP, ID_VIEW_NW_ISO, &CViewFrame::OnViewPoint)
    ON_COMMAND_RANGE(ID_VIEW_BLACK_WHITE, ID_VIEW_COLOR, &CViewFrame::OnColorMode)
    ON_COMMAND(ID_VIEW_REGEN, &CViewFrame::OnRegen)
    ON_COMMAND(ID_VIEW_3D_ORBIT, &CViewFrame::On3DOrbit)
    ON_COMMAND(ID_VIEW_LAYERS, &CViewFrame::OnLayers)
    ON_COMMAND(ID_VIEW_POINT_DISPLAY, &CViewFrame::OnPointDisplay)
    ON_COMMAND(ID_VIEW_SELECT_VIEW_POINT, &CViewFrame::OnSelectViewPoint)
    ON_COMMAND(ID_VIEW_ROTATE, &CViewFrame::OnRotateView)
    ON_COMMAND(ID_VIEW_OPEN, &CViewFrame::OnFileOpen)
    ON_COMMAND(ID_VIEW_SAVE_AS, &CViewFrame::OnSaveAs)
    ON_COMMAND(ID_VIEW_PRINT, &CViewFrame::OnPrint)
    ON_MESSAGE(WM_PRINT_PICK_DONE, &CViewFrame::OnPrintManagerReturn)
    ON_MESSAGE(WM_PRINT_PICK_MODE, &CViewFrame::OnPrintPickMode)
    ON_COMMAND(ID_NEXT_LAYOUT, &CViewFrame::OnNextLayout)
    ON_COMMAND(ID_PREVIOUS_LAYOUT, &CViewFrame::OnPreviousLayout)
    ON_COMMAND(ID_SMOOTH_RASTER, &CViewFrame::OnSmoothRaster)
    ON_COMMAND(ID_FILE_PROPERTIES, &CViewFrame::OnFileProperties)
    ON_UPDATE_COMMAND_UI(ID_VIEW_LAYERS, &CViewFrame::OnUpdateVectorOnly)
    ON_UPDATE_COMMAND_UI(ID_VIEW_POINT_DISPLAY, &CViewFrame::OnUpdateVectorOnly)
    ON_UPDATE_COMMAND_UI(ID_VIEW_REGEN, &CViewFrame::OnUpdateVectorOnly)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SELECT_VIEW_POINT, &CViewFrame::OnUpdateViewPoint)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOP, ID_VIEW_NW_ISO, &CViewFrame::OnUpdateViewPoint)
    ON_UPDATE_COMMAND_UI(ID_VIEW_ROTATE, &CViewFrame::OnUpdateViewPoint)
    ON_UPDATE_COMMAND_UI(ID_VIEW_3D_ORBIT, &CViewFrame::OnUpdate3DOrbit)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_BLACK_WHITE, ID_VIEW_COLOR, &CViewFrame::OnUpdateColorMode)
    ON_UPDATE_COMMAND_UI(ID_VIEW_OPEN, &CViewFrame::OnUpdateOpenOrPrint)
    ON_UPDATE_COMMAND_UI(ID_VIEW_SAVE_AS, &CViewFrame::OnUpdateSaveAs)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PRINT, &CViewFrame::OnUpdateOpenOrPrint)
    ON_UPDATE_COMMAND_UI(ID_NEXT_LAYOUT, &CViewFrame::OnUpdateNextLayout)
    ON_UPDATE_COMMAND_UI(ID_PREVIOUS_LAYOUT, &CViewFrame::OnUpdatePreviousLayout)
    ON_UPDATE_COMMAND_UI(ID_SMOOTH_RASTER, &CViewFrame::OnUpdateSmoothRaster)
END_MESSAGE_MAP()

CViewFrame::CViewFrame()
    : m_exitOnEsc(0),
      m_sizing(0),
      m_tabsNeedRefill(0),
      m_fullScreen(0),
      m_progress(NULL),
      m_firstShow(1),
      m_savedPlacement(),
      m_fullScreenRect(),
      m_printRecord(),
      m_lastPrintRect()
{
    m_savedPlacement.length = sizeof(m_savedPlacement);
}

CViewFrame::~CViewFrame()
{
    delete m_progress;
}

int CViewFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CCJFrameWnd::OnCreate(cs) == -1)
        return -1;
    // The menus show the images of the tool bar, the view points and the
    // raster transforms.
    m_menuManager.Install(this);
    m_menuManager.LoadToolbar(IDR_VIEW_TOOLBAR);
    m_menuManager.LoadToolbar(IDR_VIEW_POINT_TOOLBAR);
    m_menuManager.LoadToolbar(IDR_RASTER_TOOLBAR);
    if (!m_view.Create(this, AFX_IDW_PANE_FIRST))
        return -1;
    DWORD barStyle = WS_CHILD | WS_VISIBLE | CBRS_GRIPPER | CBRS_TOP | CBRS_FLYBY | CBRS_TOOLTIPS |
                     CBRS_SIZE_DYNAMIC;
    if (!m_toolBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_TRANSPARENT, barStyle, CRect(0, 0, 0, 1),
                            AFX_IDW_TOOLBAR) ||
        !m_toolBar.LoadToolBar(IDR_VIEW_TOOLBAR))
        return -1;
    const UINT panes[] = {0, IDC_PAGE_TABS};
    if (!m_statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_statusBar.SetIndicators(panes, 2))
        return -1;
    m_statusBar.SetPaneInfo(0, 0, SBPS_NORMAL, 0);
    m_statusBar.SetPaneInfo(1, IDC_PAGE_TABS, SBPS_NOBORDERS | SBPS_STRETCH, 0);
    // The first pane ends at 250 pixels, whatever the bar's own margins.
    CRect first;
    m_statusBar.GetItemRect(0, &first);
    m_statusBar.SetPaneInfo(0, 0, SBPS_NORMAL, kFirstPaneRight - first.right);
    m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_toolBar);
    return CreateTabStrip() ? 0 : -1;
}

void CViewFrame::OnDestroy()
{
    if (AppSW.drawThread != NULL)
        AppSW.drawThread->SetNotifyWnd(NULL);
    StoreWindowRect();
    CCJFrameWnd::OnDestroy();
}

void CViewFrame::OnClose()
{
    // The frame lives until the program ends: closing it goes back to the
    // browser, or ends a program that was started for one file.
    if (m_exitOnEsc)
        QuitProgram();
    else
        OnBackToBrowse();
}

void CViewFrame::QuitProgram()
{
    AppSW.SetToQuit();
    ::PostQuitMessage(0);
}

BOOL CViewFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // While an application dialog runs, the drawing view does not get
    // commands first.
    if (!AppSW.modalDialogOpen && m_view.GetSafeHwnd() != NULL &&
        m_view.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CCJFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CViewFrame::PreTranslateMessage(MSG* msg)
{
    if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && HandleViewKey((UINT)msg->wParam))
        return TRUE;
    return CCJFrameWnd::PreTranslateMessage(msg);
}

bool CViewFrame::IsVectorFile() const
{
    return ::IsVectorFile();
}

void CViewFrame::UpdateTitle()
{
    SetWindowText(ProductInfo.GetCaption() + " [ " + AppSW.GetViewPath() + " ]");
}

void CViewFrame::SetStatusText(int pane, LPCSTR text)
{
    m_statusBar.SetPaneText(pane, text);
}

void CViewFrame::OnBackToBrowse()
{
    m_exitOnEsc = 0;
    CString folder = GetFileDir(AppSW.GetViewPath());
    AppSW.ToBrowseMode(!folder.IsEmpty() && DirectoryExists(folder) ? (LPCSTR)folder : NULL);
}

LRESULT CViewFrame::OnViewDblClk(WPARAM, LPARAM)
{
    if (GetRunningDrawThread() != NULL)
        OnBackToBrowse();
    return 0;
}

// --- Size, show and the window rectangle ---------------------------------------

CSize CViewFrame::DrawingAreaSize() const
{
    CRect client;
    m_view.GetClientRect(&client);
    return CSize(client.Width(), client.Height());
}

void CViewFrame::OnSize(UINT type, int cx, int cy)
{
    CCJFrameWnd::OnSize(type, cx, cy);
    if (cx == 0 || cy == 0)
        return;
    PlaceTabStrip();
    ResizePicture(true, true);
}

void CViewFrame::OnEnterSizeMove()
{
    m_sizing = 1;
    m_view.m_sizing = 1;
}

void CViewFrame::OnExitSizeMove()
{
    m_sizing = 0;
    m_view.m_sizing = 0;
    ResizePicture(false, false);
}

void CViewFrame::ResizePicture(bool testExisting, bool testBusy)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL)
        return;
    CSize area = DrawingAreaSize();
    if (area.cx < 1 || area.cy < 1)
        return;
    if (IsDrawingKind(thread->GetFileKind())) {
        bool exact = m_device.m_hDC != NULL && m_device.m_nWidth == area.cx && m_device.m_nHeight == area.cy;
        if (testExisting && exact)
            return;
        if (Within1(m_device.m_nWidth, area.cx) && Within1(m_device.m_nHeight, area.cy))
            return;
        m_device.Create(area.cx, area.cy, 3);
        FillWithBackground(m_device);
        if (!thread->IsBusy())
            thread->Resize(area.cx, area.cy);
        return;
    }
    if (testBusy && thread->IsBusy())
        return;
    bool changed = false;
    {
        CIdleUse use(thread);
        if (!use.IsHeld())
            return;
        changed = SizeRasterCanvas(use.Canvas(), area.cx, area.cy);
        if (changed)
            use.Picture().Draw(false);
    }
    if (changed)
        Regenerate();
}

void CViewFrame::OnGetMinMaxInfo(MINMAXINFO* info)
{
    if (!m_fullScreen) {
        CCJFrameWnd::OnGetMinMaxInfo(info);
        return;
    }
    LONG width = m_fullScreenRect.right - m_fullScreenRect.left;
    LONG height = m_fullScreenRect.bottom - m_fullScreenRect.top;
    info->ptMaxSize = {width, height};
    info->ptMaxTrackSize = {width, height};
}

void CViewFrame::OnShowWindow(BOOL show, UINT status)
{
    CCJFrameWnd::OnShowWindow(show, status);
    m_view.m_rasterChanged = 0;
    m_tabsNeedRefill = 1;
    if (!show) {
        StoreWindowRect();
        return;
    }
    UpdateTitle();
    // View mode begins on a file of the browse list: the list's own, or the
    // preview's, which shows the list's selection.
    m_view.m_listNavigation = 1;
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread != NULL) {
        if (thread->IsBusy()) {
            thread->SetRasterCanvasReady(false);
        } else {
            CSize area = DrawingAreaSize();
            if (IsDrawingKind(thread->GetFileKind())) {
                thread->Resize(area.cx, area.cy);
            } else {
                CIdleUse use(thread);
                if (use.IsHeld()) {
                    SizeRasterCanvas(use.Canvas(), area.cx, area.cy);
                    use.Picture().ResetView();
                    thread->SetRasterCanvasReady(true);
                }
            }
        }
    }
    if (m_firstShow) {
        m_firstShow = 0;
        ApplyStoredWindowRect();
    }
    FillPageTabs();
    m_tabsNeedRefill = 1;
    if (IsRasterFile())
        ShowImageInfo();
}

void CViewFrame::ApplyStoredWindowRect()
{
    RECT rect;
    if (!LoadViewWindowRect(rect))
        return;
    MoveWindow(&rect);
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL || IsDrawingKind(thread->GetFileKind()))
        return;
    CIdleUse use(thread);
    if (!use.IsHeld())
        return;
    CSize area = DrawingAreaSize();
    SizeRasterCanvas(use.Canvas(), area.cx, area.cy);
    use.Picture().ResetView();
}

void CViewFrame::StoreWindowRect()
{
    if (m_hWnd == NULL)
        return;
    CRect rect;
    if (m_fullScreen) {
        rect = m_savedPlacement.rcNormalPosition;
    } else if (IsIconic()) {
        // A minimised window's rectangle is its parking place, not its place.
        WINDOWPLACEMENT placement;
        GetWindowPlacement(&placement);
        rect = placement.rcNormalPosition;
    } else {
        GetWindowRect(&rect);
    }
    StoreViewWindowRect(rect);
}

void CViewFrame::OnFullScreen()
{
    FillWithBackground(m_device);
    if (!m_fullScreen) {
        GetWindowPlacement(&m_savedPlacement);
        // The drawing view's client area is to cover the screen: every bar,
        // border and the caption lie outside it.
        CRect window;
        CRect view;
        GetWindowRect(&window);
        m_view.GetClientRect(&view);
        m_view.ClientToScreen(&view);
        int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        int screenHeight = GetSystemMetrics(SM_CYSCREEN);
        m_fullScreenRect = {window.left - view.left, window.top - view.top,
                            window.right + screenWidth - view.right, window.bottom + screenHeight - view.bottom};
        m_fullScreen = 1;
        WINDOWPLACEMENT placement = m_savedPlacement;
        placement.showCmd = SW_SHOWNORMAL;
        placement.rcNormalPosition = m_fullScreenRect;
        SetWindowPlacement(&placement);
        return;
    }
    m_savedPlacement.showCmd = SW_SHOWNORMAL;
    SetWindowPlacement(&m_savedPlacement);
    m_fullScreen = 0;
}

void CViewFrame::OnUpdateFullScreen(CCmdUI* cmdUI)
{
    cmdUI->Enable(TRUE);
    cmdUI->SetCheck(m_fullScreen && GetIdleDrawThread() != NULL ? 1 : 0);
}

// --- The drawing thread's answers ------------------------------------------

void CViewFrame::TakeImage(const CGDIDevice* picture)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL || !IsDrawingKind(thread->GetFileKind()))
        return;
    CSize area = DrawingAreaSize();
    int width = 0;
    int height = 0;
    if (picture != NULL) {
        width = picture->m_nWidth;
        height = picture->m_nHeight;
    } else if (!thread->GetPictureSize(width, height)) {
        return;
    }
    if (!Within1(width, area.cx) || !Within1(height, area.cy)) {
        thread->Resize(area.cx, area.cy);
        return;
    }
    bool copied = picture != NULL ? m_device.CopyFrom(*picture) : thread->CopyPicture(m_device);
    if (copied)
        m_view.RefreshView();
}

LRESULT CViewFrame::OnImageReady(WPARAM, LPARAM picture)
{
    if (IsVectorFile())
        TakeImage((const CGDIDevice*)picture);
    return 0;
}

LRESULT CViewFrame::OnDrawingOpened(WPARAM result, LPARAM passwordIndex)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL)
        return 0;
    if (result == 4) {
        CString path = AppSW.GetViewPath();
        CString password;
        int index = (int)passwordIndex;
        if (QueryDrawingPassword(path, password, index)) {
            thread->SetPassword(password, index);
            CSize area = DrawingAreaSize();
            thread->OpenFile(-1, path, area.cx, area.cy, false);
        }
        return 0;
    }
    if (IsDrawingKind(thread->GetFileKind())) {
        m_tabsNeedRefill = 1;
        return 0;
    }
    ShowImageInfo();
    PostMessage(WM_DRAW_DONE, 1, 0);
    return 0;
}

LRESULT CViewFrame::OnDrawCommandDone(WPARAM done, LPARAM code)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (done != 1 || thread == NULL || !IsWindowVisible())
        return 0;
    if (IsDrawingKind(thread->GetFileKind())) {
        TakeImage(NULL);
        CStringList names;
        int layouts = thread->GetLayoutNames(names);
        int tabs = GetTabCount();
        if (m_tabsNeedRefill || tabs == 0 || (layouts >= 0 && tabs != layouts)) {
            EndProgressDisplay();
            FillPageTabs();
        }
    } else {
        if (m_tabsNeedRefill || GetRasterFrameCount(thread) != GetTabCount()) {
            EndProgressDisplay();
            FillPageTabs();
        }
        if (!thread->IsBusy()) {
            FitRasterToView(thread);
            // The open's own notice came while the thread was still busy,
            // too early for the image's information.
            ShowImageInfo();
        }
    }
    RefreshViewCursor();
    return 0;
}

void CViewFrame::FitRasterToView(TDwgDrawThread* thread)
{
    {
        CIdleUse use(thread);
        if (!use.IsHeld())
            return;
        CSize area = DrawingAreaSize();
        SizeRasterCanvas(use.Canvas(), area.cx, area.cy);
        thread->SetRasterCanvasReady(true);
        // Zooms and pans stretch fast; the smoothing pass draws it smoothed.
        use.Picture().fastStretch = 1;
        use.Picture().ResetView();
    }
    Regenerate();
}

void CViewFrame::RefreshViewCursor()
{
    POINT pointer;
    if (GetCursorPos(&pointer) && ::WindowFromPoint(pointer) == m_view.GetSafeHwnd())
        m_view.SendMessage(WM_SETCURSOR, (WPARAM)m_view.GetSafeHwnd(), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

LRESULT CViewFrame::OnDrawProgress(WPARAM percent, LPARAM)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL)
        return 0;
    if (!thread->IsOpening()) {
        EndProgressDisplay();
    } else if (percent >= 100) {
        EndProgressDisplay();
        FillPageTabs();
    } else {
        if (m_progress == NULL)
            BeginProgressDisplay();
        if (m_progress != NULL)
            m_progress->SetPos((int)percent);
    }
    return 0;
}

LRESULT CViewFrame::OnOptionsChanged(WPARAM, LPARAM)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL || !IsDrawingKind(thread->GetFileKind()))
        return 0;
    if (thread->IsBusy()) {
        thread->CancelCurrent();
        thread->WaitIdle(kDrawThreadIdleWaitMs, m_hWnd);
    }
    thread->PostCommand(DCMD_REFRESH, NULL, NULL, false);
    return 0;
}

BOOL CViewFrame::OnDeviceChange(UINT event, DWORD_PTR data)
{
    IViewBrowser* browser = GetViewBrowser();
    if (AppSW.mode == APPMODE_VIEW && browser != NULL)
        return browser->OnDeviceChange(event, data);
    return TRUE;
}
