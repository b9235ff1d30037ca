// The application object: its message loop with idle processing and
// thread messages, AfxWinMain, and its profile in the Wine registry
// (values, sections and the recent-file list).
#include "tests/support/gtest.h"
#include <string>
#include <vector>
#include "platform/classlib/classlib.h"
#include "tests/support/test_files.h"

namespace {

const UINT WM_TEST_AGAIN = WM_APP + 40;

class CIdleApp : public CWinApp {
public:
    std::vector<LONG> idleCalls;
    int threadMessages = 0;

    BOOL OnIdle(LONG count) override
    {
        idleCalls.push_back(count);
        BOOL more = CWinApp::OnIdle(count);
        if (!more && threadMessages == 0)
            ::PostThreadMessageA(GetCurrentThreadId(), WM_TEST_AGAIN, 0, 0);
        else if (!more)
            PostQuitMessage(7);
        return more;
    }

protected:
    afx_msg void OnAgain(WPARAM, LPARAM) { ++threadMessages; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleApp, CWinApp)
    ON_THREAD_MESSAGE(WM_TEST_AGAIN, &CIdleApp::OnAgain)
END_MESSAGE_MAP()

TEST(ApplicationLoop, IdleProcessingRunsUntilOnIdleSaysNoMore)
{
    CIdleApp app;
    EXPECT_EQ(7, app.Run());
    // Two idle periods, each 0 then 1, with the thread message between them.
    EXPECT_EQ((std::vector<LONG>{0, 1, 0, 1}), app.idleCalls);
    EXPECT_EQ(1, app.threadMessages);
}

class CStartApp : public CWinApp {
public:
    explicit CStartApp(BOOL start) : m_start(start) {}
    int exitCalls = 0;
    BOOL InitInstance() override
    {
        if (m_start)
            PostQuitMessage(3);
        return m_start;
    }
    int ExitInstance() override
    {
        ++exitCalls;
        int code = CWinApp::ExitInstance();
        return m_start ? code : 42;
    }

private:
    BOOL m_start;
};

TEST(ApplicationLoop, WinMainRunsTheLoopOrEndsAfterAFailedStart)
{
    {
        CStartApp app(FALSE);
        EXPECT_EQ(42, AfxWinMain(GetModuleHandleA(nullptr), nullptr, (LPSTR) "", SW_SHOW));
        EXPECT_EQ(1, app.exitCalls);
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_EQ(&app, AfxGetThread());
        EXPECT_NE(nullptr, app.m_pszAppName);
    }
    EXPECT_EQ(nullptr, AfxGetApp());
    CStartApp app(TRUE);
    EXPECT_EQ(3, AfxWinMain(GetModuleHandleA(nullptr), nullptr, (LPSTR) "", SW_SHOW));
    EXPECT_EQ(1, app.exitCalls);
}

// An application object whose profile lives under a key of its own.
class Profile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[64];
        wsprintfA(name, "Profile%lu", GetCurrentProcessId());
        free((void*)app.m_pszAppName);
        app.m_pszAppName = strdup(name);
        app.SetRegistryKey("HarbeckClasslibTest\\");
        path = std::string("Software\\HarbeckClasslibTest\\") + name;
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }

