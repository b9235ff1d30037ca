// The preview pane's mouse, keys, tool mode and timers.
#include "views/preview/preview_pane.h"

#include "core/appsw.h"
#include "core/file_types.h"
#include "core/preference.h"
#include "drawing/draw_thread/draw_commands.h"
#include "views/common/highlight_entity.h"
#include "views/common/idle_use.h"
#include "views/common/pointer_steps.h"
#include "views/common/rubber_band.h"
#include "views/common/smooth_raster.h"
#include "views/common/view_cursors.h"
#include "views/common/view_state.h"

namespace {

const UINT_PTR kHoverTimer = 262;
const UINT_PTR kSmoothTimer = 263;
const UINT_PTR kHighlightOffTimer = 264;
const UINT kHoverDelayMs = 6;
const UINT kHighlightOffDelayMs = 300;
// Paths of three characters or fewer are drive roots, not files.
const int kShortestFilePath = 4;

}  // namespace

void CPreView::TakeFocusWhenShowing()
{
    if (HasSomethingToShow() && GetFocus() != this)
        SetFocus();
}

void CPreView::ApplyCursor(HCURSOR cursor)
{
    m_cursor = cursor;
    if (GetFocus() == this)
        ::SetCursor(cursor);
}

void CPreView::SetToolMode(int mode)
{
    if (AppSW.drawThread == NULL)
        return;
    m_toolMode = mode;
    ApplyCursor(ToolModeCursor(mode, SystemCursor(IDC_ARROW)));
    if (mode == kToolZoomOut || mode == kToolZoomIn)
        ZoomStep(mode == kToolZoomIn);
}

void CPreView::ZoomStep(bool in)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    if (IsDrawingKind(thread->GetFileKind())) {
        thread->PostCommand(in ? DCMD_ZOOM_IN : DCMD_ZOOM_OUT, NULL, NULL, true);
        return;
    }
    {
        CIdleUse use(thread);
        if (!use.IsHeld())
            return;
        in ? use.Picture().ZoomIn() : use.Picture().ZoomOut();
    }
    FinishRasterChange();
}

void CPreView::FinishRasterChange()
{
    RepaintRaster();
    PostStatusUpdate();
}

void CPreView::OnLButtonDown(UINT flags, CPoint point)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL)
        return;
    StopSmoothTimer();
    KillHighlightTimers();
    TakeFocusWhenShowing();
    if (!HasSomethingToShow())
        return;
    bool vector = IsDrawingKind(thread->GetFileKind());
    switch (m_toolMode) {
        case kToolZoomWindow:
            m_dragStart = point;
            m_lastPoint = point;
            DrawRubberBand(m_hWnd, point, point);
            SetCapture();
            return;
        case kToolPan:
            m_dragStart = point;
            m_lastPoint = point;
            if (vector) {
                CIdleUse use(thread);
                if (use.View() != NULL)
                    use.View()->beginViewChange();
            }
            ApplyCursor(ViewCursor(kCursorPanDragging));
            SetCapture();
            return;
        case kToolZoomOut:
        case kToolZoomIn:
            if (ZoomAtClick(thread, point, m_toolMode == kToolZoomIn))
                RepaintRaster();
            return;
        default:
            return;
    }
}

void CPreView::PanTo(TDwgDrawThread* thread, CPoint point)
{
    if (IsDrawingKind(thread->GetFileKind()))
        thread->RedrawIfIdle();
    if (PanWithPointer(thread, m_lastPoint, point))
        RepaintRaster();
    m_lastPoint = point;
}

void CPreView::OnMouseMove(UINT flags, CPoint point)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || AppSW.modalDialogOpen || !HasSomethingToShow()) {
        Default();
        return;
    }
    TakeFocusWhenShowing();
    bool dragging = GetCapture() == this;
    bool panning = dragging && ((flags & MK_MBUTTON) || (m_toolMode == kToolPan && (flags & MK_LBUTTON)));
    if (panning) {
        PanTo(thread, point);
    } else if (dragging && m_toolMode == kToolZoomWindow && (flags & MK_LBUTTON)) {
        DrawRubberBand(m_hWnd, m_dragStart, m_lastPoint);
        m_lastPoint = point;
        DrawRubberBand(m_hWnd, m_dragStart, m_lastPoint);
    } else if (IsDrawingKind(thread->GetFileKind()) && (flags & (MK_LBUTTON | MK_MBUTTON | MK_RBUTTON)) == 0) {
        m_lastPoint = point;
        KillHighlightTimers();
        SetTimer(kHoverTimer, kHoverDelayMs);
    }
}

void CPreView::OnLButtonUp(UINT flags, CPoint point)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    bool dragging = GetCapture() == this;
    if (thread == NULL || !HasSomethingToShow() || !dragging)
        return;
    ReleaseCapture();
    bool vector = IsDrawingKind(thread->GetFileKind());
    if (m_toolMode == kToolPan) {
        ApplyCursor(ViewCursor(kCursorPan));
    } else if (m_toolMode == kToolZoomWindow) {
        DrawRubberBand(m_hWnd, m_dragStart, m_lastPoint);
        bool moved = point.x != m_dragStart.x || point.y != m_dragStart.y;
        if (moved && ZoomToWindow(thread, m_dragStart, point))
            RepaintRaster();
        else if (moved && !vector)
            RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    if (!vector)
        PostStatusUpdate();
}

