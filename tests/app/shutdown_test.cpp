#include "tests/support/gtest.h"

#include "core/appsw.h"
#include "drawing/draw_thread/draw_thread.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "tests/app/app_test_support.h"

using namespace apptest;

namespace {

// A drawing thread that never looks at its flags or its event.
class DeafDrawThread : public TDwgDrawThread {
public:
    DWORD Run() override
    {
        for (;;)
            Sleep(50);
    }
};

}  // namespace

TEST(Shutdown, StopsBothWorkersAndSavesTheState)
{
    ClearProductKey();
    CQuorvantixApp app;
    ASSERT_TRUE(app.InitInstance());
    HANDLE drawHandle = NULL;
    DuplicateHandle(GetCurrentProcess(), AppSW.drawThread->GetThreadHandle(), GetCurrentProcess(), &drawHandle,
                    0, FALSE, DUPLICATE_SAME_ACCESS);
    AppSW.lastViewPath = "C:\\windows";
    DWORD start = GetTickCount();
    StopApplication(app);
    // Well below the 5 s after which a worker is ended forcibly.
    EXPECT_LT(GetTickCount() - start, 4000u);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(drawHandle, 0));
    CloseHandle(drawHandle);
    EXPECT_TRUE(ValueExists("main", "LastViewPath"));
}

TEST(Shutdown, EndsWithinSixSecondsWhenTheDrawingThreadDoesNotAnswer)
{
    ClearProductKey();
    CQuorvantixApp app;
    ASSERT_TRUE(app.InitInstance());
    AppSW.DeleteViewDWGThread();
    AppSW.drawThread = new DeafDrawThread;
    ASSERT_TRUE(AppSW.drawThread->Create());
    Sleep(50);
    DWORD start = GetTickCount();
    StopApplication(app);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_LT(elapsed, 6000u);
    EXPECT_EQ(nullptr, AppSW.drawThread);
}

TEST(Shutdown, DeletingAbsentWorkersDoesNothing)
{
    CAppSWActions actions;
    CAppSW state;
    actions.DeleteViewDWGThread(state);
    actions.DeleteTaskMngThread(state);
    actions.SetToQuit(state);
    EXPECT_EQ(APPMODE_QUITTING, state.mode);
}
