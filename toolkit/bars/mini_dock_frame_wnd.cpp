#include "toolkit/bars/mini_dock_frame_wnd.h"

IMPLEMENT_DYNCREATE(CCJMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(CCJMiniDockFrameWnd, CMiniDockFrameWnd)
    ON_WM_NCRBUTTONUP()
END_MESSAGE_MAP()

BOOL CCJMiniDockFrameWnd::Create(CWnd* parent, DWORD barStyle)
{
    if (!CMiniDockFrameWnd::Create(parent, barStyle))
        return FALSE;
    ModifyStyle(FWS_SNAPTOBARS, 0);
    return TRUE;
}

void CCJMiniDockFrameWnd::OnNcRButtonUp(UINT, CPoint point)
{
    CCJToolBarBase::ShowBarMenu(m_wndDockBar.m_pDockSite, point);
}
