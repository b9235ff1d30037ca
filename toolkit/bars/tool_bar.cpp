#include "toolkit/bars/tool_bar.h"
#include <vector>

IMPLEMENT_DYNAMIC(CCJToolBar, CCJToolBarBase)

BEGIN_MESSAGE_MAP(CCJToolBar, CCJToolBarBase)
    ON_WM_NCCREATE()
    ON_WM_DESTROY()
    ON_WM_RBUTTONUP()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

namespace {

// Every tool bar made in the process takes the next number.
int g_toolBarCount = 0;

}  // namespace

CCJToolBar::CCJToolBar()
{
    int number = ++g_toolBarCount;
    m_registryValue.Format("CJToolBar %d", number);
    CWinApp* app = AfxGetApp();
    if (app && app->m_pszRegistryKey && app->m_pszProfileName)
        m_registryKey.Format("Software\\%s\\%s\\Settings", app->m_pszRegistryKey, app->m_pszProfileName);
    m_cyTopBorder = m_cyBottomBorder = 3;
}

BOOL CCJToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, 0, style, GetBorders(), id);
}

BOOL CCJToolBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, CRect borders, UINT id)
{
    if (borders.IsRectNull())
        borders.SetRect(1, 1, 1, 1);
    SetBorders(borders.left, borders.top, borders.right, borders.bottom);
    m_dwStyle = style & CBRS_ALL;
    if (id == AFX_IDW_TOOLBAR)
        m_dwStyle |= CBRS_HIDE_INPLACE;
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&classes);
    const DWORD kept = CCS_NOMOVEY | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    DWORD windowStyle = (style & ~CBRS_ALL) | controlStyle | kept | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
    if (style & CBRS_TOOLTIPS)
        windowStyle |= TBSTYLE_TOOLTIPS;
    if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    if (m_bInReBar && m_pDockSite)
        SendMessage(TB_SETPARENT, (WPARAM)m_pDockSite->m_hWnd);
    m_images.SetSizes(m_hWnd, m_images.m_sizeButton, m_images.m_sizeImage);
    return TRUE;
}

BOOL CCJToolBar::OnNcCreate(LPCREATESTRUCT cs)
{
    char parentClass[32] = {};
    ::GetClassNameA(cs->hwndParent, parentClass, sizeof(parentClass));
    if (lstrcmpiA(parentClass, REBARCLASSNAMEA) == 0) {
        // Inside a rebar the bar's notifications go to the frame.
        CWnd* parent = CWnd::FromHandlePermanent(cs->hwndParent);
        m_pDockSite = parent ? parent->GetParentFrame() : nullptr;
        m_bInReBar = TRUE;
        m_bDoubleGripper = FALSE;
    }
    return (BOOL)Default();
}

BOOL CCJToolBar::LoadToolBar(UINT resourceId)
{
    BOOL loaded = m_images.LoadToolBar(m_hWnd, resourceId);
    if (m_pDockSite)
        m_pDockSite->DelayRecalcLayout();
    return loaded;
}

BOOL CCJToolBar::LoadBitmap(UINT bitmapId)
{
    return m_images.LoadBitmap(m_hWnd, bitmapId);
}

BOOL CCJToolBar::SetButtons(const UINT* ids, int count)
{
    BOOL done = CToolBarButtons(m_hWnd).SetButtons(ids, count);
    if (m_pDockSite)
        m_pDockSite->DelayRecalcLayout();
    return done;
}

void CCJToolBar::SetSizes(SIZE button, SIZE image)
{
    m_images.SetSizes(m_hWnd, button, image);
}

void CCJToolBar::GetItemRect(int index, LPRECT rect) const
{
    if (!SendMessage(TB_GETITEMRECT, index, (LPARAM)rect))
        ::SetRectEmpty(rect);
}

SIZE CCJToolBar::GetButtonSize(TBBUTTON* buttons, int index) const
{
    CRect rect;
    GetItemRect(index, &rect);
    SIZE size = {rect.Width(), rect.Height()};
    const TBBUTTON& button = buttons[index];
    if ((button.fsState & TBSTATE_WRAP) && (button.fsStyle & BTNS_SEP)) {
        size.cy = size.cx;
        size.cx = 0;
    }
    return size;
}

void CCJToolBar::InvalidateBehind(LPCRECT screenRect)
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    CRect behind = *screenRect;
    parent->ScreenToClient(&behind);
    parent->InvalidateRect(&behind);
    for (HWND child = ::GetWindow(parent->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        CRect window, overlap;
        ::GetWindowRect(child, &window);
        if (child == m_hWnd || !overlap.IntersectRect(&window, screenRect))
            continue;
        overlap.OffsetRect(-window.left, -window.top);
        ::InvalidateRect(child, &overlap, TRUE);
        ::SendMessageA(child, WM_NCPAINT, 1, 0);
    }
}

CSize CCJToolBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    return CToolBarButtons(m_hWnd).FixedLayoutBar(this, stretch, horz);
}

CSize CCJToolBar::CalcDynamicLayout(int length, DWORD mode)
{
    return CToolBarButtons(m_hWnd).LayoutBar(this, length, mode);
}

void CCJToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CToolBarButtons(m_hWnd).Update(target, this, disableIfNoHandler);
}

void CCJToolBar::SetBarStyle(DWORD style)
{
    DWORD old = m_dwStyle;
    CCJToolBarBase::SetBarStyle(style);
    CToolBarButtons(m_hWnd).StyleChanged(this, old);
}

LRESULT CCJToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    bool dragging = m_pDockContext && m_pDockContext->IsTracking();
    if (!dragging && CToolBarButtons(m_hWnd).OnBarMessage(this, message, wParam, lParam, result))
        return result;
    return CCJToolBarBase::WindowProc(message, wParam, lParam);
}

void CCJToolBar::OnDestroy()
{
    if (!m_registryKey.IsEmpty()) {
        TBSAVEPARAMSA where = {HKEY_CURRENT_USER, (LPSTR)(LPCSTR)m_registryKey, (LPSTR)(LPCSTR)m_registryValue};
        SendMessage(TB_SAVERESTOREA, TRUE, (LPARAM)&where);
    }
    CCJToolBarBase::OnDestroy();
}

void CCJToolBar::OnRButtonUp(UINT, CPoint point)
{
    Default();
    ClientToScreen(&point);
    ShowBarMenu(m_pDockSite, point);
}

void CCJToolBar::OnWindowPosChanging(WINDOWPOS* position)
{
    GetWindowRect(&m_rectBeforeMove);
    // No border strips to repaint for a tool bar: its borders are drawn
    // with its frame.
    DWORD style = m_dwStyle;
    m_dwStyle &= ~CBRS_BORDER_ANY;
    CCJToolBarBase::OnWindowPosChanging(position);
    m_dwStyle = style;
}

void CCJToolBar::OnWindowPosChanged(WINDOWPOS* position)
{
    Default();
    if (position->flags & SWP_NOMOVE)
        return;
    InvalidateBehind(&m_rectBeforeMove);
    CRect now;
    GetWindowRect(&now);
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && now.Size() != m_rectBeforeMove.Size())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
    else
        SendMessage(WM_NCPAINT, 1);
}

void CCJToolBar::OnSysColorChange()
{
    m_images.ReloadBitmap(m_hWnd);
    Default();
}
