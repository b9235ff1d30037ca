#include "browser/filelist/shell_list.h"

#include "core/appsw.h"
#include "drawing/task_manage_thread.h"

namespace {

// How long the list waits for the task thread to let go of its task.
const DWORD kStopTimeoutMs = 10000;

void PumpOtherMessages()
{
    MSG message;
    while (::PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

}  // namespace

CIEShellListCtrl::CIEShellListCtrl()
{
}

void CIEShellListCtrl::StopCurrentTask()
{
    TTaskManageThread* thread = AppSW.taskThread;
    if (thread == NULL)
        return;
    thread->m_notifyEnabled = 0;
    if (thread->m_idle)
        return;
    thread->Suspend();
    thread->m_current = 0;
    thread->Cancel();
    thread->m_abort = 1;
    thread->Resume();
    DWORD start = ::GetTickCount();
    while (!thread->m_idle && !thread->HasEnded() && ::GetTickCount() - start < kStopTimeoutMs) {
        TTaskManageThread::DropPostedMessages();
        PumpOtherMessages();
        ::Sleep(1);
    }
}
