#include "tests/support/gtest.h"

#include "browser/frame/browse_frame.h"
#include "core/appsw.h"
#include "core/file_types.h"
#include "core/preference.h"
#include "drawing/draw_thread/draw_thread.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "tests/app/app_test_support.h"
#include "views/viewer/view_frame.h"

using namespace apptest;

TEST(StartUp, FirstStartDeletesNothingAndEndsWithoutTheGuard)
{
    ClearProductKey();
    SetDword("Option\\Browser", "SortType", 2);
    CQuorvantixApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(KeyExists("Option\\Browser"));
    EXPECT_TRUE(KeyExists("InitFlag"));
    EXPECT_FALSE(ValueExists("InitFlag", "InitFlag"));
    StopApplication(app);
}

TEST(StartUp, StartAfterAFailedStartWipesEverySubkeyButTheGuards)
{
    ClearProductKey();
    SetDword("InitFlag", "InitFlag", 0);  // only its existence counts
    SetDword("Option\\Thumbnail", "ThumbWidth", 200);
    SetDword("TypedDirs\\Deeper", "x", 1);
    SetDword("", "RootValue", 7);
    CQuorvantixApp app;
    ASSERT_TRUE(app.InitInstance());
    // Start-up writes some settings again, but none of the old ones survive.
    EXPECT_FALSE(KeyExists("Option\\Thumbnail"));
    EXPECT_FALSE(KeyExists("TypedDirs"));
    EXPECT_EQ(170, Preference.ThumbWidth);
    EXPECT_TRUE(ValueExists("", "RootValue"));
    EXPECT_TRUE(KeyExists("InitFlag"));
    EXPECT_FALSE(ValueExists("InitFlag", "InitFlag"));
    StopApplication(app);
}

TEST(StartUp, BrowseModeWithBothFramesAndBothWorkers)
{
    ClearProductKey();
    CQuorvantixApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(nullptr, AppSW.browseFrame);
    ASSERT_NE(nullptr, AppSW.viewFrame);
    ASSERT_NE(nullptr, AppSW.drawThread);
    ASSERT_NE(nullptr, AppSW.taskThread);
    EXPECT_EQ(APPMODE_BROWSE, AppSW.mode);
    EXPECT_EQ(&app, AppSW.app);
    EXPECT_TRUE(AppSW.browseFrame->IsWindowVisible());
    EXPECT_FALSE(AppSW.viewFrame->IsWindowVisible());
    EXPECT_EQ(AppSW.browseFrame, app.m_pMainWnd);
    EXPECT_EQ(AppSW.browseFrame->GetPreview()->GetSafeHwnd(), AppSW.drawThread->GetNotifyWnd());
    StopApplication(app);
}

TEST(StartUp, LastViewPathIsReadThenDeletedAndWrittenAgainAtExit)
{
    ClearProductKey();
    std::string main = "main";
    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Pellmoor\\Harbeck\\main", 0, NULL,
                                             0, KEY_READ | KEY_WRITE, NULL, &key, NULL));
    const char folder[] = "C:\\windows";
    RegSetValueExA(key, "LastViewPath", 0, REG_SZ, (const BYTE*)folder, sizeof(folder));
    RegCloseKey(key);

    CQuorvantixApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_STREQ(folder, AppSW.lastViewPath);
    EXPECT_FALSE(ValueExists(main, "LastViewPath"));
    AppSW.lastViewPath = "C:\\users";
    StopApplication(app);
    EXPECT_TRUE(ValueExists(main, "LastViewPath"));
    CAppSW reread;
    EXPECT_TRUE(reread.LoadReg());
    EXPECT_STREQ("C:\\users", reread.lastViewPath);
}

TEST(AppStateRegistry, OverlongOrWrongTypeLastViewPathIsIgnored)
{
    ClearProductKey();
    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Pellmoor\\Harbeck\\main", 0, NULL,
                                             0, KEY_READ | KEY_WRITE, NULL, &key, NULL));
    std::string longPath(300, 'a');
    RegSetValueExA(key, "LastViewPath", 0, REG_SZ, (const BYTE*)longPath.c_str(), (DWORD)longPath.size() + 1);
    CAppSW state;
    EXPECT_TRUE(state.LoadReg());
    EXPECT_TRUE(state.lastViewPath.IsEmpty());

    DWORD number = 5;
    RegSetValueExA(key, "LastViewPath", 0, REG_DWORD, (const BYTE*)&number, sizeof(number));
    EXPECT_TRUE(state.LoadReg());
    EXPECT_TRUE(state.lastViewPath.IsEmpty());
    RegCloseKey(key);
    ClearProductKey();
    EXPECT_FALSE(state.LoadReg());
}

TEST(StartUp, StoredOnlyShowDrawingLeavesTheFourDrawingKinds)
{
    ClearProductKey();
    SetDword("Option\\Browser", "OnlyShowDrawing", 1);
    CQuorvantixApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(4, DrawingFileType.GetCount());
    EXPECT_EQ(1, Preference.OnlyShowDrawing);
    StopApplication(app);
    ClearProductKey();
    Preference.OnlyShowDrawing = 0;
    DrawingFileType.Build(false);
}

TEST(StartUp, SettingsAreSavedAtExit)
{
    ClearProductKey();
    CQuorvantixApp app;
    ASSERT_TRUE(app.InitInstance());
    Preference.ThumbWidth = 200;
    StopApplication(app);
    EXPECT_TRUE(ValueExists("Option\\Thumbnail", "ThumbWidth"));
    EXPECT_TRUE(ValueExists("Option\\LibIndex", "Path"));
    Preference.ThumbWidth = 170;
}
