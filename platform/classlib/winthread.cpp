#include "platform/classlib/winthread.h"
#include "platform/classlib/callguard.h"
#include "platform/classlib/threadstate.h"
#include "platform/classlib/wnd.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC function, LPVOID param)
    : m_pfnThreadProc(function), m_pThreadParams(param)
{
}

CWinThread::~CWinThread()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
    AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_pCurrentThread == this)
        state->m_pCurrentThread = nullptr;
}

DWORD WINAPI AfxThreadEntry(LPVOID startup)
{
    CWinThread* thread = static_cast<CWinThread*>(startup);
    AfxGetThreadState()->m_pCurrentThread = thread;
    UINT exitCode = (UINT)-1;
    AfxCallGuarded("a thread", [&] {
        if (thread->m_pfnThreadProc)
            exitCode = thread->m_pfnThreadProc(thread->m_pThreadParams);
        else if (thread->InitInstance())
            exitCode = (UINT)thread->Run();
        else
            exitCode = (UINT)thread->ExitInstance();
    });
    AfxCallGuarded("a thread object's end", [&] { thread->Delete(); });
    AfxTermThreadState();
    return exitCode;
}

BOOL CWinThread::CreateThread(DWORD flags, UINT stackSize, LPSECURITY_ATTRIBUTES security)
{
    DWORD id = 0;
    HANDLE handle = ::CreateThread(security, stackSize, AfxThreadEntry, this, flags | CREATE_SUSPENDED, &id);
    if (!handle)
        return FALSE;
    m_hThread = handle;
    m_nThreadID = id;
    if (!(flags & CREATE_SUSPENDED))
        ::ResumeThread(handle);
    return TRUE;
}

static CWinThread* StartThread(CWinThread* thread, int priority, UINT stackSize, DWORD flags,
                               LPSECURITY_ATTRIBUTES security)
{
    if (!thread->CreateThread(flags | CREATE_SUSPENDED, stackSize, security)) {
        delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(priority);
    if (!(flags & CREATE_SUSPENDED))
        thread->ResumeThread();
    return thread;
}

CWinThread* AfxBeginThread(AFX_THREADPROC function, LPVOID param, int priority, UINT stackSize,
                           DWORD flags, LPSECURITY_ATTRIBUTES security)
{
    return StartThread(new CWinThread(function, param), priority, stackSize, flags, security);
}

CWinThread* AfxBeginThread(CRuntimeClass* threadClass, int priority, UINT stackSize, DWORD flags,
                           LPSECURITY_ATTRIBUTES security)
{
    CObject* object = threadClass ? threadClass->CreateObject() : nullptr;
    if (!object)
        return nullptr;
    if (!object->IsKindOf(RUNTIME_CLASS(CWinThread))) {
        delete object;
        return nullptr;
    }
    return StartThread(static_cast<CWinThread*>(object), priority, stackSize, flags, security);
}

CWinThread* AfxGetThread()
{
    return AfxGetThreadState()->m_pCurrentThread;
}

BOOL AfxPreTranslateMessage(MSG* msg)
{
    if (CWinThread* thread = AfxGetThread())
        return thread->PreTranslateMessage(msg);
    return CWnd::WalkPreTranslateTree(nullptr, msg);
}

BOOL AfxPumpMessage()
{
    if (CWinThread* thread = AfxGetThread())
        return thread->PumpMessage();
    MSG msg;
    if (::GetMessageA(&msg, nullptr, 0, 0) <= 0)
        return FALSE;
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

CWnd* CWinThread::GetMainWnd()
{
    return m_pActiveWnd ? m_pActiveWnd : m_pMainWnd;
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::Run()
{
    BOOL idle = TRUE;
    LONG idleCount = 0;
    for (;;) {
        while (idle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                idle = TRUE;
                idleCount = 0;
            }
        } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage()
{
    if (::GetMessageA(&m_msgCur, nullptr, 0, 0) <= 0)
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg)
{
    if (!msg->hwnd) {
        const MessageMapEntry* entry = FindMessageEntry(GetMessageMap(), msg->message, 0, 0);
        if (entry) {
            MessageCall call = {msg->message, msg->wParam, msg->lParam, 0, 0, nullptr, 0};
            entry->invoke(this, entry->handler, call);
            return TRUE;
        }
        return FALSE;
    }
    CWnd* main = GetMainWnd();
    if (CWnd::WalkPreTranslateTree(main ? main->m_hWnd : nullptr, msg))
        return TRUE;
    // A message of a window outside the main window (a dialog) still gets
    // the main window's keyboard translation.
    if (main && main->m_hWnd) {
        CWnd* top = CWnd::FromHandle(msg->hwnd)->GetTopLevelParent();
        if (top && top->m_hWnd != main->m_hWnd)
            return main->PreTranslateMessage(msg);
    }
    return FALSE;
}

BOOL CWinThread::OnIdle(LONG count)
{
    if (count == 0) {
        CWnd* main = GetMainWnd();
        if (main && main->m_hWnd && main->IsWindowVisible()) {
            AfxCallWndProc(main, main->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
        }
        return TRUE;
    }
    if (count == 1)
        AfxDeleteTempMaps();
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* msg)
{
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        bool same = msg->message == m_lastMouseMessage && msg->pt.x == m_lastMousePoint.x &&
                    msg->pt.y == m_lastMousePoint.y;
        m_lastMouseMessage = msg->message;
        m_lastMousePoint = msg->pt;
        return !same;
    }
    // WM_PAINT and the caret's system timer come too often.
    return msg->message != WM_PAINT && msg->message != 0x0118;
}

int CWinThread::ExitInstance()
{
    return (int)m_msgCur.wParam;
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

namespace msgsig {
BOOL THREAD_W_L(CCmdTarget* target, AFX_PMSG handler, MessageCall& call)
{
    (static_cast<CWinThread*>(target)->*As<void (CWinThread::*)(WPARAM, LPARAM)>(handler))(call.wParam,
                                                                                           call.lParam);
    return TRUE;
}
}  // namespace msgsig
