// The end-user agreement in a small modal dialog; it only shows the text.
#pragma once
#include "platform/classlib/classlib.h"
#include "toolkit/controls/edit_ex.h"
#include "toolkit/controls/static_ex.h"

class CLicenseDlg : public CDialog {
public:
    explicit CLicenseDlg(CWnd* parent = NULL);

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

private:
    CStaticEx m_title;
    CEditEx m_text;
};
