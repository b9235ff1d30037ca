// CEditPathBoxDlg: the bookmark manager. Removes bookmarks (the selected
// one, the ones whose folder is gone, or all) and saves the list on OK.
#pragma once
#include "browser/bookmarks/path_manager.h"
#include "platform/classlib/classlib.h"

// Posted to the dialog's parent after OK saved the bookmarks (wParam 0,
// lParam 0).
const UINT WM_BOOKMARKS_CHANGED = 0x80BF;

class CEditPathBoxDlg : public CDialog {
public:
    explicit CEditPathBoxDlg(CWnd* parent = NULL);

    BYTE m_modified;
    CPathManager m_bookmarks;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnClear();
    afx_msg void OnRemoveMissing();
    afx_msg void OnRemoveSelected();
    afx_msg void OnSelectionChange();
    DECLARE_MESSAGE_MAP()

private:
    void FillList();
    void UpdateButtons();
};
