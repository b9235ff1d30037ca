#include "tests/support/gtest.h"

#include "browser/frame/browse_frame.h"
#include "resources/resource.h"
#include "tests/support/appsw_actions_log.h"

using testwin::AppSWActionsLog;

TEST(BrowseFrame, ClosingAsksTheApplicationToQuit)
{
    AppSWActionsLog actions;
    CBrowseFrame* frame = new CBrowseFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_BROWSE_FRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, NULL));
    HWND window = frame->GetSafeHwnd();
    frame->SendMessage(WM_CLOSE, 0, 0);
    ASSERT_EQ(1u, actions.calls.size());
    EXPECT_EQ("SetToQuit", actions.calls[0]);
    EXPECT_FALSE(IsWindow(window));
    AppSW = CAppSW();
}
