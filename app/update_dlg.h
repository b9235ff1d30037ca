// The notice of a newer version: its version and what is new, with the
// choice to download it now or later. At update level 2 only downloading
// (or closing) is left, and the program quits afterwards either way.
#pragma once
#include "platform/classlib/classlib.h"
#include "toolkit/controls/static_ex.h"

class CUpdateChecker;

class CUpdateDlg : public CDialog {
public:
    CUpdateDlg(const CUpdateChecker& checker, CWnd* parent = NULL);

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

private:
    const CUpdateChecker& m_checker;
    CStaticEx m_versionLabel;
    CStatic m_featureText;
};
