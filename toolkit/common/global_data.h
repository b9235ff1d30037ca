// The toolkit's one process-wide record of system colours, a brush, the
// menu fonts and the resize cursors, read by the bars' and tabs' painting.
// Built before the application starts; not refreshed afterwards.
#pragma once
#include "platform/classlib/classlib.h"

class CCJGlobalData {
public:
    CCJGlobalData();
    ~CCJGlobalData();
    CCJGlobalData(const CCJGlobalData&) = delete;
    CCJGlobalData& operator=(const CCJGlobalData&) = delete;

    // The first sizing bar loads the resize cursors.
    void LoadSizingCursors();

    COLORREF clrBtnFace;
    COLORREF clrBtnShadow;
    COLORREF clrBtnHilite;
    COLORREF clr3DDkShadow;
    COLORREF clr3DLight;
    HBRUSH hbrBtnFace;
    HCURSOR hcurSizeWE;
    HCURSOR hcurSizeNS;
    CFont fontMenu;
    CFont fontMenuBold;
    // The menu font's text height + 2.
    int cyMenuText;

private:
    void CreateMenuFonts();
};

extern CCJGlobalData g_globalData;
