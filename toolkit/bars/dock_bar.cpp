#include "toolkit/bars/dock_bar.h"

IMPLEMENT_DYNCREATE(CCJDockBar, CDockBar)

BEGIN_MESSAGE_MAP(CCJDockBar, CDockBar)
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

CSize CCJDockBar::BarOverlap(CControlBar* bar) const
{
    if (bar->IsKindOf(RUNTIME_CLASS(CCJToolBarBase)))
        return CSize(0, 0);
    return CDockBar::BarOverlap(bar);
}

void CCJDockBar::OnRButtonUp(UINT, CPoint point)
{
    Default();
    ClientToScreen(&point);
    CCJToolBarBase::ShowBarMenu(m_pDockSite, point);
}
