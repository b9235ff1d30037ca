// The About box: the product's caption, version, home page, mail addresses
// and project address; the link labels open what they name.
#pragma once
#include "platform/classlib/classlib.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* parent = NULL);

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

    afx_msg void OnOpenHomePage();
    afx_msg void OnOpenMailLink();
    afx_msg void OnOpenProject();
    DECLARE_MESSAGE_MAP()

private:
    CStatic m_cooperationMail;
    CStatic m_homePage;
    CStatic m_supportMail;
    CStatic m_version;
    CStatic m_download;
    CStatic m_project;
};
