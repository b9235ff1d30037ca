#include "tests/support/gtest.h"

#include <string.h>

#include "codecs/ximage.h"

namespace {

// Pixel (x, y) of a W x H image gets index or colour y * W + x + 1.
void Number(CxImage& image)
{
    DWORD w = image.GetWidth();
    for (DWORD y = 0; y < image.GetHeight(); ++y)
        for (DWORD x = 0; x < w; ++x) {
            BYTE n = (BYTE)(y * w + x + 1);
            if (image.IsIndexed())
                image.SetPixelIndex(x, y, n);
            else
                image.SetPixelColor(x, y, RGB(n, n, n));
            image.AlphaSet(x, y, n);
        }
}

BYTE At(const CxImage& image, int x, int y)
{
    return image.IsIndexed() ? image.GetPixelIndex(x, y) : image.GetPixelColor(x, y, false).rgbRed;
}

}  // namespace

TEST(CxImageTransforms, RotateLeftAndRightAtEveryDepth)
{
    for (DWORD bpp : { 4u, 8u, 24u }) {
        CxImage source(3, 2, bpp);
        if (bpp == 4)
            source.SetGrayPalette();
        source.AlphaCreate();
        Number(source);
        CxImage left, right;
        ASSERT_TRUE(source.RotateLeft(&left));
        ASSERT_TRUE(source.RotateRight(&right));
        ASSERT_EQ(2u, left.GetWidth());
        ASSERT_EQ(3u, left.GetHeight());
        for (int x = 0; x < 2; ++x)
            for (int y = 0; y < 3; ++y) {
                EXPECT_EQ(At(source, y, 1 - x) & (bpp == 4 ? 15 : 255), At(left, x, y)) << bpp;
                EXPECT_EQ(At(source, 2 - y, x) & (bpp == 4 ? 15 : 255), At(right, x, y)) << bpp;
                EXPECT_EQ(source.AlphaGet(y, 1 - x), left.AlphaGet(x, y));
            }
        EXPECT_EQ(At(source, 0, 1), At(left, 0, 0));
        EXPECT_EQ(3u, source.GetWidth());  // the source stays with a destination
    }
}

TEST(CxImageTransforms, RotateWithoutDestinationReplacesTheImage)
{
    CxImage image(70, 130, 8);  // more than one 64 x 64 block
    Number(image);
    BYTE corner = At(image, 69, 0);
    ASSERT_TRUE(image.RotateRight());
    EXPECT_EQ(130u, image.GetWidth());
    EXPECT_EQ(70u, image.GetHeight());
    EXPECT_EQ(corner, At(image, 0, 0));  // right: result (0, 0) = source (W - 1, 0)
    CxImage empty;
    EXPECT_FALSE(empty.RotateLeft());
}

TEST(CxImageTransforms, RotateOneBitImages)
{
    CxImage image(5, 3, 1);
    image.Clear(0);
    image.SetPixelIndex(0, 0, 1);
    CxImage right;
    ASSERT_TRUE(image.RotateRight(&right));
    ASSERT_EQ(3u, right.GetWidth());
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 5; ++y)
            EXPECT_EQ(x == 0 && y == 4 ? 1 : 0, right.GetPixelIndex(x, y)) << x << "," << y;
}

TEST(CxImageTransforms, Rotate180FlipMirror)
{
    CxImage image(3, 2, 24);
    image.AlphaCreate();
    Number(image);
    CxImage turned;
    ASSERT_TRUE(image.Rotate180(&turned));
    EXPECT_EQ(At(image, 0, 0), At(turned, 2, 1));
    EXPECT_EQ(image.AlphaGet(2, 0), turned.AlphaGet(0, 1));

    CxImage flipped(image);
    flipped.SelectionDelete();
    ASSERT_TRUE(flipped.Flip());
    EXPECT_EQ(At(image, 1, 0), At(flipped, 1, 1));
    EXPECT_EQ(image.AlphaGet(1, 0), flipped.AlphaGet(1, 1));
    EXPECT_FALSE(flipped.SelectionIsValid());

    for (DWORD bpp : { 1u, 4u, 8u, 24u }) {
        CxImage source(11, 2, bpp);
        source.Clear(0);
        source.SetPixelIndex(0, 1, 1);
        source.SetPixelColor(0, 0, RGB(9, 9, 9));
        CxImage mirrored(source);
        ASSERT_TRUE(mirrored.Mirror());
        EXPECT_EQ(source.GetPixelIndex(0, 1), mirrored.GetPixelIndex(10, 1)) << bpp;
        EXPECT_EQ(At(source, 0, 0), At(mirrored, 10, 0)) << bpp;
    }
}

