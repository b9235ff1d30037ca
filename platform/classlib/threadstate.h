// The class library's record of each thread: the message being handled,
// the window being created, the running thread object and the handle maps.
#pragma once
#include <windows.h>
#include <vector>

class CWnd;
class CWinThread;

// A per-thread map of handles to wrapper objects; the thread state deletes
// the temporary wrappers at idle time and every map when the thread ends.
class HandleMapBase {
public:
    virtual ~HandleMapBase() = default;
    virtual void DeleteTemporaries() = 0;
};

struct AFX_THREAD_STATE {
    // The message a window procedure of this thread is handling right now
    // (what CWnd::Default passes on).
    MSG m_lastSentMsg = {};
    // The window that CWnd::CreateEx is creating; the creation hook attaches
    // the first window created while it is set.
    CWnd* m_pWndInit = nullptr;
    HHOOK m_hHookCreate = nullptr;
    // The CWinThread (or CWinApp) running on this thread, if any.
    CWinThread* m_pCurrentThread = nullptr;
    std::vector<HandleMapBase*> m_handleMaps;
};

// This thread's record, created on first use.
AFX_THREAD_STATE* AfxGetThreadState();

// Adds a handle map to this thread's record; the record owns it.
void AfxRegisterHandleMap(HandleMapBase* map);

// Deletes this thread's temporary wrappers (windows, device contexts, GDI
// objects, menus made by FromHandle for handles the library does not own).
void AfxDeleteTempMaps();

// Frees this thread's record and every handle map in it. Called when a
// thread started by AfxBeginThread ends.
void AfxTermThreadState();
