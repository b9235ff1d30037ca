#include "app/update_dlg.h"

#include "app/update_checker.h"
#include "resources/resource.h"

CUpdateDlg::CUpdateDlg(const CUpdateChecker& checker, CWnd* parent)
    : CDialog(IDD_UPDATE_NOTICE, parent),
      m_checker(checker)
{
}

void CUpdateDlg::DoDataExchange(CDataExchange* exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_UPDATE_VERSION, m_versionLabel);
    DDX_Control(exchange, IDC_UPDATE_FEATURES, m_featureText);
}

BOOL CUpdateDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_versionLabel.SetTransparent(true);
    m_versionLabel.SetFontSize(26);
    m_versionLabel.SetWindowText("V" + m_checker.GetProductVersion());
    m_featureText.SetWindowText(m_checker.GetFeatureText());
    if (m_checker.GetUpdateLevel() == 2)
        GetDlgItem(IDCANCEL)->EnableWindow(FALSE);
    return TRUE;
}
