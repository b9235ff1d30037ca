#include "app/about_dlg.h"

#include "app/shell_open.h"
#include "core/product_info.h"
#include "resources/resource.h"

namespace {

const char kProjectAddress[] = "http://www.pellmoor.example/harbeck/project/";
const char kProjectText[] = "项目地址: www.pellmoor.example/harbeck/project";

}  // namespace

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_STN_CLICKED(IDC_ABOUT_DOWNLOAD, &CAboutDlg::OnOpenHomePage)
    ON_STN_CLICKED(IDC_ABOUT_HOME_PAGE, &CAboutDlg::OnOpenHomePage)
    ON_STN_CLICKED(IDC_ABOUT_SUPPORT_MAIL, &CAboutDlg::OnOpenMailLink)
    ON_STN_CLICKED(IDC_ABOUT_COOPERATION_MAIL, &CAboutDlg::OnOpenMailLink)
    ON_STN_CLICKED(IDC_ABOUT_PROJECT, &CAboutDlg::OnOpenProject)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* parent)
    : CDialog(IDD_ABOUTBOX, parent)
{
}

void CAboutDlg::DoDataExchange(CDataExchange* exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_ABOUT_COOPERATION_MAIL, m_cooperationMail);
    DDX_Control(exchange, IDC_ABOUT_HOME_PAGE, m_homePage);
    DDX_Control(exchange, IDC_ABOUT_SUPPORT_MAIL, m_supportMail);
    DDX_Control(exchange, IDC_ABOUT_VERSION, m_version);
    DDX_Control(exchange, IDC_ABOUT_DOWNLOAD, m_download);
    DDX_Control(exchange, IDC_ABOUT_PROJECT, m_project);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(ProductInfo.GetCaption());
    m_version.SetWindowText("版本 " + ProductInfo.GetVersion());
    m_homePage.SetWindowText(ProductInfo.GetHomePageText());
    m_project.SetWindowText(kProjectText);
    m_supportMail.SetWindowText(ProductInfo.GetMailAddress());
    return TRUE;
}

void CAboutDlg::OnOpenHomePage()
{
    OpenWithShell(ProductInfo.GetHomePage());
}

void CAboutDlg::OnOpenMailLink()
{
    OpenWithShell(ProductInfo.GetMailLink());
}

void CAboutDlg::OnOpenProject()
{
    OpenWithShell(kProjectAddress);
}
