// The drawing view: its window, painting, cursor, context menus, highlight
// timers, and the commands of its menus and keys.
#include "views/viewer/dwg_view.h"

#include <stdlib.h>

#include "core/appsw.h"
#include "core/file_types.h"
#include "core/preference.h"
#include "drawing/draw_thread/draw_commands.h"
#include "platform/zrui/zrui.h"
#include "resources/views_ids.h"
#include "views/common/highlight_entity.h"
#include "views/common/idle_use.h"
#include "views/common/view_browser.h"
#include "views/common/view_commands.h"
#include "views/common/view_cursors.h"
#include "views/common/view_state.h"
#include "views/viewer/print_pick.h"
#include "views/viewer/view_frame.h"

namespace {

const UINT_PTR kHoverTimer = 262;
const UINT_PTR kHighlightOffTimer = 264;
const UINT kHighlightOffDelayMs = 300;
// CxImage's type id of JPEG files.
const DWORD kJpegFormat = 3;
const int kOrbitGuideColourIndex = 5;

void FillWithBackground(HDC dc, const RECT& area)
{
    HBRUSH brush = CreateSolidBrush(DrawingBackgroundColour());
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

}  // namespace

IMPLEMENT_DYNCREATE(CDwgView, CWnd)

BEGIN_MESSAGE_MAP(CDwgView, CWnd)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_MBUTTONDOWN()
    ON_WM_MBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CONTEXTMENU()
    ON_WM_TIMER()
    ON_COMMAND(ID_VIEW_ZOOM_OUT, &CDwgView::OnZoomOut)
    ON_COMMAND(ID_VIEW_ZOOM_IN, &CDwgView::OnZoomIn)
    ON_COMMAND(ID_VIEW_ZOOM_WINDOW, &CDwgView::OnZoomWindow)
    ON_COMMAND(ID_VIEW_PAN, &CDwgView::OnPan)
    ON_COMMAND(ID_VIEW_ZOOM_ALL, &CDwgView::OnZoomAll)
    ON_COMMAND(ID_VIEW_PREVIOUS_VIEW, &CDwgView::OnPreviousView)
    ON_COMMAND(ID_VIEW_EXIT_3D_ORBIT, &CDwgView::OnExit3DOrbit)
    ON_COMMAND(ID_RASTER_ACTUAL_SIZE, &CDwgView::OnActualSize)
    ON_COMMAND(ID_RASTER_AUTO_FIT, &CDwgView::OnAutoFit)
    ON_COMMAND_RANGE(ID_RASTER_ROTATE_LEFT, ID_RASTER_FLIP, &CDwgView::OnRasterTransform)
    ON_COMMAND(ID_NEXT_FILE, &CDwgView::OnNextFile)
    ON_COMMAND(ID_PREVIOUS_FILE, &CDwgView::OnPreviousFile)
    ON_COMMAND(ID_SHOW_EXIF, &CDwgView::OnShowExif)
    ON_COMMAND(ID_HIGHLIGHT_ENTITY, &CDwgView::OnHighlightEntity)
    ON_COMMAND(ID_QUICK_MODE, &CDwgView::OnQuickMode)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_ZOOM_OUT, ID_VIEW_PAN, &CDwgView::OnUpdateZoomTool)
    ON_UPDATE_COMMAND_UI(ID_VIEW_ZOOM_ALL, &CDwgView::OnUpdateZoomAll)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PREVIOUS_VIEW, &CDwgView::OnUpdatePreviousView)
    ON_UPDATE_COMMAND_UI_RANGE(ID_RASTER_ACTUAL_SIZE, ID_RASTER_FLIP, &CDwgView::OnUpdateRasterImage)
    ON_UPDATE_COMMAND_UI(ID_RASTER_AUTO_FIT, &CDwgView::OnUpdateRasterImage)
    ON_UPDATE_COMMAND_UI(ID_NEXT_FILE, &CDwgView::OnUpdateNextFile)
    ON_UPDATE_COMMAND_UI(ID_PREVIOUS_FILE, &CDwgView::OnUpdatePreviousFile)
    ON_UPDATE_COMMAND_UI(ID_SHOW_EXIF, &CDwgView::OnUpdateShowExif)
    ON_UPDATE_COMMAND_UI(ID_HIGHLIGHT_ENTITY, &CDwgView::OnUpdateHighlightEntity)
    ON_UPDATE_COMMAND_UI(ID_QUICK_MODE, &CDwgView::OnUpdateQuickMode)
END_MESSAGE_MAP()

