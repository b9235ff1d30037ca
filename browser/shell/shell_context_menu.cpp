#include "browser/shell/shell_context_menu.h"

#include <string.h>

#include <algorithm>

#include "browser/shell/pidl.h"
#include "browser/shell/shell_pidl.h"
#include "browser/shell/shell_statics.h"
#include "core/res_string.h"
#include "resources/browser_ids.h"
#include "toolkit/dragdrop/dropped_files.h"
#include "toolkit/menus/cool_menu_manager.h"

namespace {

// The shell's placeholder popups, recognised by their only item's id.
const UINT kOpenWithIds[] = {20127, 20128};
const UINT kSendToPlaceholderId = 20028;
const char kOpenWithListKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";

CString ParsingName(IShellFolder* folder, LPCITEMIDLIST item)
{
    CShellPidl pidl;
    LPSTR name = nullptr;
    if (FAILED(pidl.GetName(item, &name, folder, SHGDN_FORPARSING)))
        return CString();
    CString text(name);
    pidl.FreeText(name);
    return text;
}

CString MenuItemText(HMENU menu, UINT position)
{
    char text[MAX_PATH] = {};
    ::GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return CString(text);
}

HICON SmallIconOf(LPCITEMIDLIST absolute)
{
    SHFILEINFOA info = {};
    ::SHGetFileInfoA((LPCSTR)absolute, 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_ICON | SHGFI_SMALLICON);
    return info.hIcon;
}

bool ReadRegistryText(HKEY key, LPCSTR name, CString& text)
{
    char buffer[MAX_PATH] = {};
    DWORD bytes = sizeof(buffer) - 1;
    DWORD type = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, (BYTE*)buffer, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    text = buffer;
    return true;
}

// The program path of an Open With entry and its display name, from
// "Applications\<program>\shell" under HKEY_CLASSES_ROOT.
bool ReadOpenWithProgram(LPCSTR program, CString& displayName, CString& programPath)
{
    HKEY shell = nullptr;
    CString keyName = CString("Applications\\") + program + "\\shell";
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName, 0, KEY_READ, &shell) != ERROR_SUCCESS)
        return false;
    ReadRegistryText(shell, "FriendlyCache", displayName);
    for (DWORD index = 0; programPath.IsEmpty(); ++index) {
        char verb[MAX_PATH];
        DWORD length = sizeof(verb);
        if (::RegEnumKeyExA(shell, index, verb, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY command = nullptr;
        if (::RegOpenKeyExA(shell, CString(verb) + "\\command", 0, KEY_READ, &command) != ERROR_SUCCESS)
            continue;
        CString text;
        if (ReadRegistryText(command, nullptr, text)) {
            char expanded[MAX_PATH] = {};
            ::ExpandEnvironmentStringsA(text, expanded, MAX_PATH);
            CString line(expanded);
            CString lower(line);
            CharLowerA((LPSTR)(LPCSTR)lower);
            int exe = lower.Find(".exe");
            if (exe >= 0) {
                programPath = line.Left(exe + 4);
                if (!programPath.IsEmpty() && programPath[0] == '"')
                    programPath = programPath.Mid(1);
            }
        }
        ::RegCloseKey(command);
    }
    ::RegCloseKey(shell);
    return !displayName.IsEmpty();
}

}  // namespace

CShellContextMenu::CShellContextMenu(CCoolMenuManager* menuManager, HWND owner, LPCSTR path, LPCITEMIDLIST* items,
                                     UINT count, IShellFolder* folder)
    : m_folder(folder), m_items(items, items + count), m_path(path), m_owner(owner), m_menuManager(menuManager)
{
    if (m_folder)
        m_folder->AddRef();
}

