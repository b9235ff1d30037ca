#include "browser/filelist/folder_watch_thread.h"

#include <commctrl.h>

#include "core/appsw.h"
#include "drawing/save_lib_thread.h"
#include "drawing/task_manage_thread.h"
#include "platform/classlib/winthread.h"

namespace {

// The watcher looks at the quitting flag at least this often.
const DWORD kQuitCheckMs = 500;
// How long the watcher waits for the list to answer WM_GET_CURRENT_FOLDER.
const UINT kAskFolderTimeoutMs = 2000;

bool Quitting()
{
    return AppSW.toQuit != 0;
}

HANDLE DuplicateForThread(HANDLE handle)
{
    HANDLE copy = NULL;
    if (!::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), &copy, 0, FALSE,
                           DUPLICATE_SAME_ACCESS))
        return NULL;
    return copy;
}

// The notification's filter: names always, sizes and write times too when
// the list shows details.
DWORD NotifyFilterFor(HWND list)
{
    DWORD filter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;
    DWORD_PTR view = 0;
    if (::SendMessageTimeoutA(list, LVM_GETVIEW, 0, 0, SMTO_NORMAL, kAskFolderTimeoutMs, &view) &&
        view == LV_VIEW_DETAILS)
        filter |= FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;
    return filter;
}

// The watcher's state: its events, the change notification when there is
// one, and the path of the folder it watches.
class CFolderWatcher {
public:
    explicit CFolderWatcher(const FolderWatchStart& start)
        : m_list(start.list), m_count(2)
    {
        m_handles[0] = start.rearmEvent;
        m_handles[1] = start.stopEvent;
        m_handles[2] = NULL;
        m_path[0] = '\0';
    }

    ~CFolderWatcher()
    {
        CloseNotification();
        ::CloseHandle(m_handles[0]);
        ::CloseHandle(m_handles[1]);
    }

    UINT Run()
    {
        for (;;) {
            if (Quitting())
                return 0;
            DWORD result = ::WaitForMultipleObjects(m_count, m_handles, FALSE, kQuitCheckMs);
            if (result == WAIT_TIMEOUT)
                continue;
            if (Quitting() || result == WAIT_OBJECT_0 + 1 || result >= WAIT_ABANDONED_0 ||
                result >= WAIT_OBJECT_0 + m_count)
                return 0;
            if (result == WAIT_OBJECT_0 + 2)
                ReportChange();
            else
                WatchShownFolder();
            // Lets a burst of changes gather before the next wait.
            ::Sleep(30);
        }
    }

private:
    void ReportChange()
    {
        if (!::FindNextChangeNotification(m_handles[2])) {
            CloseNotification();
            return;
        }
        if (!LibWriting)
            ::PostMessageA(m_list, WM_FOLDER_CONTENT_CHANGED, 0, 1);
    }

    void WatchShownFolder()
    {
        CloseNotification();
        if (!::IsWindow(m_list) || Quitting())
            return;
        DWORD_PTR answer = 0;
        if (!::SendMessageTimeoutA(m_list, WM_GET_CURRENT_FOLDER, reinterpret_cast<WPARAM>(m_path), 0,
                                   SMTO_NORMAL, kAskFolderTimeoutMs, &answer) ||
            answer == 0)
            return;
        m_path[MAX_PATH - 1] = '\0';
        if (m_path[0] == '\0')
            return;
        HANDLE notification = ::FindFirstChangeNotificationA(m_path, FALSE, NotifyFilterFor(m_list));
        if (notification == INVALID_HANDLE_VALUE)
            return;
        m_handles[2] = notification;
        m_count = 3;
    }

    void CloseNotification()
    {
        if (m_count == 3)
            ::FindCloseChangeNotification(m_handles[2]);
        m_handles[2] = NULL;
        m_count = 2;
    }

    HWND m_list;
    HANDLE m_handles[3];
    DWORD m_count;
    char m_path[MAX_PATH];
};

}  // namespace

UINT FolderWatchThread(LPVOID startBlock)
{
    FolderWatchStart* start = static_cast<FolderWatchStart*>(startBlock);
    CFolderWatcher watcher(*start);
    delete start;
    return watcher.Run();
}

