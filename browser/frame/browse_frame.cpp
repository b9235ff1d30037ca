#include "browser/frame/browse_frame.h"

#include "core/appsw.h"
#include "drawing/task_manage_thread.h"

namespace {

const UINT kPreviewId = 0xE900;

}  // namespace

BEGIN_MESSAGE_MAP(CBrowseFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CBrowseFrame::CBrowseFrame()
    : m_refreshThumbnails(0),
      m_shownBefore(false)
{
}

int CBrowseFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (!m_preview.Create(this, kPreviewId))
        return -1;
    return 0;
}

void CBrowseFrame::OnSize(UINT type, int cx, int cy)
{
    CFrameWnd::OnSize(type, cx, cy);
    if (m_preview.GetSafeHwnd() != NULL)
        m_preview.MoveWindow(cx / 2, 0, cx - cx / 2, cy);
}

void CBrowseFrame::ActivateBrowseMode(int showCommand)
{
    if (!m_shownBefore) {
        m_shownBefore = true;
        ShowWindow(SW_SHOW);
    } else {
        ShowWindow(showCommand);
    }
    UpdateWindow();
    if (AppSW.resumeThumbnails) {
        AppSW.resumeThumbnails = 0;
    } else if (m_refreshThumbnails) {
        m_refreshThumbnails = 0;
    }
}

void CBrowseFrame::SetStartFolder(const char* folder)
{
    m_startFolder = folder ? folder : "";
}

bool CBrowseFrame::IsTaskThreadAlive() const
{
    return AppSW.taskThread != NULL && AppSW.taskThread->m_idle;
}

bool CBrowseFrame::IsPreviewBarVisible() const
{
    return m_preview.GetSafeHwnd() != NULL && m_preview.IsWindowVisible();
}

void CBrowseFrame::OnClose()
{
    AppSW.SetToQuit();
    CFrameWnd::OnClose();
}
