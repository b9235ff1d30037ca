// CShellPidl: helper for shell item id lists (PIDLs). It keeps the
// desktop folder and the shell allocator for its whole life; every id list
// it makes comes from that allocator and goes back to it through Free.
#pragma once
#include <windows.h>
#include <shlobj.h>

class CShellPidl {
public:
    CShellPidl();
    virtual ~CShellPidl();
    CShellPidl(const CShellPidl&) = delete;
    CShellPidl& operator=(const CShellPidl&) = delete;

    // The text of a STRRET as an ANSI string allocated with the shell
    // allocator (the caller frees it with FreeText); E_FAIL when the
    // allocation fails.
    virtual HRESULT StrRetToText(STRRET& strret, LPCITEMIDLIST item, LPSTR* text);
    // Parses a path on the folder (the desktop when null) into an absolute
    // id list owned by the caller.
    virtual HRESULT ParsePath(LPCSTR path, LPITEMIDLIST* absolute, IShellFolder* folder);
    // The item's display name (SHGDN_ flags) on the folder (the desktop
    // when null), as an ANSI text allocated with the shell allocator.
    virtual HRESULT GetName(LPCITEMIDLIST item, LPSTR* name, IShellFolder* folder, DWORD flags);

    // A zero-filled block; null on failure.
    LPITEMIDLIST Alloc(UINT size);
    // first without its terminator followed by second; either may be null.
    LPITEMIDLIST Concat(LPCITEMIDLIST first, LPCITEMIDLIST second);
    // The first item of the list as a one-item list.
    LPITEMIDLIST CopyItem(LPCITEMIDLIST list);
    LPITEMIDLIST Copy(LPCITEMIDLIST list);
    void Free(LPITEMIDLIST list);
    void FreeText(LPSTR text);
    int GetItemCount(LPCITEMIDLIST list) const;
    // For n >= 1 a copy of the n-th item (the last one when n is beyond the
    // end); for n = 0 a copy of the first.
    LPITEMIDLIST GetItemAt(LPCITEMIDLIST list, int n);
    // The display name of a relative id on the folder into a MAX_PATH buffer.
    bool GetFriendlyName(IShellFolder* folder, LPCITEMIDLIST item, DWORD flags, LPSTR name);
    // SHGetFileInfo's icon index of an absolute id list.
    int GetIcon(LPCITEMIDLIST absolute, UINT flags);
    // Column 0 of the folder (the desktop when null) says they are equal.
    bool IsEqual(LPCITEMIDLIST first, LPCITEMIDLIST second, IShellFolder* folder = nullptr);
    // The shell's context menu of one item at a screen point; 1 once the
    // menu was shown, 0 when it could not be made.
    int ShowContextMenu(HWND owner, IShellFolder* folder, LPCITEMIDLIST item, POINT screenPoint);

    // The byte size of a list, terminator included (0 for null).
    static UINT GetSize(LPCITEMIDLIST list);
    static LPCITEMIDLIST NextItem(LPCITEMIDLIST item);

protected:
    IShellFolder* m_desktop = nullptr;
    IMalloc* m_malloc = nullptr;
    BYTE m_flags[3] = {0, 0, 0};
};
