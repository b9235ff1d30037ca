#include "browser/dialogs/file_info_summary.h"

#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CFileInfoSummary, CPropertyPage)

CFileInfoSummary::CFileInfoSummary(const char* path, const DRAWINGINFO* drawingInfo)
    : CFileInfoPage(IDD_FILE_INFO_SUMMARY, path, drawingInfo)
{
}

BOOL CFileInfoSummary::OnInitDialog()
{
    if (m_drawingInfo != nullptr) {
        m_title = m_drawingInfo->title;
        m_subject = m_drawingInfo->subject;
        m_author = m_drawingInfo->author;
        m_keywords = m_drawingInfo->keywords;
        m_comments = m_drawingInfo->property5;
        m_hyperlinkBase = m_drawingInfo->property0;
    }
    return CFileInfoPage::OnInitDialog();
}

void CFileInfoSummary::DoDataExchange(CDataExchange* exchange)
{
    CFileInfoPage::DoDataExchange(exchange);
    DDX_Text(exchange, IDC_SUMMARY_TITLE, m_title);
    DDX_Text(exchange, IDC_SUMMARY_SUBJECT, m_subject);
    DDX_Text(exchange, IDC_SUMMARY_AUTHOR, m_author);
    DDX_Text(exchange, IDC_SUMMARY_KEYWORDS, m_keywords);
    DDX_Text(exchange, IDC_SUMMARY_COMMENTS, m_comments);
    DDX_Text(exchange, IDC_SUMMARY_HYPERLINK_BASE, m_hyperlinkBase);
}
