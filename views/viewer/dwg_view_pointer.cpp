// The drawing view's pointer tools: window zoom with a rubber band, pan,
// zoom at a click, middle-button pan, the 3D orbit, the print-window pick,
// the coordinate read-out and the hover that starts the highlight.
#include "views/viewer/dwg_view.h"

#include "core/file_types.h"
#include "core/number_text.h"
#include "drawing/draw_thread/draw_commands.h"
#include "views/common/idle_use.h"
#include "views/common/pointer_steps.h"
#include "views/common/rubber_band.h"
#include "views/common/view_cursors.h"
#include "views/common/view_messages.h"
#include "views/common/view_state.h"
#include "views/viewer/coordinate_readout.h"
#include "views/viewer/print_pick.h"
#include "views/viewer/view_frame.h"

namespace {

const UINT_PTR kHoverTimer = 262;
const UINT kHoverDelayMs = 6;

}  // namespace

void CDwgView::Set3DOrbitMode(bool on)
{
    if (!IsVectorFile())
        return;
    m_orbit = on ? 1 : 0;
    m_orbitDragging = 0;
    RedrawNow();
    if (on) {
        CIdleUse use(GetRunningDrawThread());
        if (use.View() != NULL)
            use.View()->beginViewChange();
    } else {
        SetCursorNow(ToolModeCursor(m_toolMode, m_cursor));
    }
}

void CDwgView::SetPrintPickMode(bool on)
{
    m_printPick = on ? 1 : 0;
    SetCursorNow(on ? ViewCursor(kCursorPrintPick) : ToolModeCursor(m_toolMode, m_cursor));
}

void CDwgView::OnLButtonDown(UINT flags, CPoint point)
{
    KillHighlightTimers();
    m_frame->StopSmoothTimer();
    TDwgDrawThread* thread = ThreadWithPicture();
    if (thread == NULL)
        return;
    m_dragStart = point;
    m_lastPoint = point;
    if (m_printPick) {
        if (!m_printRectComplete) {
            m_printRect = {point.x, point.y, point.x, point.y};
            RedrawNow();
        }
        m_dragging = 1;
        SetCapture();
        return;
    }
    if (m_orbit) {
        m_orbitMode = m_orbitGuide.ModeAt(point);
        m_orbitLastPoint = point;
        m_orbitDragging = 1;
        SetCapture();
        return;
    }
    if (m_toolMode == kToolZoomWindow) {
        DrawRubberBand(m_hWnd, point, point);
    } else if (m_toolMode == kToolPan && IsDrawingKind(thread->GetFileKind())) {
        CIdleUse use(thread);
        if (use.View() != NULL)
            use.View()->beginViewChange();
        SetCursorNow(ViewCursor(kCursorPanDragging));
    }
    m_dragging = 1;
    SetCapture();
}

void CDwgView::OnMouseMove(UINT flags, CPoint point)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    if (m_orbit)
        MoveOrbit(thread, point);
    else if (m_printPick)
        MovePrintPick(point);
    else
        MoveWithTool(thread, flags, point);
    ShowCoordinates(thread, point);
}

void CDwgView::MoveOrbit(TDwgDrawThread* thread, CPoint point)
{
    if (!m_orbitDragging) {
        SetCursorNow(ViewCursor(m_orbitGuide.CursorAt(point)));
        return;
    }
    {
        CIdleUse use(thread);
        ZrApp::View* view = use.View();
        if (view != NULL) {
            if (m_orbitMode & kOrbitRoll)
                view->roll(m_orbitGuide.RollAngle(m_orbitLastPoint, point));
            if (m_orbitMode & (2 | kOrbitTurnHorizontal))
                view->turnHorizontal(m_orbitGuide.HorizontalTurn(m_orbitLastPoint, point));
            if (m_orbitMode & (4 | kOrbitTurnVertical))
                view->turnVertical(m_orbitGuide.VerticalTurn(m_orbitLastPoint, point));
        }
    }
    if (m_orbitMode == kOrbitTurnVertical) {
        SetCursorNow(ViewCursor(kCursorTurnVertical));
    } else if (m_orbitMode == kOrbitTurnHorizontal) {
        SetCursorNow(ViewCursor(kCursorTurnHorizontal));
    } else {
        // A free orbit becomes a roll when the pointer leaves the circle,
        // and back.
        m_orbitMode = m_orbitGuide.ModeAt(point) == kOrbitRoll ? kOrbitRoll : kOrbitFree;
        SetCursorNow(ViewCursor(m_orbitMode == kOrbitRoll ? kCursorRoll : kCursorFreeOrbit));
    }
    m_orbitLastPoint = point;
    m_frame->Regenerate();
}

void CDwgView::MovePrintPick(CPoint point)
{
    if (m_dragging) {
        if (!m_printRectComplete) {
            m_printRect.right = point.x;
            m_printRect.bottom = point.y;
        } else {
            CRect client;
            GetClientRect(&client);
            MovePrintHandle(m_printRect, m_printHandle, point, m_lastPoint, client);
            m_lastPoint = point;
        }
        RedrawNow();
        return;
    }
    if (!m_printRectComplete) {
        SetCursorNow(ViewCursor(kCursorPrintPick));
        return;
    }
    m_printHandle = PrintHandleAt(m_printRect, point);
    SetCursorNow(ViewCursor(PrintHandleCursor(m_printHandle)));
}

