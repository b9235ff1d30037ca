// The base of the worker threads that draw: one Win32 thread running the
// derived class's Run, the flags by which the UI thread starts, suspends,
// resumes and stops it, and the rules by which it reports to its window.
#pragma once
#include <windows.h>

class CDib;

class CDrawCommonThread {
public:
    CDrawCommonThread();
    virtual ~CDrawCommonThread();

    virtual void OnProgress(int value);
    virtual DWORD Run();

    // Starts the thread at once; false when it could not be created.
    bool Create();

    // Suspend marks the thread idle; a Resume that lets it run again
    // clears the mark. Both return the previous suspend count.
    DWORD Suspend();
    DWORD Resume();

    void SetNotifyWnd(HWND window);
    HWND GetNotifyWnd() const { return m_notifyWnd; }

    // Reports are dropped while notifications are off, while the program is
    // quitting, or when the window is gone.
    void PostNotify(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void SendNotify(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Sends the picture being drawn to the notify window (WM_THUMB_STAGE),
    // under the same rules.
    void SendThumbUpdate(CDib* picture);

    HANDLE GetThreadHandle() const { return m_thread; }
    DWORD GetThreadId() const { return m_threadId; }
    // True once the thread has ended (its handle is signalled).
    bool HasEnded() const;

    // Single bytes shared with the worker without locks: each side only
    // writes its own and the readers only compare with 0.
    volatile BYTE m_idle;
    volatile BYTE m_stopRequest;
    volatile BYTE m_notifyEnabled;
    volatile BYTE m_current;
    volatile BYTE m_pause;

private:
    static DWORD WINAPI ThreadEntry(LPVOID parameter);
    bool MayNotify(HWND window) const;

    HANDLE m_thread;
    DWORD m_threadId;
    HWND m_notifyWnd;
};

// A Win32 event, automatic reset, initially not signalled.
class CWin32ThreadEvent {
public:
    CWin32ThreadEvent();
    virtual ~CWin32ThreadEvent();

    HANDLE GetHandle() const { return m_event; }
    void Signal();

private:
    HANDLE m_event;
};
