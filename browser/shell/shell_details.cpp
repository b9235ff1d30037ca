#include "browser/shell/shell_details.h"

CShellDetails::CShellDetails(IShellFolder* folder) : m_folder(folder)
{
    if (m_folder)
        m_folder->AddRef();
}

CShellDetails::~CShellDetails()
{
    if (m_folder)
        m_folder->Release();
}

HRESULT CShellDetails::GetDetailsOf(LPCITEMIDLIST item, UINT column, SHELLDETAILS* details)
{
    if (!m_folder)
        return E_FAIL;
    IShellFolder2* folder2 = nullptr;
    if (SUCCEEDED(m_folder->QueryInterface(IID_IShellFolder2, (void**)&folder2)) && folder2) {
        HRESULT result = folder2->GetDetailsOf(item, column, details);
        folder2->Release();
        return result;
    }
    IShellDetails* shellDetails = nullptr;
    HRESULT result = m_folder->QueryInterface(IID_IShellDetails, (void**)&shellDetails);
    if (FAILED(result) || !shellDetails)
        return result;
    result = shellDetails->GetDetailsOf(item, column, details);
    shellDetails->Release();
    return result;
}
