#include "tests/support/gtest.h"

#include "resources/resource.h"
#include "tests/support/appsw_actions_log.h"
#include "tests/support/message_log.h"
#include "views/viewer/view_frame.h"

using testwin::AppSWActionsLog;

namespace {

class ViewFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = new CViewFrame;
        ASSERT_TRUE(frame->LoadFrame(IDR_VIEW_FRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, NULL));
    }
    void TearDown() override
    {
        frame->DestroyWindow();
        AppSW = CAppSW();
    }
    void PressEscape()
    {
        MSG msg = {frame->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0};
        EXPECT_TRUE(frame->PreTranslateMessage(&msg));
    }

    AppSWActionsLog actions;
    CViewFrame* frame = NULL;
};

}  // namespace

TEST_F(ViewFrameTest, EscapeGoesBackToTheViewedFilesFolder)
{
    AppSW.SetViewPath("C:\\windows\\win.ini");
    PressEscape();
    ASSERT_EQ(1u, actions.calls.size());
    EXPECT_EQ("ToBrowseMode C:\\windows\\", actions.calls[0]);
}

TEST_F(ViewFrameTest, EscapeKeepsTheTreeWhereItWasWhenTheFolderIsGone)
{
    AppSW.SetViewPath("C:\\no such folder\\a.dxf");
    PressEscape();
    ASSERT_EQ(1u, actions.calls.size());
    EXPECT_EQ("ToBrowseMode (null)", actions.calls[0]);
}

TEST_F(ViewFrameTest, EscapeEndsAProgramStartedForOneFile)
{
    frame->m_exitOnEsc = 1;
    PressEscape();
    ASSERT_EQ(1u, actions.calls.size());
    EXPECT_EQ("SetToQuit", actions.calls[0]);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(ViewFrameTest, BackToBrowseCommandClearsTheExitOnEscape)
{
    frame->m_exitOnEsc = 1;
    frame->SendMessage(WM_COMMAND, ID_BACK_TO_BROWSE, 0);
    EXPECT_EQ(0, frame->m_exitOnEsc);
    ASSERT_EQ(1u, actions.calls.size());
    EXPECT_EQ(0u, actions.calls[0].find("ToBrowseMode"));
}
