// CToolBar: a bar of command buttons, a "ToolbarWindow32" control whose
// buttons come from a tool-bar resource. Its borders and gripper lie in
// the non-client area; the buttons wrap into rows for the layout the bar
// is in (one row docked at the top or bottom, one button a row docked at
// a side, rows of the floating width). The frame's update handlers
// enable and check the buttons at idle time; tool tips show the part of
// the command's string after its '\n', and with CBRS_FLYBY the status bar
// shows the part before it while the mouse is over a button.
#pragma once
#include "platform/classlib/controlbar.h"
#include <commctrl.h>
#include "platform/classlib/toolbarbuttons.h"

// The status bar's text when no command is being described.
#define AFX_IDS_IDLEMESSAGE 0xE001

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    // controlStyle: TBSTYLE_ bits of the control; borders: the bar's
    // border widths.
    BOOL CreateEx(CWnd* parent, DWORD controlStyle = TBSTYLE_FLAT,
                  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect borders = CRect(0, 0, 0, 0),
                  UINT id = AFX_IDW_TOOLBAR);
    // Buttons, sizes and images of a tool-bar resource and the bitmap of
    // the same id; FALSE when either is missing.
    BOOL LoadToolBar(UINT resourceId);
    BOOL LoadBitmap(UINT bitmapId);
    BOOL SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);

    int GetCount() const;
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    void SetBarStyle(DWORD style) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM, LPARAM);
    afx_msg void OnSysColorChange();

    DECLARE_MESSAGE_MAP()

    CToolBarImages m_images;
    // The command whose prompt the status bar shows (fly-by), 0 for none.
    UINT m_nFlybyId = 0;
};
