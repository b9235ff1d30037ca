// The view frame: the way back to the browser, full screen and the stored
// window rectangle.
#include "tests/views/viewer/viewer_harness.h"

#include "core/appsw.h"
#include "resources/views_ids.h"

namespace {

class ViewFrameShownTest : public viewtest::ViewerTest {
protected:
    void PressEscape()
    {
        MSG msg = {m_frame->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
        EXPECT_TRUE(m_frame->PreTranslateMessage(&msg));
    }
};

DWORD StoredValue(const char* name)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Pellmoor\\Harbeck\\ViewWindow", name, RRF_RT_REG_DWORD, NULL,
                 &value, &size);
    return value;
}

}  // namespace

TEST_F(ViewFrameShownTest, FullScreenPutsTheDrawingOverTheWholeScreenAndBack)
{
    ASSERT_TRUE(Open("square.dxf"));
    Command(ID_VIEW_ZOOM_ALL);
    CRect before;
    m_frame->GetWindowRect(&before);
    Key('F');
    EXPECT_EQ(1, m_frame->m_fullScreen);
    CRect view;
    View()->GetWindowRect(&view);
    EXPECT_LE(view.left, 0);
    EXPECT_LE(view.top, 0);
    EXPECT_GE(view.right, GetSystemMetrics(SM_CXSCREEN) - 2);
    EXPECT_GE(view.bottom, GetSystemMetrics(SM_CYSCREEN) - 2);
    CGDIDevice picture;
    CaptureView(picture);
    viewtest::KeepScreenshot(picture, "full_screen");
    RECT box;
    EXPECT_GT(drawtest::CountForeground(picture, &box), 100);

    // Hidden in full screen, the stored rectangle is the one from before.
    m_frame->ShowWindow(SW_HIDE);
    EXPECT_EQ((DWORD)before.left, StoredValue("Left"));
    EXPECT_EQ((DWORD)before.right, StoredValue("Right"));
    m_frame->ShowWindow(SW_SHOW);
    Settle();

    Command(ID_VIEW_FULL_SCREEN);
    EXPECT_EQ(0, m_frame->m_fullScreen);
    CRect after;
    m_frame->GetWindowRect(&after);
    EXPECT_EQ(before, after);
}

TEST_F(ViewFrameShownTest, AMinimisedFrameKeepsTheStoredRectangle)
{
    m_frame->MoveWindow(30, 40, 500, 400);
    m_frame->ShowWindow(SW_HIDE);
    EXPECT_EQ(30u, StoredValue("Left"));
    EXPECT_EQ(440u, StoredValue("Bottom"));
    m_frame->ShowWindow(SW_SHOWMINIMIZED);
    m_frame->ShowWindow(SW_HIDE);
    EXPECT_EQ(30u, StoredValue("Left"));
    EXPECT_EQ(530u, StoredValue("Right"));
}

TEST_F(ViewFrameShownTest, EscapeGoesBackToTheViewedFilesFolder)
{
    AppSW.SetViewPath("C:\\windows\\win.ini");
    PressEscape();
    ASSERT_EQ(1u, m_actions.calls.size());
    EXPECT_EQ("ToBrowseMode C:\\windows\\", m_actions.calls[0]);
}

TEST_F(ViewFrameShownTest, EscapeKeepsTheTreeWhereItWasWhenTheFolderIsGone)
{
    AppSW.SetViewPath("C:\\no such folder\\a.dxf");
    PressEscape();
    ASSERT_EQ(1u, m_actions.calls.size());
    EXPECT_EQ("ToBrowseMode (null)", m_actions.calls[0]);
}

TEST_F(ViewFrameShownTest, EscapeEndsAProgramStartedForOneFileUntilTheBackCommand)
{
    m_frame->m_exitOnEsc = 1;
    PressEscape();
    ASSERT_EQ(1u, m_actions.calls.size());
    EXPECT_EQ("SetToQuit", m_actions.calls[0]);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));

    AppSW.mode = APPMODE_VIEW;
    m_frame->m_exitOnEsc = 1;
    m_frame->SendMessage(WM_COMMAND, ID_BACK_TO_BROWSE, 0);
    EXPECT_EQ(0, m_frame->m_exitOnEsc);
    PressEscape();
    ASSERT_EQ(3u, m_actions.calls.size());
    EXPECT_EQ(0u, m_actions.calls[2].find("ToBrowseMode"));
}
