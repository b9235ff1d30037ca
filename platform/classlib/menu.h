// CMenu: a menu handle with the menu calls the program makes.
#pragma once
#include <windows.h>

class CWnd;

class CMenu {
public:
    CMenu() = default;
    virtual ~CMenu();  // destroys an attached menu
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    // The object that owns the handle on this thread, else a temporary
    // wrapper deleted at idle time.
    static CMenu* FromHandle(HMENU menu);
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

    BOOL Attach(HMENU menu);
    HMENU Detach();

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL LoadMenu(LPCSTR resourceName);
    BOOL LoadMenu(UINT resourceId) { return LoadMenu(MAKEINTRESOURCEA(resourceId)); }
    BOOL DestroyMenu();

    UINT GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
    int GetMenuString(UINT item, LPSTR text, int maxCount, UINT flags) const
    {
        return ::GetMenuStringA(m_hMenu, item, text, maxCount, flags);
    }
    CMenu* GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }

    BOOL AppendMenu(UINT flags, UINT_PTR idNewItem = 0, LPCSTR newItem = nullptr)
    {
        return ::AppendMenuA(m_hMenu, flags, idNewItem, newItem);
    }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idNewItem = 0, LPCSTR newItem = nullptr)
    {
        return ::InsertMenuA(m_hMenu, position, flags, idNewItem, newItem);
    }
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idNewItem = 0, LPCSTR newItem = nullptr)
    {
        return ::ModifyMenuA(m_hMenu, position, flags, idNewItem, newItem);
    }
    BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
    BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
    UINT EnableMenuItem(UINT item, UINT enable) { return ::EnableMenuItem(m_hMenu, item, enable); }
    UINT CheckMenuItem(UINT item, UINT check) { return ::CheckMenuItem(m_hMenu, item, check); }
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags)
    {
        return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
    }
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE)
    {
        return ::SetMenuDefaultItem(m_hMenu, item, byPosition);
    }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* window, LPCRECT rect = nullptr);
};
