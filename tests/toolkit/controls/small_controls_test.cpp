#include "tests/support/gtest.h"

#include "core/locale_info.h"
#include "tests/support/message_log.h"
#include "tests/toolkit/common/window_capture.h"
#include "tests/toolkit/controls/test_parent.h"
#include "toolkit/controls/bmp_button.h"
#include "toolkit/controls/cavus.h"
#include "toolkit/controls/edit_ex.h"
#include "toolkit/controls/mac_slider_ctrl.h"
#include "toolkit/controls/quorvantix_progress.h"
#include "toolkit/controls/static_ex.h"

namespace {

class SmallControls : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(parent.Make(500, 20, 420, 300)); }
    void TearDown() override { parent.DestroyWindow(); }

    testwin::CTestParent parent;
};

}  // namespace

TEST_F(SmallControls, ProgressFillsItsShareWithAShadowEdgeAndReadsPositionOverUpper)
{
    CQuorvantixProgress progress;
    ASSERT_TRUE(progress.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 30), &parent, 1147));
    progress.SetFont(CFont::FromHandle((HFONT)GetStockObject(DEFAULT_GUI_FONT)));
    progress.SetRange(0, 100);
    progress.SetPos(50);
    testwin::ScreenPicture picture = testwin::ScreenPicture::OfClient(progress.m_hWnd);
    picture.Save("progress");
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), picture.Pixel(20, 2));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), picture.Pixel(98, 2));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), picture.Pixel(99, 2));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), picture.Pixel(100, 2));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), picture.Pixel(180, 2));
    EXPECT_GT(picture.CountNear(CRect(60, 0, 140, 19), RGB(0, 0, 0), testwin::kTextInkTolerance), 20);  // "50 / 100"

    // An upper bound of 0 shows an empty bar.
    progress.SetRange(0, 0);
    progress.SetPos(5);
    testwin::ScreenPicture empty = testwin::ScreenPicture::OfClient(progress.m_hWnd);
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), empty.Pixel(2, 2));
}

TEST_F(SmallControls, SliderPaintsItsOwnChannelAndThumbAndDarkensTheDraggedThumb)
{
    CMacSliderCtrl::Shades pale = CMacSliderCtrl::ShadesOf(RGB(230, 100, 20));
    EXPECT_EQ(RGB(230, 151, 71), pale.light1);  // 230 + 51 would pass 255
    EXPECT_EQ(RGB(179, 49, 20), pale.dark1);

    CMacSliderCtrl slider;
    // A selection range gives a channel tall enough to show its inside.
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_BOTH | TBS_NOTICKS | TBS_ENABLESELRANGE,
                              CRect(10, 40, 290, 70), &parent, 1017));
    slider.SetRange(0, 100, TRUE);
    slider.SetPos(30);
    testwin::ScreenPicture picture = testwin::ScreenPicture::OfClient(slider.m_hWnd);
    picture.Save("slider");
    CRect channel;
    slider.GetChannelRect(&channel);
    CRect thumb;
    slider.GetThumbRect(&thumb);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), picture.Pixel(thumb.right + 20, channel.CenterPoint().y));
    EXPECT_EQ(face, picture.Pixel(thumb.CenterPoint().x, thumb.CenterPoint().y));
    EXPECT_EQ(slider.GetShades().light1, picture.Pixel(thumb.left + 1, thumb.CenterPoint().y));

    // Held down, the thumb is drawn darker; let go, as before.
    slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(thumb.CenterPoint().x, thumb.CenterPoint().y));
    testwin::ScreenPicture held = testwin::ScreenPicture::OfClient(slider.m_hWnd);
    held.Save("slider_dragged");
    EXPECT_EQ(CMacSliderCtrl::Darken(face, 51), held.Pixel(thumb.CenterPoint().x, thumb.CenterPoint().y));
    slider.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(thumb.CenterPoint().x, thumb.CenterPoint().y));
    testwin::ScreenPicture released = testwin::ScreenPicture::OfClient(slider.m_hWnd);
    EXPECT_EQ(face, released.Pixel(thumb.CenterPoint().x, thumb.CenterPoint().y));

    // Disabled, the channel takes the button face.
    slider.EnableWindow(FALSE);
    testwin::ScreenPicture disabled = testwin::ScreenPicture::OfClient(slider.m_hWnd);
    EXPECT_EQ(face, disabled.Pixel(thumb.right + 20, channel.CenterPoint().y));

    // Without TBS_BOTH the thumb ends in a point: toward the bottom of a
    // horizontal slider, toward the left of a vertical one with TBS_LEFT.
    const COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    auto paintPointed = [&](CMacSliderCtrl& pointed, DWORD style, const CRect& place, const char* name) {
        EXPECT_TRUE(pointed.Create(WS_CHILD | WS_VISIBLE | TBS_NOTICKS | style, place, &parent, 1018));
        pointed.SetRange(0, 100, TRUE);
        pointed.SetPos(30);
        testwin::ScreenPicture shown = testwin::ScreenPicture::OfClient(pointed.m_hWnd);
        shown.Save(name);
        pointed.GetThumbRect(&thumb);
        return shown;
    };
    CMacSliderCtrl horizontal;
    testwin::ScreenPicture down =
        paintPointed(horizontal, TBS_HORZ | TBS_BOTTOM, CRect(10, 80, 290, 110), "slider_pointed");
    EXPECT_EQ(frame, down.Pixel((thumb.left + thumb.right - 1) / 2, thumb.bottom - 1));  // the tip
    EXPECT_EQ(frame, down.Pixel(thumb.left, thumb.top + 3));
    EXPECT_NE(frame, down.Pixel(thumb.left, thumb.bottom - 1));  // cut away beside the tip
    EXPECT_EQ(face, down.Pixel(thumb.CenterPoint().x, thumb.CenterPoint().y));

    CMacSliderCtrl vertical;
    testwin::ScreenPicture left =
        paintPointed(vertical, TBS_VERT | TBS_LEFT, CRect(320, 20, 350, 280), "slider_vertical");
    EXPECT_EQ(frame, left.Pixel(thumb.left, (thumb.top + thumb.bottom - 1) / 2));  // the tip
    EXPECT_EQ(frame, left.Pixel(thumb.right - 4, thumb.top));
    EXPECT_NE(frame, left.Pixel(thumb.left, thumb.top));
    EXPECT_EQ(face, left.Pixel(thumb.CenterPoint().x, thumb.CenterPoint().y));
}

