// Raster images in view mode: every format of the file-type table shows,
// zooms and pans, reports its information, and pages through its frames.
#include "tests/views/viewer/viewer_harness.h"

#include "resources/views_ids.h"

using drawtest::PixelAt;
using viewtest::CountColour;
using viewtest::ViewerTest;

namespace {

bool Reddish(DWORD pixel)
{
    return (pixel >> 16 & 0xFF) > 200 && (pixel >> 8 & 0xFF) < 60 && (pixel & 0xFF) < 60;
}

bool Bluish(DWORD pixel)
{
    return (pixel >> 16 & 0xFF) < 60 && (pixel >> 8 & 0xFF) < 60 && (pixel & 0xFF) > 200;
}

class RasterViewTest : public ViewerTest {
protected:
    // The image's box on the screen: what differs from the view's
    // background in the bottom-right corner.
    RECT ImageBox(const CGDIDevice& picture)
    {
        DWORD background = PixelAt(picture, picture.m_nWidth - 1, picture.m_nHeight - 1);
        RECT box = {picture.m_nWidth, picture.m_nHeight, -1, -1};
        for (int y = 0; y < picture.m_nHeight; ++y) {
            for (int x = 0; x < picture.m_nWidth; ++x) {
                if (PixelAt(picture, x, y) == background)
                    continue;
                box.left = x < box.left ? x : box.left;
                box.top = y < box.top ? y : box.top;
                box.right = x > box.right ? x : box.right;
                box.bottom = y > box.bottom ? y : box.bottom;
            }
        }
        return box;
    }
    CString StatusText()
    {
        return m_frame->GetStatusBar()->GetPaneText(0);
    }
};

}  // namespace

TEST_F(RasterViewTest, EveryRasterFormatShowsItsPictureAndItsSize)
{
    const char* names[] = {"picture.png", "picture.bmp", "picture.gif", "picture.jpg", "picture.pcx",
                           "picture.tga", "picture.tif", "picture.ico", "picture.psd", "picture.mng"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(Open(name));
        CGDIDevice picture;
        CaptureView(picture);
        RECT box = ImageBox(picture);
        ASSERT_GT(box.right - box.left, 32);
        int y = (box.top + box.bottom) / 2;
        EXPECT_TRUE(Reddish(PixelAt(picture, box.left + (box.right - box.left) / 4, y)));
        EXPECT_TRUE(Bluish(PixelAt(picture, box.right - (box.right - box.left) / 4, y)));
        EXPECT_EQ(0, StatusText().Find("64x48x")) << (const char*)StatusText();
        if (std::string(name) == "picture.png")
            viewtest::KeepScreenshot(picture, "raster");
    }
}

TEST_F(RasterViewTest, ZoomAndPanMoveTheImage)
{
    ASSERT_TRUE(Open("picture.bmp"));
    CGDIDevice fitted;
    CaptureView(fitted);
    RECT box = ImageBox(fitted);

    // Actual size: 64 x 48 pixels on the screen (with the image's white
    // frame), and the pan tool.
    Key('1');
    CGDIDevice actual;
    CaptureView(actual);
    RECT one = ImageBox(actual);
    EXPECT_NEAR(64, one.right - one.left + 1, 2);
    EXPECT_NEAR(48, one.bottom - one.top + 1, 2);

    POINT centre = {(one.left + one.right) / 2, (one.top + one.bottom) / 2};
    Wheel(120, centre);
    CGDIDevice zoomed;
    CaptureView(zoomed);
    RECT larger = ImageBox(zoomed);
    EXPECT_GT(larger.right - larger.left, one.right - one.left);

    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, centre, {centre.x + 40, centre.y + 20});
    CGDIDevice panned;
    CaptureView(panned);
    RECT moved = ImageBox(panned);
    // Each of the drag's steps may lose a pixel to the image's scale.
    EXPECT_NEAR(larger.left + 40, moved.left, 4);
    EXPECT_NEAR(larger.top + 20, moved.top, 4);

    Command(ID_RASTER_AUTO_FIT);
    CGDIDevice again;
    CaptureView(again);
    RECT fit = ImageBox(again);
    EXPECT_NEAR(box.right - box.left, fit.right - fit.left, 2);
}

TEST_F(RasterViewTest, PagesOfATiffAreTabs)
{
    ASSERT_TRUE(Open("pages.tif"));
    CTabsetCtrl* tabs = m_frame->GetTabs();
    ASSERT_EQ(3, tabs->GetItemCount());
    EXPECT_EQ(0, tabs->GetCurSel());
    CGDIDevice first;
    CaptureView(first);
    RECT box = ImageBox(first);
    POINT middle = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    EXPECT_TRUE(Reddish(PixelAt(first, middle.x, middle.y)));

    Command(ID_NEXT_LAYOUT);
    EXPECT_EQ(1, tabs->GetCurSel());
    CGDIDevice second;
    CaptureView(second);
    EXPECT_EQ(0x00FF00u, PixelAt(second, middle.x, middle.y));

    Command(ID_NEXT_LAYOUT);
    CGDIDevice third;
    CaptureView(third);
    EXPECT_TRUE(Bluish(PixelAt(third, middle.x, middle.y)));
}

TEST_F(RasterViewTest, RotateAndMirrorTurnTheImage)
{
    ASSERT_TRUE(Open("picture.bmp"));
    Command(ID_RASTER_ROTATE_RIGHT);
    CGDIDevice turned;
    CaptureView(turned);
    RECT box = ImageBox(turned);
    // Turned clockwise: 48 x 64, the red half on top.
    EXPECT_NEAR(48, box.right - box.left + 1, 3);
    EXPECT_NEAR(64, box.bottom - box.top + 1, 3);
    int x = (box.left + box.right) / 2;
    EXPECT_TRUE(Reddish(PixelAt(turned, x, box.top + (box.bottom - box.top) / 4)));
    EXPECT_TRUE(Bluish(PixelAt(turned, x, box.bottom - (box.bottom - box.top) / 4)));

    Command(ID_RASTER_ROTATE_LEFT);
    Command(ID_RASTER_MIRROR);
    CGDIDevice mirrored;
    CaptureView(mirrored);
    box = ImageBox(mirrored);
    int y = (box.top + box.bottom) / 2;
    EXPECT_TRUE(Bluish(PixelAt(mirrored, box.left + (box.right - box.left) / 4, y)));
    EXPECT_TRUE(Reddish(PixelAt(mirrored, box.right - (box.right - box.left) / 4, y)));
}
