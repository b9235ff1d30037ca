// The mode switches of the application state (which frame shows, which
// window gets the drawing thread's answers) and the worker threads' start
// and stop.
#include "app/appsw_actions.h"

#include "core/preference.h"
#include "browser/frame/browse_frame.h"
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

bool TimedOut(DWORD start)
{
    return GetTickCount() - start > kStopTimeoutMs;
}

// Ends a worker that did not stop in time; its object is deleted by the caller.
void EndForcibly(CDrawCommonThread* thread)
{
    if (!thread->HasEnded())
        TerminateThread(thread->GetThreadHandle(), 0);
}

}  // namespace

void CAppSWActions::ToViewMode(CAppSW& state)
{
    state.mode = APPMODE_VIEW;
    state.resumeThumbnails = (state.taskThread != NULL && state.taskThread->m_idle) ? 0 : 1;
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
    if (state.taskThread != NULL) {
        state.taskThread->SetNotifyWnd(NULL);
        state.taskThread->m_notifyEnabled = 0;
    }
    state.mode = APPMODE_QUITTING;
    state.toQuit = 1;
    if (state.taskThread != NULL) {
        state.taskThread->Cancel();
        state.taskThread->m_stopRequest = 1;
    }
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

void CAppSWActions::DeleteViewDWGThread(CAppSW& state)
{
    TDwgDrawThread* thread = state.drawThread;
    if (thread == NULL)
        return;
    thread->m_notifyEnabled = 0;
    thread->Suspend();
    thread->m_cancel = 1;
    thread->SetNotifyWnd(NULL);
    thread->Resume();

    // Still idle: suspended more than once, or already ended.
    DWORD start = GetTickCount();
    while (thread->m_idle && !thread->HasEnded() && !TimedOut(start)) {
        thread->Resume();
        Sleep(1);
    }
    if (!thread->HasEnded() && !thread->m_idle) {
        thread->m_current = 0;
        thread->m_stopRequest = 1;
        thread->Wake(true);
        WaitForSingleObject(thread->GetThreadHandle(), kStopTimeoutMs);
    }
    EndForcibly(thread);
    delete thread;
    state.drawThread = NULL;
}

void CAppSWActions::DeleteTaskMngThread(CAppSW& state)
{
    TTaskManageThread* thread = state.taskThread;
    if (thread == NULL)
        return;
    if (!thread->HasEnded()) {
        thread->m_notifyEnabled = 0;
        if (!thread->m_idle)
            thread->Suspend();
        thread->SetNotifyWnd(NULL);
        thread->m_current = 1;
        thread->m_stopRequest = 1;
        thread->m_abort = 1;
        thread->Resume();
        // Only once the thread runs again: the break takes a lock it may
        // hold.
        thread->Cancel();

        // Pumping lets the messages the worker sends to our windows through,
        // so a worker blocked in such a send can reach its end.
        HANDLE handle = thread->GetThreadHandle();
        DWORD start = GetTickCount();
        while (!thread->HasEnded() && !TimedOut(start)) {
            TTaskManageThread::DropPostedMessages();
            if (thread->m_idle)
                thread->Resume();
            MsgWaitForMultipleObjects(1, &handle, FALSE, 10, QS_SENDMESSAGE);
        }
        EndForcibly(thread);
    }
    delete thread;
    state.taskThread = NULL;
}
