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
    CString text;
    for (int line = 0; line < kLicenseLineCount; ++line) {
        if (line > 0)
            text += "\r\n";
        text += kLicenseLines[line];
    }
    m_text.SetWindowText(text);
    m_title.SetWindowText(ProductInfo.GetDisplayName());
    return TRUE;
}
