#include "platform/classlib/toolbar.h"
#include "platform/classlib/dockcontext.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CToolBar::OnMouseLeave)
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

CToolBar::CToolBar()
{
    SetBorders(1, 1, 1, 1);
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
    m_images.SetSizes(m_hWnd, m_images.m_sizeButton, m_images.m_sizeImage);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT resourceId)
{
    BOOL loaded = m_images.LoadToolBar(m_hWnd, resourceId);
    if (m_pDockSite)
        m_pDockSite->DelayRecalcLayout();
    return loaded;
}

BOOL CToolBar::LoadBitmap(UINT bitmapId)
{
    return m_images.LoadBitmap(m_hWnd, bitmapId);
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
    m_images.SetSizes(m_hWnd, button, image);
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
    return CToolBarButtons(m_hWnd).FixedLayoutBar(this, stretch, horz);
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
    DWORD old = m_dwStyle;
    CControlBar::SetBarStyle(style);
    CToolBarButtons(m_hWnd).StyleChanged(this, old);
}

LRESULT CToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    bool dragging = m_pDockContext && m_pDockContext->IsTracking();
    if (!dragging && CToolBarButtons(m_hWnd).OnBarMessage(this, message, wParam, lParam, result))
        return result;
    return CControlBar::WindowProc(message, wParam, lParam);
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
    m_images.ReloadBitmap(m_hWnd);
    Default();
}
