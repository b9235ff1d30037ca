// CFileInfoSummary: the drawing's summary texts: title, subject, author,
// keywords, comments and hyperlink base.
#pragma once
#include "browser/dialogs/file_info_page.h"

class CFileInfoSummary : public CFileInfoPage {
    DECLARE_DYNCREATE(CFileInfoSummary)
public:
    CFileInfoSummary(const char* path = "", const DRAWINGINFO* drawingInfo = nullptr);

    CString m_title;
    CString m_subject;
    CString m_author;
    CString m_keywords;
    CString m_comments;
    CString m_hyperlinkBase;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
};
