#include "platform/classlib/file_dialog.h"

#include <string.h>

#include "platform/classlib/dialog.h"

CFileDialog::CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags,
                         LPCSTR filter, CWnd* parent)
    : m_openFileDialog(openFileDialog)
{
    memset(&m_ofn, 0, sizeof(m_ofn));
    m_fileBuffer[0] = '\0';
    if (fileName)
        lstrcpynA(m_fileBuffer, fileName, sizeof(m_fileBuffer));
    // The system wants the pairs separated by zeros and closed by two.
    if (filter) {
        for (const char* at = filter; *at; ++at)
            m_filter.push_back(*at == '|' ? '\0' : *at);
        m_filter.push_back('\0');
        m_filter.push_back('\0');
    }
    if (defaultExtension)
        m_defaultExtension = defaultExtension;
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = AfxGetModalOwner(parent);
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.data();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_fileBuffer;
    m_ofn.nMaxFile = sizeof(m_fileBuffer);
    m_ofn.lpstrDefExt = defaultExtension ? (LPCSTR)m_defaultExtension : nullptr;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING;
    m_ofn.lpfnHook = HookProc;
    m_ofn.lCustData = (LPARAM)this;
}

INT_PTR CFileDialog::DoModal()
{
    BOOL chosen = m_openFileDialog ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    m_dialog = nullptr;
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    return CString(m_fileBuffer);
}

CString CFileDialog::GetFileName() const
{
    const char* name = m_fileBuffer;
    for (const char* at = m_fileBuffer; *at; at = CharNextA(at)) {
        if (*at == '\\' || *at == '/' || *at == ':')
            name = at + 1;
    }
    return CString(name);
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

void CFileDialog::OnTypeChange() {}

CString CFileDialog::GetTypedName() const
{
    char name[MAX_PATH] = "";
    if (m_dialog)
        SendMessageA(m_dialog, CDM_GETSPEC, sizeof(name), (LPARAM)name);
    return CString(name);
}

void CFileDialog::SetTypedName(LPCSTR name)
{
    if (!m_dialog)
        return;
    // The name box is a combo box in today's dialogs, an edit in older ones.
    int nameBox = GetDlgItem(m_dialog, cmb13) ? cmb13 : edt1;
    SendMessageA(m_dialog, CDM_SETCONTROLTEXT, nameBox, (LPARAM)name);
}

// The hook is a child of the dialog; its notifications carry the dialog's
// record, whose lCustData is the CFileDialog.
UINT_PTR CALLBACK CFileDialog::HookProc(HWND hook, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        CFileDialog* self = (CFileDialog*)((OPENFILENAMEA*)lParam)->lCustData;
        self->m_dialog = GetParent(hook);
        return 0;
    }
    if (message != WM_NOTIFY)
        return 0;
    OFNOTIFYA* notify = (OFNOTIFYA*)lParam;
    if (notify->hdr.code == CDN_TYPECHANGE && notify->lpOFN) {
        CFileDialog* self = (CFileDialog*)notify->lpOFN->lCustData;
        self->m_ofn.nFilterIndex = notify->lpOFN->nFilterIndex;
        self->OnTypeChange();
    }
    return 0;
}
