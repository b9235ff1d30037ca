// The browse-mode preview pane over a running drawing thread: what it shows
// of a drawing and of an image, its zoom and pan, its drawing dialogs, and
// the way into view mode.
#include "tests/support/gtest.h"

#include "core/appsw.h"
#include "core/preference.h"
#include "resources/views_ids.h"
#include "resources/zrui_ids.h"
#include "tests/drawing/draw_thread/draw_thread_harness.h"
#include "tests/support/appsw_actions_log.h"
#include "tests/support/dialog_script.h"
#include "tests/support/registry_sandbox.h"
#include "tests/views/support/view_test_support.h"
#include "views/preview/preview_pane.h"

using drawtest::PixelAt;
using viewtest::CaptureWindow;
using viewtest::CountColour;

namespace {

const DWORD kRed = 0xFF0000;
const DWORD kBlue = 0x0000FF;

class PreviewPaneTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_registry.IsActive());
        AppSW.mode = APPMODE_BROWSE;
        Preference.PreviewZoomExtend = 1;
        // The thread runs before the pane is made, as in the program.
        m_thread = new TDwgDrawThread;
        ASSERT_TRUE(m_thread->Create());
        AppSW.drawThread = m_thread;
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "preview test", WS_POPUP | WS_VISIBLE,
                                      CRect(0, 0, 320, 240), NULL, 0));
        ASSERT_TRUE(m_pane.Create(&m_parent, IDC_PREVIEW_PANE));
        m_pane.MoveWindow(0, 0, 320, 240);
        m_pane.ShowWindow(SW_SHOW);
        m_thread->SetNotifyWnd(m_pane.GetSafeHwnd());
    }
    void TearDown() override
    {
        m_pane.DestroyWindow();
        m_parent.DestroyWindow();
        if (m_thread != NULL) {
            EXPECT_TRUE(drawtest::StopThread(m_thread));
            delete m_thread;
        }
        AppSW = CAppSW();
    }
    bool Show(const char* fixture)
    {
        m_pane.PreviewFile(drawtest::Fixture(fixture).c_str(), NULL, NULL, 0);
        return viewtest::Settle(m_thread);
    }
    RECT ForegroundBox()
    {
        m_pane.UpdateWindow();
        CGDIDevice picture;
        CaptureWindow(m_pane.GetSafeHwnd(), picture);
        RECT box;
        drawtest::CountForeground(picture, &box);
        return box;
    }
    void Wheel(short delta, POINT at)
    {
        ClientToScreen(m_pane.GetSafeHwnd(), &at);
        m_pane.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)delta), MAKELPARAM(at.x, at.y));
        viewtest::Settle(m_thread);
    }

    RegistrySandbox m_registry;
    testwin::AppSWActionsLog m_actions;
    CWnd m_parent;
    CPreView m_pane;
    TDwgDrawThread* m_thread = NULL;
};

}  // namespace

TEST_F(PreviewPaneTest, PaintsTheListColourWithNothingToShow)
{
    m_pane.UpdateWindow();
    HDC dc = ::GetDC(m_pane.GetSafeHwnd());
    EXPECT_EQ((COLORREF)Preference.ListCtrlColor, ::GetPixel(dc, 50, 40));
    ::ReleaseDC(m_pane.GetSafeHwnd(), dc);
}

TEST_F(PreviewPaneTest, ShowsADrawingAtItsExtentsZoomsAtTheWheelAndPans)
{
    ASSERT_TRUE(Show("square.dxf"));
    CGDIDevice picture;
    m_pane.UpdateWindow();
    CaptureWindow(m_pane.GetSafeHwnd(), picture);
    viewtest::KeepScreenshot(picture, "preview_drawing");
    EXPECT_GT(CountColour(picture, kRed), 100);
    RECT box = ForegroundBox();
    EXPECT_GT(box.bottom - box.top, 200);

    POINT corner = {box.left, box.top};
    Wheel(120, corner);
    RECT zoomed = ForegroundBox();
    EXPECT_NEAR(corner.x, zoomed.left, 3);
    EXPECT_GT(zoomed.right - zoomed.left, box.right - box.left + 10);

    // The pan tool drags the drawing with the pointer.
    m_pane.SendMessage(WM_COMMAND, ID_PREVIEW_PAN, 0);
    viewtest::Settle(m_thread);
    RECT before = ForegroundBox();
    m_pane.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    m_pane.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(130, 110));
    viewtest::Settle(m_thread);
    m_pane.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(130, 110));
    viewtest::Settle(m_thread);
    RECT panned = ForegroundBox();
    EXPECT_NEAR(before.left + 30, panned.left, 2);
}

