#include "views/password/password_dlg.h"

#include "resources/views_ids.h"

CPassWordDlg::CPassWordDlg(CWnd* parent)
    : CDialog(IDD_PASSWORD, parent)
{
}

BOOL CPassWordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_PASSWORD_FILE, m_fileName);
    GetDlgItem(IDC_PASSWORD_EDIT)->SetFocus();
    return FALSE;
}

void CPassWordDlg::DoDataExchange(CDataExchange* exchange)
{
    DDX_Text(exchange, IDC_PASSWORD_EDIT, m_password);
}
