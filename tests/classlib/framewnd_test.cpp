// Frames loaded from resources: menu, accelerators and title; accelerators
// reach commands through PreTranslateMessage; the main frame's end ends the
// application's loop.
#include "tests/support/gtest.h"
#include "platform/classlib/classlib.h"
#include "tests/classlib/window_test_ids.h"
#include "tests/classlib/window_test_support.h"

namespace {

class CTestFrame : public CFrameWnd {
public:
    int accelerated = 0;
    bool* destroyedFlag = nullptr;
    ~CTestFrame() override
    {
        if (destroyedFlag)
            *destroyedFlag = true;
    }

protected:
    afx_msg void OnAccelerated() { ++accelerated; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_COMMAND(ID_TEST_ACCELERATED, &CTestFrame::OnAccelerated)
END_MESSAGE_MAP()

class FrameWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new CTestFrame;
        frame->destroyedFlag = &destroyed;
        ASSERT_TRUE(frame->LoadFrame(IDR_TEST_FRAME));
    }
    void TearDown() override
    {
        if (!destroyed)
            frame->DestroyWindow();
        windowtest::DrainQueue();
    }
    CTestFrame* frame = nullptr;
    bool destroyed = false;
};

TEST_F(FrameWindow, LoadFrameTakesMenuAcceleratorsAndTitle)
{
    CString title;
    frame->GetWindowText(title);
    EXPECT_STREQ("测试框架", title);
    EXPECT_STREQ("测试框架", frame->GetTitle());
    char className[64] = {};
    GetClassNameA(frame->m_hWnd, className, sizeof(className));
    EXPECT_STREQ("HarbeckFrame", className);
    EXPECT_TRUE(frame->GetStyle() & FWS_ADDTOTITLE);

    HMENU menu = ::GetMenu(frame->m_hWnd);
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(1, GetMenuItemCount(menu));
    EXPECT_EQ(10, GetMenuItemCount(GetSubMenu(menu, 0)));
    EXPECT_NE(nullptr, frame->GetDefaultAccelerator());
    EXPECT_EQ(IDR_TEST_FRAME, (int)frame->m_nIDHelp);
}

TEST(FrameLoading, MissingMenuFailsAndLeavesTheObjectToItsCreator)
{
    bool destroyed = false;
    CTestFrame* frame = new CTestFrame;
    frame->destroyedFlag = &destroyed;
    EXPECT_FALSE(frame->LoadFrame(IDR_FRAME_WITHOUT_MENU));
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(nullptr, frame->m_hWnd);
    delete frame;
    EXPECT_TRUE(destroyed);
}

TEST_F(FrameWindow, AcceleratorReachesItsCommandThroughTheMessageLoop)
{
    frame->ShowWindow(SW_SHOW);
    frame->SetForegroundWindow();
    frame->SetFocus();
    PostMessageA(frame->m_hWnd, WM_KEYDOWN, VK_F5, 1);
    EXPECT_TRUE(windowtest::PumpUntil([&] { return frame->accelerated == 1; }));
    // Without the loop's translation the key is only a key.
    frame->SendMessage(WM_KEYDOWN, VK_F5, 1);
    EXPECT_EQ(1, frame->accelerated);
    // A disabled frame (a modal dialog over it) leaves its keys alone.
    frame->EnableWindow(FALSE);
    MSG key = {};
    key.hwnd = frame->m_hWnd;
    key.message = WM_KEYDOWN;
    key.wParam = VK_F5;
    key.lParam = 1;
    EXPECT_FALSE(frame->PreTranslateMessage(&key));
    EXPECT_EQ(1, frame->accelerated);
    frame->EnableWindow(TRUE);
    EXPECT_TRUE(frame->PreTranslateMessage(&key));
    EXPECT_EQ(2, frame->accelerated);
}

TEST_F(FrameWindow, ClosingTheMainFrameEndsTheLoopAndTheObject)
{
    CWinApp app;
    app.m_pMainWnd = frame;
    frame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(FrameWindow, ExitCommandClosesTheMainWindow)
{
    CWinApp app;
    app.m_pMainWnd = frame;
    frame->SendMessage(WM_COMMAND, ID_APP_EXIT);
    EXPECT_TRUE(destroyed);
}

TEST_F(FrameWindow, MessageTextGoesToTheStatusBar)
{
    HWND bar = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 100, 20, frame->m_hWnd,
                             (HMENU)AFX_IDW_STATUS_BAR, nullptr, nullptr);
    frame->SetMessageText("就绪");
    char text[64] = {};
    GetWindowTextA(bar, text, sizeof(text));
    EXPECT_STREQ("就绪", text);
    frame->SetMessageText(IDS_TEST_PROMPT);
    GetWindowTextA(bar, text, sizeof(text));
    EXPECT_STREQ("提示文字", text);
}

TEST_F(FrameWindow, LayoutPlacesThePaneOnTheClientArea)
{
    HWND pane = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, frame->m_hWnd,
                              (HMENU)AFX_IDW_PANE_FIRST, nullptr, nullptr);
    frame->SetWindowPos(HWND(nullptr), 0, 0, 400, 300, SWP_NOZORDER | SWP_NOMOVE);
    RECT client, placed;
    frame->GetClientRect(&client);
    GetClientRect(pane, &placed);
    EXPECT_EQ(client.right - client.left, placed.right);
    EXPECT_EQ(client.bottom - client.top, placed.bottom);
}

}  // namespace
