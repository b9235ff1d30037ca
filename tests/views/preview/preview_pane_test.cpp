#include "tests/support/gtest.h"

#include "core/preference.h"
#include "tests/support/message_log.h"
#include "views/preview/preview_pane.h"

TEST(PreviewPane, PaintsTheListColourWithNothingToShow)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "preview test", WS_POPUP | WS_VISIBLE,
                                CRect(0, 0, 120, 90), NULL, 0));
    CPreView pane;
    ASSERT_TRUE(pane.Create(&parent, 1));
    pane.MoveWindow(0, 0, 100, 80);
    pane.UpdateWindow();
    testwin::PumpMessages(50);
    HDC dc = ::GetDC(pane.GetSafeHwnd());
    EXPECT_EQ((COLORREF)Preference.ListCtrlColor, ::GetPixel(dc, 50, 40));
    ::ReleaseDC(pane.GetSafeHwnd(), dc);
    parent.DestroyWindow();
}