TEST(CxImageTransforms, Negative)
{
    CxImage grey(2, 1, 8);
    grey.SetGrayPalette();
    grey.SetPixelIndex(0, 0, 0);
    ASSERT_TRUE(grey.Negative());
    EXPECT_EQ(255, grey.GetPixelIndex(0, 0));

    CxImage palette(2, 1, 4);
    palette.SetStdPalette();
    palette.SetPixelIndex(0, 0, 9);
    ASSERT_TRUE(palette.Negative());
    EXPECT_EQ(9, palette.GetPixelIndex(0, 0));
    EXPECT_EQ(0, palette.GetPaletteColor(9).rgbRed);
    EXPECT_EQ(255, palette.GetPaletteColor(9).rgbBlue);

    CxImage truecolour(1, 1, 24);
    truecolour.SetPixelColor(0, 0, RGB(0, 100, 255));
    ASSERT_TRUE(truecolour.Negative());
    EXPECT_EQ(255, truecolour.GetPixelColor(0, 0, false).rgbRed);
    EXPECT_EQ(155, truecolour.GetPixelColor(0, 0, false).rgbGreen);
    EXPECT_EQ(255, truecolour.GetTransColor().rgbRed);
}

TEST(CxImageTransforms, DecreaseBppRefusalsAndNoOps)
{
    CxImage four(2, 2, 4);
    EXPECT_FALSE(four.DecreaseBpp(8, false));
    CxImage eight(2, 2, 8);
    eight.SetPixelIndex(0, 0, 77);
    void* block = eight.GetDIB();
    EXPECT_TRUE(eight.DecreaseBpp(8, false, NULL, 0));
    EXPECT_EQ(block, eight.GetDIB());
    CxImage empty;
    EXPECT_FALSE(empty.DecreaseBpp(1, false));
    CxImage truecolour(2, 2, 24);
    EXPECT_FALSE(truecolour.DecreaseBpp(2, false));
}

TEST(CxImageTransforms, DecreaseToOneBitPicksTheNearer)
{
    CxImage image(3, 1, 24);
    image.SetPixelColor(0, 0, RGB(100, 100, 100));
    image.SetPixelColor(1, 0, RGB(200, 200, 200));
    image.SetPixelColor(2, 0, RGB(255, 0, 255));
    ASSERT_TRUE(image.DecreaseBpp(1, false));
    EXPECT_EQ(1, image.GetBpp());
    EXPECT_EQ(0, image.GetPixelIndex(0, 0));
    EXPECT_EQ(1, image.GetPixelIndex(1, 0));
    EXPECT_EQ(255, image.GetPaletteColor(1).rgbGreen);
}

TEST(CxImageTransforms, ErrorDiffusionMixesBlackAndWhite)
{
    CxImage image(8, 8, 24);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.SetPixelColor(x, y, RGB(128, 128, 128));
    ASSERT_TRUE(image.DecreaseBpp(1, true));
    int white = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            white += image.GetPixelIndex(x, y);
    EXPECT_GT(white, 16);
    EXPECT_LT(white, 48);
}

TEST(CxImageTransforms, DecreaseToStandardPalettes)
{
    CxImage image(2, 1, 24);
    image.SetPixelColor(0, 0, RGB(255, 0, 0));
    image.SetPixelColor(1, 0, RGB(0, 0, 128));
    CxImage eight(image);
    ASSERT_TRUE(eight.DecreaseBpp(8, false));
    EXPECT_EQ(249, eight.GetPixelIndex(0, 0));
    EXPECT_EQ(4, eight.GetPixelIndex(1, 0));
    ASSERT_TRUE(image.DecreaseBpp(4, true, NULL, 8));
    EXPECT_EQ(4, image.GetPixelIndex(1, 0));
    // Only the first eight colours take part: bright red becomes dark red.
    EXPECT_EQ(1, image.GetPixelIndex(0, 0));
}

TEST(CxImageTransforms, DecreaseStoppedByEscapeLeavesTheSource)
{
    CxImage image(4, 4, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.SetPixelColor(x, y, RGB(128, 128, 128));
    CxImage before(image);
    image.SetEscape(1);
    EXPECT_FALSE(image.DecreaseBpp(1, true));
    EXPECT_EQ(24, image.GetBpp());
    EXPECT_EQ(0, memcmp(before.GetDIB(), image.GetDIB(), image.GetSize()));
}
