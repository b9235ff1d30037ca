#include "browser/filelist/folder_watch_thread.h"

#include <commctrl.h>
#include <stddef.h>

#include "core/appsw.h"
#include "drawing/library/lib_file_names.h"
#include "drawing/library/save_lib_thread.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "platform/base/file_replace.h"
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

// The changes read: names always, sizes and write times too when
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

// Whether every change a directory read reported names one of the thumbnail
// library writer's files: a library or a temporary file it is replacing one
// with. The records are walked within the bytes read only.
bool NamesOnlyLibraryFiles(const BYTE* records, DWORD size)
{
    DWORD offset = 0;
    for (;;) {
        if (size - offset < offsetof(FILE_NOTIFY_INFORMATION, FileName))
            return false;
        const FILE_NOTIFY_INFORMATION* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(records + offset);
        const DWORD nameBytes = record->FileNameLength;
        if (nameBytes > size - offset - offsetof(FILE_NOTIFY_INFORMATION, FileName))
            return false;
        char name[MAX_PATH];
        int length = ::WideCharToMultiByte(CP_ACP, 0, record->FileName, static_cast<int>(nameBytes / sizeof(WCHAR)),
                                           name, MAX_PATH - 1, NULL, NULL);
        if (length <= 0)
            return false;
        name[length] = '\0';
        if (!IsLibraryFileName(name) && !IsReplacingTemporaryName(name))
            return false;
        if (record->NextEntryOffset == 0)
            return true;
        if (record->NextEntryOffset > size - offset)
            return false;
        offset += record->NextEntryOffset;
    }
}

// The watcher's state: its events, the watched folder with its pending
// directory read when there is one, and the path of that folder.
//
// The folder is read for changes rather than waited on with a bare change
// notification: a read keeps the changes made between two reads, which
// Wine's notification forgets, and it names the files, so that while the
// thumbnail library is written only the writer's own files are passed over.
class CFolderWatcher {
public:
    explicit CFolderWatcher(const FolderWatchStart& start)
        : m_list(start.list),
          m_count(2),
          m_directory(INVALID_HANDLE_VALUE),
          m_readPending(false),
          m_filter(0),
          m_overlapped{}
    {
        m_handles[0] = start.rearmEvent;
        m_handles[1] = start.stopEvent;
        m_handles[2] = NULL;
        m_readDone = ::CreateEventA(NULL, TRUE, FALSE, NULL);
        m_path[0] = '\0';
    }

    ~CFolderWatcher()
    {
        CloseWatch();
        if (m_readDone != NULL)
            ::CloseHandle(m_readDone);
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
    // A read came back: the next one is started at once, so that nothing
    // made meanwhile is missed, and the list is told unless the read named
    // only the library writer's files while it is at work. A read that
    // failed or overflowed its buffer is told as a change.
    void ReportChange()
    {
        DWORD size = 0;
        m_readPending = false;
        const bool read = ::GetOverlappedResult(m_directory, &m_overlapped, &size, FALSE) != FALSE;
        const bool writerOnly = read && size > 0 && LibWriting && NamesOnlyLibraryFiles(m_records, size);
        if (!StartRead())
            CloseWatch();
        if (!writerOnly)
            ::PostMessageA(m_list, WM_FOLDER_CONTENT_CHANGED, 0, 1);
    }

    void WatchShownFolder()
    {
        CloseWatch();
        if (!::IsWindow(m_list) || Quitting() || m_readDone == NULL)
            return;
        DWORD_PTR answer = 0;
        if (!::SendMessageTimeoutA(m_list, WM_GET_CURRENT_FOLDER, reinterpret_cast<WPARAM>(m_path), 0,
                                   SMTO_NORMAL, kAskFolderTimeoutMs, &answer) ||
            answer == 0)
            return;
        m_path[MAX_PATH - 1] = '\0';
        if (m_path[0] == '\0')
            return;
        m_directory = ::CreateFileA(m_path, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    NULL, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, NULL);
        if (m_directory == INVALID_HANDLE_VALUE)
            return;
        m_filter = NotifyFilterFor(m_list);
        if (!StartRead()) {
            CloseWatch();
            return;
        }
        m_handles[2] = m_readDone;
        m_count = 3;
    }

    bool StartRead()
    {
        ::ResetEvent(m_readDone);
        m_overlapped = OVERLAPPED{};
        m_overlapped.hEvent = m_readDone;
        m_readPending = ::ReadDirectoryChangesW(m_directory, m_records, sizeof m_records, FALSE, m_filter, NULL,
                                                &m_overlapped, NULL) != FALSE;
        return m_readPending;
    }

    // A pending read is cancelled and waited for before its buffer can be
    // used again.
    void CloseWatch()
    {
        if (m_directory != INVALID_HANDLE_VALUE) {
            if (m_readPending) {
                DWORD size = 0;
                ::CancelIo(m_directory);
                ::GetOverlappedResult(m_directory, &m_overlapped, &size, TRUE);
            }
            ::CloseHandle(m_directory);
        }
        m_directory = INVALID_HANDLE_VALUE;
        m_readPending = false;
        m_handles[2] = NULL;
        m_count = 2;
    }

    HWND m_list;
    HANDLE m_handles[3];
    DWORD m_count;
    HANDLE m_directory;
    HANDLE m_readDone;
    bool m_readPending;
    DWORD m_filter;
    OVERLAPPED m_overlapped;
    // The changes of one read; DWORD-aligned as the records need.
    alignas(DWORD) BYTE m_records[16384];
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
    if (task != NULL && !task->IsIdle()) {
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
