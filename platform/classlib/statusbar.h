// CStatusBar: the bar of text panes along a frame's bottom, a
// "msctls_statusbar32" control. Each pane has an id (0 for the plain text
// pane that takes the frame's prompts), a width for its text, a style and
// a text. The frame's update handlers may set a pane's text or disable it
// (a disabled pane shows no text).
#pragma once
#include "platform/classlib/controlbar.h"
#include <commctrl.h>
#include <vector>

// Pane styles: how the pane is drawn (the control's SBT_ bits) and two of
// the bar's own.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, UINT id);
    // One pane per id; a pane's text is the string of its id, and its
    // width that text's width. FALSE when the control refuses the panes.
    BOOL SetIndicators(const UINT* ids, int count);

    int GetCount() const { return (int)m_panes.size(); }
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;
    CString GetPaneText(int index) const;
    BOOL SetPaneText(int index, LPCSTR text, BOOL update = TRUE);
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    UINT GetPaneStyle(int index) const;
    void SetPaneStyle(int index, UINT style);

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

protected:
    struct Pane {
        UINT id;
        int width;
        UINT style;
        CString text;
    };

    // Gives the control the panes' edges and, with texts, their texts.
    void UpdateAllPanes(BOOL updateRects, BOOL updateTexts);
    void ShowPaneText(int index);

    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    // WM_SETTEXT sets the text of the first pane of id 0 (else pane 0).
    afx_msg LRESULT OnSetText(WPARAM, LPARAM text);

    DECLARE_MESSAGE_MAP()

    std::vector<Pane> m_panes;
};