TEST_F(PreviewPaneTest, ShowsAnImageAndADoubleClickOpensViewMode)
{
    ASSERT_TRUE(Show("picture.png"));
    CGDIDevice picture;
    m_pane.UpdateWindow();
    CaptureWindow(m_pane.GetSafeHwnd(), picture);
    viewtest::KeepScreenshot(picture, "preview_raster");
    EXPECT_GT(CountColour(picture, kRed), 100);
    EXPECT_GT(CountColour(picture, kBlue), 100);

    m_pane.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    ASSERT_EQ(1u, m_actions.calls.size());
    EXPECT_EQ("ToViewMode", m_actions.calls[0]);
    EXPECT_STREQ(drawtest::Fixture("picture.png").c_str(), AppSW.GetViewPath());
}

// The layers command of the pane's menu and tool bar: the layer manager over
// the previewed drawing; OK draws it again without the layer switched off.
TEST_F(PreviewPaneTest, LayersCommandShowsTheLayerManagerAndOkRedraws)
{
    ASSERT_TRUE(Show("square.dxf"));
    CGDIDevice picture;
    m_pane.UpdateWindow();
    CaptureWindow(m_pane.GetSafeHwnd(), picture);
    ASSERT_GT(CountColour(picture, kBlue), 50);

    testwin::DialogScript script;
    script.Then("图层管理", [](HWND dialog) { viewtest::SwitchLayerOff(dialog, "DIAGONAL"); })
        .Then("图层管理", [](HWND dialog) { testwin::Click(dialog, IDOK); });
    script.Start();
    m_pane.SendMessage(WM_COMMAND, ID_PREVIEW_LAYERS, 0);
    EXPECT_TRUE(script.Finished());
    ASSERT_TRUE(viewtest::Settle(m_thread));
    m_pane.UpdateWindow();
    CaptureWindow(m_pane.GetSafeHwnd(), picture);
    EXPECT_EQ(0, CountColour(picture, kBlue));
    EXPECT_GT(CountColour(picture, kRed), 100);
}

// The view-point command (out of quick mode, which a new thread starts in):
// the view-point dialog; looking along the square's plane from its side
// shows it as a flat line.
TEST_F(PreviewPaneTest, SelectViewPointShowsTheDialogAndRegenerates)
{
    ASSERT_TRUE(Show("square.dxf"));
    m_pane.SendMessage(WM_COMMAND, ID_QUICK_MODE, 0);
    ASSERT_TRUE(viewtest::Settle(m_thread));
    ASSERT_FALSE(m_thread->GetViewFlag());
    ASSERT_GT(ForegroundBox().bottom - ForegroundBox().top, 200);

    testwin::DialogScript script;
    script.Then("视点预置", [](HWND dialog) {
        testwin::SetText(dialog, IDC_ZRUI_VIEW_FROM_X, "270");
        testwin::SetText(dialog, IDC_ZRUI_VIEW_FROM_XY, "0");
        testwin::Click(dialog, IDOK);
    });
    script.Start();
    m_pane.SendMessage(WM_COMMAND, ID_PREVIEW_SELECT_VIEW_POINT, 0);
    EXPECT_TRUE(script.Finished());
    ASSERT_TRUE(viewtest::Settle(m_thread));
    RECT side = ForegroundBox();
    EXPECT_LT(side.bottom - side.top, 10);
    EXPECT_GT(side.right - side.left, 200);
}