TEST_F(SmallControls, EditTakesItsColoursFiltersNumbersAndAppendsLines)
{
    CEditEx edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 80, 200, 100), &parent, 1080));
    COLORREF yellow = RGB(255, 255, 200);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), edit.SetBkColor(yellow));
    edit.SetTextColor(RGB(0, 0, 160));
    edit.SetCharFilter(0, NumericCharFilter);
    testwin::Type(edit.m_hWnd, "-1-2x");
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ("-12", text);
    CString separator = CLocaleInfo::Instance().GetDecimalSeparator();
    testwin::Type(edit.m_hWnd, separator);
    testwin::Type(edit.m_hWnd, "5");
    testwin::Type(edit.m_hWnd, separator);
    testwin::Type(edit.m_hWnd, "7");
    edit.GetWindowText(text);
    EXPECT_STREQ("-12" + separator + "57", text);
    testwin::ScreenPicture picture = testwin::ScreenPicture::OfClient(edit.m_hWnd);
    picture.Save("edit");
    EXPECT_EQ(yellow, picture.Pixel(150, 5));
    EXPECT_GT(picture.CountColour(CRect(0, 0, 60, 16), RGB(0, 0, 160)), 10);

    edit.SetCharFilter(0, PositiveNumericCharFilter);
    edit.SetWindowText("");
    testwin::Type(edit.m_hWnd, "-3");
    edit.GetWindowText(text);
    EXPECT_STREQ("3", text);

    CEditEx lines;
    ASSERT_TRUE(lines.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, CRect(210, 80, 400, 140), &parent, 1076));
    lines.AppendLine("第一行");
    lines.AppendLine("");
    lines.AppendLine("third");
    lines.GetWindowText(text);
    EXPECT_STREQ("第一行\r\n\r\nthird", text);
}

TEST_F(SmallControls, StaticTextPaintsInItsColoursAndGreysWhenDisabled)
{
    CStaticEx title;
    ASSERT_TRUE(title.Create("授权信息", WS_CHILD | WS_VISIBLE, CRect(10, 150, 200, 180), &parent, 1075));
    title.SetBkColor(RGB(0, 60, 0));
    title.SetTextColor(RGB(255, 255, 0));
    title.SetFontSize(25);
    title.SetFontBold(true);
    testwin::ScreenPicture picture = testwin::ScreenPicture::OfClient(title.m_hWnd);
    picture.Save("static");
    EXPECT_EQ(RGB(0, 60, 0), picture.Pixel(185, 2));
    EXPECT_GT(picture.CountColour(CRect(0, 0, 190, 30), RGB(255, 255, 0)), 40);

    title.EnableWindow(FALSE);
    testwin::ScreenPicture disabled = testwin::ScreenPicture::OfClient(title.m_hWnd);
    EXPECT_EQ(0, disabled.CountColour(CRect(0, 0, 190, 30), RGB(255, 255, 0)));
    EXPECT_GT(disabled.CountColour(CRect(0, 0, 190, 30), GetSysColor(COLOR_BTNSHADOW)), 40);

    // Transparent: the parent's face shows around the text.
    title.EnableWindow(TRUE);
    title.SetTransparent(true);
    testwin::ScreenPicture clear = testwin::ScreenPicture::OfClient(parent.m_hWnd);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), clear.Pixel(10 + 185, 150 + 2));

    // The hover cursor is the control's own.
    HCURSOR hand = LoadCursorA(NULL, (LPCSTR)IDC_HAND);
    title.SetHoverCursor(hand);
    title.SendMessage(WM_SETCURSOR, (WPARAM)title.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(hand, GetCursor());
}

