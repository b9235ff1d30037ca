// A drawing in view mode, driven by the user's input: what the view shows
// after each zoom, pan, view point, layout and colour mode.
#include "tests/views/viewer/viewer_harness.h"

#include <stdio.h>

#include "platform/zrio/zrio.h"
#include "resources/views_ids.h"
#include "tests/views/password/password_answers.h"
#include "views/common/view_cursors.h"
#include "views/common/view_messages.h"

using drawtest::PixelAt;
using viewtest::CountColour;
using viewtest::ViewerTest;

namespace {

const DWORD kRed = 0xFF0000;
const DWORD kGreen = 0x00FF00;
const DWORD kBlue = 0x0000FF;

int Width(const RECT& box)
{
    return box.right - box.left;
}

int Height(const RECT& box)
{
    return box.bottom - box.top;
}

POINT Centre(const RECT& box)
{
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

class DrawingViewTest : public ViewerTest {
protected:
    // Opens a drawing and zooms to its extents, as a user does with E.
    bool OpenDrawing(const char* fixture)
    {
        if (!Open(fixture))
            return false;
        Command(ID_VIEW_ZOOM_ALL);
        return true;
    }
    POINT ViewCentre()
    {
        RECT client;
        ::GetClientRect(ViewWindow(), &client);
        return {client.right / 2, client.bottom / 2};
    }
};

}  // namespace

TEST_F(DrawingViewTest, ZoomAllShowsTheWholeDrawingAndTheWheelZoomsAtThePointer)
{
    ASSERT_TRUE(OpenDrawing("square.dxf"));
    CGDIDevice picture;
    CaptureView(picture);
    viewtest::KeepScreenshot(picture, "drawing");
    RECT box;
    ASSERT_GT(drawtest::CountForeground(picture, &box), 100);
    EXPECT_GT(CountColour(picture, kRed), 100);
    EXPECT_GT(CountColour(picture, kBlue), 100);
    // The square fills most of the height, centred.
    RECT client;
    ::GetClientRect(ViewWindow(), &client);
    EXPECT_GT(Height(box), client.bottom * 3 / 4);
    EXPECT_NEAR(Width(box), Height(box), 3);
    EXPECT_NEAR(client.right / 2, Centre(box).x, 3);

    // Zooming in at the square's top-left corner keeps that corner where
    // it is and makes the square larger.
    POINT corner = {box.left, box.top};
    Wheel(120, corner);
    RECT zoomed;
    Foreground(&zoomed);
    EXPECT_NEAR(corner.x, zoomed.left, 3);
    EXPECT_NEAR(corner.y, zoomed.top, 3);
    EXPECT_GT(Width(zoomed), Width(box) + 10);

    Wheel(-120, corner);
    RECT back;
    Foreground(&back);
    EXPECT_NEAR(Width(box), Width(back), 3);

    // Zoom out twice with the key, then zoom all brings the extents back.
    Key(VK_SUBTRACT);
    Key(VK_SUBTRACT);
    RECT smaller;
    Foreground(&smaller);
    EXPECT_LT(Width(smaller), Width(box) - 10);
    Command(ID_VIEW_ZOOM_ALL);
    RECT all;
    Foreground(&all);
    EXPECT_NEAR(Width(box), Width(all), 4);
    EXPECT_NEAR(Centre(box).x, Centre(all).x, 3);
}

TEST_F(DrawingViewTest, ADrawingOpenedBeforeTheViewHadItsSizeFillsTheView)
{
    // As the program started with a file does: the drawing is opened before
    // the view frame has laid out its view, at a stand-in size.
    std::string path = drawtest::Fixture("square.dxf");
    AppSW.SetViewPath(path.c_str());
    m_thread->OpenFile(-1, path.c_str(), 50, 50, false);
    ASSERT_TRUE(Settle());
    View()->Invalidate();
    ASSERT_TRUE(Settle());
    RECT box;
    ASSERT_GT(Foreground(&box), 100);
    RECT client;
    ::GetClientRect(ViewWindow(), &client);
    EXPECT_GT(Height(box), client.bottom * 3 / 4);
    EXPECT_NEAR(client.right / 2, Centre(box).x, 3);
}

TEST_F(DrawingViewTest, PanDragsTheDrawingAndWindowZoomFillsTheViewWithTheWindow)
{
    ASSERT_TRUE(OpenDrawing("square.dxf"));
    RECT box;
    Foreground(&box);

    Command(ID_VIEW_PAN);
    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, {200, 200}, {260, 230});
    RECT panned;
    Foreground(&panned);
    EXPECT_NEAR(box.left + 60, panned.left, 2);
    EXPECT_NEAR(box.top + 30, panned.top, 2);