CShellContextMenu::~CShellContextMenu()
{
    if (m_contextMenu)
        m_contextMenu->Release();
    for (auto& target : m_sendToTargets)
        ::CoTaskMemFree(target.second);
    if (m_menuManager) {
        if (m_sendToMenu)
            m_menuManager->RestoreMenu(m_sendToMenu);
        for (HMENU menu : m_registeredMenus)
            m_menuManager->RestoreMenu(menu);
        SIZE old;
        m_menuManager->SetButtonSize(old, SIZE{0, 0});
    }
    if (m_folder)
        m_folder->Release();
}

HRESULT CShellContextMenu::Build(HMENU menu)
{
    if (m_path.IsEmpty() || !m_folder || m_items.empty())
        return S_FALSE;
    HRESULT result = m_folder->GetUIObjectOf(m_owner, (UINT)m_items.size(), m_items.data(), IID_IContextMenu,
                                             nullptr, (void**)&m_contextMenu);
    if (FAILED(result) || !m_contextMenu)
        return FAILED(result) ? result : E_FAIL;
    if (m_menuManager) {
        m_menuManager->RestoreMenu(menu);
        m_menuManager->SetShellContextMenu(m_contextMenu, kFirstShellId, kLastShellId);
    }
    if (::GetMenuItemCount(menu) > 0)
        ::DeleteMenu(menu, 0, MF_BYPOSITION);
    result = m_contextMenu->QueryContextMenu(menu, 0, kFirstShellId, kLastShellId, CMF_EXPLORE);
    if (FAILED(result))
        return result;
    ConvertOwnerDrawn(menu);
    ReplacePlaceholderPopups(menu);
    return S_OK;
}

void CShellContextMenu::ConvertOwnerDrawn(HMENU menu)
{
    if (!m_menuManager)
        return;
    int count = ::GetMenuItemCount(menu);
    bool registered = false;
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!::GetMenuItemInfoA(menu, position, TRUE, &info))
            continue;
        if (info.fType & MFT_OWNERDRAW) {
            CCoolMenuManager::ConvertMenuItem(menu, m_contextMenu, position);
            if (!registered)
                m_registeredMenus.push_back(menu);
            registered = true;
        }
        if (info.hSubMenu)
            ConvertOwnerDrawn(info.hSubMenu);
    }
}

void CShellContextMenu::ReplacePlaceholderPopups(HMENU menu)
{
    int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        HMENU popup = ::GetSubMenu(menu, position);
        if (!popup || ::GetMenuItemCount(popup) != 1)
            continue;
        UINT firstId = ::GetMenuItemID(popup, 0);
        if (firstId == kOpenWithIds[0] || firstId == kOpenWithIds[1]) {
            IContextMenu2* menu2 = nullptr;
            if (SUCCEEDED(m_contextMenu->QueryInterface(IID_IContextMenu2, (void**)&menu2)) && menu2) {
                menu2->HandleMenuMsg(WM_INITMENUPOPUP, (WPARAM)popup, MAKELPARAM(position, FALSE));
                menu2->Release();
            }
            int dot = m_path.ReverseFind('.');
            if (dot > m_path.ReverseFind('\\')) {
                AddOpenWithIcons(popup, (LPCSTR)m_path + dot);
                m_registeredMenus.push_back(popup);
            }
        } else if (firstId == kSendToPlaceholderId) {
            HMENU sendTo = ::CreatePopupMenu();
            if (!sendTo)
                continue;
            CString text = MenuItemText(menu, position);
            ::ModifyMenuA(menu, position, MF_BYPOSITION | MF_POPUP | MF_STRING, (UINT_PTR)sendTo, text);
            ::DestroyMenu(popup);
            m_sendToMenu = sendTo;
            LPITEMIDLIST sendToAbsolute = nullptr;
            if (ShellStatics().sendTo &&
                SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_SENDTO, &sendToAbsolute))) {
                UINT nextId = kFirstSendToId;
                FillSendTo(sendTo, ShellStatics().sendTo, sendToAbsolute, nextId);
                ::CoTaskMemFree(sendToAbsolute);
            }
        }
    }
}

