#include "platform/classlib/menu.h"
#include "platform/classlib/handlemap.h"
#include "platform/classlib/module_state.h"
#include "platform/classlib/wnd.h"

namespace {
struct MenuTraits {
    static CMenu* Wrap(HMENU menu)
    {
        CMenu* wrapper = new CMenu;
        wrapper->m_hMenu = menu;
        return wrapper;
    }
    static void Unwrap(CMenu* wrapper)
    {
        wrapper->m_hMenu = nullptr;
        delete wrapper;
    }
};
using MenuMap = HandleMap<HMENU, CMenu, MenuTraits>;
}  // namespace

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
    if (m_hMenu || !menu)
        return FALSE;
    m_hMenu = menu;
    MenuMap::ForThread().SetPermanent(menu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    if (menu)
        MenuMap::ForThread().RemovePermanent(menu);
    m_hMenu = nullptr;
    return menu;
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
