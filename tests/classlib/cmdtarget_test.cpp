// Command routing: commands and update requests travel from the active
// view to the frame and on to the application; an update handler that
// disables a command keeps it from running; menus show commands without a
// handler disabled.
#include "tests/support/gtest.h"
#include "platform/classlib/classlib.h"
#include "tests/classlib/window_test_ids.h"

namespace {

class CRoutingApp : public CWinApp {
public:
    int appCommands = 0;
    afx_msg void OnAppCommand() { ++appCommands; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingApp, CWinApp)
    ON_COMMAND(ID_TEST_APP_COMMAND, &CRoutingApp::OnAppCommand)
END_MESSAGE_MAP()

class CRoutingFrame : public CFrameWnd {
public:
    int plain = 0, disabledRuns = 0, exCalls = 0;
    UINT lastRangeId = 0;
    int rangeCalls = 0;
    BOOL disable = TRUE;

protected:
    afx_msg void OnPlain() { ++plain; }
    afx_msg void OnDisabled() { ++disabledRuns; }
    afx_msg void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(!disable); }
    afx_msg void OnRange(UINT id)
    {
        ++rangeCalls;
        lastRangeId = id;
    }
    afx_msg void OnUpdateRange(CCmdUI* ui) { ui->SetCheck(ui->m_nID == 40011 ? 1 : 0); }
    afx_msg void OnUpdatePlain(CCmdUI* ui) { ui->SetText("新名字"); }
    // Lets the command go on to the application.
    afx_msg BOOL OnAppCommandEx(UINT)
    {
        ++exCalls;
        return FALSE;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingFrame, CFrameWnd)
    ON_COMMAND(ID_TEST_PLAIN, &CRoutingFrame::OnPlain)
    ON_UPDATE_COMMAND_UI(ID_TEST_PLAIN, &CRoutingFrame::OnUpdatePlain)
    ON_COMMAND(ID_TEST_DISABLED, &CRoutingFrame::OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, &CRoutingFrame::OnUpdateDisabled)
    ON_COMMAND_RANGE(ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, &CRoutingFrame::OnRange)
    ON_UPDATE_COMMAND_UI_RANGE(ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, &CRoutingFrame::OnUpdateRange)
    ON_COMMAND_EX(ID_TEST_APP_COMMAND, &CRoutingFrame::OnAppCommandEx)
END_MESSAGE_MAP()

class CRoutingView : public CWnd {
public:
    int plain = 0;
    BOOL passOn = FALSE;

protected:
    afx_msg void OnPlain() { ++plain; }
    afx_msg void OnUpdatePlain(CCmdUI* ui)
    {
        if (passOn)
            ui->ContinueRouting();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingView, CWnd)
    ON_COMMAND(ID_TEST_PLAIN, &CRoutingView::OnPlain)
    ON_UPDATE_COMMAND_UI(ID_TEST_PLAIN, &CRoutingView::OnUpdatePlain)
END_MESSAGE_MAP()

class CommandRouting : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new CRoutingFrame;
        ASSERT_TRUE(frame->LoadFrame(IDR_TEST_FRAME));
        menu = ::GetSubMenu(::GetMenu(frame->m_hWnd), 0);
    }
    void TearDown() override
    {
        if (frame)
            frame->DestroyWindow();  // the frame deletes itself
    }
    void Command(UINT id) { frame->SendMessage(WM_COMMAND, id, 0); }
    void OpenMenu() { frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)menu, MAKELPARAM(0, FALSE)); }
    bool Grayed(UINT id) { return (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
    bool Checked(UINT id) { return (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

    CRoutingApp app;
    CRoutingFrame* frame = nullptr;
    HMENU menu = nullptr;
};

TEST_F(CommandRouting, HandledCommandRuns)
{
    Command(ID_TEST_PLAIN);
    EXPECT_EQ(1, frame->plain);
}

TEST_F(CommandRouting, CommandDisabledByItsUpdateHandlerDoesNotRun)
{
    Command(ID_TEST_DISABLED);
    EXPECT_EQ(0, frame->disabledRuns);
    frame->disable = FALSE;
    Command(ID_TEST_DISABLED);
    EXPECT_EQ(1, frame->disabledRuns);
}

TEST_F(CommandRouting, RangeHandlerGetsTheId)
{
    Command(40011);
    EXPECT_EQ(1, frame->rangeCalls);
    EXPECT_EQ(40011u, frame->lastRangeId);
    Command(ID_TEST_RANGE_LAST + 1);
    EXPECT_EQ(1, frame->rangeCalls);
}

TEST_F(CommandRouting, MenuShowsTheUpdateStateOfEveryItem)
{
    OpenMenu();
    EXPECT_FALSE(Grayed(ID_TEST_PLAIN));
    EXPECT_TRUE(Grayed(ID_TEST_DISABLED));
    EXPECT_TRUE(Grayed(ID_TEST_NO_HANDLER));
    EXPECT_FALSE(Grayed(ID_TEST_APP_COMMAND));
    EXPECT_FALSE(Grayed(ID_APP_EXIT));
    EXPECT_FALSE(Checked(ID_TEST_RANGE_FIRST));
    EXPECT_TRUE(Checked(40011));
    EXPECT_FALSE(Checked(ID_TEST_RANGE_LAST));
    char text[32] = {};
    ::GetMenuStringA(menu, ID_TEST_PLAIN, text, sizeof(text), MF_BYCOMMAND);
    EXPECT_STREQ("新名字", text);

    frame->disable = FALSE;
    OpenMenu();
    EXPECT_FALSE(Grayed(ID_TEST_DISABLED));
}

TEST_F(CommandRouting, WithoutAutoDisableItemsWithoutHandlerStayEnabled)
{
    frame->m_bAutoMenuEnable = FALSE;
    OpenMenu();
    EXPECT_FALSE(Grayed(ID_TEST_NO_HANDLER));
    EXPECT_TRUE(Grayed(ID_TEST_DISABLED));
}

TEST_F(CommandRouting, ExtendedHandlerCanPassTheCommandOnToTheApplication)
{
    Command(ID_TEST_APP_COMMAND);
    EXPECT_EQ(1, frame->exCalls);
    EXPECT_EQ(1, app.appCommands);
}

TEST_F(CommandRouting, ActiveViewComesFirst)
{
    CRoutingView* view = new CRoutingView;
    ASSERT_TRUE(view->Create(nullptr, "view", WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST));
    frame->SetActiveView(view);
    Command(ID_TEST_PLAIN);
    EXPECT_EQ(1, view->plain);
    EXPECT_EQ(0, frame->plain);

    // The view's update handler lets the request go on to the frame.
    view->passOn = TRUE;
    OpenMenu();
    char text[32] = {};
    ::GetMenuStringA(menu, ID_TEST_PLAIN, text, sizeof(text), MF_BYCOMMAND);
    EXPECT_STREQ("新名字", text);

    // A view whose window is gone is not asked.
    view->DestroyWindow();
    delete view;
    Command(ID_TEST_PLAIN);
    EXPECT_EQ(1, frame->plain);
}

TEST_F(CommandRouting, HandlerQueryDoesNotRunTheHandler)
{
    AFX_CMDHANDLERINFO info = {};
    EXPECT_TRUE(frame->OnCmdMsg(ID_TEST_PLAIN, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(frame, info.pTarget);
    EXPECT_EQ(0, frame->plain);
    EXPECT_FALSE(frame->OnCmdMsg(ID_TEST_NO_HANDLER, CN_COMMAND, nullptr, &info));
}

TEST(CommandUpdate, ButtonStandsForItsCommand)
{
    CWnd parent, button;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPED, 0, 0, 100, 60, nullptr, nullptr));
    ASSERT_TRUE(button.CreateEx(0, "BUTTON", "按钮", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 60, 20, parent.m_hWnd,
                                (HMENU)ID_TEST_PLAIN));
    CCmdUI state;
    state.m_nID = ID_TEST_PLAIN;
    state.m_pOther = &button;
    state.Enable(FALSE);
    EXPECT_FALSE(button.IsWindowEnabled());
    state.Enable(TRUE);
    EXPECT_TRUE(button.IsWindowEnabled());
    state.SetCheck(1);
    EXPECT_EQ(BST_CHECKED, button.SendMessage(BM_GETCHECK));
    state.SetRadio(FALSE);
    EXPECT_EQ(BST_UNCHECKED, button.SendMessage(BM_GETCHECK));
    state.SetText("新的");
    CString text;
    button.GetWindowText(text);
    EXPECT_STREQ("新的", text);
}

}  // namespace
