#include "platform/classlib/menu.h"
#include "platform/classlib/handlemap.h"
#include "platform/classlib/module_state.h"
#include "platform/classlib/wnd.h"

using MenuMap = HandleMap<HMENU, CMenu, MemberHandleTraits<HMENU, CMenu, CMenu, &CMenu::m_hMenu>>;

CMenu::~CMenu()
{
    DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu)
{
    return MenuMap::ForThread().FromHandle(menu);
}

BOOL CMenu::Attach(HMENU menu)
{
    return MenuMap::ForThread().AttachOwner(m_hMenu, menu, this);
}

HMENU CMenu::Detach()
{
    return MenuMap::ForThread().DetachOwner(m_hMenu, this);
}

BOOL CMenu::CreateMenu()
{
    return Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu()
{
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCSTR resourceName)
{
    return Attach(::LoadMenuA(AfxGetResourceHandle(), resourceName));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* window, LPCRECT rect)
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, window->GetSafeHwnd(), rect);
}