void CShellContextMenu::SetIcon(HMENU menu, UINT item, BOOL byPosition, HICON icon)
{
    if (!icon)
        return;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    bool converted = m_menuManager && ::GetMenuItemInfoA(menu, item, byPosition, &info) &&
                     CMenuItemRecord::FromData(info.dwItemData);
    HICON old = converted ? m_menuManager->SetItemIcon(menu, item, byPosition, icon) : icon;
    if (old)
        ::DestroyIcon(old);
}

void CShellContextMenu::FillSendTo(HMENU menu, IShellFolder* folder, LPCITEMIDLIST folderAbsolute, UINT& nextId)
{
    CShellPidl pidl;
    std::vector<CShCMSort> entries;
    std::vector<HICON> folderIcons;
    IEnumIDList* items = nullptr;
    if (folder && folder->EnumObjects(m_owner, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items) == S_OK && items) {
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        while (nextId < kSendToIdLimit && items->Next(1, &item, &fetched) == S_OK && fetched == 1) {
            char name[MAX_PATH];
            pidl.GetFriendlyName(folder, item, SHGDN_NORMAL, name);
            LPCITEMIDLIST asked = item;
            ULONG attributes = SFGAO_FOLDER;
            folder->GetAttributesOf(1, &asked, &attributes);
            LPITEMIDLIST absolute = pidl.Concat(folderAbsolute, item);
            HICON icon = absolute ? SmallIconOf(absolute) : nullptr;
            if (attributes & SFGAO_FOLDER) {
                HMENU submenu = ::CreatePopupMenu();
                ::InsertMenuA(menu, (UINT)folderIcons.size(), MF_BYPOSITION | MF_POPUP | MF_STRING, (UINT_PTR)submenu,
                              name);
                folderIcons.push_back(icon);
                IShellFolder* subfolder = nullptr;
                if (FAILED(folder->BindToObject(item, nullptr, IID_IShellFolder, (void**)&subfolder)))
                    subfolder = nullptr;
                FillSendTo(submenu, subfolder, absolute, nextId);
                if (subfolder)
                    subfolder->Release();
                pidl.Free(absolute);
                pidl.Free(item);
            } else {
                entries.push_back(CShCMSort{item, icon, nextId++, CString(name), absolute});
            }
        }
        items->Release();
    }
    std::sort(entries.begin(), entries.end(), [folder](const CShCMSort& first, const CShCMSort& second) {
        HRESULT result = folder->CompareIDs(0, first.item, second.item);
        return SUCCEEDED(result) && (short)HRESULT_CODE(result) < 0;
    });
    for (CShCMSort& entry : entries) {
        ::AppendMenuA(menu, MF_STRING, entry.commandId, entry.name);
        m_sendToTargets[entry.commandId] = entry.absolute;
        pidl.Free(entry.item);
    }
    if (entries.empty() && folderIcons.empty() && nextId < kSendToIdLimit)
        ::AppendMenuA(menu, MF_STRING | MF_DISABLED | MF_GRAYED, nextId++, LoadResString(IDS_SENDTO_EMPTY));
    // The items drawn with their icons by the image menu manager.
    if (m_menuManager)
        m_menuManager->ConvertMenuOnce(menu);
    for (size_t position = 0; position < folderIcons.size(); ++position)
        SetIcon(menu, (UINT)position, TRUE, folderIcons[position]);
    for (CShCMSort& entry : entries)
        SetIcon(menu, entry.commandId, FALSE, entry.icon);
}

LPCITEMIDLIST CShellContextMenu::GetSendToTarget(UINT commandId) const
{
    auto found = m_sendToTargets.find(commandId);
    return found == m_sendToTargets.end() ? nullptr : found->second;
}

