// CCJMenuBar: a tool bar that would show a frame's menu. The frames keep
// their standard window menu and never create its window; the object only
// takes the first tool-bar number of its frame.
#pragma once
#include "toolkit/bars/tool_bar.h"

class CCJMenuBar : public CCJToolBar {
    DECLARE_DYNAMIC(CCJMenuBar)
public:
    CCJMenuBar() = default;
};
