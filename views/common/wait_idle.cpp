#include "views/common/wait_idle.h"

#include "drawing/common/draw_messages.h"

namespace {

// Removing the queued notices also lets messages sent to this thread through.
void DropQueuedNotices(HWND window)
{
    MSG message;
    while (PeekMessageA(&message, window, WM_THUMB_FIRST, WM_THUMB_LAST, PM_REMOVE)) {
    }
}

}  // namespace

bool WaitDrawThreadIdle(TDwgDrawThread* thread, HWND window, DWORD timeoutMs)
{
    if (!thread->m_busy)
        return true;
    thread->m_notifyEnabled = 0;
    thread->m_current = 0;
    DWORD start = GetTickCount();
    HANDLE idle = thread->GetIdleEvent();
    while (thread->m_busy) {
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs)
            break;
        DropQueuedNotices(window);
        MsgWaitForMultipleObjects(1, &idle, FALSE, timeoutMs - waited, QS_SENDMESSAGE);
    }
    DropQueuedNotices(window);
    thread->m_notifyEnabled = 1;
    return !thread->m_busy;
}
