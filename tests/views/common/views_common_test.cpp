// What the preview pane and the drawing view share, over a running drawing
// thread: the steps of the pointer tools, the rubber band, the highlight
// switch.
#include "tests/support/gtest.h"

#include "core/appsw.h"
#include "core/preference.h"
#include "resources/views_ids.h"
#include "tests/drawing/draw_thread/draw_thread_harness.h"
#include "views/common/highlight_entity.h"
#include "views/common/idle_use.h"
#include "views/common/pointer_steps.h"
#include "views/common/rubber_band.h"
#include "views/common/view_commands.h"

using drawtest::CountForeground;
using drawtest::DrawThreadTest;

namespace {

const DWORD kJoinMs = 10000;

class ViewsCommonTest : public DrawThreadTest {
protected:
    void SetUp() override
    {
        DrawThreadTest::SetUp();
        AppSW.drawThread = m_thread;
    }
    void TearDown() override
    {
        AppSW.drawThread = NULL;
        DrawThreadTest::TearDown();
    }
    RECT ForegroundBox()
    {
        CGDIDevice picture;
        TakePicture(picture);
        RECT box;
        CountForeground(picture, &box);
        return box;
    }
};

// The raster picture drawn on its canvas: the colours of its four corners.
std::vector<COLORREF> RasterCorners(TDwgDrawThread* thread)
{
    CIdleUse use(thread);
    EXPECT_TRUE(use.IsHeld());
    if (!use.IsHeld())
        return {};
    EXPECT_TRUE(use.Picture().Draw(false));
    KWinCanvas& canvas = use.Canvas();
    HDC dc = canvas.GetMemDC();
    int right = canvas.width - 1, bottom = canvas.height - 1;
    return {GetPixel(dc, 0, 0), GetPixel(dc, right, 0), GetPixel(dc, 0, bottom), GetPixel(dc, right, bottom)};
}

// The middle of the raster canvas.
POINT RasterMiddle(TDwgDrawThread* thread)
{
    CIdleUse use(thread);
    EXPECT_TRUE(use.IsHeld());
    return use.IsHeld() ? POINT{use.Canvas().width / 2, use.Canvas().height / 2} : POINT{0, 0};
}

TEST_F(ViewsCommonTest, ADrawingFollowsThePointerAndNeedsNoRepaint)
{
    ASSERT_TRUE(OpenAndWait("frame.dxf", 320, 200, true));
    // Zoomed out first, so that the whole frame stays in the picture.
    ASSERT_FALSE(ZoomAtPointer(m_thread, {160, 100}, false));
    ASSERT_FALSE(ZoomAtPointer(m_thread, {160, 100}, false));
    RECT before = ForegroundBox();
    ASSERT_LT(before.left, before.right);

    EXPECT_FALSE(PanWithPointer(m_thread, {100, 100}, {130, 90}));
    RECT after = ForegroundBox();
    EXPECT_EQ(before.left + 30, after.left);
    EXPECT_EQ(before.top - 10, after.top);
    EXPECT_EQ(before.right + 30, after.right);

    // Zoomed in about a point: the frame grows.
    EXPECT_FALSE(ZoomAtPointer(m_thread, {160, 100}, true));
    RECT zoomed = ForegroundBox();
    EXPECT_GT(zoomed.right - zoomed.left, after.right - after.left);
}

TEST_F(ViewsCommonTest, ARasterImageZoomsToTheDraggedWindowWhicheverWayItWasDragged)
{
    ASSERT_TRUE(OpenAndWait("pages.tif", 200, 100));
    // The red page sits in the middle of the background.
    std::vector<COLORREF> whole = RasterCorners(m_thread);
    ASSERT_EQ(4u, whole.size());
    EXPECT_NE(RGB(255, 0, 0), whole[0]);
    POINT middle = RasterMiddle(m_thread);
    POINT topLeft = {middle.x - 10, middle.y - 10}, bottomRight = {middle.x + 10, middle.y + 10};

    EXPECT_TRUE(ZoomToWindow(m_thread, topLeft, bottomRight));
    EXPECT_EQ(std::vector<COLORREF>(4, RGB(255, 0, 0)), RasterCorners(m_thread));
    // A pan on a raster image is the caller's to repaint.
    EXPECT_TRUE(PanWithPointer(m_thread, middle, {middle.x + 2, middle.y}));

    // Dragged from the bottom right to the top left, the same window.
    ASSERT_TRUE(OpenAndWait("picture.png", 200, 100));
    ASSERT_NE(RGB(255, 0, 0), RasterCorners(m_thread)[0]);
    EXPECT_TRUE(ZoomToWindow(m_thread, bottomRight, topLeft));
    EXPECT_EQ(std::vector<COLORREF>(4, RGB(255, 0, 0)), RasterCorners(m_thread));
}

// The raster commands of both views: the zoom tool's click, fit, actual
// size and the turns, on the thread's picture; quick mode is for drawings.
TEST_F(ViewsCommonTest, TheRasterCommandsChangeThePictureTheyHold)
{
    ASSERT_TRUE(OpenAndWait("picture.png", 200, 100));
    POINT middle = RasterMiddle(m_thread);
    EXPECT_TRUE(ZoomAtClick(m_thread, middle, true));
    EXPECT_TRUE(FitRasterView());
    EXPECT_NE(RGB(255, 0, 0), RasterCorners(m_thread)[0]);
    EXPECT_TRUE(ShowRasterActualSize());

    bool orientationChanged = true;
    EXPECT_FALSE(TurnRaster(ID_RASTER_ROTATE_LEFT - 1, orientationChanged));
    EXPECT_TRUE(TurnRaster(ID_RASTER_ROTATE_RIGHT, orientationChanged));
    // A PNG file holds no EXIF orientation to turn.
    EXPECT_FALSE(orientationChanged);
    {
        CIdleUse use(m_thread);
        ASSERT_TRUE(use.IsHeld());
        CxImage* image = use.Picture().GetImage().GetImage();
        ASSERT_NE(nullptr, image);
        EXPECT_EQ(48u, image->GetWidth());
        EXPECT_EQ(64u, image->GetHeight());
    }
    EXPECT_EQ(nullptr, ToggleQuickMode());
    ASSERT_TRUE(OpenAndWait("frame.dxf", 200, 100));
    bool quick = m_thread->GetViewFlag();
    EXPECT_EQ(m_thread, ToggleQuickMode());
    EXPECT_NE(quick, m_thread->GetViewFlag());
    EXPECT_FALSE(FitRasterView());
}

TEST_F(ViewsCommonTest, TheHighlightNeedsQuickModeAndItsSwitch)
{
    EXPECT_FALSE(MayHighlightEntity(NULL));
    ASSERT_TRUE(OpenAndWait("frame.dxf", 320, 200, true));
    m_thread->SetQuickMode(false);
    EXPECT_FALSE(MayHighlightEntity(m_thread));
    m_thread->SetQuickMode(true);
    EXPECT_TRUE(MayHighlightEntity(m_thread));

    Preference.SetHighLight(false);
    EXPECT_FALSE(WantsHighlight(m_thread));
    ToggleHighlightEntity();
    EXPECT_TRUE(Preference.GetHighLight());
    EXPECT_TRUE(WantsHighlight(m_thread));
    ToggleHighlightEntity();
    EXPECT_FALSE(Preference.GetHighLight());
}

TEST_F(ViewsCommonTest, TheRubberBandIsTakenBackByDrawingItAgain)
{
    // Normalised: a band dragged up and left covers what one dragged down
    // and right covers.
    RECT upLeft = NormalisedRect({50, 40, 10, 5});
    EXPECT_EQ((std::vector<LONG>{10, 5, 50, 40}),
              (std::vector<LONG>{upLeft.left, upLeft.top, upLeft.right, upLeft.bottom}));

    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 80, 60, NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, window);
    UpdateWindow(window);
    HDC dc = GetDC(window);
    COLORREF background = GetPixel(dc, 30, 10);
    COLORREF inside = GetPixel(dc, 30, 20);
    DrawRubberBand(window, {10, 10}, {50, 40});
    // The outline is drawn, what it encloses is not.
    EXPECT_EQ(background ^ 0xFFFFFF, GetPixel(dc, 30, 10));
    EXPECT_EQ(background ^ 0xFFFFFF, GetPixel(dc, 10, 25));
    EXPECT_EQ(inside, GetPixel(dc, 30, 20));
    DrawRubberBand(window, {10, 10}, {50, 40});
    EXPECT_EQ(background, GetPixel(dc, 30, 10));
    EXPECT_EQ(background, GetPixel(dc, 10, 25));
    ReleaseDC(window, dc);
    DestroyWindow(window);
}

}  // namespace
