// CCJDockBar: the toolkit's dock bar. The toolkit's bars lie edge to edge
// on its rows, and a right click on its empty part opens the bar menu.
#pragma once
#include "toolkit/bars/tool_bar_base.h"

class CCJDockBar : public CDockBar {
    DECLARE_DYNCREATE(CCJDockBar)
public:
    CCJDockBar() = default;

protected:
    CSize BarOverlap(CControlBar* bar) const override;

    afx_msg void OnRButtonUp(UINT flags, CPoint point);

    DECLARE_MESSAGE_MAP()
};
