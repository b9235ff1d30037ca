#include "browser/shell/pidl.h"

#include <string.h>

#include "browser/shell/shell_pidl.h"
#include "core/shell_string.h"

namespace {

void FreeList(LPITEMIDLIST list)
{
    if (list)
        ::CoTaskMemFree(list);
}

LPITEMIDLIST CopyBytes(const void* bytes, UINT size, UINT terminatorAt)
{
    LPITEMIDLIST copy = (LPITEMIDLIST)::CoTaskMemAlloc(terminatorAt + sizeof(USHORT));
    if (!copy)
        return nullptr;
    memset(copy, 0, terminatorAt + sizeof(USHORT));
    memcpy(copy, bytes, size);
    return copy;
}

}  // namespace

CPIDL::~CPIDL()
{
    FreeList(m_list);
}

void CPIDL::Attach(LPITEMIDLIST list)
{
    if (list != m_list)
        FreeList(m_list);
    m_list = list;
}

LPITEMIDLIST CPIDL::Detach()
{
    LPITEMIDLIST list = m_list;
    m_list = nullptr;
    return list;
}

HRESULT CPIDL::Set(LPCSTR path, IShellFolder* folder)
{
    CShellPidl helper;
    LPITEMIDLIST list = nullptr;
    HRESULT result = helper.ParsePath(path, &list, folder);
    if (SUCCEEDED(result))
        Attach(list);
    return result;
}

HRESULT CPIDL::Set(IShellFolder* folder, LPCITEMIDLIST item)
{
    STRRET strret = {};
    HRESULT result = folder->GetDisplayNameOf(item, SHGDN_FORPARSING, &strret);
    if (FAILED(result))
        return result;
    StrRetToString(item, strret);
    return Set(strret.cStr, nullptr);
}

bool CPIDL::Split(LPITEMIDLIST* parent, LPITEMIDLIST* last) const
{
    *parent = nullptr;
    *last = nullptr;
    if (!m_list)
        return false;
    LPCITEMIDLIST lastItem = m_list;
    for (LPCITEMIDLIST item = m_list; item->mkid.cb; item = CShellPidl::NextItem(item))
        lastItem = item;
    UINT parentSize = (UINT)((const BYTE*)lastItem - (const BYTE*)m_list);
    *parent = CopyBytes(m_list, parentSize, parentSize);
    *last = CopyBytes(lastItem, lastItem->mkid.cb, lastItem->mkid.cb);
    if (*parent && *last)
        return true;
    FreeList(*parent);
    FreeList(*last);
    *parent = *last = nullptr;
    return false;
}

HRESULT CPIDL::GetUIObjectOf(REFIID riid, void** object, HWND owner)
{
    *object = nullptr;
    LPITEMIDLIST parent = nullptr;
    LPITEMIDLIST last = nullptr;
    if (!Split(&parent, &last))
        return E_FAIL;
    IShellFolder* desktop = nullptr;
    HRESULT result = ::SHGetDesktopFolder(&desktop);
    IShellFolder* folder = nullptr;
    if (SUCCEEDED(result)) {
        if (parent->mkid.cb)
            result = desktop->BindToObject(parent, nullptr, IID_IShellFolder, (void**)&folder);
        else
            (folder = desktop)->AddRef();
    }
    if (SUCCEEDED(result) && folder) {
        LPCITEMIDLIST item = last;
        result = folder->GetUIObjectOf(owner, 1, &item, riid, nullptr, object);
        folder->Release();
    }
    if (desktop)
        desktop->Release();
    FreeList(parent);
    FreeList(last);
    return result;
}
