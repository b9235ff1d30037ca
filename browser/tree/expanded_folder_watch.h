// CExpandedFolderWatch: the watcher of the folders the tree has expanded.
// A drive's own watcher cannot serve them: Wine's drive mapped to the Unix
// root holds the whole machine and must not be watched with its subtree,
// and Wine tells no change below the watched folder itself. One
// idle-priority thread waits on a change notification of each expanded
// folder, each without its subtree, and posts WM_DRIVE_CHANGED to the tree
// when folders are made, renamed or removed in one of them. The tree hands it the folders again whenever
// folders expand or collapse; the thread keeps the notifications of the
// folders that stay, so no change in them is missed meanwhile.
//
// The tree stops the thread as it stops its drive watchers: by the stop
// event that Start returns, then waiting for the thread's handle.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class CExpandedFolderWatch {
public:
    // The thread waits on its stop and update events besides the folders.
    static const int kMaxFolders = MAXIMUM_WAIT_OBJECTS - 2;

    CExpandedFolderWatch() = default;
    CExpandedFolderWatch(const CExpandedFolderWatch&) = delete;
    CExpandedFolderWatch& operator=(const CExpandedFolderWatch&) = delete;

    // Starts a thread, which posts to the tree window and watches no folder
    // until SetFolders; its handle and the event that stops it go to the
    // caller, who closes both. False when it cannot be started.
    bool Start(HWND tree, HANDLE& thread, HANDLE& stopEvent);
    // The folders the last started thread watches from now on (paths; the
    // first kMaxFolders).
    void SetFolders(const std::vector<std::string>& folders);

    // The watch's state that the thread shares (for the thread only).
    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
};
