// The end-user agreement in a small modal dialog; it only shows the text.
#pragma once
#include "platform/classlib/classlib.h"

class CLicenseDlg : public CDialog {
public:
    explicit CLicenseDlg(CWnd* parent = NULL);

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

private:
    CStatic m_title;
    CEdit m_text;
};
