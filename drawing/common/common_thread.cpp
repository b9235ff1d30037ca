#include "drawing/common/common_thread.h"

#include <stdio.h>

#include "core/appsw.h"
#include "drawing/common/draw_messages.h"

namespace {

// Peeking answers the messages other threads sent to the calling thread;
// the posted thumbnail notices for `window` are removed.
void DropThumbnailNotices(HWND window)
{
    MSG message;
    PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    while (PeekMessageA(&message, window, WM_THUMB_FIRST, WM_THUMB_LAST, PM_REMOVE)) {
    }
}

}  // namespace

CDrawCommonThread::CDrawCommonThread()
    : m_idle(1),
      m_stopRequest(0),
      m_notifyEnabled(1),
      m_current(1),
      m_pause(0),
      m_thread(NULL),
      m_threadId(0),
      m_notifyWnd(NULL)
{
}

CDrawCommonThread::~CDrawCommonThread()
{
    if (m_thread != NULL)
        CloseHandle(m_thread);
}

void CDrawCommonThread::OnProgress(int value)
{
}

DWORD CDrawCommonThread::Run()
{
    return 0;
}

void CDrawCommonThread::OnCancel()
{
}

void CDrawCommonThread::OnStopRequested()
{
}

bool CDrawCommonThread::Create()
{
    m_thread = CreateThread(NULL, 0, ThreadEntry, this, 0, &m_threadId);
    return m_thread != NULL;
}

DWORD WINAPI CDrawCommonThread::ThreadEntry(LPVOID parameter)
{
    CDrawCommonThread* worker = static_cast<CDrawCommonThread*>(parameter);
    worker->m_idle = 0;
    worker->Run();
    worker->m_idle = 1;
    return 0;
}

DWORD CDrawCommonThread::Suspend()
{
    m_idle = 1;
    return SuspendThread(m_thread);
}

DWORD CDrawCommonThread::Resume()
{
    DWORD previous = ResumeThread(m_thread);
    if (previous == 1)
        m_idle = 0;
    return previous;
}

bool CDrawCommonThread::HasEnded() const
{
    return m_thread == NULL || WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0;
}

void CDrawCommonThread::CancelCurrent()
{
    m_current = 0;
    OnCancel();
}

bool CDrawCommonThread::WaitIdle(DWORD timeoutMs, HWND window, const std::function<bool()>& onSlice)
{
    BYTE notifyWas = m_notifyEnabled;
    m_notifyEnabled = 0;
    // A thread that has ended has nothing in hand either.
    HANDLE handles[2] = {GetIdleEvent(), m_thread};
    bool idle = PumpWait(handles, m_thread != NULL ? 2 : 1, timeoutMs, window, onSlice);
    DropThumbnailNotices(window);
    m_notifyEnabled = notifyWas;
    return idle;
}

void CDrawCommonThread::RequestStop()
{
    m_notifyEnabled = 0;
    m_notifyWnd = NULL;
    CancelCurrent();
    m_stopRequest = 1;
    // A thread suspended from outside could never see the request.
    DWORD previous;
    do {
        previous = Resume();
    } while (previous != (DWORD)-1 && previous > 1);
    OnStopRequested();
}

bool CDrawCommonThread::Stop(DWORD timeoutMs)
{
    if (HasEnded())
        return true;
    RequestStop();
    if (PumpWait(&m_thread, 1, timeoutMs, NULL, nullptr))
        return true;
    char text[128];
    snprintf(text, sizeof(text), "Harbeck: worker thread %lu did not stop within %lu ms; terminating it\n",
             (unsigned long)m_threadId, (unsigned long)timeoutMs);
    OutputDebugStringA(text);
    TerminateThread(m_thread, 0);
    WaitForSingleObject(m_thread, timeoutMs);
    return false;
}

bool CDrawCommonThread::PumpWait(const HANDLE* handles, DWORD count, DWORD timeoutMs, HWND window,
                                 const std::function<bool()>& onSlice)
{
    DWORD start = GetTickCount();
    for (;;) {
        DropThumbnailNotices(window);
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs)
            return WaitForMultipleObjects(count, handles, FALSE, 0) < WAIT_OBJECT_0 + count;
        DWORD slice = timeoutMs - waited < kWaitSliceMs ? timeoutMs - waited : kWaitSliceMs;
        // Ends early when a message is sent to this thread: it is answered
        // at the top of the next round.
        DWORD result = MsgWaitForMultipleObjects(count, handles, FALSE, slice, QS_SENDMESSAGE);
        if (result < WAIT_OBJECT_0 + count)
            return true;
        if (result == WAIT_FAILED)
            return false;
        if (result == WAIT_TIMEOUT && onSlice && !onSlice())
            return WaitForMultipleObjects(count, handles, FALSE, 0) < WAIT_OBJECT_0 + count;
    }
}

void CDrawCommonThread::SetNotifyEnabled(bool on)
{
    m_notifyEnabled = on ? 1 : 0;
}

void CDrawCommonThread::SetNotifyWnd(HWND window)
{
    m_notifyWnd = window;
}

bool CDrawCommonThread::MayNotify(HWND window) const
{
    return m_notifyEnabled && AppSW.mode != APPMODE_QUITTING && IsWindow(window);
}

void CDrawCommonThread::PostNotify(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (MayNotify(window))
        PostMessageA(window, message, wParam, lParam);
}

void CDrawCommonThread::SendNotify(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (MayNotify(window))
        SendMessageA(window, message, wParam, lParam);
}

void CDrawCommonThread::SendThumbUpdate(CDib* picture)
{
    if (m_notifyWnd != NULL)
        SendNotify(m_notifyWnd, WM_THUMB_STAGE, 0, reinterpret_cast<LPARAM>(picture));
}

CWin32ThreadEvent::CWin32ThreadEvent()
    : m_event(CreateEventA(NULL, FALSE, FALSE, NULL))
{
}

CWin32ThreadEvent::~CWin32ThreadEvent()
{
    if (m_event != NULL)
        CloseHandle(m_event);
}

void CWin32ThreadEvent::Signal()
{
    SetEvent(m_event);
}
