// CShellDetails: the detail columns of a folder's items.
#pragma once
#include <windows.h>
#include <shlobj.h>

class CShellDetails {
public:
    // Keeps a reference to the folder.
    explicit CShellDetails(IShellFolder* folder);
    ~CShellDetails();
    CShellDetails(const CShellDetails&) = delete;
    CShellDetails& operator=(const CShellDetails&) = delete;

    // Through IShellFolder2, else IShellDetails; E_FAIL without a folder.
    HRESULT GetDetailsOf(LPCITEMIDLIST item, UINT column, SHELLDETAILS* details);

private:
    IShellFolder* m_folder;
};
