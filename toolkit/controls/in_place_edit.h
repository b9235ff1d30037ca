// CInPlaceEdit: the editor the owner-drawn list opens over a cell or a
// column heading. Enter keeps the text, Escape drops it; either (or any
// loss of the focus) ends the edit with LVN_ENDLABELEDIT to the list's
// parent, which hands it back to the list. Made with new; deletes itself.
#pragma once
#include "platform/classlib/classlib.h"

class CInPlaceEdit : public CEdit {
    DECLARE_DYNAMIC(CInPlaceEdit)
public:
    // Row -1 edits the heading of the column.
    CInPlaceEdit(int row, int column, LPCSTR text);

    BOOL PreTranslateMessage(MSG* msg) override;

    int m_row;
    int m_column;
    CString m_initialText;
    bool m_cancelled = false;

protected:
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnChar(UINT ch, UINT repeatCount, UINT flags);
    afx_msg void OnKillFocus(CWnd* newWindow);
    DECLARE_MESSAGE_MAP()

private:
    void WidenToText();
};
