// The off-screen device: surface making, copying, fonts and blending.
#include "tests/support/gtest.h"

#include "graphics/gdi_device.h"

namespace {

void FillDevice(CGDIDevice& device, BYTE blue, BYTE green, BYTE red)
{
    for (int y = 0; y < device.m_nHeight; ++y)
        for (int x = 0; x < device.m_nWidth; ++x) {
            BYTE* pixel = device.m_pRows[y] + x * device.m_nBytesPerPixel;
            pixel[0] = blue;
            pixel[1] = green;
            pixel[2] = red;
        }
}

const BYTE* Pixel(const CGDIDevice& device, int x, int y)
{
    return device.m_pRows[y] + x * device.m_nBytesPerPixel;
}

// The blue byte of each pixel of a row, as a string of 'x' (changed from
// the background 0) and '.' (unchanged).
std::string RowPattern(const CGDIDevice& device, int y)
{
    std::string pattern;
    for (int x = 0; x < device.m_nWidth; ++x)
        pattern += Pixel(device, x, y)[0] ? 'x' : '.';
    return pattern;
}

}  // namespace

TEST(GDIDevice, StartsEmptyAtThreeBytesPerPixel)
{
    CGDIDevice device;
    EXPECT_EQ(nullptr, device.m_hDC);
    EXPECT_EQ(0, device.m_nWidth);
    EXPECT_EQ(3, device.m_nBytesPerPixel);
    EXPECT_EQ(nullptr, device.m_pRows);
}

TEST(GDIDevice, CreateBuildsABottomUpSurfaceWithATopDownRowTable)
{
    CGDIDevice device;
    ASSERT_TRUE(device.Create(5, 3, 3));
    EXPECT_NE(nullptr, device.m_hDC);
    EXPECT_EQ(5, device.m_nWidth);
    EXPECT_EQ(3, device.m_nHeight);
    EXPECT_EQ(16, device.m_nStride);
    EXPECT_EQ(48u, device.m_nImageSize);
    EXPECT_EQ(24, device.m_pHeader->biBitCount);
    EXPECT_EQ(3, device.m_pHeader->biHeight);
    EXPECT_EQ(device.m_pBits + 32, device.m_pRows[0]);
    EXPECT_EQ(device.m_pBits, device.m_pRows[2]);

    // GDI and the row table agree on where the top row is.
    SetPixel(device.m_hDC, 1, 0, RGB(10, 20, 30));
    GdiFlush();
    EXPECT_EQ(30, Pixel(device, 1, 0)[0]);
    EXPECT_EQ(20, Pixel(device, 1, 0)[1]);
    EXPECT_EQ(10, Pixel(device, 1, 0)[2]);
}

TEST(GDIDevice, OtherBytesPerPixelGiveThirtyTwoBits)
{
    CGDIDevice device;
    ASSERT_TRUE(device.Create(3, 2, 7));
    EXPECT_EQ(4, device.m_nBytesPerPixel);
    EXPECT_EQ(32, device.m_pHeader->biBitCount);
    EXPECT_EQ(12, device.m_nStride);
}

TEST(GDIDevice, CreateRefusesTinySizesAndTheCurrentSize)
{
    CGDIDevice device;
    EXPECT_FALSE(device.Create(1, 5, 3));
    EXPECT_FALSE(device.Create(5, 1, 3));
    EXPECT_EQ(nullptr, device.m_hDC);

    ASSERT_TRUE(device.Create(4, 4, 3));
    FillDevice(device, 1, 2, 3);
    EXPECT_FALSE(device.Create(4, 4, 3));
    EXPECT_EQ(1, Pixel(device, 3, 3)[0]);
    EXPECT_FALSE(device.Create(0, 0, 3));
    EXPECT_EQ(4, device.m_nWidth);

    ASSERT_TRUE(device.Create(6, 2, 3));
    EXPECT_EQ(6, device.m_nWidth);
    EXPECT_EQ(2, device.m_nHeight);
}

TEST(GDIDevice, CreateFailsWithNoSurfaceWhenTheSectionCannotBeMade)
{
    CGDIDevice device;
    ASSERT_TRUE(device.Create(4, 4, 3));
    EXPECT_FALSE(device.Create(0x7FFFFFF, 0x7FFFFFF, 3));
    EXPECT_EQ(nullptr, device.m_hDC);
    EXPECT_EQ(nullptr, device.m_pBits);
    EXPECT_EQ(nullptr, device.m_pRows);
    EXPECT_EQ(0, device.m_nWidth);
    device.BlendRect(0, 0, 10, 10, RGB(1, 2, 3), 100, true, 0);
}

