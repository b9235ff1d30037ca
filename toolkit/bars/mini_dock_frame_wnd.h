// CCJMiniDockFrameWnd: the toolkit's floating frame. It keeps the size the
// user gives it (its bar takes the client area) instead of snapping to the
// bar, and a right click on its caption opens the bar menu.
#pragma once
#include "toolkit/bars/tool_bar_base.h"

class CCJMiniDockFrameWnd : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(CCJMiniDockFrameWnd)
public:
    CCJMiniDockFrameWnd() = default;

    BOOL Create(CWnd* parent, DWORD barStyle) override;

protected:
    afx_msg void OnNcRButtonUp(UINT hitTest, CPoint point);

    DECLARE_MESSAGE_MAP()
};
