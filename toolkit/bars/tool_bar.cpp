#include "toolkit/bars/tool_bar.h"
#include <vector>

IMPLEMENT_DYNAMIC(CCJToolBar, CCJToolBarBase)

BEGIN_MESSAGE_MAP(CCJToolBar, CCJToolBarBase)
    ON_WM_NCCREATE()
    ON_WM_DESTROY()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
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

CCJToolBar::~CCJToolBar()
{
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
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
    SetSizes(m_sizeButton, m_sizeImage);
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
    CSize image;
    std::vector<UINT> ids;
    if (!CToolBarButtons::ReadResource(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId), image, ids))
        return FALSE;
    SetSizes(CSize(image.cx + 7, image.cy + 7), image);
    return LoadBitmap(resourceId) && SetButtons(ids.data(), (int)ids.size());
}

BOOL CCJToolBar::LoadBitmap(UINT bitmapId)
{
    if (!CToolBarButtons(m_hWnd).SetBitmap(AfxGetResourceHandle(), bitmapId, m_sizeImage.cx, &m_hbmImageWell))
        return FALSE;
    m_nBitmapId = bitmapId;
    return TRUE;
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
    m_sizeButton = button;
    m_sizeImage = image;
    if (m_hWnd) {
        SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
        SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
    }
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
    DWORD mode = (stretch ? LM_STRETCH : 0) | (horz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
    CSize size = CalcDynamicLayout(-1, mode);
    if (stretch) {
        if (horz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
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
    DWORD changed = (m_dwStyle ^ style) & (CBRS_ORIENT_ANY | CBRS_FLOATING | CBRS_GRIPPER | CBRS_BORDER_ANY);
    CCJToolBarBase::SetBarStyle(style);
    if (changed && m_hWnd)
        SetWindowPos((HWND)nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CCJToolBar::OnDestroy()
{
    if (!m_registryKey.IsEmpty()) {
        TBSAVEPARAMSA where = {HKEY_CURRENT_USER, (LPSTR)(LPCSTR)m_registryKey, (LPSTR)(LPCSTR)m_registryValue};
        SendMessage(TB_SAVERESTOREA, TRUE, (LPARAM)&where);
    }
    CCJToolBarBase::OnDestroy();
}

void CCJToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    CRect rect(params->rgrc[0]);
    CalcInsideRect(rect, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    params->rgrc[0] = rect;
}

void CCJToolBar::OnNcPaint()
{
    PaintNonClient();
}

LRESULT CCJToolBar::OnNcHitTest(CPoint)
{
    // Borders and gripper answer as the client area: a press there drags.
    return HTCLIENT;
}

void CCJToolBar::OnPaint()
{
    Default();
}

BOOL CCJToolBar::OnEraseBkgnd(CDC*)
{
    return (BOOL)Default();
}

void CCJToolBar::OnLButtonDown(UINT, CPoint point)
{
    CPoint screen = point;
    ClientToScreen(&screen);
    if (CToolBarButtons(m_hWnd).HitButton(point) >= 0 || !StartDragAt(screen))
        Default();
}

void CCJToolBar::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (CToolBarButtons(m_hWnd).HitButton(point) < 0 && m_pDockContext && m_pDockBar)
        CControlBar::OnLButtonDblClk(flags, point);
    else
        Default();
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
    if (m_nBitmapId)
        LoadBitmap(m_nBitmapId);
    Default();
}
