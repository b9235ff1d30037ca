#include "toolkit/bars/tool_bar_base.h"
#include "toolkit/bars/control_bar.h"
#include "toolkit/bars/menu_bar.h"
#include "toolkit/bars/tool_bar.h"

IMPLEMENT_DYNAMIC(CCJToolBarBase, CControlBar)

BEGIN_MESSAGE_MAP(CCJToolBarBase, CControlBar)
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_NCRBUTTONUP()
END_MESSAGE_MAP()

namespace {

// The gripper takes this much of the bar's start.
const int kGripperSpace = 7;

// A tool tip's text request that the owner left unanswered.
bool IsEmptyTipRequest(NMHDR* header)
{
    if (header->code == TTN_NEEDTEXTA) {
        LPCSTR text = ((NMTTDISPINFOA*)header)->lpszText;
        return !text || (!IS_INTRESOURCE(text) && !*text && !((NMTTDISPINFOA*)header)->szText[0]);
    }
    if (header->code == TTN_NEEDTEXTW) {
        LPCWSTR text = ((NMTTDISPINFOW*)header)->lpszText;
        return !text || (!IS_INTRESOURCE(text) && !*text && !((NMTTDISPINFOW*)header)->szText[0]);
    }
    return false;
}

}  // namespace

void CCJToolBarBase::CalcInsideRect(CRect& rect, BOOL horz) const
{
    DeflateInside(rect, horz, ::GetSystemMetrics(SM_CXBORDER), kGripperSpace);
}

void CCJToolBarBase::DoPaint(CDC* dc)
{
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(dc, rect);
    DrawGripper(dc, rect);
}

void CCJToolBarBase::DrawBorders(CDC* dc, CRect& rect)
{
    DWORD style = m_dwStyle;
    if (!(style & CBRS_BORDER_ANY))
        return;
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    CRect outer = rect;
    if (style & CBRS_BORDER_LEFT)
        dc->FillSolidRect(outer.left, outer.top, 1, outer.Height(), shadow);
    if (style & CBRS_BORDER_TOP)
        dc->FillSolidRect(outer.left, outer.top, outer.Width(), 1, shadow);
    if (style & CBRS_BORDER_RIGHT)
        dc->FillSolidRect(outer.right - 1, outer.top, 1, outer.Height(), shadow);
    if (style & CBRS_BORDER_BOTTOM)
        dc->FillSolidRect(outer.left, outer.bottom - 1, outer.Width(), 1, shadow);
    if (style & CBRS_BORDER_3D) {
        if (style & CBRS_BORDER_LEFT)
            dc->FillSolidRect(outer.left + 1, outer.top, 1, outer.Height(), highlight);
        if (style & CBRS_BORDER_TOP)
            dc->FillSolidRect(outer.left, outer.top + 1, outer.Width(), 1, highlight);
    }
    if (m_bInReBar) {
        if (style & CBRS_BORDER_LEFT)
            rect.left += ::GetSystemMetrics(SM_CXBORDER);
        if (style & CBRS_BORDER_TOP)
            rect.top += ::GetSystemMetrics(SM_CYBORDER);
        if (style & CBRS_BORDER_RIGHT)
            rect.right -= ::GetSystemMetrics(SM_CXBORDER);
        if (style & CBRS_BORDER_BOTTOM)
            rect.bottom -= ::GetSystemMetrics(SM_CYBORDER);
        return;
    }
    // Each bordered side reads as a raised edge: highlight above and to the
    // left, shadow below and to the right.
    if (style & CBRS_BORDER_LEFT) {
        dc->FillSolidRect(rect.left, rect.top, 1, rect.Height(), highlight);
        rect.left += 1;
    }
    if (style & CBRS_BORDER_TOP) {
        dc->FillSolidRect(rect.left, rect.top, rect.Width(), 1, highlight);
        rect.top += 1;
    }
    if (style & CBRS_BORDER_RIGHT) {
        dc->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), shadow);
        rect.right -= 1;
    }
    if (style & CBRS_BORDER_BOTTOM) {
        dc->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, shadow);
        rect.bottom -= 1;
    }
}

