#include "browser/shell/shell_pidl.h"

#include <stdio.h>
#include <string.h>

#include "core/res_string.h"
#include "core/shell_string.h"
#include "resources/browser_ids.h"

namespace {

// The verb offset of a command from QueryContextMenu with first id 1.
const UINT kFirstSimpleMenuId = 1;
const UINT kLastSimpleMenuId = 32767;

void ShowFailure(HWND owner, UINT formatId, HRESULT result)
{
    char text[128];
    snprintf(text, sizeof(text), (LPCSTR)LoadResString(formatId), (unsigned long)(ULONG)result);
    ::MessageBoxA(owner, text, nullptr, MB_OK);
}

}  // namespace

CShellPidl::CShellPidl()
{
    if (FAILED(::SHGetDesktopFolder(&m_desktop)))
        m_desktop = nullptr;
    if (FAILED(::SHGetMalloc(&m_malloc)))
        m_malloc = nullptr;
}

CShellPidl::~CShellPidl()
{
    if (m_desktop)
        m_desktop->Release();
    if (m_malloc)
        m_malloc->Release();
}

UINT CShellPidl::GetSize(LPCITEMIDLIST list)
{
    if (!list)
        return 0;
    UINT size = sizeof(list->mkid.cb);
    for (LPCITEMIDLIST item = list; item->mkid.cb; item = NextItem(item))
        size += item->mkid.cb;
    return size;
}

LPCITEMIDLIST CShellPidl::NextItem(LPCITEMIDLIST item)
{
    return (LPCITEMIDLIST)((const BYTE*)item + item->mkid.cb);
}

LPITEMIDLIST CShellPidl::Alloc(UINT size)
{
    if (!m_malloc)
        return nullptr;
    void* block = m_malloc->Alloc(size);
    if (block)
        memset(block, 0, size);
    return (LPITEMIDLIST)block;
}

void CShellPidl::Free(LPITEMIDLIST list)
{
    if (list && m_malloc)
        m_malloc->Free(list);
}

void CShellPidl::FreeText(LPSTR text)
{
    if (text && m_malloc)
        m_malloc->Free(text);
}

LPITEMIDLIST CShellPidl::Concat(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    UINT firstSize = first ? GetSize(first) - sizeof(first->mkid.cb) : 0;
    UINT secondSize = second ? GetSize(second) : sizeof(USHORT);
    LPITEMIDLIST joined = Alloc(firstSize + secondSize);
    if (!joined)
        return nullptr;
    if (first)
        memcpy(joined, first, firstSize);
    if (second)
        memcpy((BYTE*)joined + firstSize, second, secondSize);
    return joined;
}

LPITEMIDLIST CShellPidl::CopyItem(LPCITEMIDLIST list)
{
    UINT itemSize = list ? list->mkid.cb : 0;
    LPITEMIDLIST copy = Alloc(itemSize + sizeof(USHORT));
    if (copy && itemSize)
        memcpy(copy, list, itemSize);
    return copy;
}

LPITEMIDLIST CShellPidl::Copy(LPCITEMIDLIST list)
{
    UINT size = list ? GetSize(list) : sizeof(USHORT);
    LPITEMIDLIST copy = Alloc(size);
    if (copy && list)
        memcpy(copy, list, size);
    return copy;
}

int CShellPidl::GetItemCount(LPCITEMIDLIST list) const
{
    int count = 0;
    for (LPCITEMIDLIST item = list; item && item->mkid.cb; item = NextItem(item))
        ++count;
    return count;
}

LPITEMIDLIST CShellPidl::GetItemAt(LPCITEMIDLIST list, int n)
{
    if (!list)
        return CopyItem(nullptr);
    LPCITEMIDLIST item = list;
    for (int index = 1; index < n; ++index) {
        LPCITEMIDLIST next = NextItem(item);
        if (!item->mkid.cb || !next->mkid.cb)
            break;
        item = next;
    }
    return CopyItem(item);
}

