// CFileDialog: the system's open or save dialog. The filter is the class
// library's text of "description|pattern|" pairs closed by one more "|";
// m_ofn.nFilterIndex (1-based) chooses the first filter shown and, after
// DoModal, holds the one chosen.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "platform/classlib/cstring.h"

class CWnd;

class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension = nullptr, LPCSTR fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = nullptr,
                CWnd* parent = nullptr);
    virtual ~CFileDialog() = default;
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK with a name chosen, IDCANCEL when the user cancelled or the
    // dialog failed.
    virtual INT_PTR DoModal();

    // The chosen path, its file name with and without extension, and its
    // extension without the dot.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileTitle() const;
    CString GetFileExt() const;

    OPENFILENAMEA m_ofn;

protected:
    // While the dialog runs: the user chose another filter (m_ofn.nFilterIndex
    // holds it).
    virtual void OnTypeChange();
    // While the dialog runs: the text of its file-name box, and a new one.
    CString GetTypedName() const;
    void SetTypedName(LPCSTR name);

private:
    static UINT_PTR CALLBACK HookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);

    BOOL m_openFileDialog;
    std::vector<char> m_filter;
    CString m_defaultExtension;
    char m_fileBuffer[MAX_PATH];
    HWND m_dialog = nullptr;
};