void CDwgView::MoveWithTool(TDwgDrawThread* thread, UINT flags, CPoint point)
{
    bool vector = IsDrawingKind(thread->GetFileKind());
    if (m_dragging && (flags & MK_LBUTTON) && m_toolMode == kToolPan) {
        PanBy(thread, point);
        return;
    }
    if (m_dragging && (flags & MK_LBUTTON) && m_toolMode == kToolZoomWindow) {
        DrawRubberBand(m_hWnd, m_dragStart, m_lastPoint);
        m_lastPoint = point;
        DrawRubberBand(m_hWnd, m_dragStart, m_lastPoint);
        return;
    }
    if (m_middlePan && (flags & MK_MBUTTON)) {
        if (vector)
            thread->RedrawIfIdle();
        PanBy(thread, point);
        return;
    }
    if (vector && (flags & (MK_LBUTTON | MK_MBUTTON | MK_RBUTTON)) == 0) {
        m_lastPoint = point;
        KillHighlightTimers();
        SetTimer(kHoverTimer, kHoverDelayMs);
    }
}

void CDwgView::PanBy(TDwgDrawThread* thread, CPoint point)
{
    if (PanWithPointer(thread, m_lastPoint, point))
        Redraw();
    m_lastPoint = point;
}

void CDwgView::ShowCoordinates(TDwgDrawThread* thread, CPoint point)
{
    if (!IsDrawingKind(thread->GetFileKind()) || !thread->HasDrawing())
        return;
    CString text;
    {
        CIdleUse use(thread);
        ZrApp::View* view = use.View();
        if (view == NULL)
            return;
        double xyz[3] = {0.0, 0.0, 0.0};
        view->clientToDrawing(point.x, ClientSize().cy - point.y, xyz);
        text = FormatCoordinateReadout(xyz, view->getUnitMode(), view->getPrecision(), GetDecimalSeparator());
    }
    m_frame->SetStatusText(0, text);
}

void CDwgView::OnLButtonUp(UINT flags, CPoint point)
{
    ReleaseCapture();
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    if (m_orbit) {
        m_orbitDragging = 0;
        return;
    }
    if (m_printPick) {
        if (m_dragging && !m_printRectComplete && HasArea(m_printRect)) {
            m_printRect.right = point.x;
            m_printRect.bottom = point.y;
            m_printRect = NormalisedRect(m_printRect);
            m_printRectComplete = 1;
        }
        if (m_dragging)
            RedrawNow();
        m_dragging = 0;
        return;
    }
    if (m_dragging)
        ReleaseWithTool(thread, point);
    m_dragging = 0;
}

void CDwgView::ReleaseWithTool(TDwgDrawThread* thread, CPoint point)
{
    bool vector = IsDrawingKind(thread->GetFileKind());
    switch (m_toolMode) {
        case kToolZoomWindow: {
            DrawRubberBand(m_hWnd, m_dragStart, m_lastPoint);
            if (point.x == m_dragStart.x || point.y == m_dragStart.y)
                return;
            if (ZoomToWindow(thread, m_dragStart, point))
                Redraw();
            else if (!vector)
                RedrawNow();
            return;
        }
        case kToolPan:
            if (vector)
                SetCursorNow(ViewCursor(kCursorPan));
            else
                PanBy(thread, point);
            return;
        case kToolZoomOut:
        case kToolZoomIn:
            if (ZoomAtClick(thread, point, m_toolMode == kToolZoomIn))
                Redraw();
            return;
        default:
            return;
    }
}

void CDwgView::OnMButtonDown(UINT flags, CPoint point)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    if (IsDrawingKind(thread->GetFileKind())) {
        CIdleUse use(thread);
        if (use.View() != NULL)
            use.View()->beginViewChange();
    }
    m_dragStart = point;
    m_lastPoint = point;
    SetCursorNow(ViewCursor(kCursorPanDragging));
    m_middlePan = 1;
    SetCapture();
}

void CDwgView::OnMButtonUp(UINT flags, CPoint point)
{
    ReleaseCapture();
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread != NULL && m_middlePan) {
        SetCursorNow(ToolModeCursor(m_toolMode, m_cursor));
        if (!IsDrawingKind(thread->GetFileKind()) && point != CPoint(m_dragStart))
            PanBy(thread, point);
    } else if (thread != NULL && IsDrawingKind(thread->GetFileKind()) &&
               (flags & (MK_LBUTTON | MK_RBUTTON)) == 0) {
        m_lastPoint = point;
        KillHighlightTimers();
        SetTimer(kHoverTimer, kHoverDelayMs);
    }
    m_middlePan = 0;
}

void CDwgView::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (GetRunningDrawThread() == NULL)
        return;
    if (!m_printPick) {
        m_frame->PostMessage(WM_BACK_TO_BROWSE, 0, 0);
        return;
    }
    if (!m_printRectComplete || PrintHandleAt(m_printRect, point) != kHandleInside)
        return;
    SetPrintPickMode(false);
    m_frame->PostMessage(WM_PRINT_PICK_DONE, HasArea(m_printRect) ? 1 : 0, 0);
    RedrawNow();
}
