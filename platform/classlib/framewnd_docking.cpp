// CFrameWnd's bars: the layout around the client pane, docking, floating,
// showing and hiding, and the idle-time work for them.
#include "platform/classlib/dockcontext.h"
#include <commctrl.h>
#include <algorithm>
#include "platform/classlib/framewnd.h"
#include "platform/classlib/miniframe.h"
#include "platform/classlib/module_state.h"

namespace {

struct DockSide {
    UINT id;
    DWORD style;
};

// The frame's sides in the order they are made and tried.
const DockSide kDockSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
};

// The point moved so that a window of that size lies on the monitor
// nearest to it, inside its work area where it fits.
CPoint KeepOnScreen(CPoint point, CSize size)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoA(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info))
        return point;
    const RECT& work = info.rcWork;
    point.x = std::max((LONG)std::min((LONG)point.x, work.right - size.cx), work.left);
    point.y = std::max((LONG)std::min((LONG)point.y, work.bottom - size.cy), work.top);
    return point;
}

}  // namespace

CFrameWnd::CFrameWnd()
    : m_pFloatingFrameClass(RUNTIME_CLASS(CMiniDockFrameWnd)), m_pDockBarClass(RUNTIME_CLASS(CDockBar))
{
}

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    if (std::find(m_listControlBars.begin(), m_listControlBars.end(), bar) == m_listControlBars.end())
        m_listControlBars.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), bar),
                            m_listControlBars.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const
{
    for (CControlBar* bar : m_listControlBars) {
        if (bar->m_hWnd && (UINT)bar->GetDlgCtrlID() == id)
            return bar;
    }
    return nullptr;
}

CDockBar* CFrameWnd::GetDockBar(UINT id) const
{
    if (!IsSideDockBarId(id))
        return nullptr;
    CControlBar* bar = GetControlBar(id);
    return bar && bar->IsDockBar() ? static_cast<CDockBar*>(bar) : nullptr;
}

void CFrameWnd::EnableDocking(DWORD dockStyle)
{
    for (const DockSide& side : kDockSides) {
        if (!(dockStyle & side.style & CBRS_ALIGN_ANY) || GetDockBar(side.id))
            continue;
        CDockBar* dockBar = static_cast<CDockBar*>(m_pDockBarClass->CreateObject());
        if (!dockBar)
            AfxThrowMemoryException();
        dockBar->m_bAutoDelete = TRUE;
        if (!dockBar->Create(this, side.style, side.id)) {
            delete dockBar;
            AfxThrowResourceException();
        }
    }
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, LPCRECT rect)
{
    CDockBar* dockBar = nullptr;
    if (dockBarId) {
        dockBar = GetDockBar(dockBarId);
    } else {
        for (const DockSide& side : kDockSides) {
            if (bar->m_dwDockStyle & side.style & CBRS_ALIGN_ANY) {
                if ((dockBar = GetDockBar(side.id)) != nullptr)
                    break;
            }
        }
    }
    if (dockBar)
        DockControlBar(bar, dockBar, rect);
}

