// Starts the real program with a command line and looks at its windows.
#include "tests/support/gtest.h"

#include <string>

#include "tests/app/app_test_support.h"
#include "tests/support/program_run.h"
#include "tests/support/test_files.h"

namespace {

// The program with a command line.
class ProgramRun : public testprog::ProgramRun {
public:
    explicit ProgramRun(const std::string& arguments) : testprog::ProgramRun("app/harbeck.exe.so", arguments) {}
};

// Menus of another process cannot be read under Wine; the frames differ in
// their titles: the view frame's names the file it shows in brackets.
std::string Title(HWND frame)
{
    char title[512] = "";
    GetWindowTextA(frame, title, sizeof(title));
    return title;
}

bool IsViewFrame(HWND frame)
{
    return Title(frame).find(" [ ") != std::string::npos;
}

// The program ends in about a second; the whole test run shares one
// wineserver, which has been seen to stall a process for over ten seconds
// while the other tests load it.
const DWORD kEndWaitMs = 30000;

}  // namespace

TEST(ProgramCommandLine, ViewSwitchWithADrawingOpensTheViewFrameAndEscapeQuits)
{
    apptest::ClearProductKey();
    std::string folder = testfiles::MakeScratchFolder("cmdline");
    std::string drawing = folder + "\\plan.dxf";
    ASSERT_TRUE(testfiles::WriteFileBytes(drawing, "0\nEOF\n"));
    ProgramRun run("/v \"" + drawing + "\"");
    ASSERT_TRUE(run.Started());
    HWND frame = run.WaitForFrame();
    ASSERT_NE(nullptr, frame);
    EXPECT_NE(std::string::npos, Title(frame).find("[ " + drawing + " ]"));
    PostMessageA(frame, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(run.Ended(kEndWaitMs));
}

TEST(ProgramCommandLine, BrowseSwitchWithAFolderOpensTheBrowser)
{
    apptest::ClearProductKey();
    std::string folder = testfiles::MakeScratchFolder("cmdline");
    ProgramRun run("/b \"" + folder + "\"");
    ASSERT_TRUE(run.Started());
    HWND frame = run.WaitForFrame();
    ASSERT_NE(nullptr, frame);
    EXPECT_FALSE(IsViewFrame(frame));
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(run.Ended(kEndWaitMs));
    EXPECT_FALSE(apptest::ValueExists("InitFlag", "InitFlag"));
}
