#include "browser/tree/expanded_folder_watch.h"

#include <algorithm>

#include "browser/tree/shell_tree_messages.h"
#include "core/appsw.h"

// The folders the tree wants watched, handed over under the lock; the
// update event tells the thread to take them.
struct CExpandedFolderWatch::Shared {
    Shared() : updateEvent(::CreateEventA(nullptr, FALSE, FALSE, nullptr))
    {
        ::InitializeCriticalSection(&lock);
    }
    ~Shared()
    {
        if (updateEvent)
            ::CloseHandle(updateEvent);
        ::DeleteCriticalSection(&lock);
    }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;

    CRITICAL_SECTION lock;
    std::vector<std::string> folders;
    HANDLE updateEvent;
};

namespace {

struct WatchStart {
    std::shared_ptr<CExpandedFolderWatch::Shared> shared;
    HANDLE stopEvent;
    HWND tree;
};

struct WatchedFolder {
    std::string path;
    HANDLE change;
};

// The thread's side: its own copy of the stop event and one change
// notification per watched folder.
class CFolderSetWaiter {
public:
    explicit CFolderSetWaiter(const WatchStart& start)
        : m_shared(start.shared), m_stopEvent(start.stopEvent), m_tree(start.tree)
    {
    }
    ~CFolderSetWaiter()
    {
        for (const WatchedFolder& folder : m_watched)
            ::FindCloseChangeNotification(folder.change);
        ::CloseHandle(m_stopEvent);
    }
    CFolderSetWaiter(const CFolderSetWaiter&) = delete;
    CFolderSetWaiter& operator=(const CFolderSetWaiter&) = delete;

    DWORD Run()
    {
        for (;;) {
            HANDLE handles[MAXIMUM_WAIT_OBJECTS] = {m_stopEvent, m_shared->updateEvent};
            DWORD count = 2;
            for (const WatchedFolder& folder : m_watched)
                handles[count++] = folder.change;
            DWORD result = ::WaitForMultipleObjects(count, handles, FALSE, INFINITE);
            if (AppSW.toQuit || result == WAIT_OBJECT_0 || result >= WAIT_OBJECT_0 + count)
                return 0;
            if (result == WAIT_OBJECT_0 + 1) {
                TakeFolders();
                continue;
            }
            auto changed = m_watched.begin() + (result - WAIT_OBJECT_0 - 2);
            // A folder that went away is not waited on again.
            if (!::FindNextChangeNotification(changed->change)) {
                ::FindCloseChangeNotification(changed->change);
                m_watched.erase(changed);
            }
            if (::IsWindow(m_tree))
                ::PostMessageA(m_tree, WM_DRIVE_CHANGED, 0, 0);
        }
    }

private:
    // Watches the folders the tree asks for now: the notifications of the
    // folders that stay are kept, those of the others closed.
    void TakeFolders()
    {
        ::EnterCriticalSection(&m_shared->lock);
        std::vector<std::string> wanted = m_shared->folders;
        ::LeaveCriticalSection(&m_shared->lock);
        std::vector<WatchedFolder> kept;
        for (const std::string& path : wanted) {
            auto known = std::find_if(m_watched.begin(), m_watched.end(),
                                      [&path](const WatchedFolder& folder) { return folder.path == path; });
            if (known != m_watched.end()) {
                kept.push_back(*known);
                m_watched.erase(known);
                continue;
            }
            HANDLE change = ::FindFirstChangeNotificationA(path.c_str(), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME);
            if (change != INVALID_HANDLE_VALUE)
                kept.push_back({path, change});
        }
        for (const WatchedFolder& folder : m_watched)
            ::FindCloseChangeNotification(folder.change);
        m_watched = kept;
    }

    std::shared_ptr<CExpandedFolderWatch::Shared> m_shared;
    HANDLE m_stopEvent;
    HWND m_tree;
    std::vector<WatchedFolder> m_watched;
};

DWORD WINAPI ExpandedFolderWatchThread(void* given)
{
    WatchStart* start = (WatchStart*)given;
    CFolderSetWaiter waiter(*start);
    delete start;
    return waiter.Run();
}

}  // namespace

bool CExpandedFolderWatch::Start(HWND tree, HANDLE& thread, HANDLE& stopEvent)
{
    std::shared_ptr<Shared> shared = std::make_shared<Shared>();
    stopEvent = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE threadStop = nullptr;
    if (!shared->updateEvent || !stopEvent ||
        !::DuplicateHandle(::GetCurrentProcess(), stopEvent, ::GetCurrentProcess(), &threadStop, 0, FALSE,
                           DUPLICATE_SAME_ACCESS)) {
        if (stopEvent)
            ::CloseHandle(stopEvent);
        stopEvent = nullptr;
        return false;
    }
    WatchStart* start = new WatchStart{shared, threadStop, tree};
    thread = ::CreateThread(nullptr, 0, &ExpandedFolderWatchThread, start, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        ::CloseHandle(threadStop);
        ::CloseHandle(stopEvent);
        stopEvent = nullptr;
        delete start;
        return false;
    }
    m_shared = shared;
    ::SetThreadPriority(thread, THREAD_PRIORITY_IDLE);
    ::ResumeThread(thread);
    return true;
}

void CExpandedFolderWatch::SetFolders(const std::vector<std::string>& folders)
{
    if (!m_shared)
        return;
    size_t count = std::min(folders.size(), (size_t)kMaxFolders);
    ::EnterCriticalSection(&m_shared->lock);
    m_shared->folders.assign(folders.begin(), folders.begin() + count);
    ::LeaveCriticalSection(&m_shared->lock);
    ::SetEvent(m_shared->updateEvent);
}