    bool ValueExists(const std::string& key, LPCSTR value)
    {
        HKEY opened;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, (path + key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
            return false;
        LONG status = RegQueryValueExA(opened, value, nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(opened);
        return status == ERROR_SUCCESS;
    }

    CWinApp app;
    std::string path;
};

TEST_F(Profile, NumbersAndTextsRoundTrip)
{
    EXPECT_EQ(5u, app.GetProfileInt("Settings", "Count", 5));
    EXPECT_STREQ("无", app.GetProfileString("Settings", "Name", "无"));
    EXPECT_STREQ("", app.GetProfileString("Settings", "Name"));
    EXPECT_TRUE(app.WriteProfileInt("Settings", "Count", -9));
    EXPECT_TRUE(app.WriteProfileString("Settings", "Name", "图纸目录"));
    EXPECT_EQ((UINT)-9, app.GetProfileInt("Settings", "Count", 5));
    EXPECT_STREQ("图纸目录", app.GetProfileString("Settings", "Name", "无"));
    EXPECT_TRUE(ValueExists("\\Settings", "Count"));

    std::string longText(5000, 'x');
    EXPECT_TRUE(app.WriteProfileString("Settings", "Long", longText.c_str()));
    EXPECT_EQ(5000, app.GetProfileString("Settings", "Long").GetLength());
}

TEST_F(Profile, ValuesOfAnotherTypeGiveTheDefault)
{
    app.WriteProfileString("Settings", "Count", "12");
    EXPECT_EQ(5u, app.GetProfileInt("Settings", "Count", 5));
    app.WriteProfileInt("Settings", "Name", 1);
    EXPECT_STREQ("默认", app.GetProfileString("Settings", "Name", "默认"));
    BYTE* data = nullptr;
    UINT size = 0;
    EXPECT_FALSE(app.GetProfileBinary("Settings", "Name", &data, &size));
    EXPECT_EQ(nullptr, data);
}

TEST_F(Profile, BinaryValuesRoundTrip)
{
    BYTE bytes[] = {0, 1, 2, 0xFF, 0x80};
    EXPECT_TRUE(app.WriteProfileBinary("Bar State", "Data", bytes, sizeof(bytes)));
    BYTE* data = nullptr;
    UINT size = 0;
    ASSERT_TRUE(app.GetProfileBinary("Bar State", "Data", &data, &size));
    ASSERT_EQ(sizeof(bytes), size);
    EXPECT_EQ(0, memcmp(bytes, data, size));
    delete[] data;
}

TEST_F(Profile, NullValueDeletesTheEntryNullEntryTheSection)
{
    app.WriteProfileString("Section", "A", "1");
    app.WriteProfileString("Section", "B", "2");
    EXPECT_TRUE(app.WriteProfileString("Section", "A", nullptr));
    EXPECT_FALSE(ValueExists("\\Section", "A"));
    EXPECT_TRUE(ValueExists("\\Section", "B"));
    EXPECT_TRUE(app.WriteProfileString("Section", nullptr, nullptr));
    EXPECT_FALSE(ValueExists("\\Section", "B"));
    EXPECT_STREQ("", app.GetProfileString("Section", "B"));
}

TEST(ProfileKey, RegistryKeyAndApplicationNameMakeTheProfilePath)
{
    CWinApp app("HarbeckClasslibKeyTest");
    app.SetRegistryKey("Pellmoor\\");
    EXPECT_STREQ("HarbeckClasslibKeyTest", app.m_pszProfileName);
    HKEY key = app.GetAppRegistryKey();
    ASSERT_NE(nullptr, key);
    RegCloseKey(key);
    HKEY opened;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Pellmoor\\HarbeckClasslibKeyTest", 0,
                                           KEY_READ, &opened));
    RegCloseKey(opened);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Pellmoor\\HarbeckClasslibKeyTest");
}

TEST(ProfileKey, WithoutRegistryKeyNothingIsWritten)
{
    CWinApp app("HarbeckClasslibNoKey");
    EXPECT_EQ(nullptr, app.GetAppRegistryKey());
    EXPECT_FALSE(app.WriteProfileInt("Settings", "Count", 1));
    EXPECT_EQ(4u, app.GetProfileInt("Settings", "Count", 4));
}

TEST_F(Profile, RecentFileListKeepsTheNewestFirstAndIsSavedAtExit)
{
    std::string folder = testfiles::MakeScratchFolder("recent");
    ASSERT_FALSE(folder.empty());
    app.LoadStdProfileSettings(4);
    ASSERT_NE(nullptr, app.m_pRecentFileList);
    for (int i = 1; i <= 5; ++i)
        app.AddToRecentFileList((folder + "\\图纸" + std::to_string(i) + ".dwg").c_str());
    // Adding a listed file again (in other case) moves it up.
    app.AddToRecentFileList((folder + "\\图纸3.DWG").c_str());
    CRecentFileList& list = *app.m_pRecentFileList;
    ASSERT_EQ(4, list.GetSize());
    EXPECT_STREQ((folder + "\\图纸3.DWG").c_str(), list[0]);
    EXPECT_STREQ((folder + "\\图纸5.dwg").c_str(), list[1]);
    EXPECT_STREQ((folder + "\\图纸4.dwg").c_str(), list[2]);
    EXPECT_STREQ((folder + "\\图纸2.dwg").c_str(), list[3]);
    EXPECT_FALSE(ValueExists("\\Recent File List", "File1"));

    app.ExitInstance();
    EXPECT_TRUE(ValueExists("\\Recent File List", "File4"));
    EXPECT_FALSE(ValueExists("\\Recent File List", "File5"));
    EXPECT_STREQ(list[0], app.GetProfileString("Recent File List", "File1"));

    // A new start reads the list back.
    app.LoadStdProfileSettings(4);
    EXPECT_STREQ((folder + "\\图纸3.DWG").c_str(), (*app.m_pRecentFileList)[0]);
    EXPECT_STREQ((folder + "\\图纸2.dwg").c_str(), (*app.m_pRecentFileList)[3]);
}

}  // namespace
