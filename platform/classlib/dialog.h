// CDialog: a dialog box from a dialog template resource, modal (DoModal,
// with the owner disabled while it runs) or modeless (Create).
#pragma once
#include "platform/classlib/dataexchange.h"
#include "platform/classlib/wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(LPCSTR templateName, CWnd* parent = nullptr);

    // Runs the dialog until EndDialog; returns EndDialog's result, or -1
    // when the template is missing or the window cannot be created.
    virtual INT_PTR DoModal();
    // Creates a modeless dialog; FALSE when the template or window is missing.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL Create(LPCSTR templateName, CWnd* parent = nullptr);
    // Ends a modal dialog with the result (or hides a modeless one; its
    // owner destroys it).
    void EndDialog(int result);

    // Moves the data between the controls and the members: TRUE reads the
    // controls (FALSE when a value fails its check), FALSE fills them.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // The dialog's controls get their values here (UpdateData(FALSE)) and
    // the first control the focus; return FALSE after setting it yourself.
    virtual BOOL OnInitDialog();

    LPCSTR m_lpszTemplateName = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    virtual void DoDataExchange(CDataExchange* exchange);
    // IDOK: reads the controls; ends with IDOK when they pass.
    virtual void OnOK();
    // IDCANCEL: ends with IDCANCEL.
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* msg) override;

    afx_msg void OnOkCommand() { OnOK(); }
    afx_msg void OnCancelCommand() { OnCancel(); }

    DECLARE_MESSAGE_MAP()

private:
    friend INT_PTR CALLBACK AfxDialogProc(HWND, UINT, WPARAM, LPARAM);
    LPCDLGTEMPLATEA LoadTemplate() const;
    BOOL CreateFromTemplate(LPCDLGTEMPLATEA dialogTemplate, HWND owner);
    BOOL m_bModal = FALSE;
};

// The window that owns a modal dialog: the given parent's top-level
// window, else the main window; null when neither exists.
HWND AfxGetModalOwner(CWnd* parent);
