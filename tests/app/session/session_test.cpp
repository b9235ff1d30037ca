// Start, exit and the crash guard of the real program, driven as a user
// drives it.
#include <stdio.h>

#include "tests/app/session/session_driver.h"

using namespace session;

namespace {

// Returns once the program has marked its start-up as running in the
// registry, or has ended, or 30 s have passed.
void WaitUntilStartingUp(const Session& run)
{
    WaitUntil([&run] { return RegistryValueExists("InitFlag", "InitFlag") || run.Ended(0); }, 30000);
}

class ProgramSession : public SessionTest {};

}  // namespace

TEST_F(ProgramSession, StartsOnTheFolderQuitsWithinSixSecondsAndComesBackWhereItWas)
{
    DWORD startTick = GetTickCount();
    RECT placed = {};
    {
        Session first(m_folder);
        ASSERT_TRUE(first.Started());
        HWND frame = first.Frame();
        ASSERT_NE(nullptr, frame);
        printf("start-up to the browse frame (cold prefix, first start): %lu ms\n",
               (unsigned long)(GetTickCount() - startTick));
        KeepScreenshot("01-browse-start");
        MoveWindow(frame, 40, 30, 900, 640, TRUE);
        GetWindowRect(frame, &placed);
        ASSERT_TRUE(first.CloseWithinLimit());
    }
    EXPECT_FALSE(RegistryValueExists("InitFlag", "InitFlag"));
    EXPECT_TRUE(RegistryValueExists("Settings", "Browser"));

    Session second(m_folder);
    HWND frame = second.Frame();
    ASSERT_NE(nullptr, frame);
    RECT restored = {};
    GetWindowRect(frame, &restored);
    EXPECT_TRUE(EqualRect(&placed, &restored));
    KeepScreenshot("08-second-start");
    EXPECT_TRUE(second.CloseWithinLimit());
}

TEST_F(ProgramSession, AStartKilledHalfWayLeavesTheNextStartOnItsDefaults)
{
    // A placement the user left; the start that dies takes it with it.
    ASSERT_TRUE(SetRegistryText("Settings", "Browser", "1,100,100,500,400,0,0,1024,768"));
    {
        Session dying(m_folder);
        ASSERT_TRUE(dying.Started());
        WaitUntilStartingUp(dying);
        dying.Kill();
    }
    ASSERT_TRUE(RegistryValueExists("InitFlag", "InitFlag"));

    Session next(m_folder);
    HWND frame = next.Frame();
    ASSERT_NE(nullptr, frame);
    RECT shown = {};
    GetWindowRect(frame, &shown);
    RECT stored = {100, 100, 500, 400};
    EXPECT_FALSE(EqualRect(&stored, &shown));
    EXPECT_TRUE(next.CloseWithinLimit());
    EXPECT_FALSE(RegistryValueExists("InitFlag", "InitFlag"));
}
