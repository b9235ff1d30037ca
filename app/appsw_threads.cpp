// Starting and stopping the two worker threads. Stopping never hangs: each
// worker gets a bounded time to end by itself before it is ended forcibly.
#include "app/core/appsw.h"

#include "drawing/draw_thread.h"
#include "drawing/task_manage_thread.h"
#include "platform/classlib/classlib.h"

namespace {

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

void CAppSW::CreateViewThread()
{
    drawThread = new TDwgDrawThread;
    SetDrawThread(drawThread);
    if (!drawThread->Create()) {
        AfxMessageBox("Create preview thread failed !", MB_OK, 0);
        delete drawThread;
        drawThread = NULL;
        SetDrawThread(NULL);
    }
}

void CAppSW::CreateTaskManageThread()
{
    taskThread = new TTaskManageThread;
    SetTaskManageThread(taskThread);
    if (!taskThread->Create()) {
        AfxMessageBox("Create task manager thread failed !", MB_OK, 0);
        delete taskThread;
        taskThread = NULL;
        SetTaskManageThread(NULL);
    }
}

void CAppSW::DeleteViewDWGThread()
{
    TDwgDrawThread* thread = drawThread;
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
    drawThread = NULL;
    SetDrawThread(NULL);
}

void CAppSW::DeleteTaskMngThread()
{
    TTaskManageThread* thread = taskThread;
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
        thread->Cancel();
        thread->Resume();

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
    taskThread = NULL;
    SetTaskManageThread(NULL);
}
