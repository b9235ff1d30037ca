// The mode switches of the application state (which frame shows, which
// window gets the drawing thread's answers) and the worker threads' start
// and stop.
#include "app/appsw_actions.h"

#include "browser/frame/browse_frame.h"
#include "core/preference.h"
#include "drawing/draw_thread/draw_thread.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "platform/classlib/classlib.h"
#include "platform/zrui/zrui.h"
#include "views/preview/preview_pane.h"
#include "views/viewer/view_frame.h"

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

const DWORD kStopTimeoutMs = 5000;

}  // namespace

void CAppSWActions::ToViewMode(CAppSW& state)
{
    state.mode = APPMODE_VIEW;
    state.resumeThumbnails = (state.taskThread != NULL && state.taskThread->IsIdle()) ? 0 : 1;
    if (state.browseFrame != NULL) {
        state.browseFrame->GetFileList()->StopCurrentTask();
        state.browseFrame->ShowWindow(SW_HIDE);
    }
    if (state.app != NULL)
        state.app->m_pMainWnd = state.viewFrame;
    if (state.drawThread != NULL && state.viewFrame != NULL)
        state.drawThread->SetNotifyWnd(state.viewFrame->GetSafeHwnd());
    if (state.browseFrame != NULL)
        state.browseFrame->GetPreview()->m_device.Create(2, 2, 3);
    if (state.viewFrame != NULL) {
        CGDIDevice& device = state.viewFrame->m_device;
        device.BlendRect(0, 0, device.m_nWidth, device.m_nHeight, DrawingBackgroundColour(), 100, false,
                         RGB(255, 255, 255));
        state.viewFrame->ShowWindow(SW_SHOW);
        state.viewFrame->UpdateWindow();
    }
}

void CAppSWActions::ToBrowseMode(CAppSW& state, const char* folder)
{
    state.mode = APPMODE_BROWSE;
    if (state.viewFrame != NULL)
        state.viewFrame->ShowWindow(SW_HIDE);
    if (state.app != NULL)
        state.app->m_pMainWnd = state.browseFrame;
    if (state.browseFrame == NULL)
        return;
    if (state.drawThread != NULL) {
        state.drawThread->SetNotifyWnd(state.browseFrame->GetPreview()->GetSafeHwnd());
        state.browseFrame->m_rememberedItemPath = state.drawThread->GetFilePath();
    }
    if (folder != NULL && folder[0] != '\0')
        state.browseFrame->SetStartFolder(folder);
    state.browseFrame->m_refreshOnActivate = 1;
    state.browseFrame->ActivateBrowseMode(SW_SHOW);
    DropPendingMouseMessages(state.browseFrame->GetSafeHwnd());
    state.browseFrame->UpdateWindow();
    if (state.browseFrame->IsPreviewBarVisible()) {
        if (state.drawThread != NULL)
            state.drawThread->RedrawIfIdle();
        state.browseFrame->GetPreview()->FitRaster();
        state.browseFrame->GetPreview()->SendViewCommand(DCMD_REGEN);
    }
}

void CAppSWActions::SetToQuit(CAppSW& state)
{
    if (state.drawThread != NULL)
        state.drawThread->SetNotifyWnd(NULL);
    state.mode = APPMODE_QUITTING;
    state.toQuit = 1;
    if (state.taskThread != NULL)
        state.taskThread->RequestStop();
}

void CAppSWActions::CreateViewThread(CAppSW& state)
{
    state.drawThread = new TDwgDrawThread;
    if (!state.drawThread->Create()) {
        AfxMessageBox("Create preview thread failed !", MB_OK, 0);
        delete state.drawThread;
        state.drawThread = NULL;
    }
}

void CAppSWActions::CreateTaskManageThread(CAppSW& state)
{
    state.taskThread = new TTaskManageThread;
    if (!state.taskThread->Create()) {
        AfxMessageBox("Create task manager thread failed !", MB_OK, 0);
        delete state.taskThread;
        state.taskThread = NULL;
    }
}

// A thread that does not end in time is terminated by Stop; its object is
// deleted either way.
void CAppSWActions::DeleteViewDWGThread(CAppSW& state)
{
    if (state.drawThread == NULL)
        return;
    state.drawThread->Stop(kStopTimeoutMs);
    delete state.drawThread;
    state.drawThread = NULL;
}

// The notices the thread already posted are thrown away while Stop waits.
void CAppSWActions::DeleteTaskMngThread(CAppSW& state)
{
    if (state.taskThread == NULL)
        return;
    state.taskThread->Stop(kStopTimeoutMs);
    delete state.taskThread;
    state.taskThread = NULL;
}
