// The preview pane: its window, painting, progress bar, the drawing
// thread's answers, and what the browse frame and the file list call.
#include "views/preview/preview_pane.h"

#include <stdlib.h>
#include <time.h>

#include "core/appsw.h"
#include "core/file_types.h"
#include "core/preference.h"
#include "core/res_string.h"
#include "drawing/common/draw_messages.h"
#include "drawing/draw_thread/draw_commands.h"
#include "resources/browser_ids.h"
#include "resources/drawing_ids.h"
#include "resources/views_ids.h"
#include "views/common/drawing_dialogs.h"
#include "views/common/idle_use.h"
#include "views/common/view_cursors.h"
#include "views/common/view_messages.h"
#include "views/common/view_state.h"
#include "views/password/password_prompt.h"

namespace {

// The creation date as "Thursday, December 10, 2026", in English whatever
// the system's locale (the run-time library's own strftime would give the
// host's month names in its own character set); empty when the time has
// no local date.
CString FormatCreationDate(time_t seconds)
{
    static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
    static const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
    struct tm* local = localtime(&seconds);
    CString text;
    if (local != NULL && local->tm_wday >= 0 && local->tm_wday < 7 && local->tm_mon >= 0 && local->tm_mon < 12)
        text.Format("%s, %s %02d, %d", kDays[local->tm_wday], kMonths[local->tm_mon], local->tm_mday,
                    local->tm_year + 1900);
    return text;
}

const UINT_PTR kHoverTimer = 262;
const UINT_PTR kSmoothTimer = 263;
const UINT_PTR kHighlightOffTimer = 264;
const UINT kSmoothDelayMs = 500;
// The context menu is this submenu of the browse frame's menu.
const int kContextSubmenu = 3;
const int kProgressZoomingToAll = 101;
const int kProgressRedrawing = 102;

void FillSolid(HDC dc, const RECT& area, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

}  // namespace

BEGIN_MESSAGE_MAP(CPreView, CStatic)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_SETCURSOR()
    ON_WM_CONTEXTMENU()
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MBUTTONDOWN()
    ON_WM_MBUTTONUP()
    ON_WM_MOUSEWHEEL()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_THUMB_STAGE, &CPreView::OnImageReady)
    ON_MESSAGE(WM_DRAW_DONE, &CPreView::OnDrawCommandDone)
    ON_MESSAGE(WM_DRAW_OPENED, &CPreView::OnDrawingOpened)
    ON_COMMAND(ID_PREVIEW_LAYERS, &CPreView::OnLayers)
    ON_COMMAND(ID_PREVIEW_SELECT_VIEW_POINT, &CPreView::OnSelectViewPoint)
    ON_COMMAND(ID_PREVIEW_PREVIOUS_VIEW, &CPreView::OnPreviousView)
    ON_COMMAND(ID_PREVIEW_ZOOM_ALL, &CPreView::OnZoomAll)
    ON_COMMAND(ID_PREVIEW_REDRAW, &CPreView::OnRedraw)
    ON_COMMAND_RANGE(ID_PREVIEW_VIEW_TOP, ID_PREVIEW_VIEW_NW_ISO, &CPreView::OnViewPoint)
    ON_COMMAND_RANGE(ID_PREVIEW_ZOOM_OUT, ID_PREVIEW_PAN, &CPreView::OnZoomTool)
    ON_COMMAND_RANGE(ID_LAYOUT_FIRST, ID_LAYOUT_LAST, &CPreView::OnSelectLayout)
    ON_COMMAND(ID_RASTER_ACTUAL_SIZE, &CPreView::OnActualSize)
    ON_COMMAND(ID_RASTER_AUTO_FIT, &CPreView::OnAutoFit)
    ON_COMMAND_RANGE(ID_RASTER_ROTATE_LEFT, ID_RASTER_FLIP, &CPreView::OnRasterTransform)
    ON_COMMAND(ID_SMOOTH_RASTER, &CPreView::OnSmoothRaster)
    ON_COMMAND(ID_HIGHLIGHT_ENTITY, &CPreView::OnHighlightEntity)
    ON_COMMAND(ID_QUICK_MODE, &CPreView::OnQuickMode)
    ON_UPDATE_COMMAND_UI(ID_PREVIEW_LAYERS, &CPreView::OnUpdateVectorToShow)
    ON_UPDATE_COMMAND_UI(ID_PREVIEW_PREVIOUS_VIEW, &CPreView::OnUpdatePreviousView)
    ON_UPDATE_COMMAND_UI(ID_PREVIEW_ZOOM_ALL, &CPreView::OnUpdateZoomAll)
    ON_UPDATE_COMMAND_UI(ID_PREVIEW_REDRAW, &CPreView::OnUpdateZoomAll)
    ON_UPDATE_COMMAND_UI(ID_PREVIEW_LAYOUTS, &CPreView::OnUpdateLayoutMenu)
    ON_UPDATE_COMMAND_UI_RANGE(ID_PREVIEW_SELECT_VIEW_POINT, ID_PREVIEW_VIEW_NW_ISO, &CPreView::OnUpdateViewPoint)
    ON_UPDATE_COMMAND_UI_RANGE(ID_PREVIEW_ZOOM_OUT, ID_PREVIEW_PAN, &CPreView::OnUpdateZoomTool)
    ON_UPDATE_COMMAND_UI_RANGE(ID_LAYOUT_FIRST, ID_LAYOUT_LAST, &CPreView::OnUpdateSelectLayout)
    ON_UPDATE_COMMAND_UI_RANGE(ID_RASTER_ACTUAL_SIZE, ID_RASTER_FLIP, &CPreView::OnUpdateRasterImage)
    ON_UPDATE_COMMAND_UI(ID_RASTER_AUTO_FIT, &CPreView::OnUpdateRasterImage)
    ON_UPDATE_COMMAND_UI(ID_SMOOTH_RASTER, &CPreView::OnUpdateRasterImage)
    ON_UPDATE_COMMAND_UI(ID_HIGHLIGHT_ENTITY, &CPreView::OnUpdateHighlightEntity)
    ON_UPDATE_COMMAND_UI(ID_QUICK_MODE, &CPreView::OnUpdateQuickMode)
