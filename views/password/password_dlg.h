// CPassWordDlg: asks the user for the password of an encrypted drawing,
// showing the drawing's file name.
#pragma once
#include "platform/classlib/classlib.h"

class CPassWordDlg : public CDialog {
public:
    explicit CPassWordDlg(CWnd* parent = NULL);

    CString m_fileName;
    // The typed password after OK (it may be empty).
    CString m_password;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
};
