// The preview bar on its own: a docking bar of a frame that holds the
// preview pane over its whole client area, hands it the focus and offers it
// every command first.
#include "tests/support/gtest.h"

#include "core/appsw.h"
#include "resources/views_ids.h"
#include "tests/support/message_log.h"
#include "tests/support/registry_sandbox.h"
#include "toolkit/bars/frame_wnd.h"
#include "views/preview/preview_bar.h"

namespace {

const UINT kPreviewBarId = 105;

class CBarFrame : public CCJFrameWnd {
public:
    CPreViewBar m_bar;
    CStatic m_middle;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CCJFrameWnd::OnCreate(cs) == -1 ||
            !m_middle.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST) ||
            !m_bar.Create(this, kPreviewBarId, "PreView", 225, 200, 0x11400, TRUE))
            return -1;
        m_bar.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_bar, AFX_IDW_DOCKBAR_LEFT);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarFrame, CCJFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

struct CommandState : CCmdUI {
    BOOL enabled = TRUE;
    void Enable(BOOL on) override { enabled = on; }
};

class PreviewBarTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_registry.IsActive());
        AppSW.mode = APPMODE_BROWSE;
        m_frame = new CBarFrame;
        ASSERT_TRUE(m_frame->Create(nullptr, "Preview bar", WS_OVERLAPPEDWINDOW, CRect(20, 20, 720, 520)));
        m_frame->ShowWindow(SW_SHOWNORMAL);
        m_frame->RecalcLayout();
        testwin::PumpMessages(50);
    }
    void TearDown() override
    {
        m_frame->DestroyWindow();
        testwin::PumpMessages(20);
        AppSW = CAppSW();
    }
    // The pane covers the bar's client area exactly.
    void ExpectPaneFillsTheBar()
    {
        CRect client;
        m_frame->m_bar.GetClientRect(&client);
        CRect pane;
        m_frame->m_bar.GetPane()->GetWindowRect(&pane);
        m_frame->m_bar.ScreenToClient(&pane);
        EXPECT_FALSE(client.IsRectEmpty());
        EXPECT_EQ(client, pane);
    }

    RegistrySandbox m_registry;
    CWinApp m_app{"Harbeck"};
    CBarFrame* m_frame = nullptr;
};

}  // namespace

TEST_F(PreviewBarTest, ThePaneFillsTheBarDockedResizedAndFloating)
{
    CPreView* pane = m_frame->m_bar.GetPane();
    ASSERT_NE(nullptr, pane->GetSafeHwnd());
    EXPECT_EQ(IDC_PREVIEW_PANE, pane->GetDlgCtrlID());
    DWORD style = pane->GetStyle();
    EXPECT_EQ((DWORD)(WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOTIFY | SS_CENTERIMAGE),
              style & (WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOTIFY | SS_CENTERIMAGE));
    EXPECT_TRUE(pane->GetExStyle() & WS_EX_CLIENTEDGE);
    ExpectPaneFillsTheBar();

    m_frame->MoveWindow(20, 20, 900, 640);
    m_frame->RecalcLayout();
    testwin::PumpMessages(50);
    ExpectPaneFillsTheBar();

    m_frame->FloatControlBar(&m_frame->m_bar, CPoint(300, 200));
    testwin::PumpMessages(50);
    EXPECT_TRUE(m_frame->m_bar.IsFloating());
    ExpectPaneFillsTheBar();
}

TEST_F(PreviewBarTest, TheBarHandsThePaneTheFocusAndItsCommands)
{
    m_frame->m_bar.SetFocus();
    EXPECT_EQ(m_frame->m_bar.GetPane()->GetSafeHwnd(), ::GetFocus());

    // With nothing previewed the pane disables its commands; the bar
    // passes the pane's answer on.
    CommandState state;
    state.m_nID = ID_QUICK_MODE;
    EXPECT_TRUE(m_frame->m_bar.OnCmdMsg(ID_QUICK_MODE, CN_UPDATE_COMMAND_UI, &state, nullptr));
    EXPECT_FALSE(state.enabled);
    EXPECT_TRUE(m_frame->m_bar.OnCmdMsg(ID_PREVIEW_ZOOM_ALL, CN_COMMAND, nullptr, nullptr));
}