CDwgView::CDwgView()
    : m_rasterChanged(0),
      m_sizing(0),
      m_dragging(0),
      m_middlePan(0),
      m_dragStart(),
      m_lastPoint(),
      m_printRect(),
      m_printRectComplete(0),
      m_printHandle(kHandleNone),
      m_printPick(0),
      m_orbit(0),
      m_orbitLastPoint(),
      m_orbitDragging(0),
      m_orbitGuide(OrbitGuide::ForClient(0, 0)),
      m_orbitMode(0),
      m_toolMode(kToolZoomWindow),
      m_cursor(ViewCursor(kCursorZoomWindow)),
      m_firstErase(1),
      m_listNavigation(0),
      m_frame(NULL)
{
}

CDwgView::~CDwgView()
{
}

BOOL CDwgView::Create(CViewFrame* frame, UINT id)
{
    m_frame = frame;
    LPCSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS, SystemCursor(IDC_ARROW), NULL, NULL);
    return CWnd::Create(windowClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), frame, id);
}

int CDwgView::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    // Without them the view has no context menus; it works otherwise.
    m_mainMenu.LoadMenu(IDR_VIEW_CONTEXT);
    m_orbitMenu.LoadMenu(IDR_ORBIT_CONTEXT);
    return 0;
}

CSize CDwgView::ClientSize() const
{
    CRect client;
    GetClientRect(&client);
    return CSize(client.Width(), client.Height());
}

TDwgDrawThread* CDwgView::ThreadWithPicture() const
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return NULL;
    if (IsDrawingKind(thread->GetFileKind()))
        return thread->HasDrawing() ? thread : NULL;
    return thread->IsRasterLoaded() ? thread : NULL;
}

void CDwgView::SetCursorNow(HCURSOR cursor)
{
    m_cursor = cursor;
    POINT pointer;
    if (GetCapture() == this || (GetCursorPos(&pointer) && ::WindowFromPoint(pointer) == m_hWnd))
        ::SetCursor(cursor);
}

void CDwgView::SetToolMode(int mode)
{
    m_toolMode = mode;
    SetCursorNow(ToolModeCursor(mode, m_cursor));
}

void CDwgView::RedrawNow()
{
    RedrawWindow(NULL, NULL, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
}

void CDwgView::Redraw()
{
    RedrawNow();
    m_frame->StartSmoothTimer();
}

void CDwgView::RefreshView()
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL || IsDrawingKind(thread->GetFileKind())) {
        RedrawNow();
        return;
    }
    CIdleUse use(thread);
    if (!use.IsHeld())
        return;
    CSize client = ClientSize();
    use.Picture().ResizeScaled(client.cx, client.cy, true, true);
    CClientDC dc(this);
    use.Canvas().BlitTo(dc.GetSafeHdc());
}

void CDwgView::KillHighlightTimers()
{
    KillTimer(kHoverTimer);
    KillTimer(kHighlightOffTimer);
}

BOOL CDwgView::OnEraseBkgnd(CDC* dc)
{
    if (m_firstErase) {
        m_firstErase = 0;
        CRect client;
        GetClientRect(&client);
        FillWithBackground(dc->GetSafeHdc(), client);
    }
    return TRUE;
}

BOOL CDwgView::OnSetCursor(CWnd* window, UINT hitTest, UINT message)
{
    if (hitTest != HTCLIENT)
        return CWnd::OnSetCursor(window, hitTest, message);
    TDwgDrawThread* thread = GetRunningDrawThread();
    bool waiting = thread != NULL && IsDrawingKind(thread->GetFileKind()) && thread->IsBusy();
    ::SetCursor(waiting ? SystemCursor(IDC_WAIT) : m_cursor);
    return TRUE;
}

void CDwgView::OnPaint()
{
    CPaintDC dc(this);
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL || IsDrawingKind(thread->GetFileKind())) {
        PaintDrawing(dc.GetSafeHdc(), thread);
        return;
    }
    m_frame->StopSmoothTimer();
    CIdleUse use(thread);
    if (!use.IsHeld())
        return;
    CSize client = ClientSize();
    use.Picture().Resize(client.cx, client.cy);
    use.Canvas().BlitTo(dc.GetSafeHdc());
}

