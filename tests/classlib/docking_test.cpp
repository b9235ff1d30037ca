// The class library's docking: a frame's tool bars in dock-bar rows (edge
// overlap, wrapping, kept places), and the dock state's records written
// and read back field by field.
#include "tests/support/gtest.h"
#include "platform/classlib/classlib.h"
#include "tests/classlib/window_test_support.h"
#include "tests/support/registry_sandbox.h"

namespace {

class CDockingFrame : public CFrameWnd {
public:
    CToolBar m_first;
    CToolBar m_second;
    CStatusBar m_status;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        const UINT buttons[] = {100, 101, 0, 102, 103, 104};
        for (CToolBar* bar : {&m_first, &m_second}) {
            if (!bar->CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER,
                               CRect(0, 0, 0, 0), bar == &m_first ? 0xE800 : 0xE803))
                return -1;
            bar->SetButtons(buttons, 6);
            bar->EnableDocking(CBRS_ALIGN_ANY);
        }
        const UINT panes[] = {0};
        if (!m_status.Create(this) || !m_status.SetIndicators(panes, 1))
            return -1;
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_first);
        DockControlBar(&m_second);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDockingFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class Docking : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sandbox.IsActive());
        app.SetRegistryKey("Pellmoor");
        frame = new CDockingFrame;
        ASSERT_TRUE(frame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW, CRect(20, 20, 820, 520)));
        frame->ShowWindow(SW_SHOW);
        frame->RecalcLayout();
    }
    void TearDown() override
    {
        frame->DestroyWindow();
        windowtest::DrainQueue();
    }
    CRect InFrame(CWnd* bar)
    {
        CRect rect;
        bar->GetWindowRect(&rect);
        frame->ScreenToClient(&rect);
        return rect;
    }

    RegistrySandbox sandbox;
    CWinApp app{"Harbeck"};
    CDockingFrame* frame = nullptr;
};

}  // namespace

TEST_F(Docking, ToolBarsShareARowAndKeepTheirPlaces)
{
    // Docked one after the other: two rows; put on the first row: the class
    // library's bars overlap their neighbour by two borders.
    EXPECT_LT(InFrame(&frame->m_first).bottom, InFrame(&frame->m_second).bottom);
    CRect first;
    frame->m_first.GetWindowRect(&first);
    frame->DockControlBar(&frame->m_second, AFX_IDW_DOCKBAR_TOP, CRect(first.right, first.top, first.right + 40,
                                                                        first.bottom));
    CRect left = InFrame(&frame->m_first);
    EXPECT_EQ(left.top, InFrame(&frame->m_second).top);
    EXPECT_EQ(left.right, InFrame(&frame->m_second).left) << "docked where it was dropped";
    int overlap = 2 * GetSystemMetrics(SM_CXBORDER);
    frame->m_second.SetWindowPos((HWND)nullptr, 0, -2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    frame->RecalcLayout();
    EXPECT_EQ(left.right - overlap, InFrame(&frame->m_second).left) << "next to its neighbour";

    // A bar moved along the row stays there, and comes back inside when the
    // frame narrows (by its overlap past the end).
    frame->m_second.SetWindowPos((HWND)nullptr, 500, -2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    frame->RecalcLayout();
    EXPECT_EQ(500, InFrame(&frame->m_second).left);
    frame->SetWindowPos((HWND)nullptr, 0, 0, 560, 400, SWP_NOMOVE | SWP_NOZORDER);
    CRect client, window;
    frame->GetClientRect(&client);
    EXPECT_EQ(client.right + overlap, InFrame(&frame->m_second).right);
    EXPECT_EQ(left.top, InFrame(&frame->m_second).top);
    // With no room left after the first bar, it wraps to a row of its own.
    frame->GetWindowRect(&window);
    frame->SetWindowPos((HWND)nullptr, 0, 0, left.Width() + window.Width() - client.Width(), 400,
                        SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(0, InFrame(&frame->m_second).left);
    EXPECT_GT(InFrame(&frame->m_second).top, InFrame(&frame->m_first).top);

    // Docked at a side, a tool bar is one button a row.
    frame->DockControlBar(&frame->m_first, AFX_IDW_DOCKBAR_LEFT);
    CRect side = InFrame(&frame->m_first);
    EXPECT_GT(side.Height(), side.Width());
}

TEST_F(Docking, DockStateRecordsRoundTripThroughTheProfile)
{
    frame->FloatControlBar(&frame->m_second, CPoint(300, 200));
    frame->ShowControlBar(&frame->m_first, FALSE, FALSE);
    CDockState saved;
    frame->GetDockState(saved);
    saved.SaveState("Layout");
    CDockState loaded;
    ASSERT_TRUE(loaded.LoadState("Layout"));
    // The three empty sides write nothing.
    ASSERT_EQ(saved.m_arrBarInfo.size(), loaded.m_arrBarInfo.size() + 3);
    size_t next = 0;
    for (const CControlBarInfo& info : saved.m_arrBarInfo) {
        bool emptySide = info.m_bDockBar && !info.m_bFloating && info.m_arrBarID.size() <= 1;
        if (emptySide)
            continue;
        const CControlBarInfo& back = loaded.m_arrBarInfo[next++];
        EXPECT_EQ(info.m_nBarID, back.m_nBarID);
        EXPECT_EQ(info.m_bVisible, back.m_bVisible);
        EXPECT_EQ(info.m_bFloating, back.m_bFloating);
        EXPECT_EQ(info.m_pointPos, back.m_pointPos);
        EXPECT_EQ(info.m_bDocking, back.m_bDocking);
        EXPECT_EQ(info.m_rectMRUDockPos, back.m_rectMRUDockPos);
        EXPECT_EQ(info.m_ptMRUFloatPos, back.m_ptMRUFloatPos);
        EXPECT_EQ(info.m_arrBarID, back.m_arrBarID);
    }
    // The hidden bar's place in its dock bar carries bit 16.
    bool hiddenEntry = false;
    for (const CControlBarInfo& info : loaded.m_arrBarInfo)
        for (DWORD entry : info.m_arrBarID)
            hiddenEntry |= entry == (0x10000 | 0xE800);
    EXPECT_TRUE(hiddenEntry);
}

TEST_F(Docking, TheStatusBarsLastPaneReachesItsRightEdgeAfterEveryResize)
{
    for (int width : {600, 760}) {
        frame->SetWindowPos((HWND)nullptr, 0, 0, width, 400, SWP_NOMOVE | SWP_NOZORDER);
        CRect bar, pane;
        frame->m_status.GetClientRect(&bar);
        frame->m_status.GetItemRect(0, &pane);
        EXPECT_NEAR(bar.right, pane.right, 4) << width;
        EXPECT_GT(pane.bottom, pane.top) << width;
    }
}
