#include "app/about_dlg.h"

#include "app/shell_open.h"
#include "core/product_info.h"
#include "resources/resource.h"

namespace {

const char kProjectAddress[] = "http://www.pellmoor.example/harbeck/project/";
const char kProjectText[] = "项目地址: www.pellmoor.example/harbeck/project";
const COLORREF kLinkColour = RGB(0, 28, 128);

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

    StyleLink(m_download, RGB(250, 250, 250));
    m_download.SetBkColor(RGB(5, 90, 163));
    m_download.SetTextFormat(DT_CENTER | DT_VCENTER);

    m_version.SetTransparent(true);
    m_version.SetFontBold(true);
    m_version.SetTextColor(RGB(255, 255, 255));
    m_version.SetTextFormat(DT_RIGHT | DT_VCENTER);
    m_version.SetWindowText("版本 " + ProductInfo.GetVersion());

    StyleLink(m_homePage, kLinkColour);
    m_homePage.SetTransparent(true);
    m_homePage.SetWindowText(ProductInfo.GetHomePageText());
    StyleLink(m_project, kLinkColour);
    m_project.SetTransparent(true);
    m_project.SetWindowText(kProjectText);
    StyleLink(m_supportMail, kLinkColour);
    m_supportMail.SetTransparent(true);
    m_supportMail.SetWindowText(ProductInfo.GetMailAddress());
    return TRUE;
}

void CAboutDlg::StyleLink(CStaticEx& label, COLORREF textColour)
{
    // The system's hand, the cursor a user knows from links.
    label.SetHoverCursor(LoadCursorA(NULL, (LPCSTR)IDC_HAND));
    label.SetTextColor(textColour);
    label.m_underline = 1;
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
