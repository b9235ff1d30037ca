#include "views/preview/preview_bar.h"

#include "resources/views_ids.h"

BEGIN_MESSAGE_MAP(CPreViewBar, CCJControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

CPreViewBar::CPreViewBar()
{
}

CPreViewBar::~CPreViewBar()
{
}

int CPreViewBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CCJControlBar::OnCreate(cs) == -1)
        return -1;
    return m_pane.Create(this, IDC_PREVIEW_PANE) ? 0 : -1;
}

void CPreViewBar::OnSize(UINT type, int cx, int cy)
{
    CCJControlBar::OnSize(type, cx, cy);
    if (m_pane.GetSafeHwnd() == NULL)
        return;
    m_pane.MoveWindow(0, 0, cx, cy);
    m_pane.Invalidate();
}

void CPreViewBar::OnSetFocus(CWnd* oldWindow)
{
    CCJControlBar::OnSetFocus(oldWindow);
    if (m_pane.GetSafeHwnd() != NULL)
        m_pane.SetFocus();
}

BOOL CPreViewBar::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_pane.GetSafeHwnd() != NULL && m_pane.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CCJControlBar::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
