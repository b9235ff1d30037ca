#include "platform/classlib/dockcontext.h"
#include <algorithm>
#include "platform/classlib/dockbar.h"
#include "platform/classlib/tracker.h"

namespace {

// The least depth of the zone along a side in which a dragged bar docks,
// so that an empty side can still be hit.
const int kDockZoneDepth = 20;
const int kFloatTrackerWidth = 3;
const int kDockTrackerWidth = 2;

const UINT kSideIds[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                         AFX_IDW_DOCKBAR_RIGHT};

// Moves the rectangle so that the point lies inside it, keeping its size.
void KeepPointInside(CRect& rect, CPoint point)
{
    if (point.x >= rect.right)
        rect.OffsetRect(point.x - rect.right + 1, 0);
    if (point.y >= rect.bottom)
        rect.OffsetRect(0, point.y - rect.bottom + 1);
}

}  // namespace

CDockContext::CDockContext(CControlBar* bar)
    : m_pBar(bar), m_pDockSite(bar->m_pDockSite), m_ptMRUFloatPos(CW_USEDEFAULT, 0)
{
}

CDockContext::~CDockContext()
{
    if (m_bTracking && ::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
}

void CDockContext::StartDrag(CPoint screenPoint)
{
    m_pDockSite = m_pBar->m_pDockSite;
    if (!m_pDockSite || m_bTracking)
        return;
    m_ptStart = m_ptLast = screenPoint;
    CRect window;
    if (m_pBar->IsFloating())
        m_pBar->GetDockingFrame()->GetWindowRect(&window);
    else
        m_pBar->GetWindowRect(&window);
    m_rectHorz = CRect(window.TopLeft(), m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK));
    m_rectVert = CRect(window.TopLeft(), m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK));
    if (m_pBar->IsFloating())
        m_rectFloat = window;
    else
        m_rectFloat = CRect(window.TopLeft(), m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH));
    KeepPointInside(m_rectHorz, screenPoint);
    KeepPointInside(m_rectVert, screenPoint);
    KeepPointInside(m_rectFloat, screenPoint);
    m_bTracking = TRUE;
    m_drawn = false;
    m_pTarget = m_pBar->IsFloating() ? nullptr : m_pBar->m_pDockBar;
    ::SetCapture(m_pBar->m_hWnd);
}

BOOL CDockContext::OnTrackMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
        CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
        m_pBar->ClientToScreen(&point);
        Move(point);
        if (message == WM_LBUTTONUP)
            EndDrag();
        return TRUE;
    }
    case WM_RBUTTONDOWN:
        CancelDrag();
        return TRUE;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            CancelDrag();
        return TRUE;
    case WM_CAPTURECHANGED:
        if ((HWND)lParam != m_pBar->m_hWnd)
            CancelDrag();
        return FALSE;
    default:
        return FALSE;
    }
}

void CDockContext::Move(CPoint screenPoint)
{
    CSize offset = screenPoint - m_ptLast;
    m_ptLast = screenPoint;
    m_rectHorz.OffsetRect(offset);
    m_rectVert.OffsetRect(offset);
    m_rectFloat.OffsetRect(offset);
    m_pTarget = DockBarAt(screenPoint);
    CRect rect = TrackRect(m_pTarget);
    bool floating = m_pTarget == nullptr;
    if (m_drawn && rect == m_rectDrawn && floating == m_drawnFloating)
        return;
    EraseTracker();
    DrawTracker(rect, floating);
}

CDockBar* CDockContext::DockBarAt(CPoint screenPoint) const
{
    for (UINT id : kSideIds) {
        CDockBar* dockBar = m_pDockSite->GetDockBar(id);
        if (!dockBar || !(m_pBar->m_dwDockStyle & dockBar->m_dwStyle & CBRS_ALIGN_ANY))
            continue;
        CRect zone;
        dockBar->GetWindowRect(&zone);
        switch (id) {
        case AFX_IDW_DOCKBAR_TOP:
            zone.bottom = zone.top + std::max((int)zone.Height(), kDockZoneDepth);
            break;
        case AFX_IDW_DOCKBAR_BOTTOM:
            zone.top = zone.bottom - std::max((int)zone.Height(), kDockZoneDepth);
            break;
        case AFX_IDW_DOCKBAR_LEFT:
            zone.right = zone.left + std::max((int)zone.Width(), kDockZoneDepth);
            break;
        default:
            zone.left = zone.right - std::max((int)zone.Width(), kDockZoneDepth);
            break;
        }
        if (zone.PtInRect(screenPoint))
            return dockBar;
    }
    return nullptr;
}

CRect CDockContext::TrackRect(CDockBar* target) const
{
    if (!target)
        return m_rectFloat;
    return target->IsHorz() ? m_rectHorz : m_rectVert;
}

void CDockContext::DrawTracker(const CRect& rect, bool floating)
{
    HWND desktop = ::GetDesktopWindow();
    HDC dc = ::GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    AfxInvertTrackerFrame(dc, rect, floating ? kFloatTrackerWidth : kDockTrackerWidth);
    ::ReleaseDC(desktop, dc);
    m_rectDrawn = rect;
    m_drawnFloating = floating;
    m_drawn = true;
}

void CDockContext::EraseTracker()
{
    if (!m_drawn)
        return;
    m_drawn = false;
    HWND desktop = ::GetDesktopWindow();
    HDC dc = ::GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    AfxInvertTrackerFrame(dc, m_rectDrawn, m_drawnFloating ? kFloatTrackerWidth : kDockTrackerWidth);
    ::ReleaseDC(desktop, dc);
}

void CDockContext::CancelDrag()
{
    if (!m_bTracking)
        return;
    EraseTracker();
    m_bTracking = FALSE;
    if (::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
}

void CDockContext::EndDrag()
{
    CancelDrag();
    // A click without a move leaves the bar where it is.
    if (m_ptLast == m_ptStart)
        return;
    if (m_pTarget) {
        CRect rect = TrackRect(m_pTarget);
        m_pDockSite->DockControlBar(m_pBar, m_pTarget, &rect);
    } else {
        DWORD style = m_pBar->IsFloating() ? (m_pBar->m_dwStyle & CBRS_ALIGN_ANY) : CBRS_ALIGN_TOP;
        m_pDockSite->FloatControlBar(m_pBar, m_rectFloat.TopLeft(), style);
    }
}

void CDockContext::ToggleDocking()
{
    m_pDockSite = m_pBar->m_pDockSite;
    if (!m_pDockSite)
        return;
    if (!m_pBar->IsFloating()) {
        CPoint point = m_ptMRUFloatPos;
        if (point.x == CW_USEDEFAULT) {
            CRect window;
            m_pBar->GetWindowRect(&window);
            point = window.TopLeft() + CSize(20, 20);
        }
        DWORD style = m_dwMRUFloatStyle & CBRS_ALIGN_ANY ? m_dwMRUFloatStyle : CBRS_ALIGN_TOP;
        m_pDockSite->FloatControlBar(m_pBar, point, style);
        return;
    }
    CDockBar* target = m_pDockSite->GetDockBar(m_uMRUDockID);
    if (target && (m_pBar->m_dwDockStyle & target->m_dwStyle & CBRS_ALIGN_ANY) &&
        !m_rectMRUDockPos.IsRectEmpty()) {
        CRect rect = m_rectMRUDockPos;
        target->ClientToScreen(&rect);
        m_pDockSite->DockControlBar(m_pBar, target, &rect);
    } else {
        m_pDockSite->DockControlBar(m_pBar, (UINT)0, nullptr);
    }
}
