// AfxMessageBox: owned by the main window, captioned with the application
// name, with a default icon by its buttons.
#include "tests/support/gtest.h"
#include "platform/classlib/classlib.h"
#include "tests/classlib/window_test_ids.h"
#include "tests/support/thread_windows.h"

namespace {

struct SeenBox {
    HWND window;
    HWND owner;
    char caption[64];
    char text[64];
    int answer;
};

SeenBox g_seen;

// Answers the message box once it is up (from the box's own loop).
VOID CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = testwin::FindVisibleThreadWindow(GetCurrentThreadId(), "#32770");
    if (!box)
        return;
    KillTimer(nullptr, timer);
    g_seen.window = box;
    g_seen.owner = GetWindow(box, GW_OWNER);
    GetWindowTextA(box, g_seen.caption, sizeof(g_seen.caption));
    GetDlgItemTextA(box, 0xFFFF, g_seen.text, sizeof(g_seen.text));
    PostMessageA(box, WM_COMMAND, g_seen.answer, 0);
}

int ShowAndAnswer(int answer, LPCSTR text, UINT type)
{
    g_seen = SeenBox{};
    g_seen.answer = answer;
    SetTimer(nullptr, 0, 20, AnswerMessageBox);
    return AfxMessageBox(text, type);
}

TEST(AfxMessageBoxes, OwnedByTheMainWindowWithTheApplicationName)
{
    CWinApp app("图纸浏览器");
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    app.m_pMainWnd = &main;
    EXPECT_EQ(IDNO, ShowAndAnswer(IDNO, "删除吗？", MB_YESNO));
    EXPECT_EQ(main.m_hWnd, g_seen.owner);
    EXPECT_STREQ("图纸浏览器", g_seen.caption);
    EXPECT_STREQ("删除吗？", g_seen.text);
    app.m_pMainWnd = nullptr;
}

TEST(AfxMessageBoxes, StringResourcePrompt)
{
    g_seen = SeenBox{};
    g_seen.answer = IDOK;
    SetTimer(nullptr, 0, 20, AnswerMessageBox);
    EXPECT_EQ(IDOK, AfxMessageBox(IDS_TEST_PROMPT));
    EXPECT_STREQ("提示文字\n简短", g_seen.text);
    EXPECT_EQ(0, AfxMessageBox(9999u));
}

}  // namespace
