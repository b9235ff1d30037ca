// CAcceleratorDlg: the list of the program's keyboard shortcuts, by window
// (browse, preview, view), in a resizable dialog. It only describes the
// keys; the frames bind them.
#pragma once
#include "platform/classlib/classlib.h"

class CAcceleratorDlg : public CDialog {
public:
    explicit CAcceleratorDlg(CWnd* parent = nullptr);

    CListCtrl m_list;

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    void FitList();
};
