// The tool bar's buttons follow the frame's update rules, show their tips
// and save their states; the status bar's panes come and go by id and keep
// the controls placed in them.
#include "tests/toolkit/bars/bars_test_frame.h"

#include "tests/toolkit/bars/bars_test_ids.h"

#include <cstdlib>

using namespace barstest;

TEST_F(BarsTest, ToolButtonsFollowTheUpdateRules)
{
    ASSERT_TRUE(MakeFrame());
    CCJToolBar& bar = m_frame->m_toolBar;
    // A command with a handler is enabled, one without is disabled, a rule
    // that checks makes the button a checked check box.
    m_frame->SendMessage(WM_COMMAND, ID_TEST_CHECKED);
    Idle();
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONENABLED, ID_TEST_OPEN));
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONENABLED, ID_TEST_UNHANDLED));
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONCHECKED, ID_TEST_CHECKED));
    m_frame->SendMessage(WM_COMMAND, ID_TEST_CHECKED);
    Idle();
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONCHECKED, ID_TEST_CHECKED));

    // A click on a button reaches the frame's handler.
    CRect button;
    bar.GetItemRect(bar.SendMessage(TB_COMMANDTOINDEX, ID_TEST_OPEN), &button);
    CPoint middle = button.CenterPoint();
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
    bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(middle.x, middle.y));
    Idle();
    EXPECT_EQ(1, m_frame->m_openCount);
    EXPECT_FALSE(bar.IsFloating());

    // An enabled button shows its image (a black square); the disabled one
    // shows its white square grey.
    auto countPixels = [&](UINT command, bool (*wanted)(COLORREF)) {
        CRect button;
        bar.GetItemRect(bar.SendMessage(TB_COMMANDTOINDEX, command), &button);
        bar.ClientToScreen(&button);
        int count = 0;
        for (int y = button.top; y < button.bottom; ++y)
            for (int x = button.left; x < button.right; ++x)
                count += wanted(ScreenPixel(CPoint(x, y)));
        return count;
    };
    auto black = [](COLORREF colour) { return colour == RGB(0, 0, 0); };
    auto white = [](COLORREF colour) { return colour == RGB(255, 255, 255); };
    auto grey = [](COLORREF colour) {
        int level = GetRValue(colour);
        return level == GetGValue(colour) && level == GetBValue(colour) && level >= 0x60 && level <= 0xC0;
    };
    EXPECT_GT(countPixels(ID_TEST_OPEN, black), 20);
    EXPECT_GT(countPixels(ID_TEST_UNHANDLED, grey), 20);
    EXPECT_EQ(0, countPixels(ID_TEST_UNHANDLED, white));
}

TEST_F(BarsTest, ToolTipsTakeTheTextAfterTheLineBreak)
{
    ASSERT_TRUE(MakeFrame());
    NMTTDISPINFOW request = {};
    request.hdr.hwndFrom = (HWND)m_frame->m_toolBar.SendMessage(TB_GETTOOLTIPS);
    request.hdr.idFrom = ID_TEST_OPEN;
    request.hdr.code = TTN_NEEDTEXTW;
    m_frame->m_toolBar.SendMessage(WM_NOTIFY, ID_TEST_OPEN, (LPARAM)&request);
    ASSERT_NE(nullptr, request.lpszText);
    EXPECT_EQ(0, lstrcmpW(L"打开", request.lpszText));
    EXPECT_NE(nullptr, (HWND)m_frame->m_toolBar.SendMessage(TB_GETTOOLTIPS));
}

