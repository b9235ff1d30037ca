#include "toolkit/menus/menu_item_record.h"

#include <set>

namespace {

// Every live record; menus are used on the UI thread only.
std::set<CMenuItemRecord*>& LiveRecords()
{
    static std::set<CMenuItemRecord*> records;
    return records;
}

}  // namespace

CMenuItemRecord::CMenuItemRecord(HMENU menu) : m_menu(menu)
{
    LiveRecords().insert(this);
}

CMenuItemRecord::~CMenuItemRecord()
{
    LiveRecords().erase(this);
    if (m_icon)
        ::DestroyIcon(m_icon);
    SetShellMenu(nullptr);
}

CMenuItemRecord* CMenuItemRecord::FromData(ULONG_PTR data)
{
    CMenuItemRecord* record = reinterpret_cast<CMenuItemRecord*>(data);
    if (!record || !LiveRecords().count(record))
        return nullptr;
    return record->m_signature == kSignature ? record : nullptr;
}

void CMenuItemRecord::DeleteRecordsOfDestroyedMenus()
{
    std::set<CMenuItemRecord*> records = LiveRecords();
    for (CMenuItemRecord* record : records) {
        if (!::IsMenu(record->m_menu))
            delete record;
    }
}

void CMenuItemRecord::SetShellMenu(IContextMenu* shellMenu)
{
    if (shellMenu)
        shellMenu->AddRef();
    if (m_shellMenu)
        m_shellMenu->Release();
    m_shellMenu = shellMenu;
}

ULONG_PTR GetMenuItemData(HMENU menu, UINT item, BOOL byPosition)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    if (!::GetMenuItemInfoA(menu, item, byPosition, &info))
        return 0;
    return info.dwItemData;
}

void SetMenuItemData(HMENU menu, UINT item, BOOL byPosition, ULONG_PTR data)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    info.dwItemData = data;
    ::SetMenuItemInfoA(menu, item, byPosition, &info);
}
