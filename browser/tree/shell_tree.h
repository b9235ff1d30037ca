// CShellTree: the folder tree of the shell namespace. The desktop's folders
// form the top level; a folder's subfolders are read when it is expanded.
// Selecting a folder shows it in the file list 200 ms after the last
// change; one watcher thread per fixed, network or RAM drive keeps the
// expanded branches in step with folders made, renamed or deleted on disk.
// The drive mapped to the Unix root is not watched as a whole; one more
// watcher waits on each expanded folder alone, of every drive, since Wine's
// drive watch sees no change below the drive's own folder.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "browser/shell/shell_pidl.h"
#include "browser/tree/expanded_folder_watch.h"
#include "browser/tree/shell_tree_messages.h"
#include "toolkit/dragdrop/drag_drop_tree.h"

class CShellTree : public CDragDropTree, public CShellPidl {
    DECLARE_DYNAMIC(CShellTree)
public:
    // At most this many drive watchers run.
    static const int kMaxWatchers = 32;

    CShellTree();
    ~CShellTree() override;

    void PopulateRoot();
    // An empty path or another path than the stored one becomes the start
    // folder, to be opened; the stored one again changes nothing.
    void SetStartFolder(LPCSTR path);
    // With "StartPreviousFolder" on, the last viewed folder.
    bool SetStartFolderFromPrefs();
    // Opens a start folder stored since the last call.
    bool OpenStartFolder();
    // Expands the tree down to the folder and selects it; a folder that is
    // not in the tree shows a message.
    bool FindPath(LPCSTR path);
    void SetListWindow(HWND list) { m_listWindow = list; }

    bool GetSelectedFolderPath(CString& path) override;
    bool GetDropTargetFolderPath(CString& path) override;
    bool GetItemFolderPath(HTREEITEM item, CString& path, bool& isFolder) override;
    // The item under the point of a tree or a list must be a writable
    // folder; sets the cursor to say so.
    BOOL CanDropAt(CWnd* window, int x, int y) override;
    void OnDragDone() override { RefreshSelectedBranch(); }
    // Posts WM_DRIVE_CHANGED to the tree itself.
    virtual void RefreshSelectedBranch();
    // Renames the item's folder on disk.
    virtual bool RenameItem(HTREEITEM item, LPCSTR newName);

    bool HasParentFolder();
    bool SelectParentFolder();
    bool MoveFolder(CWnd* owner, LPCITEMIDLIST source, LPCITEMIDLIST target);
    bool CopyFolder(CWnd* owner, LPCITEMIDLIST source, LPCITEMIDLIST target);

    // The browse frame forwards WM_DEVICECHANGE: a drive or medium that came
    // or went re-syncs the tree and the list 1500 ms after the last event.
    LRESULT OnDeviceChange(WPARAM event, LPARAM data);

    // Starts a watcher of the root's folders (nothing when 32 run).
    void StartDriveWatcher(LPCSTR root);
    // Starts the watcher of the expanded folders unless it runs; it takes
    // one of the 32 places.
    void StartExpandedFolderWatcher();
    // Ends every watcher: signals them and waits, bounded, for each.
    void StopDriveWatchers();
    int GetWatcherCount() const { return m_watcherCount; }

protected:
    void PreSubclassWindow() override;
    afx_msg void OnItemExpanding(NMHDR* header, LRESULT* result);
    afx_msg void OnItemExpanded(NMHDR* header, LRESULT* result);
    afx_msg void OnRClick(NMHDR* header, LRESULT* result);
    afx_msg void OnEndLabelEdit(NMHDR* header, LRESULT* result);
    afx_msg void OnDeleteItem(NMHDR* header, LRESULT* result);
    afx_msg void OnSelChanged(NMHDR* header, LRESULT* result);
    afx_msg void OnGetDispInfo(NMHDR* header, LRESULT* result);
    afx_msg void OnDestroy();
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnSelectPath(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDriveChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Starts a watcher for every fixed, network or RAM drive.
    void ReadDrives();
    void FillChildren(IShellFolder* folder, LPCITEMIDLIST parentFull, HTREEITEM parent);
    HTREEITEM InsertFolderItem(IShellFolder* folder, LPCITEMIDLIST parentFull, LPCITEMIDLIST item, ULONG attributes,
                               HTREEITEM parent, HTREEITEM after, bool* failed);
    void DeleteChildren(HTREEITEM parent);
    void SortChildren(HTREEITEM parent);
    void SyncBranch(HTREEITEM item);
    // Hands the expanded folders to their watcher.
    void WatchExpandedFolders();
    void CollectExpandedFolders(HTREEITEM first, std::vector<std::string>& folders);
    // The item whose full id list equals the list, searched depth first.
    HTREEITEM FindItemWithId(HTREEITEM from, LPCITEMIDLIST full);
    // Appends the index-th item of full to the prefix (replaced) and finds
    // the tree item of the longer prefix.
    HTREEITEM ExtendPrefixAndFind(LPITEMIDLIST& prefix, LPCITEMIDLIST full, int index);
    void ShowFolderLater(CShellTreeItemData* data);
    bool GetPathOfItem(HTREEITEM item, CString& path, bool writableFolderOnly);
    bool RunFolderOperation(CWnd* owner, UINT operation, LPCITEMIDLIST source, LPCITEMIDLIST target);
    static int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM unused);
    static DWORD WINAPI DriveWatchThread(void* parameter);

    bool m_newerSystem;
    bool m_driveTimerPending;
    CString m_startFolder;
    bool m_startFolderChanged;
    CShellTreeItemData* m_pendingFolder;
    bool m_notificationsOff;
    HWND m_listWindow;
    HANDLE m_watchers[kMaxWatchers];
    HANDLE m_stopEvents[kMaxWatchers];
    int m_watcherCount;
    // The expanded folders' watcher runs.
    bool m_expandedWatching;
    CExpandedFolderWatch m_expandedWatch;
};
