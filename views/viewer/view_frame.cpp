#include "views/viewer/view_frame.h"

#include "core/appsw.h"
#include "core/file_utils.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CViewFrame, CFrameWnd)
    ON_COMMAND(ID_BACK_TO_BROWSE, &CViewFrame::OnBackToBrowse)
    ON_WM_PAINT()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CViewFrame::CViewFrame()
    : m_exitOnEsc(0)
{
}

BOOL CViewFrame::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    // While an application dialog runs, the drawing view does not get
    // commands first.
    if (AppSW.modalDialogOpen)
        return CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo) ||
               (AfxGetApp() != NULL && AfxGetApp()->OnCmdMsg(id, code, extra, handlerInfo));
    return CFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CViewFrame::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        if (m_exitOnEsc)
            QuitProgram();
        else
            OnBackToBrowse();
        return TRUE;
    }
    return CFrameWnd::PreTranslateMessage(msg);
}

void CViewFrame::OnBackToBrowse()
{
    m_exitOnEsc = 0;
    CString folder = GetFileDir(AppSW.GetViewPath());
    AppSW.ToBrowseMode(!folder.IsEmpty() && DirectoryExists(folder) ? (LPCSTR)folder : NULL);
}

void CViewFrame::OnPaint()
{
    CPaintDC dc(this);
    if (m_device.m_hDC != NULL)
        m_device.Paint(dc.GetSafeHdc());
}

void CViewFrame::OnClose()
{
    // The view frame lives until the program ends: closing it goes back to
    // the browser, or ends a program that was started for one file.
    if (m_exitOnEsc)
        QuitProgram();
    else
        OnBackToBrowse();
}

void CViewFrame::QuitProgram()
{
    AppSW.SetToQuit();
    ::PostQuitMessage(0);
}
