// CDataExchange and the DDX_ functions: moving values between a dialog's
// controls and its members (CDialog::DoDataExchange).
#pragma once
#include <windows.h>
#include "platform/classlib/cstring.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    // TRUE: controls to members (with checks); FALSE: members to controls.
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    // Set by Fail; the remaining exchanges of the pass are skipped.
    BOOL m_bFailed = FALSE;

    // The control of the id, remembered as the one a failure points at.
    HWND PrepareCtrl(int id);
    // A value did not pass: the last prepared control gets the focus (and
    // an edit control its text selected).
    void Fail();

private:
    HWND m_hWndLastControl = nullptr;
};

void DDX_Text(CDataExchange* exchange, int id, CString& value);
// Whole numbers; text that is not one tells the user and fails the pass.
void DDX_Text(CDataExchange* exchange, int id, int& value);
void DDX_Text(CDataExchange* exchange, int id, UINT& value);
// A check box: 0 clear, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* exchange, int id, int& value);
// A group of radio buttons starting at id: the index of the checked one,
// -1 for none.
void DDX_Radio(CDataExchange* exchange, int id, int& value);
// Subclasses the control with the object (once).
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);

