#include "views/preview/preview_pane.h"

#include "core/appsw.h"
#include "drawing/draw_thread.h"

BEGIN_MESSAGE_MAP(CPreView, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPreView::CPreView()
{
}

BOOL CPreView::Create(CWnd* parent, UINT id)
{
    CRect area(0, 0, 100, 100);
    return CWnd::Create(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW)), "",
                        WS_CHILD | WS_VISIBLE, area, parent, id);
}

void CPreView::FitRaster()
{
    TDwgDrawThread* thread = AppSW.drawThread;
    if (thread != NULL && thread->GetFileKind() > 3)
        Invalidate(FALSE);
}

void CPreView::SendViewCommand(int code)
{
    TDwgDrawThread* thread = AppSW.drawThread;
    if (thread == NULL)
        return;
    if (thread->GetFileKind() > 3)
        Invalidate(FALSE);
    else
        thread->PostCommand(code, NULL, NULL, false);
}

void CPreView::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (m_device.m_hDC != NULL && m_device.m_nWidth >= client.Width() && m_device.m_nHeight >= client.Height())
        m_device.Paint(dc.GetSafeHdc());
    else
        dc.FillSolidRect(&client, ::GetSysColor(COLOR_APPWORKSPACE));
}
