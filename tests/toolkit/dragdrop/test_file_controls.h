// A file list and a folder tree over real folders, each in a top-level
// window of its own, and a mouse that drags from one point of the screen to
// another with real input, for the drag-and-drop tests.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "toolkit/dragdrop/drag_drop_list.h"
#include "toolkit/dragdrop/drag_drop_tree.h"

// The list shows the files and folders of one folder, by name.
class CTestFileList : public CDragDropList {
public:
    bool CreateIn(CWnd* parent, const std::string& folder);
    void Fill();
    int FindItem(const char* name) const;
    CString GetItemPath(int index) override;
    CString GetCurrentFolderPath() override { return CString(m_folder.c_str()); }
    // A drop lands on folder items and on the background only.
    BOOL CanDropAt(CWnd* window, int x, int y) override;

private:
    std::string m_folder;
};

// The tree's items are folders given by path, one level.
class CTestFolderTree : public CDragDropTree {
public:
    bool CreateIn(CWnd* parent);
    HTREEITEM AddFolder(const std::string& path);
    bool GetSelectedFolderPath(CString& path) override;
    bool GetDropTargetFolderPath(CString& path) override;
    BOOL CanDropAt(CWnd* window, int x, int y) override;
    bool GetItemFolderPath(HTREEITEM item, CString& path, bool& isFolder) override;
    int m_dragsDone = 0;
    void OnDragDone() override { ++m_dragsDone; }

private:
    std::vector<std::string> m_paths;
};

// A visible top-level window at the given screen rectangle.
class CTestHostWindow : public CWnd {
public:
    bool CreateAt(int x, int y, int width, int height);
};

// Presses the left (or the right) button at from, moves in steps to to and
// releases it there, from a thread of its own (the calling thread keeps
// pumping its messages, which runs the drag loop). The keys (virtual-key
// codes) are held over the target until after the release. Wine replaces
// the key state with the display's, where these keys are up, whenever the
// pointer enters another window, and that can come late on a loaded
// machine; so while the keys are meant to be held, the calling thread's key
// state is kept with them down from a timer that its drag loop runs.
class CMouseDrag {
public:
    CMouseDrag(POINT from, POINT to, std::vector<WORD> keys = {}, bool rightButton = false);
    ~CMouseDrag();
    // Pumps messages until the drag has been played; false after timeout.
    bool Play(DWORD timeoutMs = 10000);

private:
    static DWORD WINAPI Run(void* self);
    static VOID CALLBACK KeepKeysDown(HWND, UINT, UINT_PTR, DWORD);
    POINT m_from;
    POINT m_to;
    std::vector<WORD> m_keys;
    bool m_rightButton;
    std::atomic<bool> m_keysHeld{false};
    HANDLE m_thread = nullptr;
};

// The screen point of a client point of a window.
POINT ScreenPointOf(HWND window, POINT client);
