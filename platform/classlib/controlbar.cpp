#include "platform/classlib/controlbar.h"
#include "platform/classlib/dc.h"
#include "platform/classlib/dockbar.h"
#include "platform/classlib/dockcontext.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

HDWP AfxDeferWindowChange(HDWP defer, HWND window, const CRect& rect, UINT flags)
{
    if (!defer)
        defer = ::BeginDeferWindowPos(4);
    if (!defer)
        return nullptr;
    return ::DeferWindowPos(defer, window, nullptr, rect.left, rect.top, rect.Width(), rect.Height(), flags);
}

CControlBar::CControlBar() = default;

CControlBar::~CControlBar()
{
    delete m_pDockContext;
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pDockContext && m_pDockContext->IsTracking() &&
        m_pDockContext->OnTrackMessage(message, wParam, lParam))
        return 0;
    return CWnd::WindowProc(message, wParam, lParam);
}

int CControlBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    if (!m_pDockSite) {
        CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
        if (parent && parent->IsFrameWnd())
            m_pDockSite = static_cast<CFrameWnd*>(parent);
    }
    if (m_pDockSite)
        m_pDockSite->AddControlBar(this);
    return 0;
}

void CControlBar::OnDestroy()
{
    if (m_pDockContext)
        m_pDockContext->CancelDrag();
    if (m_pDockBar)
        m_pDockBar->RemoveControlBar(this);
    m_pDockBar = nullptr;
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    CWnd::OnDestroy();
}

CSize CControlBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, horz);
    return Stretched(CSize(-inside.Width(), -inside.Height()), stretch, horz);
}

CSize CControlBar::Stretched(CSize size, BOOL stretch, BOOL horz)
{
    if (stretch) {
        if (horz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD mode)
{
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL horz) const
{
    // Each bordered side has an etched line of two pixels.
    DeflateInside(rect, horz, 2, 8);
}

void CControlBar::DeflateInside(CRect& rect, BOOL horz, int borderLine, int gripperSpace) const
{
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rect.left += borderLine;
    if (m_dwStyle & CBRS_BORDER_TOP)
        rect.top += borderLine;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= borderLine;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= borderLine;
    if (horz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
    if ((m_dwStyle & CBRS_GRIPPER) && !IsFloating()) {
        if (horz)
            rect.left += gripperSpace;
        else
            rect.top += gripperSpace;
    }
}

void CControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void CControlBar::DoPaint(CDC* dc)
{
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(dc, rect);
    DrawGripper(dc, rect);
}

void CControlBar::DrawBorders(CDC* dc, CRect& rect)
{
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    if (m_dwStyle & CBRS_BORDER_LEFT) {
        dc->FillSolidRect(rect.left, rect.top, 1, rect.Height(), shadow);
        dc->FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), highlight);
        rect.left += 2;
    }
    if (m_dwStyle & CBRS_BORDER_TOP) {
        dc->FillSolidRect(rect.left, rect.top, rect.Width(), 1, shadow);
        dc->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, highlight);
        rect.top += 2;
    }
    if (m_dwStyle & CBRS_BORDER_RIGHT) {
        dc->FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), shadow);
        dc->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), highlight);
        rect.right -= 2;
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        dc->FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, shadow);
        dc->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, highlight);
        rect.bottom -= 2;
    }
}

void CControlBar::DrawGripper(CDC* dc, const CRect& rect)
{
    if (!(m_dwStyle & CBRS_GRIPPER) || IsFloating())
        return;
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    // Two raised lines across the bar's start.
    for (int line = 0; line < 2; ++line) {
        if (m_dwStyle & CBRS_ORIENT_HORZ)
            dc->Draw3dRect(rect.left + 2 + 3 * line, rect.top + 2, 3, rect.Height() - 4, highlight, shadow);
        else
            dc->Draw3dRect(rect.left + 2, rect.top + 2 + 3 * line, rect.Width() - 4, 3, highlight, shadow);
    }
}

void CControlBar::PaintNonClient()
{
    CWindowDC dc(this);
    CRect window;
    GetWindowRect(&window);
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    dc.FillSolidRect(&window, ::GetSysColor(COLOR_BTNFACE));
    DrawBorders(&dc, window);
    DrawGripper(&dc, window);
}

void CControlBar::SetBarStyle(DWORD style)
{
    m_dwStyle = style;
}

void CControlBar::SetBorders(int left, int top, int right, int bottom)
{
    m_cxLeftBorder = left;
    m_cyTopBorder = top;
    m_cxRightBorder = right;
    m_cyBottomBorder = bottom;
}

void CControlBar::EnableDocking(DWORD dockStyle)
{
    m_dwDockStyle = dockStyle & CBRS_ALIGN_ANY;
    if (m_dwDockStyle && !m_pDockContext)
        m_pDockContext = new CDockContext(this);
    if (!m_dwDockStyle) {
        delete m_pDockContext;
        m_pDockContext = nullptr;
    }
}

BOOL CControlBar::IsFloating() const
{
    return m_pDockBar && m_pDockBar->m_bFloating;
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayHide)
        return FALSE;
    if (m_nStateFlags & delayShow)
        return TRUE;
    return m_hWnd && (GetStyle() & WS_VISIBLE) != 0;
}

void CControlBar::DelayShow(BOOL show)
{
    BOOL shown = (GetStyle() & WS_VISIBLE) != 0;
    m_nStateFlags &= ~(delayHide | delayShow);
    if (show && !shown)
        m_nStateFlags |= delayShow;
    if (!show && shown)
        m_nStateFlags |= delayHide;
}

void CControlBar::ApplyDelayedShow(HDWP* defer)
{
    UINT flags = 0;
    if (m_nStateFlags & delayShow)
        flags = SWP_SHOWWINDOW;
    else if (m_nStateFlags & delayHide)
        flags = SWP_HIDEWINDOW;
    m_nStateFlags &= ~(delayHide | delayShow);
    if (!flags)
        return;
    flags |= SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (defer)
        *defer = AfxDeferWindowChange(*defer, m_hWnd, CRect(0, 0, 0, 0), flags);
    else
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, flags);
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    if (IsFloating()) {
        CWnd* frame = CWnd::FromHandlePermanent(::GetParent(m_pDockBar->m_hWnd));
        if (frame && frame->IsFrameWnd())
            return static_cast<CFrameWnd*>(frame);
    }
    return m_pDockSite;
}

BOOL CControlBar::StartDragAt(CPoint screenPoint)
{
    if (!m_pDockContext || !m_pDockBar)
        return FALSE;
    m_pDockContext->StartDrag(screenPoint);
    return TRUE;
}

void CControlBar::OnPaint()
{
    CPaintDC dc(this);
    if (IsVisible())
        DoPaint(&dc);
}

BOOL CControlBar::OnEraseBkgnd(CDC* dc)
{
    CRect rect;
    GetClientRect(&rect);
    dc->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CControlBar::OnLButtonDown(UINT flags, CPoint point)
{
    CPoint screen = point;
    ClientToScreen(&screen);
    if (!StartDragAt(screen))
        CWnd::OnLButtonDown(flags, point);
}

void CControlBar::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (m_pDockContext && m_pDockBar)
        m_pDockContext->ToggleDocking();
    else
        CWnd::OnLButtonDblClk(flags, point);
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM disableIfNoHandler, LPARAM)
{
    if (!(GetStyle() & WS_VISIBLE))
        return 0;
    CFrameWnd* target = m_pDockSite ? m_pDockSite : GetParentFrame();
    if (target)
        OnUpdateCmdUI(target, (BOOL)disableIfNoHandler);
    return 0;
}
