// CShellContextMenu: the shell's context menu of one or more items of a
// folder, merged into a popup menu of the program. The shell's commands
// get ids 20000 to 29999 (verb offset = id - 20000); the Send To submenu is
// rebuilt from the Send To folder with ids from 30000, below 32000; the
// Open With entries get their programs' icons. With an image menu manager,
// owner-drawn shell items are measured and drawn by the shell through it.
//
// Cut (20024) and copy (20025) put the items on the clipboard as dropped
// files with a "Preferred DropEffect" (move for cut), so that a paste of
// cut files moves them.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <map>
#include <vector>

#include "platform/classlib/cstring.h"

class CCoolMenuManager;

// One entry of a Send To level while it is sorted.
struct CShCMSort {
    LPITEMIDLIST item;
    HICON icon;
    UINT commandId;
    CString name;
    LPITEMIDLIST absolute;
};

class CShellContextMenu {
public:
    static constexpr UINT kFirstShellId = 20000;
    static constexpr UINT kLastShellId = 29999;
    static constexpr UINT kFirstSendToId = 30000;
    static constexpr UINT kSendToIdLimit = 32000;
    static constexpr UINT kCutId = 20024;
    static constexpr UINT kCopyId = 20025;

    // The items (relative ids of the folder, kept by the caller while this
    // object lives); path is the first item's parsing path. The manager may
    // be null: the menu then stays as the shell made it.
    CShellContextMenu(CCoolMenuManager* menuManager, HWND owner, LPCSTR path, LPCITEMIDLIST* items, UINT count,
                      IShellFolder* folder);
    ~CShellContextMenu();
    CShellContextMenu(const CShellContextMenu&) = delete;
    CShellContextMenu& operator=(const CShellContextMenu&) = delete;

    // Fills the popup (its first item, a placeholder, is removed) with the
    // shell's commands; the shell's error when it has no menu.
    HRESULT Build(HMENU menu);
    // Runs the chosen command; nothing for 0.
    void Invoke(UINT commandId);

    // Fills a Send To level from the folder (absolute id given) with ids
    // from nextId on, subfolders as submenus; a level without entries gets
    // a disabled "(empty)".
    void FillSendTo(HMENU menu, IShellFolder* folder, LPCITEMIDLIST folderAbsolute, UINT& nextId);
    // The Send To target of a command id, null when there is none.
    LPCITEMIDLIST GetSendToTarget(UINT commandId) const;

private:
    void ConvertOwnerDrawn(HMENU menu);
    void ReplacePlaceholderPopups(HMENU menu);
    void AddOpenWithIcons(HMENU popup, LPCSTR extension);
    void SendToTarget(LPCITEMIDLIST target);
    bool PutItemsOnClipboard(DWORD effect);
    void SetIcon(HMENU menu, UINT item, BOOL byPosition, HICON icon);

    IContextMenu* m_contextMenu = nullptr;
    IShellFolder* m_folder;
    std::vector<LPCITEMIDLIST> m_items;
    CString m_path;
    HWND m_owner;
    HMENU m_sendToMenu = nullptr;
    std::vector<HMENU> m_registeredMenus;
    std::map<UINT, LPITEMIDLIST> m_sendToTargets;
    CCoolMenuManager* m_menuManager;
};
