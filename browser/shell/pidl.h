// CPIDL: one owned absolute item id list, freed with the shell allocator
// when replaced and when the object ends.
#pragma once
#include <windows.h>
#include <shlobj.h>

class CPIDL {
public:
    CPIDL() = default;
    ~CPIDL();
    CPIDL(const CPIDL&) = delete;
    CPIDL& operator=(const CPIDL&) = delete;

    LPITEMIDLIST Get() const { return m_list; }
    // Takes ownership of the list, freeing the one held before.
    void Attach(LPITEMIDLIST list);
    LPITEMIDLIST Detach();

    // The path parsed on the folder (the desktop when null).
    HRESULT Set(LPCSTR path, IShellFolder* folder = nullptr);
    // The folder's item: its parsing name parsed again on the desktop.
    HRESULT Set(IShellFolder* folder, LPCITEMIDLIST item);
    // Copies of the parent's id list and of the last item.
    bool Split(LPITEMIDLIST* parent, LPITEMIDLIST* last) const;
    // GetUIObjectOf on the parent folder (the desktop for a top-level item)
    // for this one item.
    HRESULT GetUIObjectOf(REFIID riid, void** object, HWND owner);

private:
    LPITEMIDLIST m_list = nullptr;
};