TEST_F(SmallControls, ClickingASecondTileMovesTheRedFrameAndADoubleClickTellsTheParent)
{
    CCavus first;
    CCavus second;
    ASSERT_TRUE(first.Create("", WS_CHILD | WS_VISIBLE, CRect(220, 150, 280, 200), &parent, 1116));
    ASSERT_TRUE(second.Create("", WS_CHILD | WS_VISIBLE, CRect(290, 150, 350, 200), &parent, 1117));
    for (CCavus* tile : {&first, &second}) {
        tile->m_selectable = true;
        tile->CreateDibFitWindow(24);
        CDC* dc = tile->GetDibDC();
        dc->FillSolidRect(tile->GetDibRect(), tile == &first ? RGB(0, 128, 255) : RGB(0, 200, 0));
        tile->Refresh();
    }
    EXPECT_EQ(CRect(0, 0, 56, 46), first.GetDibRect());
    const COLORREF frame = RGB(200, 50, 50);
    const CRect ring(0, 0, 60, 4);

    testwin::Click(first.m_hWnd, 30, 25);
    EXPECT_TRUE(first.IsSelected());
    testwin::ScreenPicture chosen = testwin::ScreenPicture::OfClient(first.m_hWnd);
    EXPECT_EQ(frame, chosen.Pixel(20, 1));
    EXPECT_EQ(frame, chosen.Pixel(20, 3));
    EXPECT_EQ(RGB(0, 128, 255), chosen.Pixel(20, 4));
    testwin::Click(second.m_hWnd, 30, 25);
    EXPECT_FALSE(first.IsSelected());
    EXPECT_EQ(0, testwin::ScreenPicture::OfClient(first.m_hWnd).CountColour(ring, frame));
    testwin::ScreenPicture picked = testwin::ScreenPicture::OfClient(second.m_hWnd);
    EXPECT_EQ(frame, picked.Pixel(1, 20));
    EXPECT_EQ(frame, picked.Pixel(3, 20));
    EXPECT_EQ(RGB(0, 200, 0), picked.Pixel(4, 20));
    testwin::ScreenPicture::OfClient(parent.m_hWnd).Save("cavus");

    testwin::MessageLog log({WM_CAVUS_DBLCLK});
    log.Attach(parent.m_hWnd);
    second.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 25));
    EXPECT_TRUE(testwin::MessagesAre(log, {WM_CAVUS_DBLCLK}));
}

TEST_F(SmallControls, ATilePictureComesFromABitmapOrAResourceOfItsOwnType)
{
    CCavus tile;
    ASSERT_TRUE(tile.LoadDib(5001));
    EXPECT_EQ(CRect(0, 0, 64, 15), tile.GetDibRect());
    ASSERT_TRUE(tile.LoadDib(5003, "ADDBITMAP"));
    EXPECT_EQ(CRect(0, 0, 64, 15), tile.GetDibRect());
    EXPECT_FALSE(tile.LoadDib(5003));  // no bitmap of that id
}

TEST_F(SmallControls, ABitmapButtonShowsThePictureOfItsState)
{
    CBmpButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 210, 74, 225), &parent, 1201));
    ASSERT_TRUE(button.LoadBitmaps(5001, 0, 0, 5002));
    button.SizeToContent();
    testwin::ScreenPicture normal = testwin::ScreenPicture::OfClient(button.m_hWnd);
    EXPECT_EQ(RGB(255, 0, 0), normal.Pixel(6, 6));
    EXPECT_EQ(RGB(0, 0, 255), normal.Pixel(22, 6));
    button.EnableWindow(FALSE);
    testwin::ScreenPicture disabled = testwin::ScreenPicture::OfClient(button.m_hWnd);
    EXPECT_EQ(RGB(255, 255, 0), disabled.Pixel(6, 6));  // the disabled picture, stretched
    EXPECT_FALSE(button.LoadBitmaps(4999));
}