TEST_F(BarsTest, ToolBarStatesAreSavedUnderTheirNumber)
{
    ASSERT_TRUE(MakeFrame());
    CString value = m_frame->m_toolBar.m_registryValue;
    EXPECT_EQ(0, value.Find("CJToolBar "));
    // Numbered in the order the bars are made, whatever their kind.
    int number = atoi(value.Mid(10));
    CString expected;
    CCJMenuBar menuBar;
    CCJToolBar other;
    expected.Format("CJToolBar %d", number + 1);
    EXPECT_EQ(expected, menuBar.m_registryValue);
    expected.Format("CJToolBar %d", number + 2);
    EXPECT_EQ(expected, other.m_registryValue);
    // The standard tool bar alone hides in place.
    EXPECT_TRUE(m_frame->m_toolBar.GetBarStyle() & CBRS_HIDE_INPLACE);
    ASSERT_TRUE(other.CreateEx(m_frame, TBSTYLE_FLAT, WS_CHILD | CBRS_TOP, CRect(0, 0, 0, 0), 0xE803));
    EXPECT_FALSE(other.GetBarStyle() & CBRS_HIDE_INPLACE);
    other.DestroyWindow();
    EXPECT_STREQ("Software\\Pellmoor\\Harbeck\\Settings", m_frame->m_toolBar.m_registryKey);
    HWND toolBar = m_frame->m_toolBar.m_hWnd;
    m_frame->m_toolBar.SendMessage(TB_HIDEBUTTON, ID_TEST_CHECKED, TRUE);
    CloseFrame();
    EXPECT_FALSE(IsWindow(toolBar));
    // The control's own format, read back by a control of its own.
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, "Software\\Pellmoor\\Harbeck\\Settings", value,
                                          RRF_RT_ANY, nullptr, nullptr, &size));
    EXPECT_GT(size, 0u);
}

TEST_F(BarsTest, StatusPanesComeAndGoByIdAndKeepTheirControls)
{
    ASSERT_TRUE(MakeFrame());
    CCJStatusBar& bar = m_frame->m_statusBar;
    m_frame->ShowWindow(SW_SHOW);
    const UINT ids[] = {0xF007, 0xF008, 0xF009, 0};
    // Built as the browse frame builds them: each before the summary pane.
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(bar.AddIndicator(i, ids[i]));
    ASSERT_EQ(4, bar.GetCount());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ids[i], bar.GetItemID(i));
    bar.SetPaneText(0, "12个文件");
    bar.SetPaneText(3, "摘要");
    EXPECT_FALSE(bar.AddIndicator(1, 0xF008));

    // Past the end: the last place, before the last pane.
    ASSERT_TRUE(bar.AddIndicator(9, 0xF00A));
    EXPECT_EQ(0xF00Au, bar.GetItemID(3));
    EXPECT_EQ(0u, bar.GetItemID(4));
    CCJStatusBarPane pane;
    ASSERT_TRUE(bar.GetPaneInfoEx(3, &pane));
    EXPECT_EQ(50, pane.m_cxText);
    EXPECT_EQ(0u, pane.m_nStyle);
    EXPECT_FALSE(bar.GetPaneInfoEx(5, &pane));

    // A control placed in a pane follows it when the bar is sized.
    CProgressCtrl* progress = new CProgressCtrl;
    ASSERT_TRUE(progress->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &bar, 1147));
    ASSERT_TRUE(bar.AddControl(progress, 0xF00A, TRUE));
    EXPECT_FALSE(bar.AddControl(progress, 0xF00A, TRUE));
    CRect paneRect, controlRect;
    bar.GetItemRect(3, &paneRect);
    progress->GetWindowRect(&controlRect);
    bar.ScreenToClient(&controlRect);
    EXPECT_TRUE(paneRect.PtInRect(controlRect.CenterPoint()));
    bar.SetPaneWidth(0, 200);
    bar.SendMessage(WM_SIZE, 0, 0);
    bar.GetItemRect(3, &paneRect);
    progress->GetWindowRect(&controlRect);
    bar.ScreenToClient(&controlRect);
    EXPECT_TRUE(paneRect.PtInRect(controlRect.CenterPoint()));
    bar.SetPaneStyle(3, SBPS_FILLCONTROL);
    bar.PositionControls();
    progress->GetWindowRect(&controlRect);
    bar.ScreenToClient(&controlRect);
    EXPECT_EQ(paneRect, controlRect);

    // Removing the pane destroys its owned control; the others keep their
    // texts and widths.
    HWND control = progress->m_hWnd;
    int width = 0;
    UINT id, style;
    bar.GetPaneInfo(0, id, style, width);
    ASSERT_TRUE(bar.RemoveIndicator(0xF00A));
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(4, bar.GetCount());
    EXPECT_STREQ("12个文件", bar.GetPaneText(0));
    EXPECT_STREQ("摘要", bar.GetPaneText(3));
    int widthAfter = 0;
    bar.GetPaneInfo(0, id, style, widthAfter);
    EXPECT_EQ(width, widthAfter);
    Idle();
    Screenshot(&bar, "status_bar_panes");
}
