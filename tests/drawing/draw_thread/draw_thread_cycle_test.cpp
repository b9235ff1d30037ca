#include "tests/support/gtest.h"

#include "tests/drawing/draw_thread/draw_thread_harness.h"

using drawtest::Fixture;
using drawtest::SamePixels;

namespace {

// True once the thread has stayed idle for a quarter of a second.
bool WaitUntilQuiet(TDwgDrawThread& thread)
{
    int quiet = 0;
    for (int i = 0; i < 400 && quiet < 5; ++i) {
        Sleep(50);
        quiet = thread.IsBusy() ? 0 : quiet + 1;
    }
    return quiet == 5;
}

}  // namespace

// Requests of every kind in quick succession, then one last open: the
// thread ends up holding that file and its picture. No window takes the
// answers, so that the run also works under AddressSanitizer.
TEST(DrawThreadCycle, ManyQuickOpensClosesAndCancelsEndWithTheLastFile)
{
    RegistrySandbox registry;
    ASSERT_TRUE(registry.IsActive());
    TDwgDrawThread thread;
    ASSERT_TRUE(thread.Create());
    const char* files[] = {"many.dxf", "frame.dxf", "pages.tif", "broken.dxf", "picture.png", "missing.dxf"};
    const int fileCount = sizeof(files) / sizeof(files[0]);
    for (int round = 0; round < 60; ++round) {
        thread.OpenFile(-1, Fixture(files[round % fileCount]).c_str(), 160 + round, 120, round % 2 == 0);
        if (round % 7 == 3) {
            thread.SetPendingCommand(DCMD_CLOSE);
            thread.Wake(false);
        }
        if (round % 5 == 1)
            thread.RequestFileInfo(1, Fixture("frame.dxf").c_str());
        thread.PostCommand(DCMD_ZOOM_IN, NULL, NULL, round % 3 == 0);
        thread.SetCommand(DCMD_REGEN);
        Sleep(round % 4);
    }
    ASSERT_TRUE(WaitUntilQuiet(thread));
    thread.OpenFile(-1, Fixture("frame.dxf").c_str(), 200, 100, true);
    ASSERT_TRUE(WaitUntilQuiet(thread));
    EXPECT_TRUE(thread.IsVectorLoaded());
    EXPECT_TRUE(thread.IsCurrentFile(Fixture("frame.dxf").c_str()));
    CGDIDevice picture, expected;
    ASSERT_TRUE(thread.CopyPicture(picture));
    drawtest::LibraryPicture("frame.dxf", 200, 100, true, 0, thread.IsQuickMode(), expected);
    EXPECT_TRUE(SamePixels(expected, picture));
    EXPECT_TRUE(drawtest::StopThread(&thread));
}
