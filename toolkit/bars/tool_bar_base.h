// CCJToolBarBase: the common base of the toolkit's bars (the sizing bar
// and the tool bar): flat borders and one gripper line, notifications
// passed on to the bar's owner, and the bar menu on a right click that
// lists the frame's tool bars, sizing bars and status bar.
#pragma once
#include "platform/classlib/classlib.h"

class CCJToolBarBase : public CControlBar {
    DECLARE_DYNAMIC(CCJToolBarBase)
public:
    CCJToolBarBase() = default;

    void CalcInsideRect(CRect& rect, BOOL horz) const override;
    void DoPaint(CDC* dc) override;
    void DrawBorders(CDC* dc, CRect& rect) override;
    void DrawGripper(CDC* dc, const CRect& rect) override;

    // The frame's bars as a pop-up menu whose commands are the bars' ids;
    // null when it would be empty. The caller destroys it.
    static HMENU BuildBarMenu(CFrameWnd* frame);
    // Tracks the bar menu at the screen point, its commands going to the
    // frame; nothing when it has no items.
    static void ShowBarMenu(CFrameWnd* frame, CPoint screenPoint);

    // Set when the bar's parent is a rebar control.
    BOOL m_bInReBar = FALSE;
    BOOL m_bDoubleGripper = FALSE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnWindowPosChanging(WINDOWPOS* position);
    afx_msg void OnNcRButtonUp(UINT hitTest, CPoint point);

    DECLARE_MESSAGE_MAP()
};