void CCJToolBarBase::DrawGripper(CDC* dc, const CRect& rect)
{
    if (!(m_dwStyle & CBRS_GRIPPER) || IsFloating())
        return;
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    if (m_dwStyle & CBRS_ORIENT_HORZ) {
        dc->Draw3dRect(rect.left + 2, rect.top + m_cyTopBorder + 2, 3,
                       rect.Height() - m_cyTopBorder - m_cyBottomBorder - 4, highlight, shadow);
    } else {
        dc->Draw3dRect(rect.left + m_cxLeftBorder + 2, rect.top + 2,
                       rect.Width() - m_cxLeftBorder - m_cxRightBorder - 4, 3, highlight, shadow);
    }
}

void CCJToolBarBase::OnWindowPosChanging(WINDOWPOS* position)
{
    CRect before;
    GetWindowRect(&before);
    CWnd::OnWindowPosChanging(position);
    if (position->flags & SWP_NOSIZE)
        return;
    // The right and bottom border strips move with the size: repaint the
    // old and the new ones.
    CRect old(0, 0, before.Width(), before.Height());
    CRect now(0, 0, position->cx, position->cy);
    int width = ::GetSystemMetrics(SM_CXBORDER) * 2;
    if (m_dwStyle & CBRS_BORDER_RIGHT) {
        CRect strip(old.right - width, 0, old.right, old.bottom);
        InvalidateRect(&strip);
        strip.SetRect(now.right - width, 0, now.right, now.bottom);
        InvalidateRect(&strip);
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        CRect strip(0, old.bottom - width, old.right, old.bottom);
        InvalidateRect(&strip);
        strip.SetRect(0, now.bottom - width, now.right, now.bottom);
        InvalidateRect(&strip);
    }
}

LRESULT CCJToolBarBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_NOTIFY:
    case WM_COMMAND: {
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result))
            return result;
        // What the bar leaves goes to its owner: the frame.
        HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
        if (!owner)
            owner = m_pDockSite ? m_pDockSite->m_hWnd : ::GetParent(m_hWnd);
        result = ::SendMessageA(owner, message, wParam, lParam);
        if (message == WM_NOTIFY && IsEmptyTipRequest((NMHDR*)lParam))
            return DefWindowProc(message, wParam, lParam);
        return result;
    }
    default:
        return CControlBar::WindowProc(message, wParam, lParam);
    }
}

HMENU CCJToolBarBase::BuildBarMenu(CFrameWnd* frame)
{
    if (!frame)
        return nullptr;
    HMENU menu = ::CreatePopupMenu();
    int items = 0;
    auto add = [&](CControlBar* bar, LPCSTR fallback) {
        CString title;
        bar->GetWindowText(title);
        UINT flags = MF_STRING | (bar->IsVisible() ? MF_CHECKED : MF_UNCHECKED);
        ::AppendMenuA(menu, flags, (UINT_PTR)bar->GetDlgCtrlID(), title.IsEmpty() ? fallback : (LPCSTR)title);
        ++items;
    };
    auto separate = [&] {
        if (items)
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    };
    std::vector<CControlBar*> sizing;
    CControlBar* statusBar = nullptr;
    for (CControlBar* bar : frame->m_listControlBars) {
        if (!bar->m_hWnd)
            continue;
        bool toolBar = bar->IsKindOf(RUNTIME_CLASS(CToolBar)) || bar->IsKindOf(RUNTIME_CLASS(CCJToolBar));
        if (toolBar && !bar->IsKindOf(RUNTIME_CLASS(CCJMenuBar)))
            add(bar, "Tool Bar");
        else if (CCJControlBar::IsSizingBar(bar))
            sizing.push_back(bar);
        else if (bar->IsKindOf(RUNTIME_CLASS(CStatusBar)))
            statusBar = bar;
    }
    if (!sizing.empty()) {
        separate();
        for (CControlBar* bar : sizing)
            add(bar, "Sizing Bar");
    }
    if (statusBar) {
        separate();
        add(statusBar, "Status Bar");
    }
    if (items == 0) {
        ::DestroyMenu(menu);
        return nullptr;
    }
    return menu;
}

void CCJToolBarBase::ShowBarMenu(CFrameWnd* frame, CPoint screenPoint)
{
    HMENU menu = BuildBarMenu(frame);
    if (!menu)
        return;
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, frame->m_hWnd, nullptr);
    ::DestroyMenu(menu);
}

void CCJToolBarBase::OnNcRButtonUp(UINT, CPoint point)
{
    ShowBarMenu(m_pDockSite, point);
}
