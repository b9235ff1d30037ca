// The file list's folder watcher: one idle-priority thread reads the file
// system's changes in the shown folder and posts
// WM_FOLDER_CONTENT_CHANGED (lParam 1) to the list window, which then
// re-enumerates the folder after a short delay (timer 260), once the
// thumbnail task is idle.
//
// The list holds a CFolderWatch and drives it on the UI thread:
//   Start when its window is attached, Rearm from SetFolder and
//   ResetForFolder, StopAllThreads from WM_DESTROY;
//   WM_FOLDER_CONTENT_CHANGED: OnFolderChanged, and a full rebuild when it
//   says so (and refreshing is allowed);
//   WM_TIMER 260: OnRefreshTimer, and an incremental refresh when it says so;
//   WM_GET_CURRENT_FOLDER: in browse mode the shown folder's path into the
//   caller's buffer; 1 in every mode.
//
// The thread never touches the list's data: it asks for the path with a
// sent message, tells the list with a posted one, and decides on the
// changes it reads from the window's view (report view also watches
// sizes and write times). Wine's change notifications are not recursive,
// and the watch asks for none: changes inside sub-folders are not seen.
#pragma once
#include <windows.h>

#include "browser/tree/shell_tree_messages.h"

class CWinThread;

// Sent by the watcher to the list: wParam is a buffer of MAX_PATH bytes the
// list fills with the shown folder's path (left as it is outside browse
// mode or without a folder); the result is 1.
const UINT WM_GET_CURRENT_FOLDER = 0x938A;

// The list's timer that runs the delayed refresh.
const UINT_PTR kFolderRefreshTimerId = 260;
const UINT kFolderRefreshDelayMs = 100;

// How long StopAllThreads waits for the watcher to end.
const DWORD kFolderWatchStopTimeoutMs = 6000;

// The watcher thread's function. The start block is a FolderWatchStart
// made with new; the thread takes it over and closes its event handles.
UINT FolderWatchThread(LPVOID startBlock);

struct FolderWatchStart {
    HANDLE stopEvent;
    HANDLE rearmEvent;
    HWND list;
};

class CFolderWatch {
public:
    CFolderWatch();
    // Stops the watcher as StopAllThreads does.
    ~CFolderWatch();
    CFolderWatch(const CFolderWatch&) = delete;
    CFolderWatch& operator=(const CFolderWatch&) = delete;

    // Starts the watcher for the list window unless one runs; false when it
    // cannot be started.
    bool Start(HWND list);
    // The shown folder changed: a refresh still pending for the old folder
    // is dropped, and the watcher asks for the folder again.
    void Rearm();
    // Ends the watcher, waiting for it at most kFolderWatchStopTimeoutMs
    // while answering messages sent to this thread. A thread that has not
    // ended by then is left to end by itself; it owns its own handles.
    void StopAllThreads();

    // WM_FOLDER_CONTENT_CHANGED: outside browse mode nothing; a watcher
    // notice (lParam 1) restarts the refresh timer. True when the caller
    // should rebuild the list at once (a notice from elsewhere in browse
    // mode).
    bool OnFolderChanged(LPARAM lParam);
    // Timer 260 fired: it is killed; while the thumbnail task is busy it is
    // armed again. True when the caller should refresh the list now.
    bool OnRefreshTimer();

    bool IsRefreshPending() const { return m_refreshPending != 0; }
    int GetWatchCount() const { return m_watchCount; }
    HANDLE GetThreadHandle() const;

private:
    void ArmRefreshTimer();

    HANDLE m_stopEvent;
    HANDLE m_rearmEvent;
    CWinThread* m_watchThreads[1];
    int m_watchCount;
    BYTE m_refreshPending;
    HWND m_list;
};