void CFrameWnd::DockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect)
{
    dockBar->DockControlBar(bar, rect);
    RecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar* bar, CPoint point, DWORD style)
{
    if (bar->IsFloating()) {
        CFrameWnd* frame = bar->GetDockingFrame();
        CRect window;
        frame->GetWindowRect(&window);
        point = KeepOnScreen(point, window.Size());
        frame->SetWindowPos((HWND)nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (bar->m_pDockContext)
            bar->m_pDockContext->m_ptMRUFloatPos = point;
        return;
    }
    DWORD floatStyle = (style & CBRS_ORIENT_HORZ ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT) |
                       (bar->m_dwStyle & CBRS_SIZE_DYNAMIC);
    CMiniDockFrameWnd* frame = static_cast<CMiniDockFrameWnd*>(m_pFloatingFrameClass->CreateObject());
    if (!frame)
        return;
    if (!frame->Create(this, floatStyle)) {
        if (frame->m_hWnd)
            frame->DestroyWindow();
        else
            delete frame;
        return;
    }
    BOOL visible = bar->IsVisible();
    frame->m_wndDockBar.DockControlBar(bar);
    CString title;
    bar->GetWindowText(title);
    frame->SetWindowText(title);
    CSize window = frame->WindowSizeFor(bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH));
    point = KeepOnScreen(point, window);
    frame->SetWindowPos((HWND)nullptr, point.x, point.y, window.cx, window.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    frame->RecalcLayout();
    if (visible)
        frame->ShowWindow(SW_SHOWNA);
    if (bar->m_pDockContext) {
        bar->m_pDockContext->m_ptMRUFloatPos = point;
        bar->m_pDockContext->m_dwMRUFloatStyle = floatStyle;
    }
    RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay)
{
    if (delay) {
        bar->DelayShow(show);
        DelayRecalcLayout();
        return;
    }
    bar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
    bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    if (bar->IsFloating()) {
        CFrameWnd* frame = bar->GetDockingFrame();
        frame->ShowWindow(bar->m_pDockBar->GetDockedVisibleCount() ? SW_SHOWNA : SW_HIDE);
        frame->RecalcLayout();
    } else {
        RecalcLayout();
    }
}

void CFrameWnd::DelayRecalcLayout(BOOL)
{
    m_bLayoutPending = TRUE;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || !m_hWnd)
        return;
    m_bInRecalcLayout = TRUE;
    m_bLayoutPending = FALSE;
    CRect rect;
    GetClientRect(&rect);
    RepositionBars(rect, FALSE);
    if (HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)) {
        CRect place(rect.TopLeft(), CSize(std::max(0, (int)rect.Width()), std::max(0, (int)rect.Height())));
        CRect current;
        ::GetWindowRect(pane, &current);
        ScreenToClient(&current);
        if (current != place)
            ::MoveWindow(pane, place.left, place.top, place.Width(), place.Height(), TRUE);
    }
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::RepositionBars(CRect& rect, BOOL query)
{
    HDWP defer = nullptr;
    // A bar's layout may dock or float other bars: walk a copy.
    std::vector<CControlBar*> bars = m_listControlBars;
    for (CControlBar* bar : bars) {
        if (!bar->m_hWnd || ::GetParent(bar->m_hWnd) != m_hWnd)
            continue;
        if (!query)
            bar->ApplyDelayedShow(&defer);
        DWORD align = bar->m_dwStyle & CBRS_ALIGN_ANY;
        if (!bar->IsVisible() || !align)
            continue;
        BOOL horz = (align & CBRS_ORIENT_HORZ) != 0;
        CDockBar* dockBar = bar->IsDockBar() ? static_cast<CDockBar*>(bar) : nullptr;
        if (dockBar) {
            dockBar->m_rectLayout = rect;
            dockBar->m_bLayoutQuery = query;
        }
        CSize size = bar->CalcFixedLayout(TRUE, horz);
        if (dockBar)
            dockBar->m_bLayoutQuery = FALSE;
        size.cx = std::max(0, std::min((int)size.cx, (int)rect.Width()));
        size.cy = std::max(0, std::min((int)size.cy, (int)rect.Height()));
        CRect barRect = rect;
        if (align & CBRS_ALIGN_TOP) {
            barRect.bottom = rect.top + size.cy;
            rect.top += size.cy;
        } else if (align & CBRS_ALIGN_BOTTOM) {
            barRect.top = rect.bottom - size.cy;
            rect.bottom -= size.cy;
        } else if (align & CBRS_ALIGN_LEFT) {
            barRect.right = rect.left + size.cx;
            rect.left += size.cx;
        } else {
            barRect.left = rect.right - size.cx;
            rect.right -= size.cx;
        }
        CRect current;
        bar->GetWindowRect(&current);
        ScreenToClient(&current);
        if (!query && current != barRect)
            defer = AfxDeferWindowChange(defer, bar->m_hWnd, barRect, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (defer)
        ::EndDeferWindowPos(defer);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM disableIfNoHandler, LPARAM)
{
    if (m_bLayoutPending)
        RecalcLayout();
    std::vector<CControlBar*> bars = m_listControlBars;
    for (CControlBar* bar : bars) {
        if (!bar->IsDockBar() || !static_cast<CDockBar*>(bar)->m_bFloating || !bar->m_hWnd)
            continue;
        CDockBar* dockBar = static_cast<CDockBar*>(bar);
        CWnd* frame = CWnd::FromHandlePermanent(::GetParent(dockBar->m_hWnd));
        if (!frame || !frame->IsFrameWnd())
            continue;
        for (INT_PTR i = 0; i < dockBar->m_arrBars.GetSize(); ++i) {
            if (CControlBar* docked = dockBar->GetDockedControlBar((int)i))
                docked->ApplyDelayedShow(nullptr);
        }
        BOOL anyVisible = dockBar->GetDockedVisibleCount() > 0;
        if (anyVisible != frame->IsWindowVisible()) {
            frame->ShowWindow(anyVisible ? SW_SHOWNA : SW_HIDE);
            static_cast<CFrameWnd*>(frame)->RecalcLayout();
        }
        if (anyVisible)
            frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, disableIfNoHandler, 0, TRUE);
    }
    return 0;
}

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* header, LRESULT* result)
{
    UINT_PTR id = header->idFrom;
    UINT flags = header->code == TTN_NEEDTEXTA ? ((NMTTDISPINFOA*)header)->uFlags
                                                : ((NMTTDISPINFOW*)header)->uFlags;
    if (flags & TTF_IDISHWND)
        id = (UINT_PTR)::GetDlgCtrlID((HWND)id);
    char text[512] = {};
    if (id && id < 0xF000)
        ::LoadStringA(AfxGetResourceHandle(), (UINT)id, text, sizeof(text));
    const char* tip = strchr(text, '\n');
    m_strTipText = tip ? tip + 1 : "";
    if (header->code == TTN_NEEDTEXTA) {
        NMTTDISPINFOA* info = (NMTTDISPINFOA*)header;
        info->lpszText = (LPSTR)(LPCSTR)m_strTipText;
        info->hinst = nullptr;
    } else {
        NMTTDISPINFOW* info = (NMTTDISPINFOW*)header;
        int length = ::MultiByteToWideChar(CP_ACP, 0, m_strTipText, -1, m_tipTextW,
                                           (int)(sizeof(m_tipTextW) / sizeof(m_tipTextW[0])));
        if (length == 0)
            m_tipTextW[0] = 0;
        info->lpszText = m_tipTextW;
        info->hinst = nullptr;
    }
    *result = 0;
    return TRUE;
}