void CPreView::OnMButtonDown(UINT flags, CPoint point)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    KillHighlightTimers();
    if (!HasSomethingToShow())
        return;
    if (IsDrawingKind(thread->GetFileKind())) {
        CIdleUse use(thread);
        if (use.View() != NULL)
            use.View()->beginViewChange();
    }
    SetFocus();
    m_dragStart = point;
    m_lastPoint = point;
    ApplyCursor(ViewCursor(kCursorPanDragging));
    SetCapture();
}

void CPreView::OnMButtonUp(UINT flags, CPoint point)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || !HasSomethingToShow())
        return;
    ApplyCursor(ToolModeCursor(m_toolMode, SystemCursor(IDC_ARROW)));
    ReleaseCapture();
    if (!IsDrawingKind(thread->GetFileKind()))
        PostStatusUpdate();
}

BOOL CPreView::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    if (flags != 0 || AppSW.modalDialogOpen)
        return (BOOL)Default();
    KillHighlightTimers();
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return TRUE;
    CPoint at = point;
    ScreenToClient(&at);
    if (ZoomAtPointer(thread, at, delta > 0))
        FinishRasterChange();
    return TRUE;
}

void CPreView::OpenInViewer()
{
    if (GetRunningDrawThread() == NULL)
        return;
    AppSW.SetViewPath(m_path);
    if (m_path.GetLength() >= kShortestFilePath)
        AppSW.ToViewMode();
}

void CPreView::OnLButtonDblClk(UINT flags, CPoint point)
{
    OpenInViewer();
}

void CPreView::OnTimer(UINT_PTR id)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    switch (id) {
        case kHoverTimer:
            KillHighlightTimers();
            if (thread != NULL && IsDrawingKind(thread->GetFileKind()) && WantsHighlight(thread)) {
                thread->PostCommand(DCMD_HIGHLIGHT_ON, &m_lastPoint, NULL, true);
                SetTimer(kHighlightOffTimer, kHighlightOffDelayMs);
            }
            return;
        case kHighlightOffTimer:
            KillTimer(kHighlightOffTimer);
            if (thread == NULL) {
                // A busy thread: look again later.
                if (GetRunningDrawThread() != NULL)
                    SetTimer(kHighlightOffTimer, kHighlightOffDelayMs);
                return;
            }
            if (!thread->GetViewFlag())
                return;
            if (Preference.GetHighLight())
                thread->PostCommand(DCMD_HIGHLIGHT_OFF, &m_lastPoint, NULL, true);
            else
                SetTimer(kHighlightOffTimer, kHighlightOffDelayMs);
            return;
        case kSmoothTimer: {
            StopSmoothTimer();
            if (thread == NULL)
                return;
            {
                CIdleUse use(thread);
                if (!use.IsHeld())
                    return;
                DrawRasterSmoothed(use.Picture(), *this);
            }
            RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
            return;
        }
        default:
            CStatic::OnTimer(id);
            return;
    }
}

// --- Keys ------------------------------------------------------------------------------

BOOL CPreView::PreTranslateMessage(MSG* msg)
{
    if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && HandleKey((UINT)msg->wParam))
        return TRUE;
    return CStatic::PreTranslateMessage(msg);
}

bool CPreView::HandleKey(UINT key)
{
    static const struct {
        UINT key;
        int command;
    } kPans[] = {{VK_LEFT, DCMD_PAN_KEY_LEFT},
                 {VK_UP, DCMD_PAN_KEY_UP},
                 {VK_RIGHT, DCMD_PAN_KEY_RIGHT},
                 {VK_DOWN, DCMD_PAN_KEY_DOWN}};
    for (const auto& pan : kPans) {
        if (key != pan.key)
            continue;
        TDwgDrawThread* thread = GetRunningDrawThread();
        if (thread != NULL && IsDrawingKind(thread->GetFileKind()))
            thread->PostCommand(pan.command, NULL, NULL, true);
        return true;
    }
    switch (key) {
        case VK_RETURN:
            OpenInViewer();
            return true;
        case '1':
            OnActualSize();
            return true;
        case 'A':
            OnAutoFit();
            return true;
        case 'E':
            OnZoomAll();
            return true;
        case 'H':
            ToggleHighlightEntity();
            return true;
        case 'I':
        case VK_ADD:
        case VK_OEM_PLUS:
        case 'U':
        case VK_SUBTRACT:
        case VK_OEM_MINUS: {
            bool in = key == 'I' || key == VK_ADD || key == VK_OEM_PLUS;
            TDwgDrawThread* thread = GetRunningDrawThread();
            if (thread == NULL)
                return true;
            if (IsDrawingKind(thread->GetFileKind())) {
                SendViewCommand(in ? DCMD_ZOOM_IN : DCMD_ZOOM_OUT);
                return true;
            }
            bool changed = false;
            {
                CIdleUse use(thread);
                changed = use.IsHeld() && (in ? use.Picture().ZoomIn() : use.Picture().ZoomOut());
            }
            if (changed)
                RepaintRaster();
            return true;
        }
        case 'L':
            OnRotateLeft();
            return true;
        case 'R':
            OnRotateRight();
            return true;
        case 'P':
            if (AppSW.drawThread != NULL) {
                m_toolMode = kToolPan;
                ApplyCursor(ViewCursor(kCursorPan));
            }
            return true;
        case 'W':
            SetToolMode(kToolZoomWindow);
            return true;
        case 'Q':
            OnQuickMode();
            return true;
        default:
            return false;
    }
}
