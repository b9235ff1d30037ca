// The mode switches of the application state: which frame shows, which
// window gets the drawing thread's answers, and the workers' shutdown.
#include "app/core/appsw.h"

#include "app/core/preference.h"
#include "browser/browse_frame.h"
#include "drawing/draw_thread.h"
#include "drawing/task_manage_thread.h"
#include "platform/zrui/zrui.h"
#include "views/preview_pane.h"
#include "views/view_frame.h"

namespace {

void DropPendingMouseMessages(HWND window)
{
    MSG message;
    while (PeekMessageA(&message, window, 0x200, 0x20D, PM_REMOVE)) {
    }
}

COLORREF DrawingBackgroundColour()
{
    return ZrUI::GetColorIndex((short)Preference.BackGroundColor, NULL);
}

}  // namespace

void CAppSW::ToViewMode()
{
    mode = APPMODE_VIEW;
    resumeThumbnails = (taskThread != NULL && taskThread->m_idle) ? 0 : 1;
    if (browseFrame != NULL) {
        browseFrame->GetFileList()->StopCurrentTask();
        browseFrame->ShowWindow(SW_HIDE);
    }
    if (app != NULL)
        app->m_pMainWnd = viewFrame;
    if (drawThread != NULL && viewFrame != NULL)
        drawThread->SetNotifyWnd(viewFrame->GetSafeHwnd());
    if (browseFrame != NULL)
        browseFrame->GetPreview()->m_device.Create(2, 2, 3);
    if (viewFrame != NULL) {
        CGDIDevice& device = viewFrame->m_device;
        device.BlendRect(0, 0, device.m_nWidth, device.m_nHeight, DrawingBackgroundColour(), 100, false,
                         RGB(255, 255, 255));
        viewFrame->ShowWindow(SW_SHOW);
        viewFrame->UpdateWindow();
    }
}

void CAppSW::ToBrowseMode(const char* folder)
{
    mode = APPMODE_BROWSE;
    if (viewFrame != NULL)
        viewFrame->ShowWindow(SW_HIDE);
    if (app != NULL)
        app->m_pMainWnd = browseFrame;
    if (browseFrame == NULL)
        return;
    if (drawThread != NULL) {
        drawThread->SetNotifyWnd(browseFrame->GetPreview()->GetSafeHwnd());
        browseFrame->m_rememberedItemPath = drawThread->GetFilePath();
    }
    if (folder != NULL && folder[0] != '\0')
        browseFrame->SetStartFolder(folder);
    browseFrame->m_refreshThumbnails = 1;
    browseFrame->ActivateBrowseMode(SW_SHOW);
    DropPendingMouseMessages(browseFrame->GetSafeHwnd());
    browseFrame->UpdateWindow();
    if (browseFrame->IsPreviewBarVisible()) {
        if (drawThread != NULL)
            drawThread->RedrawIfIdle();
        browseFrame->GetPreview()->FitRaster();
        browseFrame->GetPreview()->SendViewCommand(DCMD_REGEN);
    }
}

void CAppSW::SetToQuit()
{
    if (drawThread != NULL)
        drawThread->SetNotifyWnd(NULL);
    if (taskThread != NULL) {
        taskThread->SetNotifyWnd(NULL);
        taskThread->m_notifyEnabled = 0;
    }
    mode = APPMODE_QUITTING;
    toQuit = 1;
    if (taskThread != NULL) {
        taskThread->Cancel();
        taskThread->m_stopRequest = 1;
    }
}
