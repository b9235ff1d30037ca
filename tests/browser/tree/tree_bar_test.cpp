#include "tests/support/gtest.h"

#include "browser/tree/tree_bar.h"
#include "tests/support/message_log.h"
#include "tests/support/test_files.h"
#include "toolkit/bars/frame_wnd.h"

namespace {

// A docking frame with the tree bar on its left.
class CTreeBarFrame : public CCJFrameWnd {
public:
    CTreeBar m_treeBar;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CCJFrameWnd::OnCreate(cs) == -1 ||
            !m_treeBar.Create(this, CTreeBar::kBarId, "Dir Tree", 225, 100, 0x11400, TRUE))
            return -1;
        m_treeBar.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_treeBar, AFX_IDW_DOCKBAR_LEFT);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTreeBarFrame, CCJFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

}  // namespace

TEST(TreeBar, HoldsTheFolderTreeOverItsWholeClientArea)
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    CTreeBarFrame* frame = new CTreeBarFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Tree bar", WS_OVERLAPPEDWINDOW, CRect(40, 30, 740, 530)));
    frame->ShowWindow(SW_SHOWNORMAL);
    frame->SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    frame->RecalcLayout();
    CShellTree& tree = frame->m_treeBar.GetTree();
    tree.PopulateRoot();
    testwin::PumpMessages(300);

    EXPECT_EQ((int)CTreeBar::kTreeId, tree.GetDlgCtrlID());
    EXPECT_TRUE(tree.GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_NE(nullptr, (HIMAGELIST)tree.SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL));
    CRect barClient, treeWindow;
    frame->m_treeBar.GetClientRect(&barClient);
    tree.GetWindowRect(&treeWindow);
    EXPECT_EQ(barClient.Width(), treeWindow.Width());
    EXPECT_EQ(barClient.Height(), treeWindow.Height());
    EXPECT_GT(tree.GetCount(), 0u);
    EXPECT_GT(tree.GetWatcherCount(), 0);
    frame->DestroyWindow();
    OleUninitialize();
}
