// The drawing library's search paths for external references, fonts and
// images that the user lists: the dialog that edits them, and their keeping
// in the library's registry key (value "SearchPaths", folders separated by
// ';'). The library searches them before the host CAD program's support
// folders, which the dialog neither shows nor changes.
#pragma once
#include "platform/classlib/classlib.h"

#include <vector>

namespace ZrUI {

// Hands the search paths kept in the key to the drawing library; nothing
// when none are kept.
void LoadSearchPaths(HKEY key);

// The folders in the drawing library's order; OK hands them to it and keeps
// them in the library's key.
class CSearchPathDialog : public CDialog {
public:
    explicit CSearchPathDialog(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnAdd();
    afx_msg void OnBrowse();
    afx_msg void OnRemove();
    afx_msg void OnMoveUp();
    afx_msg void OnMoveDown();
    DECLARE_MESSAGE_MAP()

private:
    void MoveSelection(int step);
    // Lets the list scroll sideways over its widest folder.
    void FitScrollWidth();

    CListBox m_list;
};

}  // namespace ZrUI