END_MESSAGE_MAP()

CPreView::CPreView()
    : m_lastProgress(0),
      m_dragStart(),
      m_lastPoint(),
      m_toolMode(kToolArrow),
      m_cursor(SystemCursor(IDC_ARROW)),
      m_smoothTimerPending(0),
      m_currentLayout(-1)
{
}

CPreView::~CPreView()
{
}

BOOL CPreView::Create(CWnd* parent, UINT id)
{
    if (!CStatic::Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOTIFY | SS_CENTERIMAGE, CRect(0, 0, 0, 0),
                         parent, id))
        return FALSE;
    ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    return TRUE;
}

int CPreView::OnCreate(LPCREATESTRUCT cs)
{
    if (CStatic::OnCreate(cs) == -1)
        return -1;
    m_toolMode = kToolZoomWindow;
    m_cursor = ViewCursor(kCursorZoomWindow);
    // Without the browse frame's menu the pane has no context menu.
    m_menu.LoadMenu(IDR_BROWSE_FRAME);
    return 0;
}

void CPreView::OnDestroy()
{
    if (AppSW.drawThread != NULL)
        AppSW.drawThread->SetNotifyWnd(NULL);
    CStatic::OnDestroy();
}

void CPreView::PostStatusUpdate()
{
    CWnd* main = AfxGetMainWnd();
    if (main != NULL)
        main->PostMessage(WM_UPDATE_STATUS, 0, 0);
}

// --- Painting -----------------------------------------------------------------------

