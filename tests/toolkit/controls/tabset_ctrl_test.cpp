#include "tests/support/gtest.h"

#include "tests/support/message_log.h"
#include "tests/toolkit/common/window_capture.h"
#include "tests/toolkit/controls/test_parent.h"
#include "toolkit/controls/mem_dc.h"
#include "toolkit/controls/tabset_ctrl.h"

namespace {

const UINT kStripId = 144;
const DWORD kViewFrameStyle = 0x0F;  // scroll buttons with first and last, tool tips, hanging tabs

class TabStrip : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Make(30, 300, 420, 40));
        ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE | kViewFrameStyle, CRect(0, 10, 420, 30), &parent, kStripId));
    }
    void TearDown() override { parent.DestroyWindow(); }

    // A point on the part of the tab no neighbour overlaps.
    CPoint OnTab(int index)
    {
        CRect tab;
        tabs.GetItemRect(index, &tab);
        return CPoint(tab.left + (tab.Width() - tabs.GetTabOverlap()) / 2, tab.CenterPoint().y);
    }
    void ClickButton(int button)
    {
        int width = GetSystemMetrics(SM_CXHSCROLL) - 1;
        testwin::Click(tabs.m_hWnd, width * button + width / 2, 5);
        testwin::PumpMessages(20);
    }

    testwin::CTestParent parent;
    CTabsetCtrl tabs;
};

}  // namespace

TEST_F(TabStrip, TabsComeAndGoAndTheCurrentOneFollows)
{
    EXPECT_EQ(-1, tabs.GetCurSel());
    EXPECT_EQ(0, tabs.InsertItem(0, "模型"));
    EXPECT_EQ(0, tabs.GetCurSel());
    EXPECT_EQ(1, tabs.InsertItem(1, "布局1"));
    EXPECT_EQ(0, tabs.InsertItem(0, "首页"));
    EXPECT_EQ(1, tabs.GetCurSel());  // a tab before the current one moves it up
    EXPECT_EQ(-1, tabs.InsertItem(5, "远"));
    EXPECT_EQ(-1, tabs.InsertItem(0, NULL));
    EXPECT_EQ(3, tabs.GetItemCount());
    EXPECT_STREQ("布局1", tabs.GetItemText(2));

    EXPECT_EQ(1, tabs.SetCurSel(2));
    EXPECT_TRUE(tabs.DeleteItem(0));  // before the current one
    EXPECT_EQ(1, tabs.GetCurSel());
    EXPECT_TRUE(tabs.DeleteItem(1));  // the current one: the first becomes current
    EXPECT_EQ(0, tabs.GetCurSel());
    EXPECT_FALSE(tabs.DeleteItem(3));
    EXPECT_TRUE(tabs.DeleteItem(0));
    EXPECT_EQ(-1, tabs.GetCurSel());
    EXPECT_EQ(0, tabs.GetItemCount());
}

TEST_F(TabStrip, AClickAsksTheOwnerFirstAndARefusalKeepsTheTab)
{
    for (const char* name : {"模型", "布局1", "布局2"})
        tabs.InsertItem(tabs.GetItemCount(), name);
    CPoint second = OnTab(1);
    testwin::Click(tabs.m_hWnd, second.x, second.y);
    ASSERT_EQ(2u, parent.m_notices.size());
    EXPECT_EQ((UINT)TCN_SELCHANGING, parent.m_notices[0].code);
    EXPECT_EQ((UINT)TCN_SELCHANGE, parent.m_notices[1].code);
    EXPECT_EQ(kStripId, parent.m_notices[1].id);
    EXPECT_EQ(1, tabs.GetCurSel());

    // The current tab again: no notice.
    testwin::Click(tabs.m_hWnd, second.x, second.y);
    EXPECT_EQ(2u, parent.m_notices.size());

    parent.m_selChangingAnswer = 1;
    CPoint third = OnTab(2);
    testwin::Click(tabs.m_hWnd, third.x, third.y);
    EXPECT_EQ(1u, parent.Count(TCN_SELCHANGE));
    EXPECT_EQ(2u, parent.Count(TCN_SELCHANGING));
    EXPECT_EQ(1, tabs.GetCurSel());
}

TEST_F(TabStrip, TabsThatOverflowScrollWithTheButtons)
{
    for (int i = 0; i < 20; ++i) {
        CString name;
        name.Format("布局%d", i);
        tabs.InsertItem(i, name);
    }
    EXPECT_FALSE(tabs.IsButtonEnabled(CTabsetCtrl::kFirst));
    EXPECT_FALSE(tabs.IsButtonEnabled(CTabsetCtrl::kLeft));
    EXPECT_TRUE(tabs.IsButtonEnabled(CTabsetCtrl::kRight));
    ClickButton(CTabsetCtrl::kLeft);  // disabled: nothing happens
    EXPECT_EQ(0, tabs.GetScrollOffset());
    testwin::ScreenPicture::OfClient(parent.m_hWnd).Save("tabset_start");

    // The last button: the last tab ends at the strip's right edge.
    ClickButton(CTabsetCtrl::kLast);
    CRect last;
    tabs.GetItemRect(19, &last);
    EXPECT_EQ(420 - 1, last.right);
    EXPECT_TRUE(tabs.IsButtonEnabled(CTabsetCtrl::kLeft));
    EXPECT_FALSE(tabs.IsButtonEnabled(CTabsetCtrl::kRight));

    // Left: a whole tab comes back at the buttons' edge.
    int before = tabs.GetScrollOffset();
    ClickButton(CTabsetCtrl::kLeft);
    int buttons = 4 * (GetSystemMetrics(SM_CXHSCROLL) - 1);
    EXPECT_LT(tabs.GetScrollOffset(), before);
    bool aligned = false;
    for (int i = 0; i < 20; ++i) {
        CRect tab;
        tabs.GetItemRect(i, &tab);
        aligned = aligned || tab.left == buttons;
    }
    EXPECT_TRUE(aligned);

    ClickButton(CTabsetCtrl::kFirst);
    EXPECT_EQ(0, tabs.GetScrollOffset());

    // Selecting a hidden tab brings it into view.
    tabs.SetCurSel(15);
    CRect current;
    tabs.GetItemRect(15, &current);
    EXPECT_GE(current.left, buttons);
    EXPECT_LE(current.right, 420);
    testwin::ScreenPicture::OfClient(parent.m_hWnd).Save("tabset_scrolled");
}