HRESULT CShellPidl::StrRetToText(STRRET& strret, LPCITEMIDLIST item, LPSTR* text)
{
    *text = nullptr;
    StrRetToString(item, strret);
    UINT length = (UINT)strlen(strret.cStr);
    LPSTR copy = m_malloc ? (LPSTR)m_malloc->Alloc(length + 1) : nullptr;
    if (!copy)
        return E_FAIL;
    memcpy(copy, strret.cStr, length + 1);
    *text = copy;
    return S_OK;
}

HRESULT CShellPidl::ParsePath(LPCSTR path, LPITEMIDLIST* absolute, IShellFolder* folder)
{
    *absolute = nullptr;
    WCHAR widePath[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    widePath[MAX_PATH - 1] = 0;
    IShellFolder* desktop = nullptr;
    if (!folder) {
        HRESULT result = ::SHGetDesktopFolder(&desktop);
        if (FAILED(result))
            return result;
        folder = desktop;
    }
    ULONG eaten = 0;
    HRESULT result = folder->ParseDisplayName(nullptr, nullptr, widePath, &eaten, absolute, nullptr);
    if (desktop)
        desktop->Release();
    return result;
}

HRESULT CShellPidl::GetName(LPCITEMIDLIST item, LPSTR* name, IShellFolder* folder, DWORD flags)
{
    *name = nullptr;
    IShellFolder* source = folder ? folder : m_desktop;
    if (!source)
        return E_FAIL;
    STRRET strret = {};
    HRESULT result = source->GetDisplayNameOf(item, flags, &strret);
    if (FAILED(result))
        return result;
    return StrRetToText(strret, item, name);
}

bool CShellPidl::GetFriendlyName(IShellFolder* folder, LPCITEMIDLIST item, DWORD flags, LPSTR name)
{
    name[0] = '\0';
    STRRET strret = {};
    if (!folder || FAILED(folder->GetDisplayNameOf(item, flags, &strret)))
        return false;
    if (!StrRetToString(item, strret))
        return false;
    lstrcpynA(name, strret.cStr, MAX_PATH);
    return true;
}

int CShellPidl::GetIcon(LPCITEMIDLIST absolute, UINT flags)
{
    SHFILEINFOA info = {};
    ::SHGetFileInfoA((LPCSTR)absolute, 0, &info, sizeof(info), flags | SHGFI_PIDL);
    if (info.hIcon && (flags & SHGFI_ICON))
        ::DestroyIcon(info.hIcon);
    return info.iIcon;
}

bool CShellPidl::IsEqual(LPCITEMIDLIST first, LPCITEMIDLIST second, IShellFolder* folder)
{
    IShellFolder* source = folder ? folder : m_desktop;
    if (!first || !second || !source)
        return false;
    HRESULT result = source->CompareIDs(0, first, second);
    return HRESULT_CODE(result) == 0;
}

int CShellPidl::ShowContextMenu(HWND owner, IShellFolder* folder, LPCITEMIDLIST item, POINT screenPoint)
{
    IContextMenu* menu = nullptr;
    HRESULT result = folder->GetUIObjectOf(owner, 1, &item, IID_IContextMenu, nullptr, (void**)&menu);
    if (FAILED(result) || !menu) {
        ShowFailure(owner, IDS_GETUIOBJECTOF_FAILED, result);
        return 0;
    }
    HMENU popup = ::CreatePopupMenu();
    if (!popup || FAILED(menu->QueryContextMenu(popup, 0, kFirstSimpleMenuId, kLastSimpleMenuId, CMF_EXPLORE))) {
        if (popup)
            ::DestroyMenu(popup);
        menu->Release();
        return 0;
    }
    UINT command = ::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0,
                                    owner, nullptr);
    if (command) {
        CMINVOKECOMMANDINFO invoke = {};
        invoke.cbSize = sizeof(invoke);
        invoke.hwnd = owner;
        invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstSimpleMenuId);
        invoke.nShow = SW_SHOWNORMAL;
        result = menu->InvokeCommand(&invoke);
        if (FAILED(result))
            ShowFailure(owner, IDS_INVOKECOMMAND_FAILED, result);
    }
    ::DestroyMenu(popup);
    menu->Release();
    return 1;
}