void CPreView::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (HasSomethingToShow() && !m_path.IsEmpty()) {
        if (!IsDrawingKind(thread->GetFileKind())) {
            CIdleUse use(thread);
            if (!use.IsHeld())
                return;
            SizeRasterCanvas(use.Canvas(), client.Width(), client.Height());
            if (thread->IsRasterCanvasReady())
                use.Canvas().BlitTo(dc.GetSafeHdc());
            return;
        }
        if (abs(client.Width() - m_device.m_nWidth) < 2 && abs(client.Height() - m_device.m_nHeight) < 2) {
            m_device.Paint(dc.GetSafeHdc());
            return;
        }
        // The picture of the new size is on its way; until then the
        // background shows.
        FillSolid(dc.GetSafeHdc(), client, DrawingBackgroundColour());
        if (!thread->IsBusy())
            thread->Resize(client.Width(), client.Height());
        return;
    }
    FillSolid(dc.GetSafeHdc(), client, Preference.ListCtrlColor);
    if (thread != NULL && thread->IsBusy() && !IsDrawingKind(thread->GetFileKind())) {
        CString text = LoadResString(IDS_THUMB_LOADING);
        HGDIOBJ formerFont = dc.SelectStockObject(DEFAULT_GUI_FONT);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc.GetSafeHdc(), text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        SelectObject(dc.GetSafeHdc(), formerFont);
    }
}

BOOL CPreView::OnEraseBkgnd(CDC* dc)
{
    if (HasSomethingToShow() && !m_path.IsEmpty())
        return TRUE;
    CRect client;
    GetClientRect(&client);
    FillSolid(dc->GetSafeHdc(), client, Preference.ListCtrlColor);
    return TRUE;
}

void CPreView::OnSize(UINT type, int cx, int cy)
{
    CStatic::OnSize(type, cx, cy);
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (cx <= 0 || cy <= 0 || thread == NULL)
        return;
    if (IsDrawingKind(thread->GetFileKind())) {
        thread->Resize(cx, cy);
        return;
    }
    bool redraw = false;
    {
        CIdleUse use(thread);
        if (!use.IsHeld())
            return;
        if (SizeRasterCanvas(use.Canvas(), cx, cy) && thread->IsRasterLoaded()) {
            use.Picture().Draw(false);
            redraw = true;
        }
    }
    if (redraw)
        RepaintRaster();
}

void CPreView::OnSetFocus(CWnd* oldWindow)
{
    CStatic::OnSetFocus(oldWindow);
    CRect client;
    GetClientRect(&client);
    CClientDC dc(this);
    DrawFocusRect(dc.GetSafeHdc(), &client);
}

BOOL CPreView::OnSetCursor(CWnd* window, UINT hitTest, UINT message)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL)
        return CStatic::OnSetCursor(window, hitTest, message);
    if (!IsDrawingKind(thread->GetFileKind())) {
        ::SetCursor(thread->IsBusy() ? SystemCursor(IDC_WAIT) : m_cursor);
        return TRUE;
    }
    switch (thread->GetState()) {
        case 1:
            ::SetCursor(SystemCursor(IDC_WAIT));
            return TRUE;
        case 2:
            ::SetCursor(m_cursor);
            return TRUE;
        default:
            return CStatic::OnSetCursor(window, hitTest, message);
    }
}

void CPreView::OnContextMenu(CWnd* window, CPoint point)
{
    KillHighlightTimers();
    CMenu* popup = m_menu.GetSafeHmenu() != NULL ? m_menu.GetSubMenu(kContextSubmenu) : NULL;
    if (popup != NULL)
        popup->TrackPopupMenu(0, point.x, point.y, AfxGetMainWnd());
}

void CPreView::KillHighlightTimers()
{
    KillTimer(kHoverTimer);
    KillTimer(kHighlightOffTimer);
}

void CPreView::StopSmoothTimer()
{
    if (m_smoothTimerPending) {
        KillTimer(kSmoothTimer);
        m_smoothTimerPending = 0;
    }
}

// --- The drawing thread's answers ------------------------------------------------

void CPreView::TakeImage(const CGDIDevice* picture)
{
    TDwgDrawThread* thread = AppSW.drawThread;
    if (thread == NULL || thread->IsBusy())
        return;
    bool copied = picture != NULL ? m_device.CopyFrom(*picture) : thread->CopyPicture(m_device);
    if (copied)
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
}