TEST_F(TabStrip, TheCurrentTabLiesOnTopInTheWindowColour)
{
    tabs.InsertItem(0, "模型");
    tabs.InsertItem(1, "布局1");
    tabs.InsertItem(2, "布局2");
    tabs.SetCurSel(1);
    testwin::ScreenPicture picture = testwin::ScreenPicture::OfClient(tabs.m_hWnd);
    picture.Save("tabset");
    CPoint current = OnTab(1);
    CPoint other = OnTab(2);
    // Read around the tabs' middles: their texts cross any one row.
    CRect currentMiddle(current.x - 12, 2, current.x + 12, 16);
    CRect otherMiddle(other.x - 12, 2, other.x + 12, 16);
    EXPECT_GT(picture.CountColour(currentMiddle, GetSysColor(COLOR_WINDOW)),
              picture.CountColour(currentMiddle, GetSysColor(COLOR_BTNFACE)));
    EXPECT_GT(picture.CountColour(otherMiddle, GetSysColor(COLOR_BTNFACE)),
              picture.CountColour(otherMiddle, GetSysColor(COLOR_WINDOW)));
    CRect tab;
    tabs.GetItemRect(1, &tab);
    EXPECT_GT(picture.CountNear(tab, GetSysColor(COLOR_WINDOWTEXT), testwin::kTextInkTolerance), 10);

    // With tabs the background is not erased (the paint covers it all).
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP marker = CreateCompatibleBitmap(screen, 8, 8);
    HGDIOBJ old = SelectObject(memory, marker);
    RECT all = {0, 0, 8, 8};
    FillRect(memory, &all, (HBRUSH)GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(tabs.SendMessage(WM_ERASEBKGND, (WPARAM)memory));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(memory, 3, 3));
    SelectObject(memory, old);
    DeleteObject(marker);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
}

TEST(MemDC, DrawingReachesTheTargetInOneCopyWhenTheSurfaceEnds)
{
    HDC screen = GetDC(NULL);
    CDC target;
    target.CreateCompatibleDC(CDC::FromHandle(screen));
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(CDC::FromHandle(screen), 40, 20);
    CBitmap* old = target.SelectObject(&bitmap);
    target.FillSolidRect(0, 0, 40, 20, RGB(0, 0, 0));
    {
        CRect part(10, 5, 30, 15);
        CMemDC surface(&target, part, RGB(255, 0, 0));
        ASSERT_TRUE(surface.IsValid());
        surface.FillSolidRect(20, 8, 4, 4, RGB(0, 0, 255));  // in the target's coordinates
        EXPECT_EQ(RGB(0, 0, 0), target.GetPixel(15, 10));  // nothing shows yet
    }
    EXPECT_EQ(RGB(255, 0, 0), target.GetPixel(15, 10));
    EXPECT_EQ(RGB(0, 0, 255), target.GetPixel(21, 9));
    EXPECT_EQ(RGB(0, 0, 0), target.GetPixel(5, 10));  // outside the surface
    target.SelectObject(old);
    ReleaseDC(NULL, screen);
}

TEST(TabStripSplitter, TheGripStopsWhereFourButtonsAndAStripHeightRemain)
{
    testwin::CTestParent parent;
    ASSERT_TRUE(parent.Make(30, 360, 420, 30));
    CTabsetCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE | 2 | 4 | 16, CRect(0, 5, 420, 25), &parent, kStripId));
    tabs.SetGripPercent(50);
    EXPECT_EQ(210, tabs.GetGripPosition());
    int grip = tabs.GetGripPosition() + 2;
    tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grip, 5));
    tabs.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grip + 400, 5));
    tabs.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(grip + 400, 5));
    int largest = 420 - 4 * (GetSystemMetrics(SM_CXHSCROLL) - 1) - GetSystemMetrics(SM_CYHSCROLL);
    EXPECT_EQ(largest, tabs.GetGripPosition());
    CRect bar;
    tabs.GetScrollBar().GetWindowRect(&bar);
    tabs.ScreenToClient(&bar);
    EXPECT_EQ(largest + 6, bar.left);
    EXPECT_EQ(420 - GetSystemMetrics(SM_CYHSCROLL), bar.right);
    testwin::ScreenPicture::OfClient(parent.m_hWnd).Save("tabset_splitter");

    // Escape ends a drag where the grip was taken to.
    tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(largest + 2, 5));
    tabs.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(largest - 98, 5));
    EXPECT_EQ(largest - 100, tabs.GetGripPosition());
    EXPECT_EQ(tabs.m_hWnd, GetCapture());
    testwin::PressKey(tabs.m_hWnd, VK_ESCAPE);
    EXPECT_NE(tabs.m_hWnd, GetCapture());
    tabs.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grip, 5));
    EXPECT_EQ(largest - 100, tabs.GetGripPosition());
    parent.DestroyWindow();
}