    // The middle button pans whatever the tool.
    Drag(WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON, {260, 230}, {200, 200});
    RECT back;
    Foreground(&back);
    EXPECT_NEAR(box.left, back.left, 2);
    EXPECT_NEAR(box.top, back.top, 2);

    // A window around the square's top-left corner: the corner comes to
    // the middle of the view.
    Command(ID_VIEW_ZOOM_WINDOW);
    POINT from = {box.left - 20, box.top + 10};
    POINT to = {box.left + 20, box.top - 10};
    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, from, to);
    RECT zoomed;
    Foreground(&zoomed);
    POINT centre = ViewCentre();
    EXPECT_NEAR(centre.x, zoomed.left, 3);
    EXPECT_NEAR(centre.y, zoomed.top, 3);

    // The previous view goes back to where the window zoom started.
    Command(ID_VIEW_PREVIOUS_VIEW);
    RECT previous;
    Foreground(&previous);
    EXPECT_NEAR(Width(box), Width(previous), 3);
}

TEST_F(DrawingViewTest, ViewPointsTurnTheDrawingAndTheOrbitTurnsItByHand)
{
    ASSERT_TRUE(OpenDrawing("cube.dxf"));
    // View points are for the full drawing, not the quick mode.
    if (m_thread->GetViewFlag())
        Command(ID_QUICK_MODE);
    ASSERT_FALSE(m_thread->GetViewFlag());
    CGDIDevice top;
    CaptureView(top);
    // From the top the green square lies over the red one.
    EXPECT_GT(CountColour(top, kGreen), 100);
    EXPECT_EQ(0, CountColour(top, kRed));

    Command(ID_VIEW_FRONT);
    CGDIDevice front;
    CaptureView(front);
    viewtest::KeepScreenshot(front, "drawing_front");
    // From the front both squares are lines, the green one above the red.
    RECT red = {front.m_nWidth, front.m_nHeight, -1, -1};
    RECT green = red;
    for (int y = 0; y < front.m_nHeight; ++y) {
        for (int x = 0; x < front.m_nWidth; ++x) {
            DWORD pixel = PixelAt(front, x, y);
            RECT& box = pixel == kRed ? red : green;
            if (pixel != kRed && pixel != kGreen)
                continue;
            box.top = y < box.top ? y : box.top;
            box.bottom = y > box.bottom ? y : box.bottom;
        }
    }
    ASSERT_GE(red.bottom, 0);
    ASSERT_GE(green.bottom, 0);
    EXPECT_LT(green.bottom, red.top);
    EXPECT_LE(Height(red), 3);

    Command(ID_VIEW_TOP);
    CGDIDevice again;
    CaptureView(again);
    EXPECT_EQ(0, CountColour(again, kRed));

    // The orbit: a drag inside the circle turns the drawing; Esc ends it.
    Command(ID_VIEW_3D_ORBIT);
    EXPECT_EQ(1, View()->m_orbit);
    POINT centre = ViewCentre();
    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, centre, {centre.x, centre.y - 60});
    CGDIDevice turned;
    CaptureView(turned);
    EXPECT_GT(CountColour(turned, kRed), 20);
    Key(VK_ESCAPE);
    EXPECT_EQ(0, View()->m_orbit);
    EXPECT_TRUE(m_actions.calls.empty());
}

TEST_F(DrawingViewTest, LayoutTabsShowEachLayout)
{
    ASSERT_TRUE(OpenDrawing("layouts.dxf"));
    CTabsetCtrl* tabs = m_frame->GetTabs();
    ASSERT_EQ(3, tabs->GetItemCount());
    EXPECT_EQ(0, tabs->GetCurSel());
    CGDIDevice model;
    CaptureView(model);
    EXPECT_GT(CountColour(model, kRed), 100);

    Command(ID_NEXT_LAYOUT);
    EXPECT_EQ(1, tabs->GetCurSel());
    CGDIDevice first;
    CaptureView(first);
    viewtest::KeepScreenshot(first, "drawing_layout");
    EXPECT_GT(CountColour(first, kGreen), 100);
    EXPECT_EQ(0, CountColour(first, kRed));

    Command(ID_NEXT_LAYOUT);
    CGDIDevice second;
    CaptureView(second);
    EXPECT_GT(CountColour(second, kBlue), 100);
    EXPECT_EQ(0, CountColour(second, kGreen));

    Command(ID_PREVIOUS_LAYOUT);
    Command(ID_PREVIOUS_LAYOUT);
    EXPECT_EQ(0, tabs->GetCurSel());
}

