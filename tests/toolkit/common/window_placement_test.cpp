#include "tests/support/gtest.h"

#include "tests/support/registry_sandbox.h"
#include "toolkit/common/global_data.h"
#include "toolkit/common/window_placement.h"

namespace {

class Placement : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sandbox.IsActive());
        app.SetRegistryKey("Pellmoor\\");
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "frame", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200,
                                   NULL, NULL));
    }
    void TearDown() override { frame.DestroyWindow(); }

    CRect Restored(const char* stored)
    {
        app.WriteProfileString("Settings", "Browser", stored);
        CCJWindowPlacement placement;
        placement.LoadWindowPos(&frame, "Browser");
        placement.RestoreWindowPos(&frame);
        CRect rect;
        frame.GetWindowRect(&rect);
        return rect;
    }

    RegistrySandbox sandbox;
    CWinApp app{"Harbeck"};
    CWnd frame;
};

}  // namespace

TEST_F(Placement, SavedPlaceComesBackRescaledToTodaysWorkArea)
{
    CRect work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // Saved 800 wide on a work area 4/5 of today's: comes back 1000 wide.
    CString stored;
    stored.Format("1,40,30,840,630,0,0,%d,%d", work.Width() * 4 / 5, work.Height());
    CRect rect = Restored(stored);
    EXPECT_EQ(40, rect.left);
    EXPECT_EQ(30, rect.top);
    EXPECT_EQ(1000, rect.Width());
    EXPECT_EQ(600, rect.Height());
    EXPECT_TRUE(frame.IsWindowVisible());
}

TEST_F(Placement, SaveWritesTheEntryAndLoadReadsItBack)
{
    frame.MoveWindow(50, 60, 400, 300);
    CCJWindowPlacement saver;
    saver.SaveWindowPos(&frame);
    EXPECT_FALSE(app.GetProfileString("Settings", "Window Pos").IsEmpty());
    CCJWindowPlacement loader;
    loader.LoadWindowPos(&frame, NULL);
    EXPECT_EQ(9, loader.m_valuesRead);
    EXPECT_EQ(CRect(50, 60, 450, 360), loader.m_windowRect);
    EXPECT_EQ((UINT)SW_SHOWNORMAL, loader.m_showCommand);
}

TEST_F(Placement, AMaximisedFrameIsMaximisedInPlace)
{
    Restored("3,5,5,300,300,0,0,1280,1024");
    EXPECT_TRUE(frame.IsZoomed());
}

TEST_F(Placement, DamagedOrUselessEntriesShowTheFrameNormalAtItsDefaultPlace)
{
    const char* entries[] = {
        "",                                   // missing
        "1,2,3",                              // too few values
        "1,10,10,300,300,0,0,1280,0",         // empty work area
        "1,40000,40000,40300,40300,0,0,1280,1024",  // off every monitor
        "0,10,10,300,300,0,0,1280,1024",      // a hiding show command
    };
    for (const char* entry : entries) {
        frame.ShowWindow(SW_HIDE);
        frame.MoveWindow(10, 20, 300, 200);
        CRect rect = Restored(entry);
        EXPECT_TRUE(frame.IsWindowVisible()) << entry;
        EXPECT_FALSE(frame.IsIconic()) << entry;
        if (entry[0] != '0') {
            EXPECT_EQ(CRect(10, 20, 310, 220), rect) << entry;
        }
    }
}

TEST(GlobalData, MenuFontsAndBrushAreReady)
{
    EXPECT_NE(nullptr, g_globalData.hbrBtnFace);
    EXPECT_NE(nullptr, g_globalData.fontMenu.GetSafeHandle());
    EXPECT_NE(nullptr, g_globalData.fontMenuBold.GetSafeHandle());
    EXPECT_GT(g_globalData.cyMenuText, 2);
    g_globalData.LoadSizingCursors();
    EXPECT_NE(nullptr, g_globalData.hcurSizeWE);
}