TEST(GDIDevice, CopyFromTakesTheSourceSizeAndPixels)
{
    CGDIDevice source;
    ASSERT_TRUE(source.Create(7, 5, 3));
    FillDevice(source, 9, 8, 7);
    CGDIDevice copy;
    ASSERT_TRUE(copy.Create(2, 2, 3));
    EXPECT_TRUE(copy.CopyFrom(source));
    EXPECT_EQ(7, copy.m_nWidth);
    EXPECT_EQ(5, copy.m_nHeight);
    EXPECT_EQ(0, memcmp(copy.m_pBits, source.m_pBits, source.m_nImageSize));

    // Equal size: the surface stays, the pixels follow.
    BYTE* bits = copy.m_pBits;
    FillDevice(source, 1, 1, 1);
    EXPECT_TRUE(copy.CopyFrom(source));
    EXPECT_EQ(bits, copy.m_pBits);
    EXPECT_EQ(1, Pixel(copy, 6, 4)[2]);
}

TEST(GDIDevice, CopyFromRefusesWhenTheSizesStillDiffer)
{
    CGDIDevice empty;
    CGDIDevice copy;
    ASSERT_TRUE(copy.Create(3, 3, 3));
    FillDevice(copy, 5, 5, 5);
    EXPECT_FALSE(copy.CopyFrom(empty));
    EXPECT_EQ(5, Pixel(copy, 2, 2)[0]);

    CGDIDevice wide;
    ASSERT_TRUE(wide.Create(3, 3, 4));
    EXPECT_FALSE(copy.CopyFrom(wide));  // equal size, other pixel layout
    EXPECT_EQ(5, Pixel(copy, 2, 2)[0]);
}

TEST(GDIDevice, PaintCopiesToAnotherDevice)
{
    CGDIDevice source;
    ASSERT_TRUE(source.Create(4, 3, 3));
    FillDevice(source, 0x30, 0x20, 0x10);
    CGDIDevice target;
    ASSERT_TRUE(target.Create(8, 8, 3));
    EXPECT_TRUE(source.Paint(target.m_hDC));
    GdiFlush();
    EXPECT_EQ(0x30, Pixel(target, 3, 2)[0]);
    EXPECT_EQ(0x10, Pixel(target, 3, 2)[2]);
    EXPECT_EQ(0, Pixel(target, 4, 2)[0]);
    EXPECT_EQ(0, Pixel(target, 3, 3)[0]);
}

TEST(GDIDevice, SelectFontMakesASurfaceAndReleaseFontRestores)
{
    CGDIDevice device;
    device.SelectFont();
    ASSERT_NE(nullptr, device.m_hDC);
    EXPECT_EQ(2, device.m_nWidth);
    EXPECT_EQ(2, device.m_nHeight);
    EXPECT_EQ(TRANSPARENT, GetBkMode(device.m_hDC));
    LOGFONTA font;
    ASSERT_NE(0, GetObjectA(GetCurrentObject(device.m_hDC, OBJ_FONT), sizeof(font), &font));
    EXPECT_STREQ("Tahoma", font.lfFaceName);
    EXPECT_EQ(16, font.lfHeight);
    EXPECT_EQ(400, font.lfWeight);

    device.ReleaseFont();
    ASSERT_NE(0, GetObjectA(GetCurrentObject(device.m_hDC, OBJ_FONT), sizeof(font), &font));
    EXPECT_STRNE("Tahoma", font.lfFaceName);
}

TEST(GDIDevice, SelectFontOnAnExistingSurfaceKeepsItsSize)
{
    CGDIDevice device;
    ASSERT_TRUE(device.Create(40, 30, 3));
    device.SelectFont();
    EXPECT_EQ(40, device.m_nWidth);
    LOGFONTA font;
    ASSERT_NE(0, GetObjectA(GetCurrentObject(device.m_hDC, OBJ_FONT), sizeof(font), &font));
    EXPECT_STREQ("Tahoma", font.lfFaceName);
    device.SelectFont();  // a second call changes nothing
    device.ReleaseFont();
    ASSERT_NE(0, GetObjectA(GetCurrentObject(device.m_hDC, OBJ_FONT), sizeof(font), &font));
    EXPECT_STRNE("Tahoma", font.lfFaceName);
}