LRESULT CPreView::OnImageReady(WPARAM, LPARAM picture)
{
    TakeImage((const CGDIDevice*)picture);
    return 0;
}

LRESULT CPreView::OnDrawCommandDone(WPARAM done, LPARAM code)
{
    if (done != 1)
        return 0;
    if (code == DCMD_SET_FILE) {
        PostStatusUpdate();
        return 0;
    }
    TakeImage(NULL);
    // With smoothing on, the thread leaves a newly opened image for the
    // smoothing pass, which comes only for a reduced image: it is fitted
    // and drawn here so that every image shows at once.
    if (code == DCMD_OPEN || code == DCMD_OPEN_EXTENTS)
        FitRaster();
    if (GetFocus() == this)
        SendMessage(WM_SETCURSOR, (WPARAM)m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return 0;
}

LRESULT CPreView::OnDrawingOpened(WPARAM result, LPARAM companion)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (result == 1) {
        if (thread != NULL && !IsDrawingKind(thread->GetFileKind()))
            thread->SetRasterCanvasReady(true);
        PostStatusUpdate();
        RebuildLayoutMenus();
    } else if (result == 4) {
        CString password;
        int index = (int)companion;
        CString path = m_path;
        if (QueryDrawingPassword(path, password, index))
            PreviewFile(path, NULL, password, index);
    }
    return 0;
}

LRESULT CPreView::OnDrawProgress(WPARAM percent, LPARAM)
{
    DrawProgress((int)percent);
    return 0;
}

void CPreView::DrawProgress(int percent)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL || !thread->IsOpening() || percent <= m_lastProgress)
        return;
    m_lastProgress = percent;
    CRect client;
    GetClientRect(&client);
    if (client.Width() < 2 || client.Height() < 2)
        return;
    m_device.Create(client.Width(), client.Height(), 3);
    m_device.BlendRect(0, 0, m_device.m_nWidth, m_device.m_nHeight, DrawingBackgroundColour(), 100, false, 0);

    UINT labelId = IDS_THUMB_LOADING;
    if (percent == kProgressZoomingToAll)
        labelId = IDS_THUMB_ZOOMING;
    else if (percent == kProgressRedrawing)
        labelId = IDS_THUMB_DRAWING;
    CString label = LoadResString(labelId);
    HDC dc = m_device.m_hDC;
    HGDIOBJ formerFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE textSize = {0, 0};
    CString measured = LoadResString(IDS_THUMB_LOADING);
    GetTextExtentPoint32A(dc, measured, measured.GetLength(), &textSize);
    int h = textSize.cy;
    int x0 = client.left + 5;
    int x1 = client.right - 5;
    int top = client.top + 3;

    HPEN framePen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HBRUSH frameBrush = CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ formerPen = SelectObject(dc, framePen);
    HGDIOBJ formerBrush = SelectObject(dc, frameBrush);
    Rectangle(dc, client.left + 4, client.top + 2, x1 + 1, top + h + 1);
    SelectObject(dc, formerBrush);
    SelectObject(dc, formerPen);
    DeleteObject(frameBrush);
    DeleteObject(framePen);

    int shown = percent < 100 ? percent : 100;
    RECT filled = {x0, top, x0 + (int)((x1 - x0) * (double)shown / 100.0), top + h};
    FillSolid(dc, filled, GetSysColor(COLOR_BTNFACE));
    DrawEdge(dc, &filled, BDR_RAISEDINNER, BF_RECT);

    RECT labelRect = {x0, top, x1, top + h};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, label, -1, &labelRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, formerFont);

    CClientDC window(this);
    m_device.Paint(window.GetSafeHdc());
}

// --- Operations --------------------------------------------------------------------------

