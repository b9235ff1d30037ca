// The viewport transform, its fits and zooms, the trim window and the
// Windows version mapping.
#include "tests/support/gtest.h"

#include <math.h>

#include "graphics/ktrim_window.h"
#include "graphics/kviewport.h"
#include "graphics/os_version.h"

namespace {

KWorldRect Rect(float left, float top, float right, float bottom)
{
    KWorldRect rect = {left, top, right, bottom};
    return rect;
}

POINT Point(int x, int y)
{
    POINT point = {x, y};
    return point;
}

}  // namespace

TEST(ViewPort, MapsWorldToDeviceRoundingHalfToEven)
{
    KViewPort view(10.0f, 20.0f, 2.0f);
    POINT a = view.ToDevice(11.25f, 19.75f);
    EXPECT_EQ(2, a.x);  // 2.5 rounds to 2
    EXPECT_EQ(0, a.y);  // 0.5 rounds to 0
    POINT b = view.ToDevice(11.3f, 19.7f);
    EXPECT_EQ(3, b.x);
    EXPECT_EQ(1, b.y);
    EXPECT_FLOAT_EQ(11.0f, view.ToWorldX(2));
    EXPECT_FLOAT_EQ(19.5f, view.ToWorldY(1));
}

TEST(ViewPort, StartsAtOriginWithScaleOne)
{
    KViewPort view;
    EXPECT_EQ(0.0f, view.x);
    EXPECT_EQ(0.0f, view.y);
    EXPECT_EQ(1.0f, view.scale);
}

TEST(ViewPort, DeviceRectOfWorldRect)
{
    KViewPort view(0.0f, 100.0f, 1.0f);
    RECT device = view.ToDeviceRect(Rect(10, 90, 30, 40));
    EXPECT_EQ(10, device.left);
    EXPECT_EQ(10, device.top);
    EXPECT_EQ(30, device.right);
    EXPECT_EQ(60, device.bottom);
}

TEST(ViewPort, FitRectCentresAtTheLimitingScale)
{
    KViewPort view;
    view.FitRect(400, 300, Rect(0, 50, 100, 0));
    EXPECT_FLOAT_EQ(4.0f, view.scale);
    // 100 x 50 at scale 4 is 400 x 200: centred vertically in 300.
    EXPECT_EQ(0, view.ToDeviceX(0));
    EXPECT_EQ(400, view.ToDeviceX(100));
    EXPECT_EQ(50, view.ToDeviceY(50));
    EXPECT_EQ(250, view.ToDeviceY(0));
}

TEST(ViewPort, FitRectNoEnlargeKeepsScaleOneAndCentres)
{
    KViewPort view;
    view.FitRectNoEnlarge(400, 300, Rect(0, 50, 100, 0));
    EXPECT_FLOAT_EQ(1.0f, view.scale);
    EXPECT_EQ(150, view.ToDeviceX(0));
    EXPECT_EQ(250, view.ToDeviceX(100));
    EXPECT_EQ(125, view.ToDeviceY(50));
    EXPECT_EQ(175, view.ToDeviceY(0));
}

TEST(ViewPort, FitRectNoEnlargeShrinksALargeRect)
{
    KViewPort view;
    view.FitRectNoEnlarge(100, 100, Rect(0, 400, 200, 0));
    EXPECT_FLOAT_EQ(0.25f, view.scale);
}

TEST(ViewPort, ZoomAtKeepsTheWorldPointUnderTheCursor)
{
    KViewPort view(5.0f, 50.0f, 1.0f);
    POINT cursor = Point(37, 12);
    float worldX = view.ToWorldX(cursor.x);
    float worldY = view.ToWorldY(cursor.y);
    for (int step = 0; step < 10; ++step)
        ASSERT_TRUE(view.ZoomByFactor(cursor, 0.1f));
    EXPECT_NEAR(pow(1.1, 10), view.scale, 1e-4);
    EXPECT_NEAR(worldX, view.ToWorldX(cursor.x), 1e-3);
    EXPECT_NEAR(worldY, view.ToWorldY(cursor.y), 1e-3);
}

TEST(ViewPort, ZoomToTheMinimumScaleIsRefused)
{
    KViewPort view(1.0f, 2.0f, 1.0f);
    EXPECT_FALSE(view.ZoomAt(Point(3, 4), -1.0f));
    EXPECT_FALSE(view.ZoomAt(Point(3, 4), -0.999995f));
    EXPECT_FALSE(view.ZoomAt(Point(3, 4), -2.0f));
    EXPECT_EQ(1.0f, view.scale);
    EXPECT_EQ(1.0f, view.x);
    EXPECT_EQ(2.0f, view.y);
    EXPECT_TRUE(view.ZoomAt(Point(3, 4), -0.99998f));
    EXPECT_NEAR(2e-05, view.scale, 1e-6);
}

TEST(TrimWindow, ClassifiesOutsideInsideAndCrossing)
{
    KTrimWindow window;
    window.left = 0;
    window.bottom = 0;
    window.right = 100;
    window.top = 50;
    EXPECT_EQ(1, window.Classify(Rect(10, 40, 20, 30)));
    EXPECT_EQ(0, window.edgeCode);
    EXPECT_EQ(-1, window.Classify(Rect(-10, 40, 0, 30)));  // touches the left edge
    EXPECT_EQ(-1, window.Classify(Rect(100, 40, 120, 30)));
    EXPECT_EQ(-1, window.Classify(Rect(10, 70, 20, 50)));
    EXPECT_EQ(0, window.Classify(Rect(-10, 40, 10, 30)));
    EXPECT_EQ(1, window.edgeCode);
    EXPECT_EQ(0, window.Classify(Rect(-10, 60, 110, -10)));
    EXPECT_EQ(1 + 2 + 4 + 8, window.edgeCode);
}

TEST(OSVersionKind, MapsPlatformAndVersion)
{
    EXPECT_EQ(1, OSVersionKindOf(VER_PLATFORM_WIN32s, 3, 1));
    EXPECT_EQ(3, OSVersionKindOf(VER_PLATFORM_WIN32_WINDOWS, 4, 0));
    EXPECT_EQ(4, OSVersionKindOf(VER_PLATFORM_WIN32_WINDOWS, 4, 10));
    EXPECT_EQ(4, OSVersionKindOf(VER_PLATFORM_WIN32_WINDOWS, 5, 0));
    EXPECT_EQ(2, OSVersionKindOf(VER_PLATFORM_WIN32_NT, 4, 0));
    EXPECT_EQ(5, OSVersionKindOf(VER_PLATFORM_WIN32_NT, 5, 0));
    EXPECT_EQ(6, OSVersionKindOf(VER_PLATFORM_WIN32_NT, 5, 1));
    EXPECT_EQ(6, OSVersionKindOf(VER_PLATFORM_WIN32_NT, 10, 0));
    EXPECT_EQ(0, OSVersionKindOf(7, 10, 0));
    // Wine reports an NT version of XP or later, known before main runs.
    EXPECT_EQ(6, GetOSVersionKind());
    EXPECT_EQ(6, g_OSVersionKind);
}
