// CCJToolBar: the toolkit's button bar, a "ToolbarWindow32" control drawn
// flat with the toolkit's borders and gripper. It lays out, updates and
// shows tips as the class library's tool bar does, repaints what it
// uncovers when it moves, and saves its buttons' states (TB_SAVERESTORE)
// under "Software\<registry key>\<profile>\Settings", value
// "CJToolBar <n>", when it is destroyed; n counts the tool bars made in
// the process, from 1.
#pragma once
#include "toolkit/bars/tool_bar_base.h"

class CCJToolBar : public CCJToolBarBase {
    DECLARE_DYNAMIC(CCJToolBar)
public:
    CCJToolBar();

    virtual BOOL Create(CWnd* parent, DWORD style, UINT id);
    // controlStyle: TBSTYLE_ bits of the control; borders: the bar's border
    // widths, 1 each when empty.
    virtual BOOL CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, CRect borders, UINT id);
    // The button's rectangle, empty when there is none.
    virtual void GetItemRect(int index, LPRECT rect) const;
    // Repaints what lies behind a screen rectangle in the parent window and
    // in the parent's children there.
    virtual void InvalidateBehind(LPCRECT screenRect);
    // The size a button takes in a layout: a separator at a row's wrap
    // takes no width and its width as height.
    virtual SIZE GetButtonSize(TBBUTTON* buttons, int index) const;

    BOOL LoadToolBar(UINT resourceId);
    BOOL LoadBitmap(UINT bitmapId);
    BOOL SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    void SetBarStyle(DWORD style) override;

    // Where the buttons' states are kept.
    CString m_registryKey;
    CString m_registryValue;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnRButtonUp(UINT flags, CPoint point);
    afx_msg void OnWindowPosChanging(WINDOWPOS* position);
    afx_msg void OnWindowPosChanged(WINDOWPOS* position);
    afx_msg void OnSysColorChange();

    DECLARE_MESSAGE_MAP()

    CToolBarImages m_images;
    // The window rectangle before the last move, in screen coordinates.
    CRect m_rectBeforeMove;
};
