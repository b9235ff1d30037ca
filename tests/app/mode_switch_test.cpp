#include "tests/support/gtest.h"

#include "browser/frame/browse_frame.h"
#include "core/appsw.h"
#include "drawing/draw_thread/draw_thread.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "tests/app/app_test_support.h"
#include "views/viewer/view_frame.h"

using namespace apptest;

namespace {

// Marks the running task thread busy, as while a batch runs.
struct TaskThreadProbe : TTaskManageThread {
    static void MarkBusy(CDrawCommonThread& thread) { (thread.*(&TaskThreadProbe::SetIdle))(false); }
};

class ModeSwitchTest : public testing::Test {
protected:
    void SetUp() override
    {
        ClearProductKey();
        ASSERT_TRUE(app.InitInstance());
    }
    void TearDown() override { apptest::StopApplication(app); }

    CQuorvantixApp app;
};

}  // namespace

TEST_F(ModeSwitchTest, ViewModeShowsTheViewFrameAndTakesTheDrawingThreadsAnswers)
{
    AppSW.SetViewPath("Z:\\tmp\\a.dxf");
    AppSW.ToViewMode();
    EXPECT_EQ(APPMODE_VIEW, AppSW.mode);
    EXPECT_FALSE(AppSW.browseFrame->IsWindowVisible());
    EXPECT_TRUE(AppSW.viewFrame->IsWindowVisible());
    EXPECT_EQ(AppSW.viewFrame, app.m_pMainWnd);
    EXPECT_EQ(AppSW.viewFrame->GetSafeHwnd(), AppSW.drawThread->GetNotifyWnd());
    EXPECT_EQ(2, AppSW.browseFrame->GetPreview()->m_device.m_nWidth);
    EXPECT_EQ(2, AppSW.browseFrame->GetPreview()->m_device.m_nHeight);
    // The task thread was idle: nothing to resume on the way back.
    EXPECT_EQ(0, AppSW.resumeThumbnails);
}

TEST_F(ModeSwitchTest, ViewModeWhileThumbnailsAreMadeRemembersToResumeThem)
{
    TaskThreadProbe::MarkBusy(*AppSW.taskThread);
    AppSW.ToViewMode();
    EXPECT_EQ(1, AppSW.resumeThumbnails);
    EXPECT_FALSE(AppSW.taskThread->IsNotifyEnabled());
}

TEST_F(ModeSwitchTest, BackToBrowseModeShowsTheBrowserAtTheGivenFolder)
{
    AppSW.ToViewMode();
    AppSW.drawThread->OpenFile(1, "Z:\\tmp\\b.dxf", 50, 50, false);
    AppSW.ToBrowseMode("C:\\windows");
    EXPECT_EQ(APPMODE_BROWSE, AppSW.mode);
    EXPECT_TRUE(AppSW.browseFrame->IsWindowVisible());
    EXPECT_FALSE(AppSW.viewFrame->IsWindowVisible());
    EXPECT_EQ(AppSW.browseFrame, app.m_pMainWnd);
    EXPECT_EQ(AppSW.browseFrame->GetPreview()->GetSafeHwnd(), AppSW.drawThread->GetNotifyWnd());
    EXPECT_STREQ("C:\\windows", AppSW.browseFrame->GetStartFolder());
    EXPECT_STREQ("Z:\\tmp\\b.dxf", AppSW.browseFrame->m_rememberedItemPath);
}

TEST_F(ModeSwitchTest, BrowseModeWithoutAFolderKeepsTheTreeWhereItWas)
{
    AppSW.ToBrowseMode("C:\\windows");
    AppSW.ToViewMode();
    AppSW.ToBrowseMode(NULL);
    EXPECT_STREQ("C:\\windows", AppSW.browseFrame->GetStartFolder());
    AppSW.ToBrowseMode("");
    EXPECT_STREQ("C:\\windows", AppSW.browseFrame->GetStartFolder());
}

TEST_F(ModeSwitchTest, ClicksQueuedWhileTheBrowserReappearsAreDropped)
{
    AppSW.ToViewMode();
    HWND browser = AppSW.browseFrame->GetSafeHwnd();
    PostMessageA(browser, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(browser, WM_LBUTTONUP, 0, 0);
    AppSW.ToBrowseMode(NULL);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, browser, 0x200, 0x20D, PM_NOREMOVE));
}

TEST_F(ModeSwitchTest, SetToQuitSilencesTheWorkersAndQuits)
{
    AppSW.SetToQuit();
    EXPECT_EQ(APPMODE_QUITTING, AppSW.mode);
    EXPECT_EQ(1, AppSW.toQuit);
    EXPECT_EQ(nullptr, AppSW.drawThread->GetNotifyWnd());
    EXPECT_EQ(nullptr, AppSW.taskThread->GetNotifyWnd());
    EXPECT_FALSE(AppSW.taskThread->IsNotifyEnabled());
    // The abort flag is not read here: the woken thread clears it as it
    // leaves its cycle, before it sees the stop request.
    EXPECT_TRUE(AppSW.taskThread->IsStopRequested());
}

TEST_F(ModeSwitchTest, EscapeInAViewFrameStartedForOneFileQuits)
{
    AppSW.viewFrame->m_exitOnEsc = 1;
    AppSW.ToViewMode();
    MSG escape = {AppSW.viewFrame->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(AppSW.viewFrame->PreTranslateMessage(&escape));
    EXPECT_EQ(APPMODE_QUITTING, AppSW.mode);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(ModeSwitchTest, EscapeOtherwiseGoesBackToTheBrowser)
{
    AppSW.ToViewMode();
    MSG escape = {AppSW.viewFrame->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(AppSW.viewFrame->PreTranslateMessage(&escape));
    EXPECT_EQ(APPMODE_BROWSE, AppSW.mode);
    EXPECT_TRUE(AppSW.browseFrame->IsWindowVisible());
}
