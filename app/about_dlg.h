// The About box: the product's caption, version, home page, mail addresses
// and project address; the link labels open what they name.
#pragma once
#include "platform/classlib/classlib.h"
#include "toolkit/controls/static_ex.h"

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
    // Text colour, underline and hover cursor of one link label.
    void StyleLink(CStaticEx& label, COLORREF textColour);

    CStaticEx m_cooperationMail;
    CStaticEx m_homePage;
    CStaticEx m_supportMail;
    CStaticEx m_version;
    CStaticEx m_download;
    CStaticEx m_project;
};