void CDwgView::PaintDrawing(HDC dc, TDwgDrawThread* thread)
{
    const CGDIDevice& picture = m_frame->m_device;
    CSize client = ClientSize();
    bool fits = abs(client.cx - picture.m_nWidth) <= 1 && abs(client.cy - picture.m_nHeight) <= 1;
    if (m_sizing && !fits) {
        FillWithBackground(dc, CRect(0, 0, client.cx, client.cy));
        return;
    }
    bool rectStarted = m_printRect.left != m_printRect.right && m_printRect.top != m_printRect.bottom;
    if (m_printPick && rectStarted)
        PaintPrintPickOverlay(dc, picture, m_printRect);
    else
        picture.Paint(dc);
    // What the picture does not cover (a picture still on its way after a
    // resize) shows the background.
    if (client.cx > picture.m_nWidth)
        FillWithBackground(dc, CRect(picture.m_nWidth, 0, client.cx, client.cy));
    if (client.cy > picture.m_nHeight)
        FillWithBackground(dc, CRect(0, picture.m_nHeight, client.cx, client.cy));
    if (m_orbit)
        DrawOrbitCircle(dc);
}

void CDwgView::DrawOrbitCircle(HDC dc)
{
    CSize client = ClientSize();
    m_orbitGuide = OrbitGuide::ForClient(client.cx, client.cy);
    m_orbitGuide.Draw(dc, ZrUI::GetColorIndex(kOrbitGuideColourIndex, NULL));
}

void CDwgView::OnContextMenu(CWnd* window, CPoint point)
{
    CMenu& menu = m_orbit ? m_orbitMenu : m_mainMenu;
    CMenu* popup = menu.GetSafeHmenu() != NULL ? menu.GetSubMenu(0) : NULL;
    if (popup == NULL)
        return;
    if (point.x == -1 && point.y == -1) {
        CSize client = ClientSize();
        point = CPoint(client.cx / 2, client.cy / 2);
        ClientToScreen(&point);
    }
    popup->TrackPopupMenu(0, point.x, point.y, m_frame);
}

void CDwgView::OnTimer(UINT_PTR id)
{
    if (id != kHoverTimer && id != kHighlightOffTimer) {
        CWnd::OnTimer(id);
        return;
    }
    if (id == kHoverTimer)
        KillHighlightTimers();
    else
        KillTimer(kHighlightOffTimer);
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || !IsDrawingKind(thread->GetFileKind()) || !WantsHighlight(thread))
        return;
    if (id == kHoverTimer) {
        thread->PostCommand(DCMD_HIGHLIGHT_ON, &m_lastPoint, NULL, true);
        SetTimer(kHighlightOffTimer, kHighlightOffDelayMs);
    } else {
        thread->PostCommand(DCMD_HIGHLIGHT_OFF, &m_lastPoint, NULL, true);
    }
}

// --- Commands ---------------------------------------------------------------

void CDwgView::OnZoomOut()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    SetToolMode(kToolZoomOut);
    if (IsDrawingKind(thread->GetFileKind())) {
        thread->PostCommand(DCMD_ZOOM_OUT, NULL, NULL, true);
        return;
    }
    CIdleUse use(thread);
    if (use.IsHeld())
        use.Picture().ZoomOut();
    Redraw();
}

void CDwgView::OnZoomIn()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    SetToolMode(kToolZoomIn);
    bool vector = IsDrawingKind(thread->GetFileKind());
    {
        CIdleUse use(thread);
        if (!use.IsHeld())
            return;
        if (!vector)
            use.Picture().ZoomIn();
        else if (use.View() != NULL && thread->HasDrawing())
            use.View()->zoomIn(0);
    }
    if (vector)
        m_frame->Regenerate();
    else
        Redraw();
}

void CDwgView::OnZoomWindow()
{
    if (GetIdleDrawThread() != NULL)
        SetToolMode(kToolZoomWindow);
}

void CDwgView::OnPan()
{
    if (GetIdleDrawThread() != NULL)
        SetToolMode(kToolPan);
}

void CDwgView::OnZoomAll()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    bool vector = IsDrawingKind(thread->GetFileKind());
    {
        CIdleUse use(thread);
        if (!use.IsHeld())
            return;
        if (!vector)
            use.Picture().ZoomAll();
        else if (use.View() != NULL)
            use.View()->beginViewChange();
    }
    if (vector)
        thread->SetCommand(DCMD_ZOOM_EXTENTS);
    else
        Redraw();
}

void CDwgView::OnPreviousView()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    bool vector = IsDrawingKind(thread->GetFileKind());
    {
        CIdleUse use(thread);
        if (!use.IsHeld())
            return;
        if (!vector)
            use.Picture().ZoomPrevious();
        else if (use.View() != NULL)
            use.View()->previousView();
    }
    if (vector)
        m_frame->Regenerate();
    else
        Redraw();
}

