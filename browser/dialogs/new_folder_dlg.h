// CNewFolderDlg: asks for the name of a new folder inside a parent folder,
// suggesting the first free name, and creates it.
#pragma once
#include "platform/classlib/classlib.h"

class CNewFolderDlg : public CDialog {
public:
    // The suggested name is baseName, or "baseName (n)" with the smallest n
    // whose folder does not exist yet (empty after 999).
    CNewFolderDlg(LPCSTR parentFolder, LPCSTR baseName, CWnd* parent = NULL);

    // After OK: the folder that was created.
    CString GetFolderPath() const { return m_parentFolder + m_folderName; }

    // Always ends with a backslash.
    CString m_parentFolder;
    CString m_folderName;

    static const int kMaxNameLength = 256;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// The first of base, "base (1)", "base (2)" ... that names no folder in the
// parent (which ends with a backslash); empty when none up to 999 is free.
CString SuggestNewFolderName(const CString& parentFolder, LPCSTR baseName);

// True when the text can name one folder inside another: not empty, no
// path separator or drive, not "." or "..", none of the characters the
// file system refuses, and no trailing dot or space.
bool IsPlainFolderName(const CString& name);
