// The memory canvas: its growing bitmap, pens, polygons, images and frames.
#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include "graphics/kwin_canvas.h"

namespace {

COLORREF PixelAt(KWinCanvas& canvas, int x, int y)
{
    return GetPixel(canvas.GetMemDC(), x, y);
}

// Each pixel of a row as 'x' (the colour) or '.' (anything else).
std::string RowPattern(KWinCanvas& canvas, int y, int from, int to, COLORREF colour)
{
    std::string pattern;
    for (int x = from; x < to; ++x)
        pattern += PixelAt(canvas, x, y) == colour ? 'x' : '.';
    return pattern;
}

KType::RPoint2D P(float x, float y)
{
    KType::RPoint2D point = {x, y};
    return point;
}

// A 24-bit bottom-up DIB of w x h whose pixel (x, row from the bottom) is
// coloured by colourOf.
struct TestDib {
    BITMAPINFO info;
    std::vector<BYTE> bits;
};

TestDib MakeDib(int w, int h, COLORREF (*colourOf)(int x, int rowFromBottom))
{
    TestDib dib = {};
    dib.info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    dib.info.bmiHeader.biWidth = w;
    dib.info.bmiHeader.biHeight = h;
    dib.info.bmiHeader.biPlanes = 1;
    dib.info.bmiHeader.biBitCount = 24;
    int stride = (w * 3 + 3) & ~3;
    dib.bits.assign(static_cast<size_t>(stride) * h, 0);
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x) {
            COLORREF c = colourOf(x, row);
            BYTE* p = &dib.bits[static_cast<size_t>(row) * stride + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return dib;
}

COLORREF LeftRedRightGreen(int x, int)
{
    return x < 2 ? RGB(255, 0, 0) : RGB(0, 255, 0);
}

}  // namespace

TEST(WinCanvas, BitmapOnlyGrows)
{
    KWinCanvas canvas;
    EXPECT_TRUE(canvas.SetSize(800, 600));
    EXPECT_EQ(800, canvas.GetAllocWidth());
    EXPECT_TRUE(canvas.IsDirty());
    canvas.BlitTo(GetDC(nullptr));
    EXPECT_FALSE(canvas.IsDirty());

    EXPECT_FALSE(canvas.SetSize(640, 480));
    EXPECT_EQ(640, canvas.width);
    EXPECT_EQ(800, canvas.GetAllocWidth());
    EXPECT_EQ(600, canvas.GetAllocHeight());
    EXPECT_FALSE(canvas.IsDirty());

    EXPECT_TRUE(canvas.SetSize(900, 600));
    EXPECT_EQ(900, canvas.GetAllocWidth());
    EXPECT_EQ(600, canvas.GetAllocHeight());
    EXPECT_TRUE(canvas.IsDirty());
}

TEST(WinCanvas, BeginDrawNeedsAView)
{
    KWinCanvas canvas;
    canvas.SetSize(20, 10);
    EXPECT_EQ(4, canvas.BeginDraw(0, true));
    EXPECT_EQ(4, canvas.EndDraw());
    KViewPort view;
    canvas.viewport = &view;
    EXPECT_EQ(0, canvas.BeginDraw(RGB(1, 2, 3), true));
    EXPECT_EQ(0, canvas.drawDone);
    EXPECT_EQ(RGB(1, 2, 3), PixelAt(canvas, 19, 9));
    EXPECT_EQ(0, canvas.EndDraw());
    EXPECT_EQ(1, canvas.drawDone);
}

TEST(WinCanvas, PenWidthZeroIsOnePixel)
{
    KWinCanvas canvas;
    KViewPort view;
    canvas.viewport = &view;
    canvas.SetSize(10, 10);
    canvas.BeginDraw(0, true);
    canvas.SetPenWidth(5);
    EXPECT_EQ(5, canvas.GetPenWidth());
    canvas.SetPenWidth(0);
    EXPECT_EQ(1, canvas.GetPenWidth());
    canvas.SetPenColor(RGB(255, 255, 255));
    canvas.DrawLine(0, 5, 10, 5);
    EXPECT_EQ("xxxxxxxxxx", RowPattern(canvas, 5, 0, 10, RGB(255, 255, 255)));
    EXPECT_EQ("..........", RowPattern(canvas, 4, 0, 10, RGB(255, 255, 255)));
    canvas.EndDraw();
}

TEST(WinCanvas, PolyPolygonLeavesHoles)
{
    KWinCanvas canvas;
    KViewPort view(0.0f, 10.0f, 1.0f);
    canvas.viewport = &view;
    canvas.SetSize(10, 10);
    canvas.BeginDraw(0, true);
    KPolylineList polygons;
    KPointBuffer* outer = polygons.AppendNew();
    outer->Alloc(4);
    (*outer)[0] = P(0, 10);
    (*outer)[1] = P(10, 10);
    (*outer)[2] = P(10, 0);
    (*outer)[3] = P(0, 0);
    KPointBuffer* hole = polygons.AppendNew();
    hole->Alloc(4);
    (*hole)[0] = P(3, 7);
    (*hole)[1] = P(7, 7);
    (*hole)[2] = P(7, 3);
    (*hole)[3] = P(3, 3);
    polygons.AppendNew();  // an empty buffer adds nothing
    canvas.SetPenColor(RGB(0, 0, 255));
    canvas.SetBrushColor(RGB(0, 0, 255));
    canvas.DrawPolyPolygon(polygons, 8);
    canvas.EndDraw();
    EXPECT_EQ(RGB(0, 0, 255), PixelAt(canvas, 1, 5));
    EXPECT_EQ(RGB(0, 0, 0), PixelAt(canvas, 5, 5));
}

TEST(WinCanvas, ClosedPolylineRepeatsTheFirstPoint)
{
    KWinCanvas canvas;
    KViewPort view(0.0f, 10.0f, 1.0f);
    canvas.viewport = &view;
    canvas.SetSize(12, 12);
    canvas.BeginDraw(0, true);
    KType::RPoint2D square[4] = {P(1, 9), P(8, 9), P(8, 2), P(1, 2)};
    canvas.SetPenColor(RGB(255, 0, 0));
    canvas.DrawPoly(square, 4, false, false);
    EXPECT_EQ(RGB(0, 0, 0), PixelAt(canvas, 1, 5));  // the open side
    canvas.DrawPoly(square, 4, true, false);
    EXPECT_EQ(RGB(255, 0, 0), PixelAt(canvas, 1, 5));
    EXPECT_EQ(RGB(0, 0, 0), PixelAt(canvas, 4, 5));  // not filled
    canvas.EndDraw();
}

TEST(WinCanvas, DrawsAnImageStretchedWithItsFrame)
{
    KWinCanvas canvas;
    KViewPort view(-2.0f, 6.0f, 2.0f);  // image 4 x 2 at (0,0) lands at (4,8)-(12,12)
    canvas.viewport = &view;
    canvas.SetSize(20, 20);
    canvas.BeginDraw(0, true);
    TestDib dib = MakeDib(4, 2, LeftRedRightGreen);
    EXPECT_TRUE(canvas.DrawImage(P(0, 0), 4, 2, dib.bits.data(), &dib.info, true, 0,
                                 RGB(255, 255, 255), true));
    canvas.EndDraw();
    EXPECT_EQ("...xxxxxxxxxx.......",
              RowPattern(canvas, 7, 0, 20, RGB(255, 255, 255)));  // top frame line
    EXPECT_EQ("....xxxx............", RowPattern(canvas, 9, 0, 20, RGB(255, 0, 0)));
    EXPECT_EQ("........xxxx........", RowPattern(canvas, 9, 0, 20, RGB(0, 255, 0)));
    EXPECT_EQ(RGB(255, 255, 255), PixelAt(canvas, 3, 10));   // left frame line
    EXPECT_EQ(RGB(255, 255, 255), PixelAt(canvas, 12, 10));  // right frame line
}

TEST(WinCanvas, ImageWhollyLeftOfTheCanvasDrawsNothing)
{
    KWinCanvas canvas;
    KViewPort view(10.0f, 4.0f, 1.0f);
    canvas.viewport = &view;
    canvas.SetSize(20, 20);
    canvas.BeginDraw(0, true);
    TestDib dib = MakeDib(4, 2, LeftRedRightGreen);
    EXPECT_FALSE(canvas.DrawImage(P(0, 0), 4, 2, dib.bits.data(), &dib.info, true, 0,
                                  RGB(255, 255, 255), true));
    canvas.EndDraw();
    for (int y = 0; y < 20; ++y)
        EXPECT_EQ("xxxxxxxxxxxxxxxxxxxx", RowPattern(canvas, y, 0, 20, RGB(0, 0, 0)));
}

TEST(WinCanvas, ClippedImageShowsTheVisiblePart)
{
    KWinCanvas canvas;
    KViewPort view(2.0f, 2.0f, 1.0f);  // only the image's right half is on the canvas
    canvas.viewport = &view;
    canvas.SetSize(10, 10);
    canvas.noImageFrame = true;
    canvas.BeginDraw(0, true);
    TestDib dib = MakeDib(4, 2, LeftRedRightGreen);
    EXPECT_TRUE(canvas.DrawImage(P(0, 0), 4, 2, dib.bits.data(), &dib.info, true, 0,
                                 RGB(255, 255, 255), true));
    canvas.EndDraw();
    EXPECT_EQ("xx........", RowPattern(canvas, 0, 0, 10, RGB(0, 255, 0)));
    EXPECT_EQ("xx........", RowPattern(canvas, 1, 0, 10, RGB(0, 255, 0)));
}

TEST(WinCanvas, ClipAndShadowHelpers)
{
    RECT rect = {-5, -3, 30, 8};
    EXPECT_TRUE(ClipDeviceRect(rect, 20, 10));
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(20, rect.right);
    EXPECT_EQ(8, rect.bottom);
    RECT below = {0, 10, 5, 12};
    EXPECT_FALSE(ClipDeviceRect(below, 20, 10));
    RECT leftOf = {-5, 0, 0, 5};
    EXPECT_FALSE(ClipDeviceRect(leftOf, 20, 10));
    EXPECT_EQ(RGB(50, 0, 255), ShadowEdgeColour(RGB(0, 206, 205)));
}

TEST(WinCanvas, RubberBandTwiceRestores)
{
    KWinCanvas canvas;
    KViewPort view;
    canvas.viewport = &view;
    canvas.SetSize(10, 10);
    canvas.BeginDraw(RGB(10, 20, 30), true);
    POINT a = {1, 1};
    POINT b = {8, 8};
    canvas.DrawRubberBand(a, b);
    EXPECT_NE(RGB(10, 20, 30), PixelAt(canvas, 4, 1));
    canvas.DrawRubberBand(a, b);
    EXPECT_EQ(RGB(10, 20, 30), PixelAt(canvas, 4, 1));
    canvas.EndDraw();
}