TEST(GDIDevice, BlendWeightsFollowThePercent)
{
    struct Case { int percent; int weight; };
    const Case cases[] = {{25, 7}, {50, 15}, {70, 22}, {99, 31}, {100, 32}, {250, 32}, {-5, 32}, {1, 0}};
    for (const Case& c : cases) {
        CGDIDevice device;
        ASSERT_TRUE(device.Create(2, 2, 3));
        FillDevice(device, 0, 0, 0);
        device.BlendRect(0, 0, 1, 1, RGB(0, 0, 255), c.percent, false, 0);
        // Blue 255 into black: (255 * w) >> 5.
        EXPECT_EQ((255 * c.weight) >> 5, Pixel(device, 0, 0)[0]) << c.percent;
        EXPECT_EQ(0, Pixel(device, 0, 0)[1]);
    }
}

TEST(GDIDevice, BlendMixesOldAndNewChannels)
{
    CGDIDevice device;
    ASSERT_TRUE(device.Create(3, 3, 3));
    FillDevice(device, 200, 100, 40);
    device.BlendRect(0, 0, 2, 2, RGB(0x32, 0xB4, 0x32), 70, false, 0xFFFFFF);
    const BYTE* pixel = Pixel(device, 1, 1);
    EXPECT_EQ((200 * 10 + 0x32 * 22) >> 5, pixel[0]);
    EXPECT_EQ((100 * 10 + 0xB4 * 22) >> 5, pixel[1]);
    EXPECT_EQ((40 * 10 + 0x32 * 22) >> 5, pixel[2]);
}

TEST(GDIDevice, BlendZeroPercentChangesNothingEvenTheBorder)
{
    CGDIDevice device;
    ASSERT_TRUE(device.Create(4, 4, 3));
    FillDevice(device, 0, 0, 0);
    device.BlendRect(0, 0, 3, 3, RGB(255, 255, 255), 0, true, RGB(255, 255, 255));
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ("....", RowPattern(device, y));
}

TEST(GDIDevice, BlendIsClippedToTheSurface)
{
    CGDIDevice device;
    ASSERT_TRUE(device.Create(4, 3, 4));
    FillDevice(device, 0, 0, 0);
    device.BlendRect(2, -5, 100, 100, RGB(255, 255, 255), 100, false, 0);
    EXPECT_EQ("..xx", RowPattern(device, 0));
    EXPECT_EQ("..xx", RowPattern(device, 2));

    FillDevice(device, 0, 0, 0);
    device.BlendRect(-3, -3, 0, 2, RGB(255, 255, 255), 100, false, 0);
    EXPECT_EQ("....", RowPattern(device, 0));
    device.BlendRect(0, -3, 2, 0, RGB(255, 255, 255), 100, false, 0);
    EXPECT_EQ("....", RowPattern(device, 0));
    device.BlendRect(4, 0, 9, 2, RGB(255, 255, 255), 100, false, 0);
    device.BlendRect(0, 3, 3, 9, RGB(255, 255, 255), 100, false, 0);
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ("....", RowPattern(device, y));
}

TEST(GDIDevice, BorderedRectangleHasItsOutlineInTheBorderColour)
{
    CGDIDevice device;
    ASSERT_TRUE(device.Create(6, 5, 3));
    FillDevice(device, 0, 0, 0);
    device.BlendRect(1, 1, 4, 3, RGB(0, 0, 0), 100, true, RGB(0, 0, 255));
    EXPECT_EQ("......", RowPattern(device, 0));
    EXPECT_EQ(".xxxx.", RowPattern(device, 1));
    EXPECT_EQ(".x..x.", RowPattern(device, 2));
    EXPECT_EQ(".xxxx.", RowPattern(device, 3));
    EXPECT_EQ("......", RowPattern(device, 4));

    // Reaching past the surface: the outline's far edges are clipped away.
    FillDevice(device, 0, 0, 0);
    device.BlendRect(3, 2, 50, 50, RGB(0, 0, 0), 100, true, RGB(0, 0, 255));
    EXPECT_EQ("...xxx", RowPattern(device, 2));
    EXPECT_EQ("...x.x", RowPattern(device, 3));
    EXPECT_EQ("...xxx", RowPattern(device, 4));
}

TEST(GDIDevice, OneColumnBorderStaysInsideTheSurface)
{
    CGDIDevice device;
    ASSERT_TRUE(device.Create(3, 4, 3));
    FillDevice(device, 0, 0, 0);
    device.BlendRect(2, 0, 2, 3, RGB(0, 0, 0), 100, true, RGB(0, 0, 255));
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ("..x", RowPattern(device, y));
}
