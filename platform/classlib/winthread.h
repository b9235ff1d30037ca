// CWinThread: a thread of the program, either a worker running one
// function or a user-interface thread with a message loop of its own.
#pragma once
#include <windows.h>
#include "platform/classlib/cmdtarget.h"

class CWnd;

// A worker thread's function; its result is the thread's exit code.
typedef UINT (*AFX_THREADPROC)(LPVOID param);

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC function, LPVOID param);
    // Closes the thread handle.
    ~CWinThread() override;

    // Starts the thread (suspended when flags has CREATE_SUSPENDED); the
    // handle and id are valid when it returns TRUE.
    BOOL CreateThread(DWORD flags = 0, UINT stackSize = 0, LPSECURITY_ATTRIBUTES security = nullptr);

    CWnd* m_pMainWnd = nullptr;
    CWnd* m_pActiveWnd = nullptr;
    // The object deletes itself when its thread ends.
    BOOL m_bAutoDelete = TRUE;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
    // The message the loop is handling.
    MSG m_msgCur = {};

    operator HANDLE() const { return m_hThread; }
    int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }
    BOOL SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
    }

    virtual CWnd* GetMainWnd();

    // A user-interface thread: InitInstance, then Run (the message loop)
    // when it returned TRUE; Run ends with ExitInstance, whose result is
    // the exit code.
    virtual BOOL InitInstance();
    virtual int Run();
    // Offers a message to the thread's message map (thread messages), then
    // to the windows from the message's window up to the main window.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Gets and handles one message; FALSE at WM_QUIT.
    virtual BOOL PumpMessage();
    // Idle work while the queue is empty; called with 0, 1, 2... until it
    // returns FALSE. Count 0 updates the user interface of the main
    // window's descendants (WM_IDLEUPDATECMDUI), count 1 deletes the
    // temporary wrappers; subclasses return TRUE for more idle calls.
    virtual BOOL OnIdle(LONG count);
    // FALSE for messages that come too often to restart idle processing.
    virtual BOOL IsIdleMessage(MSG* msg);
    virtual int ExitInstance();
    // Deletes the object when m_bAutoDelete is set.
    virtual void Delete();

private:
    POINT m_lastMousePoint = {-1, -1};
    UINT m_lastMouseMessage = 0;
};

// Starts a worker thread running function(param), or a user-interface
// thread of the given class (made by its dynamic creation). The object
// deletes itself when the thread ends unless m_bAutoDelete is cleared
// before the thread is resumed (use CREATE_SUSPENDED for that). Null when
// the thread cannot be started. An exception that leaves the function or
// the loop ends the thread with exit code (UINT)-1.
CWinThread* AfxBeginThread(AFX_THREADPROC function, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD flags = 0, LPSECURITY_ATTRIBUTES security = nullptr);
CWinThread* AfxBeginThread(CRuntimeClass* threadClass, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD flags = 0, LPSECURITY_ATTRIBUTES security = nullptr);

// The CWinThread (or CWinApp) of the calling thread, null for threads the
// library did not start.
CWinThread* AfxGetThread();

// Offers a message to the calling thread's PreTranslateMessage, or when
// the thread has no CWinThread, to the windows of the message.
BOOL AfxPreTranslateMessage(MSG* msg);

// Handles one message from the calling thread's queue; FALSE at WM_QUIT.
BOOL AfxPumpMessage();
