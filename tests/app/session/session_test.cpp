// The real program driven as a user drives it: its own process on the
// virtual display, a folder of drawings and photos made for the session,
// input a user's keyboard and mouse make, and what the user would see read
// back from the windows, the screen, the registry and the disk.
#include "tests/support/gtest.h"

#include <stdio.h>

#include <string>

#include "core/registry_root.h"
#include "tests/support/program_run.h"
#include "tests/support/test_files.h"
#include "tests/toolkit/common/window_capture.h"

namespace {

const DWORD kExitLimitMs = 6000;

std::string SessionFolder()
{
    return testfiles::ToWinePath(SESSION_FOLDER);
}

// One screenshot per step, kept with the test's output.
void KeepScreenshot(const std::string& step)
{
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    std::string folder = testfiles::ToWinePath(testfiles::BinaryDir() + "/tests/app/session/screenshots");
    testwin::ScreenPicture::OfScreen(screen).SaveIn(folder, step);
}

bool RegistryValueExists(const std::string& subkey, const char* name)
{
    std::string path = std::string(HARBECK_REGISTRY_ROOT) + subkey;
    return RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, NULL, NULL, NULL) ==
           ERROR_SUCCESS;
}

bool SetRegistryText(const std::string& subkey, const char* name, const std::string& text)
{
    std::string path = std::string(HARBECK_REGISTRY_ROOT) + subkey;
    return RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), name, REG_SZ, text.c_str(),
                           (DWORD)text.size() + 1) == ERROR_SUCCESS;
}

// The program started on the session folder, as the README's run command
// starts it on a folder.
class Session : public testprog::ProgramRun {
public:
    Session() : testprog::ProgramRun("app/harbeck.exe.so", "/b \"" + SessionFolder() + "\"") {}

    // The user closes the browser with the frame's close box; true when the
    // program has ended within the limit and reported success.
    bool CloseWithinLimit(HWND frame)
    {
        PostMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
        return Ended(kExitLimitMs) && ExitCode() == 0;
    }
};

// Returns once the program has marked its start-up as running in the
// registry, or has ended, or 30 s have passed.
void WaitUntilStartingUp(const Session& session)
{
    DWORD start = GetTickCount();
    while (!RegistryValueExists("InitFlag", "InitFlag") && GetTickCount() - start < 30000) {
        if (session.Ended(20))
            return;
    }
}

class ProgramSession : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, HARBECK_REGISTRY_KEY); }
};

}  // namespace

TEST_F(ProgramSession, StartsOnTheFolderQuitsWithinSixSecondsAndComesBackWhereItWas)
{
    DWORD startTick = GetTickCount();
    RECT placed = {};
    {
        Session first;
        ASSERT_TRUE(first.Started());
        HWND frame = first.WaitForFrame();
        ASSERT_NE(nullptr, frame);
        printf("start-up to the browse frame (cold prefix, first start): %lu ms\n",
               (unsigned long)(GetTickCount() - startTick));
        KeepScreenshot("01-browse-start");
        MoveWindow(frame, 40, 30, 900, 640, TRUE);
        GetWindowRect(frame, &placed);
        ASSERT_TRUE(first.CloseWithinLimit(frame));
    }
    EXPECT_FALSE(RegistryValueExists("InitFlag", "InitFlag"));
    EXPECT_TRUE(RegistryValueExists("Settings", "Browser"));

    Session second;
    HWND frame = second.WaitForFrame();
    ASSERT_NE(nullptr, frame);
    RECT restored = {};
    GetWindowRect(frame, &restored);
    EXPECT_TRUE(EqualRect(&placed, &restored));
    KeepScreenshot("08-second-start");
    EXPECT_TRUE(second.CloseWithinLimit(frame));
}

TEST_F(ProgramSession, AStartKilledHalfWayLeavesTheNextStartOnItsDefaults)
{
    // A placement the user left; the start that dies takes it with it.
    ASSERT_TRUE(SetRegistryText("Settings", "Browser", "1,100,100,500,400,0,0,1024,768"));
    {
        Session dying;
        ASSERT_TRUE(dying.Started());
        WaitUntilStartingUp(dying);
        dying.Kill();
    }
    ASSERT_TRUE(RegistryValueExists("InitFlag", "InitFlag"));

    Session next;
    HWND frame = next.WaitForFrame();
    ASSERT_NE(nullptr, frame);
    RECT shown = {};
    GetWindowRect(frame, &shown);
    RECT stored = {100, 100, 500, 400};
    EXPECT_FALSE(EqualRect(&stored, &shown));
    EXPECT_TRUE(next.CloseWithinLimit(frame));
    EXPECT_FALSE(RegistryValueExists("InitFlag", "InitFlag"));
}
