#include "app/license_dlg.h"

#include "app/license_text.h"
#include "core/product_info.h"
#include "resources/resource.h"

CLicenseDlg::CLicenseDlg(CWnd* parent)
    : CDialog(IDD_LICENSE, parent)
{
}

void CLicenseDlg::DoDataExchange(CDataExchange* exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_LICENSE_TITLE, m_title);
    DDX_Control(exchange, IDC_LICENSE_TEXT, m_text);
}

BOOL CLicenseDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int line = 0; line < kLicenseLineCount; ++line)
        m_text.AppendLine(kLicenseLines[line]);
    m_text.SetBkColor(GetSysColor(COLOR_INFOBK));
    m_text.SetTextColor(GetSysColor(COLOR_INFOTEXT));
    m_title.SetWindowText(ProductInfo.GetDisplayName());
    m_title.SetFontSize(25);
    m_title.SetTransparent(true);
    m_title.SetFontBold(true);
    return TRUE;
}
