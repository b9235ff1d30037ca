// The record an image menu attaches to each owner-drawn item as its item
// data: the item's text and type, its image, and the data the item had
// before. Its first 32 bits are the signature "mid0".
//
// Only records made here count as records: a value is looked up among the
// live records before it is read, so the item data of another owner-draw
// client (often no pointer at all) is never dereferenced.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <stdint.h>

#include "platform/classlib/classlib.h"

class CMenuItemRecord {
public:
    static const uint32_t kSignature = 0x3064696D;  // "mid0"
    // Image values besides an index into the manager's image list.
    static const int kNoImage = -1;
    static const int kIconImage = -2;

    // A new record of the menu's item, registered as live.
    explicit CMenuItemRecord(HMENU menu);
    // Destroys the icon and releases the shell menu.
    ~CMenuItemRecord();
    CMenuItemRecord(const CMenuItemRecord&) = delete;
    CMenuItemRecord& operator=(const CMenuItemRecord&) = delete;

    // The record that the item data is, or null when it is none.
    static CMenuItemRecord* FromData(ULONG_PTR data);
    // Deletes the records whose menus no longer exist.
    static void DeleteRecordsOfDestroyedMenus();

    // Takes a reference to the shell menu (null drops the held one).
    void SetShellMenu(IContextMenu* shellMenu);

    uint32_t m_signature = kSignature;
    CString m_text;
    UINT m_type = 0;
    int m_image = kNoImage;
    HICON m_icon = nullptr;
    ULONG_PTR m_savedData = 0;
    IContextMenu* m_shellMenu = nullptr;
    // The menu the record was made for (records of destroyed menus are
    // swept away).
    HMENU m_menu;
};

// Item data read and written by position (or by command id).
ULONG_PTR GetMenuItemData(HMENU menu, UINT item, BOOL byPosition);
void SetMenuItemData(HMENU menu, UINT item, BOOL byPosition, ULONG_PTR data);