void CShellContextMenu::AddOpenWithIcons(HMENU popup, LPCSTR extension)
{
    HKEY list = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, CString(kOpenWithListKey) + extension + "\\OpenWithList", 0, KEY_READ,
                        &list) != ERROR_SUCCESS)
        return;
    CString order;
    ReadRegistryText(list, "MRUList", order);
    for (int index = 0; index < order.GetLength(); ++index) {
        char valueName[2] = {order[index], '\0'};
        CString program;
        CString displayName, programPath;
        if (!ReadRegistryText(list, valueName, program) || !ReadOpenWithProgram(program, displayName, programPath))
            continue;
        HICON icon = nullptr;
        if (!programPath.IsEmpty())
            ::ExtractIconExA(programPath, 0, nullptr, &icon, 1);
        int count = ::GetMenuItemCount(popup);
        for (int position = 0; position < count; ++position) {
            if (MenuItemText(popup, position).Compare(displayName) != 0)
                continue;
            if (m_menuManager)
                m_menuManager->ConvertMenuOnce(popup);
            SetIcon(popup, position, TRUE, icon);
            icon = nullptr;
            break;
        }
        if (icon)
            ::DestroyIcon(icon);
    }
    ::RegCloseKey(list);
}

void CShellContextMenu::SendToTarget(LPCITEMIDLIST target)
{
    CPIDL targetList;
    targetList.Attach(CShellPidl().Copy(target));
    IDropTarget* dropTarget = nullptr;
    IDataObject* data = nullptr;
    if (FAILED(targetList.GetUIObjectOf(IID_IDropTarget, (void**)&dropTarget, m_owner)) || !dropTarget)
        return;
    if (SUCCEEDED(m_folder->GetUIObjectOf(m_owner, (UINT)m_items.size(), m_items.data(), IID_IDataObject, nullptr,
                                          (void**)&data)) &&
        data) {
        POINTL point = {0, 0};
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        if (FAILED(dropTarget->DragEnter(data, MK_LBUTTON, point, &effect)) || effect == DROPEFFECT_NONE) {
            dropTarget->DragLeave();
        } else {
            effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
            dropTarget->Drop(data, MK_LBUTTON, point, &effect);
        }
        data->Release();
    }
    dropTarget->Release();
}

bool CShellContextMenu::PutItemsOnClipboard(DWORD effect)
{
    std::vector<CString> paths;
    for (LPCITEMIDLIST item : m_items) {
        CString path = ParsingName(m_folder, item);
        if (!path.IsEmpty())
            paths.push_back(path);
    }
    return !paths.empty() && PutFilesOnClipboard(m_owner, paths, effect);
}

void CShellContextMenu::Invoke(UINT commandId)
{
    if (commandId == 0)
        return;
    if (commandId >= kFirstSendToId && commandId <= kSendToIdLimit) {
        if (LPCITEMIDLIST target = GetSendToTarget(commandId))
            SendToTarget(target);
        return;
    }
    // The shell sets no "Preferred DropEffect" on a cut: the program puts
    // the items on the clipboard itself.
    if (commandId == kCutId || commandId == kCopyId) {
        PutItemsOnClipboard(commandId == kCutId ? DROPEFFECT_MOVE : DROPEFFECT_COPY);
        return;
    }
    if (!m_contextMenu)
        return;
    HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    // An owner-drawn item gives the shell back its own item data meanwhile.
    HMENU ownerDrawnMenu = nullptr;
    CMenuItemRecord* record = nullptr;
    for (HMENU menu : m_registeredMenus) {
        if (::GetMenuState(menu, commandId, MF_BYCOMMAND) != (UINT)-1) {
            ownerDrawnMenu = menu;
            record = CCoolMenuManager::ExchangeItemData(menu, commandId, nullptr, FALSE);
            break;
        }
    }
    CMINVOKECOMMANDINFO invoke = {};
    invoke.cbSize = sizeof(invoke);
    invoke.hwnd = m_owner;
    invoke.lpVerb = MAKEINTRESOURCEA((WORD)(commandId - kFirstShellId));
    invoke.nShow = SW_SHOWNORMAL;
    m_contextMenu->InvokeCommand(&invoke);
    if (ownerDrawnMenu && record)
        CCoolMenuManager::ExchangeItemData(ownerDrawnMenu, commandId, record, FALSE);
    ::SetCursor(previous);
}