TEST_F(DrawingViewTest, ColourModesRedrawInGreyAndInBlackAndWhite)
{
    ASSERT_TRUE(OpenDrawing("square.dxf"));
    Command(ID_VIEW_BLACK_WHITE);
    CGDIDevice black;
    CaptureView(black);
    EXPECT_EQ(0, CountColour(black, kRed));
    EXPECT_GT(CountColour(black, 0x000000), 100);

    Command(ID_VIEW_GRAYSCALE);
    CGDIDevice grey;
    CaptureView(grey);
    EXPECT_EQ(0, CountColour(grey, kRed));
    RECT box;
    ASSERT_GT(drawtest::CountForeground(grey, &box), 100);
    DWORD pixel = PixelAt(grey, box.left, Centre(box).y);
    EXPECT_EQ(pixel & 0xFF, (pixel >> 8) & 0xFF);
    EXPECT_EQ(pixel & 0xFF, (pixel >> 16) & 0xFF);

    Command(ID_VIEW_COLOR);
    CGDIDevice colour;
    CaptureView(colour);
    EXPECT_GT(CountColour(colour, kRed), 100);
}

TEST_F(DrawingViewTest, DoubleClickGoesBackToTheBrowser)
{
    ASSERT_TRUE(OpenDrawing("square.dxf"));
    SendMessageA(ViewWindow(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    Settle();
    ASSERT_EQ(1u, m_actions.calls.size());
    EXPECT_EQ(0u, m_actions.calls[0].find("ToBrowseMode Z:\\"));
}

TEST_F(DrawingViewTest, NothingHappensWhileTheProgramQuits)
{
    ASSERT_TRUE(OpenDrawing("square.dxf"));
    RECT box;
    Foreground(&box);
    AppSW.mode = APPMODE_QUITTING;
    Wheel(120, Centre(box));
    Key(VK_SUBTRACT);
    AppSW.mode = APPMODE_VIEW;
    RECT after;
    Foreground(&after);
    EXPECT_EQ(Width(box), Width(after));
}

TEST_F(DrawingViewTest, APasswordProtectedDrawingAsksUntilTheRightPassword)
{
    std::string path = drawtest::Fixture("square.dxf");
    DWG_TestRequirePassword(path.c_str(), "secret");
    {
        // "wrong" is typed, fails, is tried once more from the kept
        // passwords, and then the user is asked again.
        std::vector<std::string> shown;
        testwin::DialogScript answers;
        answers.Then(nullptr, viewtest::TypePassword("wrong", &shown))
            .Then(nullptr, viewtest::TypePassword("secret", &shown))
            .ThenEach(viewtest::CancelPassword(&shown))
            .Start();
        ASSERT_TRUE(OpenDrawing("square.dxf"));
        ASSERT_EQ(2u, shown.size());
        EXPECT_EQ(path, shown[1]);
    }
    DWG_TestRequirePassword(NULL, NULL);
    EXPECT_TRUE(m_thread->HasDrawing());
    CGDIDevice picture;
    CaptureView(picture);
    EXPECT_GT(CountColour(picture, kRed), 100);
}

TEST_F(DrawingViewTest, ArrowKeysPanAndThePointerReadsOutCoordinates)
{
    ASSERT_TRUE(OpenDrawing("square.dxf"));
    RECT box;
    Foreground(&box);
    Key(VK_LEFT);
    RECT left;
    Foreground(&left);
    EXPECT_NE(box.left, left.left);
    Key(VK_RIGHT);
    RECT back;
    Foreground(&back);
    EXPECT_NEAR(box.left, back.left, 2);

    // At the square's bottom-left corner the read-out is about (0, 0).
    SendMessageA(ViewWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(box.left, box.bottom));
    Settle();
    CString text = m_frame->GetStatusBar()->GetPaneText(0);
    ASSERT_FALSE(text.IsEmpty());
    double x = 99.0, y = 99.0;
    ASSERT_EQ(2, sscanf(text, " X:%lf Y:%lf", &x, &y)) << (const char*)text;
    EXPECT_NEAR(0.0, x, 1.0);
    EXPECT_NEAR(0.0, y, 1.0);
}
