#include "drawing/task_manage_thread.h"

#include "core/appsw.h"
#include "drawing/draw_messages.h"

TTaskManageThread::TTaskManageThread()
    : m_abort(0),
      m_regenerateAll(0)
{
    m_notifyEnabled = 0;
}

TTaskManageThread::~TTaskManageThread()
{
}

DWORD TTaskManageThread::Run()
{
    while (!m_stopRequest) {
        m_abort = 0;
        if (AppSW.toQuit)
            break;
        Suspend();
    }
    return 0;
}

void TTaskManageThread::Cancel()
{
    m_abort = 1;
}

char TTaskManageThread::AbortQuery(void* thread)
{
    return static_cast<TTaskManageThread*>(thread)->m_abort;
}

void TTaskManageThread::DropPostedMessages()
{
    MSG message;
    while (PeekMessageA(&message, NULL, WM_THUMB_FIRST, WM_THUMB_LAST, PM_REMOVE)) {
    }
}
