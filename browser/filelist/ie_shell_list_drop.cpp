// Files dragged onto the file list: where a drop may land (a writable folder
// row, or the background for the shown folder), and the menu that asks what
// a drop made with the right mouse button should do.
#include "browser/filelist/ie_shell_list_ctrl.h"

#include "resources/browser_ids.h"

namespace {

// The menu of a drop made with the right button, at the cursor; the effect
// the user picked, none when the menu was cancelled.
DWORD AskDropEffect(HWND owner)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_DROP_MENU))
        return DROPEFFECT_NONE;
    HMENU popup = ::GetSubMenu(menu.m_hMenu, 0);
    if (!popup)
        return DROPEFFECT_NONE;
    ::SetMenuDefaultItem(popup, ID_DROP_MOVE_HERE, FALSE);
    POINT at;
    ::GetCursorPos(&at);
    UINT command = ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                                    at.y, 0, owner, nullptr);
    if (command == ID_DROP_MOVE_HERE)
        return DROPEFFECT_MOVE;
    if (command == ID_DROP_COPY_HERE)
        return DROPEFFECT_COPY;
    return DROPEFFECT_NONE;
}

}  // namespace

BOOL CIEShellListCtrl::CanDropAt(CWnd* window, int x, int y)
{
    CString path = m_folderPath;
    if (window) {
        LVHITTESTINFO hit = {};
        hit.pt.x = x;
        hit.pt.y = y;
        int row = (int)SendMessage(LVM_HITTEST, 0, (LPARAM)&hit);
        if (row >= 0) {
            CShellItemData* record = (CShellItemData*)GetItemExtData(row);
            if (!record || !record->pidlAbsolute) {
                SetCursor(LoadCursor(nullptr, IDC_NO));
                return FALSE;
            }
            path = record->GetPath();
        }
    }
    if (path.GetLength() < 3)
        return FALSE;
    DWORD attributes = GetFileAttributesA(path);
    bool writableFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                          !(attributes & FILE_ATTRIBUTE_READONLY);
    SetCursor(LoadCursor(nullptr, writableFolder ? IDC_ARROW : IDC_NO));
    return writableFolder;
}

void CIEShellListCtrl::OnDragRightButton(const std::vector<CString>& names, DWORD)
{
    DWORD effect = AskDropEffect(m_hWnd);
    if (effect == DROPEFFECT_NONE)
        ClearDropHighlight();
    else
        DropFiles(names, effect);
}
