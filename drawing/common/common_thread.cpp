#include "drawing/common/common_thread.h"

#include "core/appsw.h"
#include "drawing/common/draw_messages.h"

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
