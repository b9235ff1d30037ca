#include "tests/support/gtest.h"

#include "core/appsw.h"

namespace {

// Without the application's actions (a library's test, or before start-up)
// a mode switch changes the mode only; the frames, the worker threads and
// the paths stay as they were.
TEST(AppSW, WithoutActionsASwitchChangesTheModeOnly)
{
    CAppSW state;
    int frame = 0, thread = 0;
    state.viewFrame = reinterpret_cast<CViewFrame*>(&frame);
    state.drawThread = reinterpret_cast<TDwgDrawThread*>(&thread);
    state.SetViewPath("C:\\drawings\\a.dwg");

    state.ToViewMode();
    EXPECT_EQ(APPMODE_VIEW, (int)state.mode);
    EXPECT_EQ(0, (int)state.toQuit);
    state.ToBrowseMode("C:\\other");
    EXPECT_EQ(APPMODE_BROWSE, (int)state.mode);
    EXPECT_STREQ("C:\\drawings\\a.dwg", state.GetViewPath());
    EXPECT_STREQ("", state.lastViewPath);

    // The worker threads are the application's to make and end.
    state.CreateTaskManageThread();
    state.DeleteViewDWGThread();
    EXPECT_EQ(reinterpret_cast<TDwgDrawThread*>(&thread), state.drawThread);
    EXPECT_EQ(nullptr, state.taskThread);
    EXPECT_EQ(reinterpret_cast<CViewFrame*>(&frame), state.viewFrame);

    state.SetToQuit();
    EXPECT_EQ(APPMODE_QUITTING, (int)state.mode);
    EXPECT_EQ(1, (int)state.toQuit);
}

}  // namespace
