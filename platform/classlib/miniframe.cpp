#include "platform/classlib/miniframe.h"
#include "platform/classlib/dockcontext.h"

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
    ON_MESSAGE(WM_SIZING, &CMiniDockFrameWnd::OnSizing)
END_MESSAGE_MAP()

BOOL CMiniDockFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    return CWnd::PreCreateWindow(cs);
}

BOOL CMiniDockFrameWnd::Create(CWnd* parent, DWORD barStyle)
{
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | FWS_SNAPTOBARS;
    if (barStyle & CBRS_SIZE_DYNAMIC)
        style |= WS_THICKFRAME;
    LPCSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW),
                                             (HBRUSH)(COLOR_BTNFACE + 1));
    if (!CreateEx(WS_EX_TOOLWINDOW, windowClass, "", style, 0, 0, 0, 0, parent->m_hWnd, nullptr))
        return FALSE;
    m_wndDockBar.m_pDockSite = static_cast<CFrameWnd*>(parent);
    DWORD align = (barStyle & CBRS_ORIENT_HORZ) ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT;
    return m_wndDockBar.Create(this, align, AFX_IDW_DOCKBAR_FLOAT, TRUE);
}

CControlBar* CMiniDockFrameWnd::GetFirstBar() const
{
    for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
        if (CControlBar* bar = m_wndDockBar.GetDockedControlBar((int)i))
            return bar;
    }
    return nullptr;
}

CSize CMiniDockFrameWnd::WindowSizeFor(CSize client) const
{
    CRect rect(CPoint(0, 0), client);
    ::AdjustWindowRectEx(&rect, GetStyle(), FALSE, GetExStyle());
    return rect.Size();
}

void CMiniDockFrameWnd::RecalcLayout(BOOL)
{
    if (!m_wndDockBar.m_hWnd || m_bInLayout)
        return;
    m_bInLayout = TRUE;
    if (GetStyle() & FWS_SNAPTOBARS) {
        // The frame takes the size its bars ask for.
        m_wndDockBar.m_rectLayout.SetRectEmpty();
        CSize size = m_wndDockBar.CalcFixedLayout(FALSE, m_wndDockBar.IsHorz());
        CSize window = WindowSizeFor(size);
        SetWindowPos((HWND)nullptr, 0, 0, window.cx, window.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_wndDockBar.MoveWindow(0, 0, size.cx, size.cy);
    } else {
        // The bar takes the frame's client area.
        CRect client;
        GetClientRect(&client);
        m_wndDockBar.MoveWindow(&client);
        for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
            CControlBar* bar = m_wndDockBar.GetDockedControlBar((int)i);
            if (!bar)
                continue;
            bar->ApplyDelayedShow(nullptr);
            bar->CalcDynamicLayout(client.Width(), LM_HORZ);
            bar->CalcDynamicLayout(client.Height(), LM_HORZ | LM_LENGTHY);
            bar->CalcDynamicLayout(client.Width(), LM_HORZ | LM_COMMIT);
            bar->MoveWindow(&client);
        }
    }
    m_bInLayout = FALSE;
}

LRESULT CMiniDockFrameWnd::OnSizing(WPARAM edge, LPARAM lParam)
{
    CControlBar* bar = GetFirstBar();
    if (!(GetStyle() & FWS_SNAPTOBARS) || !bar)
        return Default();
    // A snapping frame lets its bar choose the size for the dragged length.
    RECT* rect = (RECT*)lParam;
    CSize frame = WindowSizeFor(CSize(0, 0));
    bool vertical = edge == WMSZ_TOP || edge == WMSZ_BOTTOM;
    int length = vertical ? (rect->bottom - rect->top) - frame.cy : (rect->right - rect->left) - frame.cx;
    DWORD mode = LM_HORZ | (vertical ? LM_LENGTHY : 0);
    CSize size = WindowSizeFor(bar->CalcDynamicLayout(length, mode));
    bar->CalcDynamicLayout(length, mode | LM_COMMIT);
    if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
        rect->left = rect->right - size.cx;
    else
        rect->right = rect->left + size.cx;
    if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
        rect->top = rect->bottom - size.cy;
    else
        rect->bottom = rect->top + size.cy;
    return TRUE;
}

void CMiniDockFrameWnd::OnClose()
{
    CControlBar* bar = GetFirstBar();
    if (!bar) {
        DestroyWindow();
        return;
    }
    // The close box hides the bars; the frame stays for them.
    for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
        CControlBar* docked = m_wndDockBar.GetDockedControlBar((int)i);
        if (docked && docked->m_pDockSite)
            docked->m_pDockSite->ShowControlBar(docked, FALSE, FALSE);
    }
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT hitTest, CPoint point)
{
    CControlBar* bar = GetFirstBar();
    if (hitTest == HTCAPTION && bar && bar->m_pDockContext) {
        ::SetActiveWindow(m_hWnd);
        bar->m_pDockContext->StartDrag(point);
        return;
    }
    CFrameWnd::OnNcLButtonDown(hitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT hitTest, CPoint point)
{
    CControlBar* bar = GetFirstBar();
    if (hitTest == HTCAPTION && bar && bar->m_pDockContext) {
        bar->m_pDockContext->ToggleDocking();
        return;
    }
    CFrameWnd::OnNcLButtonDblClk(hitTest, point);
}