void CPreView::PreviewFile(const char* path, const CDrawingFileInfo* info, const char* password, LPARAM companion)
{
    KillHighlightTimers();
    StopSmoothTimer();
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL) {
        m_path.Empty();
        return;
    }
    bool withPassword = password != NULL && password[0] != '\0';
    if (!withPassword && thread->IsCurrentFile(path))
        return;
    if (AppSW.modalDialogOpen)
        return;
    if (info == NULL)
        info = GetDrawingFileInfo(path);
    if (info == NULL)
        return;
    m_path = path;
    thread->SetFileKind(info->type);
    if (!IsWindowVisible()) {
        thread->RequestFileInfo(info->type, path);
        return;
    }
    CRect client;
    GetClientRect(&client);
    RebuildLayoutMenus();
    m_lastProgress = 0;
    thread->SetPassword(password, companion);
    thread->OpenFile(info->type, path, client.Width(), client.Height(), Preference.PreviewZoomExtend != 0);
    if (!IsDrawingKind(info->type))
        RedrawWindow(NULL, NULL, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
}

void CPreView::ClearPreview(bool stopSmoothing)
{
    if (stopSmoothing)
        StopSmoothTimer();
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread != NULL && HasSomethingToShow()) {
        thread->SetPendingCommand(DCMD_CLOSE);
        thread->CancelCurrent();
        thread->Wake(false);
    }
    m_path.Empty();
    if (GetFocus() == this)
        SendMessage(WM_SETCURSOR, (WPARAM)m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void CPreView::SendViewCommand(int code)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    if (IsDrawingKind(thread->GetFileKind()))
        thread->SetCommand(code);
    else
        RepaintRaster();
}

void CPreView::ApplyOptions()
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL)
        return;
    if (thread->IsBusy() && !thread->IsOpening()) {
        thread->CancelCurrent();
        thread->WaitIdle(kDrawThreadIdleWaitMs, m_hWnd);
    }
    if (HasSomethingToShow() && IsDrawingKind(thread->GetFileKind())) {
        RefreshDrawing(thread);
    }
}

void CPreView::RefreshRasterView()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    {
        CIdleUse use(thread);
        if (!use.IsHeld())
            return;
        use.Picture().background = Preference.ListCtrlColor;
        use.Picture().backgroundWanted = Preference.ListCtrlColor;
        use.Picture().ResetView();
    }
    RepaintRaster();
}

void CPreView::FitRaster()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || IsDrawingKind(thread->GetFileKind()) || !thread->IsRasterLoaded())
        return;
    {
        CIdleUse use(thread);
        if (!use.IsHeld())
            return;
        use.Picture().ResetView();
    }
    RepaintRaster();
}

void CPreView::RepaintRaster()
{
    RedrawWindow(NULL, NULL, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
    StopSmoothTimer();
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || !Preference.PreviewHalfTone)
        return;
    float scale = 1.0f;
    {
        CIdleUse use(thread);
        if (use.IsHeld())
            scale = use.Picture().GetScale();
    }
    if (scale < 1.0f) {
        SetTimer(kSmoothTimer, kSmoothDelayMs);
        m_smoothTimerPending = 1;
    }
}

bool GetPreviewDrawingInfo(DRAWINGINFO* info)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL || !IsDrawingKind(thread->GetFileKind()))
        return false;
    thread->GetDrawingInfo(info);
    return info->setCount > 0;
}

CString CPreView::GetDrawingSummary()
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL)
        return CString();
    if (!IsDrawingKind(thread->GetFileKind()))
        return thread->GetRasterInfoText();
    DRAWINGINFO info;
    thread->GetDrawingInfo(&info);
    CString summary;
    if (info.setCount <= 0)
        return summary;
    summary = info.formatText;
    summary += LoadResString(IDS_SUMMARY_CREATED) + FormatCreationDate((time_t)info.created.GetTime()) + ";";
    if (info.setCount >= 2) {
        // Prepended one by one: the text reads title, subject, author.
        if (!info.author.IsEmpty())
            summary = LoadResString(IDS_SUMMARY_AUTHOR) + info.author + " ; " + summary;
        if (!info.subject.IsEmpty())
            summary = LoadResString(IDS_SUMMARY_SUBJECT) + info.subject + " ; " + summary;
        if (!info.title.IsEmpty())
            summary = LoadResString(IDS_SUMMARY_TITLE) + info.title + " ; " + summary;
    }
    return summary;
}
