// The base of the worker threads that draw: one Win32 thread running the
// derived class's Run, the controls by which the UI thread cancels, waits
// for and stops it, and the rules by which it reports to its window.
//
// The flags are the worker's own: the owner reaches them only through the
// calls below. They are single bytes shared without locks: each is written
// by one side and the readers only compare it with 0.
#pragma once
#include <windows.h>

#include <functional>

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

    // --- The owner's controls (UI thread) ------------------------------
    // Breaks off the work in hand: it is no longer current (neither shown
    // nor answered) and the worker's own break is made.
    void CancelCurrent();
    // Waits at most timeoutMs until the worker has no work in hand (or has
    // ended). While it waits the worker's notices are off, the calling
    // thread answers the messages the worker sends it (so that a worker
    // blocked in such a send goes on), and the notices already posted to
    // `window` are thrown away (so that none is handled after the wait);
    // the notices are then as they were. onSlice, when given, runs after
    // every slice of at most kWaitSliceMs and ends the wait early by
    // returning false. True when the worker is idle at the end.
    bool WaitIdle(DWORD timeoutMs, HWND window, const std::function<bool()>& onSlice = nullptr);
    // Asks the worker to end without waiting: notices off, no notify
    // window, its work cancelled, the stop request set and the worker woken.
    void RequestStop();
    // RequestStop, then a wait of at most timeoutMs for the thread to end,
    // answering its sent messages and throwing away every thumbnail notice
    // posted to the calling thread's windows. A thread still running then
    // is reported to the debug log and terminated. True when it ended by
    // itself (or had ended already).
    bool Stop(DWORD timeoutMs);
    void SetNotifyEnabled(bool on);
    // True while Run does not execute or the worker waits for work.
    bool IsIdle() const { return m_idle != 0; }
    bool IsStopRequested() const { return m_stopRequest != 0; }
    bool IsNotifyEnabled() const { return m_notifyEnabled != 0; }

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

    static constexpr DWORD kWaitSliceMs = 100;

protected:
    // A manual-reset event signalled while the worker has no work in hand.
    virtual HANDLE GetIdleEvent() const = 0;
    // The worker's own break of what it does now (a load, a draw); the
    // base has none.
    virtual void OnCancel();
    // Wakes the worker wherever it waits, so that it sees the stop request.
    virtual void OnStopRequested();

    bool IsCurrent() const { return m_current != 0; }
    void SetCurrent(bool current) { m_current = current ? 1 : 0; }
    bool IsPaused() const { return m_pause != 0; }
    void SetPaused(bool paused) { m_pause = paused ? 1 : 0; }
    void SetIdle(bool idle) { m_idle = idle ? 1 : 0; }

private:
    static DWORD WINAPI ThreadEntry(LPVOID parameter);
    bool MayNotify(HWND window) const;
    // Waits up to timeoutMs for one of the handles, answering sent
    // messages and dropping the thumbnail notices posted to `window` (NULL:
    // to any window of the calling thread); true when one was signalled.
    static bool PumpWait(const HANDLE* handles, DWORD count, DWORD timeoutMs, HWND window,
                         const std::function<bool()>& onSlice);

    volatile BYTE m_idle;
    volatile BYTE m_stopRequest;
    volatile BYTE m_notifyEnabled;
    volatile BYTE m_current;
    volatile BYTE m_pause;
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
