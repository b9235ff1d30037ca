#include "platform/classlib/toolbar.h"
#include "platform/classlib/module_state.h"
#include "platform/classlib/toolbarbuttons.h"
#include <vector>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CToolBar::OnMouseLeave)
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

CToolBar::CToolBar()
{
    SetBorders(1, 1, 1, 1);
}

CToolBar::~CToolBar()
{
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, TBSTYLE_FLAT, style, GetBorders(), id);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, CRect borders, UINT id)
{
    SetBorders(borders.left, borders.top, borders.right, borders.bottom);
    m_dwStyle = style & CBRS_ALL;
    if (id == AFX_IDW_TOOLBAR)
        m_dwStyle |= CBRS_HIDE_INPLACE;
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&classes);
    DWORD windowStyle = (style & ~CBRS_ALL) | controlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER |
                        CCS_NORESIZE;
    if (style & CBRS_TOOLTIPS)
        windowStyle |= TBSTYLE_TOOLTIPS;
    if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT resourceId)
{
    CSize image;
    std::vector<UINT> ids;
    if (!CToolBarButtons::ReadResource(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId), image, ids))
        return FALSE;
    SetSizes(CSize(image.cx + 7, image.cy + 7), image);
    if (!LoadBitmap(resourceId))
        return FALSE;
    return SetButtons(ids.data(), (int)ids.size());
}

BOOL CToolBar::LoadBitmap(UINT bitmapId)
{
    if (!CToolBarButtons(m_hWnd).SetBitmap(AfxGetResourceHandle(), bitmapId, m_sizeImage.cx, &m_hbmImageWell))
        return FALSE;
    m_nBitmapId = bitmapId;
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    BOOL done = CToolBarButtons(m_hWnd).SetButtons(ids, count);
    if (m_pDockSite)
        m_pDockSite->DelayRecalcLayout();
    return done;
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    m_sizeButton = button;
    m_sizeImage = image;
    if (m_hWnd) {
        SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
        SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
    }
}

int CToolBar::GetCount() const
{
    return (int)SendMessage(TB_BUTTONCOUNT);
}

int CToolBar::CommandToIndex(UINT id) const
{
    return (int)SendMessage(TB_COMMANDTOINDEX, id);
}

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, index, (LPARAM)&button);
    return (UINT)button.idCommand;
}

void CToolBar::GetItemRect(int index, LPRECT rect) const
{
    if (!SendMessage(TB_GETITEMRECT, index, (LPARAM)rect))
        ::SetRectEmpty(rect);
}

CSize CToolBar::CalcFixedLayout(BOOL stretch, BOOL horz)
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

CSize CToolBar::CalcDynamicLayout(int length, DWORD mode)
{
    return CToolBarButtons(m_hWnd).LayoutBar(this, length, mode);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CToolBarButtons(m_hWnd).Update(target, this, disableIfNoHandler);
}

void CToolBar::SetBarStyle(DWORD style)
{
    DWORD changed = (m_dwStyle ^ style) & (CBRS_ORIENT_ANY | CBRS_FLOATING | CBRS_GRIPPER | CBRS_BORDER_ANY);
    CControlBar::SetBarStyle(style);
    if (changed && m_hWnd)
        SetWindowPos((HWND)nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    CRect rect(params->rgrc[0]);
    CalcInsideRect(rect, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    params->rgrc[0] = rect;
}

void CToolBar::OnNcPaint()
{
    PaintNonClient();
}

LRESULT CToolBar::OnNcHitTest(CPoint)
{
    // Borders and gripper answer as the client area, so that a press there
    // starts a drag.
    return HTCLIENT;
}

void CToolBar::OnPaint()
{
    Default();
}

BOOL CToolBar::OnEraseBkgnd(CDC*)
{
    return (BOOL)Default();
}

void CToolBar::OnLButtonDown(UINT flags, CPoint point)
{
    CPoint screen = point;
    ClientToScreen(&screen);
    if (CToolBarButtons(m_hWnd).HitButton(point) >= 0 || !StartDragAt(screen))
        Default();
}

void CToolBar::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (CToolBarButtons(m_hWnd).HitButton(point) < 0 && m_pDockContext && m_pDockBar)
        CControlBar::OnLButtonDblClk(flags, point);
    else
        Default();
}

void CToolBar::OnMouseMove(UINT, CPoint point)
{
    if ((m_dwStyle & CBRS_FLYBY) && m_pDockSite) {
        int index = CToolBarButtons(m_hWnd).HitButton(point);
        UINT id = index >= 0 ? GetItemID(index) : 0;
        if (id != m_nFlybyId) {
            m_nFlybyId = id;
            m_pDockSite->SetMessageText(id ? id : (UINT)AFX_IDS_IDLEMESSAGE);
            TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&track);
        }
    }
    Default();
}

LRESULT CToolBar::OnMouseLeave(WPARAM, LPARAM)
{
    if (m_nFlybyId && m_pDockSite) {
        m_nFlybyId = 0;
        m_pDockSite->SetMessageText((UINT)AFX_IDS_IDLEMESSAGE);
    }
    return Default();
}

void CToolBar::OnSysColorChange()
{
    if (m_nBitmapId)
        LoadBitmap(m_nBitmapId);
    Default();
}