CFolderWatch::CFolderWatch()
    : m_stopEvent(::CreateEventA(NULL, FALSE, FALSE, NULL)),
      m_rearmEvent(::CreateEventA(NULL, FALSE, FALSE, NULL)),
      m_watchThreads{NULL},
      m_watchCount(0),
      m_refreshPending(0),
      m_list(NULL)
{
}

CFolderWatch::~CFolderWatch()
{
    StopAllThreads();
    ::CloseHandle(m_stopEvent);
    ::CloseHandle(m_rearmEvent);
}

bool CFolderWatch::Start(HWND list)
{
    if (m_watchCount >= 1)
        return true;
    if (m_stopEvent == NULL || m_rearmEvent == NULL)
        return false;
    m_list = list;
    FolderWatchStart* start = new FolderWatchStart;
    start->stopEvent = DuplicateForThread(m_stopEvent);
    start->rearmEvent = DuplicateForThread(m_rearmEvent);
    start->list = list;
    CWinThread* thread = NULL;
    if (start->stopEvent != NULL && start->rearmEvent != NULL)
        thread = AfxBeginThread(FolderWatchThread, start, THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
    if (thread == NULL) {
        if (start->stopEvent != NULL)
            ::CloseHandle(start->stopEvent);
        if (start->rearmEvent != NULL)
            ::CloseHandle(start->rearmEvent);
        delete start;
        return false;
    }
    thread->m_bAutoDelete = FALSE;
    thread->ResumeThread();
    m_watchThreads[0] = thread;
    m_watchCount = 1;
    return true;
}

void CFolderWatch::Rearm()
{
    if (m_refreshPending) {
        ::KillTimer(m_list, kFolderRefreshTimerId);
        m_refreshPending = 0;
    }
    ::SetEvent(m_rearmEvent);
}

void CFolderWatch::StopAllThreads()
{
    if (m_watchCount == 0)
        return;
    ::SetEvent(m_stopEvent);
    // The watcher may be asking this thread for the folder: sent messages
    // are answered while waiting, so that it sees the stop at once.
    HANDLE thread = m_watchThreads[0]->m_hThread;
    const DWORD started = ::GetTickCount();
    bool ended = false;
    for (;;) {
        DWORD waited = ::GetTickCount() - started;
        if (waited >= kFolderWatchStopTimeoutMs)
            break;
        DWORD result = ::MsgWaitForMultipleObjects(1, &thread, FALSE, kFolderWatchStopTimeoutMs - waited,
                                                   QS_SENDMESSAGE);
        ended = result == WAIT_OBJECT_0;
        if (result != WAIT_OBJECT_0 + 1)
            break;
        MSG message;
        ::PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    // The thread's object is used by the thread until its very end: one
    // that has not ended keeps its object, which is then never freed.
    if (ended)
        delete m_watchThreads[0];
    m_watchThreads[0] = NULL;
    m_watchCount = 0;
    // A watcher that has not ended still holds its copies of the old
    // events; the next one gets new events.
    ::CloseHandle(m_stopEvent);
    ::CloseHandle(m_rearmEvent);
    m_stopEvent = ::CreateEventA(NULL, FALSE, FALSE, NULL);
    m_rearmEvent = ::CreateEventA(NULL, FALSE, FALSE, NULL);
}

bool CFolderWatch::OnFolderChanged(LPARAM lParam)
{
    if (AppSW.mode != APPMODE_BROWSE)
        return false;
    if (lParam != 1)
        return true;
    ArmRefreshTimer();
    return false;
}

bool CFolderWatch::OnRefreshTimer()
{
    ::KillTimer(m_list, kFolderRefreshTimerId);
    TTaskManageThread* task = AppSW.taskThread;
    if (task != NULL && !task->m_idle) {
        ArmRefreshTimer();
        return false;
    }
    m_refreshPending = 0;
    return true;
}

HANDLE CFolderWatch::GetThreadHandle() const
{
    return m_watchCount > 0 ? m_watchThreads[0]->m_hThread : NULL;
}

void CFolderWatch::ArmRefreshTimer()
{
    m_refreshPending = 1;
    if (m_list != NULL)
        ::SetTimer(m_list, kFolderRefreshTimerId, kFolderRefreshDelayMs, NULL);
}