void CDwgView::OnExit3DOrbit()
{
    Set3DOrbitMode(false);
}

void CDwgView::OnActualSize()
{
    if (GetIdleRasterThread() == NULL)
        return;
    SetToolMode(kToolPan);
    ShowRasterActualSize();
    Redraw();
}

void CDwgView::OnAutoFit()
{
    if (GetIdleRasterThread() == NULL)
        return;
    FitRasterView();
    Redraw();
}

void CDwgView::OnRasterTransform(UINT id)
{
    if (GetIdleRasterThread() == NULL)
        return;
    BeginWaitCursor();
    bool orientationChanged = false;
    TurnRaster(id, orientationChanged);
    if (orientationChanged)
        m_rasterChanged = 1;
    Redraw();
    EndWaitCursor();
}

void CDwgView::OnShowExif()
{
    TDwgDrawThread* thread = ThreadWithPicture();
    if (thread == NULL || IsDrawingKind(thread->GetFileKind())) {
        AfxMessageBox("没有找到Exif信息!", MB_OK, 0);
        return;
    }
    CString path = thread->GetFilePath();
    IViewBrowser* browser = GetViewBrowser();
    if (browser != NULL && browser->ShowExif(path))
        return;
    CString text;
    text.Format("文件: %s\n\n没有Exif信息 !", (LPCSTR)path);
    AfxMessageBox(text, MB_OK, 0);
}

void CDwgView::OnHighlightEntity()
{
    ToggleHighlightEntity();
}

void CDwgView::OnQuickMode()
{
    if (TDwgDrawThread* thread = ToggleQuickMode())
        thread->SetCommand(DCMD_REGEN);
}

// --- Update rules -------------------------------------------------------------

void CDwgView::OnUpdateZoomTool(CCmdUI* cmdUI)
{
    static const int kModes[] = {kToolZoomOut, kToolZoomIn, kToolZoomWindow, kToolPan};
    int mode = kModes[cmdUI->m_nID - ID_VIEW_ZOOM_OUT];
    TDwgDrawThread* thread = GetIdleDrawThread();
    bool enabled = thread != NULL && (!IsDrawingKind(thread->GetFileKind()) ||
                                      (thread->HasDrawing() && !m_printPick && !m_orbit));
    cmdUI->Enable(enabled);
    cmdUI->SetCheck(m_toolMode == mode ? 1 : 0);
}

void CDwgView::OnUpdateZoomAll(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    cmdUI->Enable(thread != NULL && (!IsDrawingKind(thread->GetFileKind()) || thread->HasDrawing()));
}

void CDwgView::OnUpdatePreviousView(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    bool enabled = false;
    if (thread != NULL) {
        bool vector = IsDrawingKind(thread->GetFileKind());
        CIdleUse use(thread);
        if (!vector)
            enabled = use.IsHeld() && use.Picture().GetViewCount() > 1;
        else
            enabled = use.View() != NULL && use.View()->hasPreviousView() && !m_printPick && !m_orbit;
    }
    cmdUI->Enable(enabled);
}

void CDwgView::OnUpdateRasterImage(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = ThreadWithPicture();
    cmdUI->Enable(thread != NULL && !IsDrawingKind(thread->GetFileKind()));
}

void CDwgView::OnUpdateNextFile(CCmdUI* cmdUI)
{
    IViewBrowser* browser = GetViewBrowser();
    cmdUI->Enable(GetIdleDrawThread() != NULL && m_listNavigation && browser != NULL && browser->HasNextDrawing());
}

void CDwgView::OnUpdatePreviousFile(CCmdUI* cmdUI)
{
    IViewBrowser* browser = GetViewBrowser();
    cmdUI->Enable(GetIdleDrawThread() != NULL && m_listNavigation && browser != NULL &&
                  browser->HasPreviousDrawing());
}

void CDwgView::OnUpdateShowExif(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = ThreadWithPicture();
    bool enabled = false;
    if (thread != NULL && !IsDrawingKind(thread->GetFileKind())) {
        CIdleUse use(thread);
        enabled = use.IsHeld() && use.Picture().GetImage().GetFormatId() == kJpegFormat;
    }
    cmdUI->Enable(enabled);
}

void CDwgView::OnUpdateHighlightEntity(CCmdUI* cmdUI)
{
    UpdateHighlightEntity(cmdUI);
}

void CDwgView::OnUpdateQuickMode(CCmdUI* cmdUI)
{
    UpdateQuickMode(cmdUI);
}
