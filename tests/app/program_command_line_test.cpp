// Starts the real program with a command line and looks at its windows.
#include "tests/support/gtest.h"

#include <string.h>

#include <string>

#include "tests/app/app_test_support.h"
#include "tests/support/test_files.h"

namespace {

class ProgramRun {
public:
    explicit ProgramRun(const std::string& arguments)
    {
        std::string program = testfiles::ToWinePath(testfiles::BinaryDir()) + "\\app\\harbeck.exe.so";
        std::string commandLine = "\"" + program + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        started = CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process);
    }
    ~ProgramRun()
    {
        if (!started)
            return;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    // The program's visible frame once it is idle, waiting up to 30 s.
    HWND WaitForFrame() { return apptest::WaitForProgramFrame(process, 30000); }

    bool Ended(DWORD waitMs) { return WaitForSingleObject(process.hProcess, waitMs) == WAIT_OBJECT_0; }

    BOOL started = FALSE;
    PROCESS_INFORMATION process = {};
};

// Menus of another process cannot be read under Wine; the frames differ in
// their titles.
bool IsViewFrame(HWND frame)
{
    char title[128] = "";
    GetWindowTextA(frame, title, sizeof(title));
    return strstr(title, "查看器") != NULL;
}

}  // namespace

TEST(ProgramCommandLine, ViewSwitchWithADrawingOpensTheViewFrameAndEscapeQuits)
{
    apptest::ClearProductKey();
    std::string folder = testfiles::MakeScratchFolder("cmdline");
    std::string drawing = folder + "\\plan.dxf";
    ASSERT_TRUE(testfiles::WriteFileBytes(drawing, "0\nEOF\n"));
    ProgramRun run("/v \"" + drawing + "\"");
    ASSERT_TRUE(run.started);
    HWND frame = run.WaitForFrame();
    ASSERT_NE(nullptr, frame);
    EXPECT_TRUE(IsViewFrame(frame));
    PostMessageA(frame, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(run.Ended(10000));
}

TEST(ProgramCommandLine, BrowseSwitchWithAFolderOpensTheBrowser)
{
    apptest::ClearProductKey();
    std::string folder = testfiles::MakeScratchFolder("cmdline");
    ProgramRun run("/b \"" + folder + "\"");
    ASSERT_TRUE(run.started);
    HWND frame = run.WaitForFrame();
    ASSERT_NE(nullptr, frame);
    EXPECT_FALSE(IsViewFrame(frame));
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(run.Ended(10000));
    EXPECT_FALSE(apptest::ValueExists("InitFlag", "InitFlag"));
}
