#include "tests/support/gtest.h"

#include <string.h>

#include "codecs/ximage.h"

TEST(CxImagePixels, OutsideReadsGiveTheTransparentIndexOrTheFirstByte)
{
    CxImage image(4, 4, 8);
    image.SetPixelIndex(0, 0, 9);
    EXPECT_EQ(9, image.GetPixelIndex(-1, 0));
    image.SetTransIndex(5);
    EXPECT_EQ(5, image.GetPixelIndex(-1, 0));
    EXPECT_EQ(5, image.GetPixelIndex(4, 0));
    CxImage truecolour(2, 2, 24);
    EXPECT_EQ(0, truecolour.GetPixelIndex(0, 0));
}

TEST(CxImagePixels, NibblesAndBits)
{
    CxImage four(4, 1, 4);
    four.SetPixelIndex(0, 0, 0xA);
    four.SetPixelIndex(1, 0, 0x5);
    EXPECT_EQ(0xA5, four.GetBits()[0]);
    four.SetPixelIndex(0, 0, 0x13);  // only the low four bits
    EXPECT_EQ(0x35, four.GetBits()[0]);

    CxImage one(10, 1, 1);
    one.Clear(0);
    one.SetPixelIndex(0, 0, 1);
    one.SetPixelIndex(9, 0, 3);
    EXPECT_EQ(0x80, one.GetBits()[0]);
    EXPECT_EQ(0x40, one.GetBits()[1]);
    EXPECT_EQ(1, one.GetPixelIndex(9, 0));
    one.Clear(7);
    EXPECT_EQ(0xFF, one.GetBits()[1]);
    four.Clear(0x13);
    EXPECT_EQ(0x33, four.GetBits()[0]);
}

TEST(CxImagePixels, ColoursAtTrueColourAndThroughThePalette)
{
    CxImage image(3, 3, 24);
    image.SetPixelColor(1, 2, RGB(10, 20, 30));
    RGBQUAD colour = image.GetPixelColor(1, 2, false);
    EXPECT_EQ(10, colour.rgbRed);
    EXPECT_EQ(30, colour.rgbBlue);
    EXPECT_EQ(image.GetBits(2) + 3, image.GetPixelPointer(1, 2));
    image.AlphaCreate();
    colour.rgbReserved = 77;
    image.SetPixelColor(0, 0, colour, true);
    EXPECT_EQ(77, image.GetPixelColor(0, 0, true).rgbReserved);
    EXPECT_EQ(77, image.AlphaGet(0, 0));
    // Outside: the colour of pixel (0, 0).
    EXPECT_EQ(10, image.GetPixelColor(-5, 9, true).rgbRed);

    CxImage indexed(2, 2, 4);
    indexed.SetStdPalette();
    indexed.SetPixelColor(1, 1, RGB(250, 5, 5));
    EXPECT_EQ(9, indexed.GetPixelIndex(1, 1));
    EXPECT_TRUE(indexed.GetPixelPointer(0, 0) == NULL);
}

TEST(CxImagePalette, NearestIndexCacheAndImportantColours)
{
    CxImage image(2, 2, 8);
    image.SetGrayPalette();
    RGBQUAD grey = { 100, 100, 100, 0 };
    EXPECT_EQ(100, image.GetNearestIndex(grey));
    image.SetPaletteColor(3, 100, 100, 100);
    EXPECT_EQ(3, image.GetNearestIndex(grey));  // the change cleared the cache
    image.SetClrImportant(16);
    RGBQUAD white = { 255, 255, 255, 0 };
    EXPECT_EQ(3, image.GetNearestIndex(white));  // entry 3 is the lightest of 0 to 15
    image.SetClrImportant(300);
    EXPECT_EQ(255, image.GetNearestIndex(white));
    CxImage one(2, 2, 1);
    one.SetClrImportant(5);
    one.SetPaletteColor(0, 0, 0, 0);
    one.SetPaletteColor(1, 0, 0, 0);
    RGBQUAD black = { 0, 0, 0, 0 };
    EXPECT_EQ(0, one.GetNearestIndex(black));  // ties keep the lower index
}

TEST(CxImagePalette, GreyPalettes)
{
    CxImage sixteen(2, 2, 4);
    sixteen.SetGrayPalette();
    EXPECT_EQ(17, sixteen.GetPaletteColor(1).rgbRed);
    EXPECT_EQ(255, sixteen.GetPaletteColor(15).rgbBlue);
    EXPECT_FALSE(sixteen.IsGrayScale());
    CxImage full(2, 2, 8);
    full.SetGrayPalette();
    EXPECT_TRUE(full.IsGrayScale());
    CxImage truecolour(2, 2, 24);
    EXPECT_FALSE(truecolour.IsGrayScale());
    truecolour.SetGrayPalette();  // no palette: nothing happens
}

TEST(CxImagePalette, StandardPalettes)
{
    CxImage four(1, 1, 4);
    four.SetStdPalette();
    EXPECT_EQ(192, four.GetPaletteColor(7).rgbGreen);
    EXPECT_EQ(255, four.GetPaletteColor(12).rgbBlue);
    CxImage eight(1, 1, 8);
    eight.SetStdPalette();
    RGBQUAD c = eight.GetPaletteColor(9);
    EXPECT_EQ(166, c.rgbRed);
    EXPECT_EQ(240, c.rgbBlue);
    c = eight.GetPaletteColor(10);  // first tint of the first hue group
    EXPECT_EQ(255, c.rgbRed);
    EXPECT_EQ(240, c.rgbGreen);
    EXPECT_EQ(212, c.rgbBlue);
    c = eight.GetPaletteColor(15);
    EXPECT_EQ(170, c.rgbGreen);
    EXPECT_EQ(37, c.rgbBlue);
    c = eight.GetPaletteColor(16);
    EXPECT_EQ(170, c.rgbGreen);
    EXPECT_EQ(0, c.rgbBlue);
    c = eight.GetPaletteColor(21);  // last shade
    EXPECT_EQ(80, c.rgbRed);
    EXPECT_EQ(50, c.rgbGreen);
    EXPECT_EQ(242, eight.GetPaletteColor(226).rgbRed);
    EXPECT_EQ(14, eight.GetPaletteColor(245).rgbGreen);
    EXPECT_EQ(251, eight.GetPaletteColor(246).rgbGreen);
    EXPECT_EQ(254, eight.GetPaletteColor(220).rgbRed);  // last full colour
}

TEST(CxImagePalette, SetPaletteForms)
{
    CxImage image(1, 1, 1);
    BYTE red[3] = { 1, 2, 3 };
    image.SetPalette(3, red);
    EXPECT_EQ(2, image.GetPaletteColor(1).rgbBlue);
    CxRgbTriple triples[2] = { { 9, 8, 7 }, { 6, 5, 4 } };
    image.SetPalette(triples, 2);
    EXPECT_EQ(4, image.GetPaletteColor(1).rgbBlue);
    EXPECT_EQ(9, image.GetPaletteColor(0).rgbRed);
    BYTE r, g, b;
    EXPECT_TRUE(image.GetPaletteRGB(1, &r, &g, &b));
    EXPECT_EQ(5, g);
    EXPECT_FALSE(image.GetPaletteRGB(2, &r, &g, &b));
    EXPECT_EQ(0, image.GetPaletteColor(2).rgbRed);
}

TEST(CxImagePalette, SwapIndexSwapsEntriesAndPixels)
{
    CxImage image(2, 1, 8);
    image.SetPaletteColor(1, 10, 10, 10);
    image.SetPaletteColor(2, 20, 20, 20);
    image.SetPixelIndex(0, 0, 1);
    image.SetPixelIndex(1, 0, 2);
    image.SwapIndex(1, 2);
    EXPECT_EQ(2, image.GetPixelIndex(0, 0));
    EXPECT_EQ(20, image.GetPaletteColor(1).rgbRed);
    EXPECT_EQ(10, image.GetPixelColor(0, 0, false).rgbRed);
}

TEST(CxImagePalette, HelperConversions)
{
    RGBQUAD q = CxImage::RGBtoRGBQUAD(RGB(1, 2, 3));
    EXPECT_EQ(1, q.rgbRed);
    EXPECT_EQ(3, q.rgbBlue);
    CxImage image(2, 1, 24);
    BYTE row[8] = { 1, 2, 3, 4, 5, 6, 7, 8 };
    image.RGBtoBGR(row, 8);
    EXPECT_EQ(3, row[0]);
    EXPECT_EQ(6, row[3]);
    EXPECT_EQ(7, row[6]);  // not a whole group within the effective width
    RGBQUAD dark = { 0, 0, 10, 0 }, light = { 0, 200, 0, 0 };
    EXPECT_LT(CxImage::CompareColors(&dark, &light), 0);
}

TEST(CxImagePixels, Bitfield2RGBKeepsEachChannelsOwnShift)
{
    CxImage image(1, 1, 24);
    BYTE pixel555[4] = { 0xFF, 0x7F, 0, 0 };
    image.Bitfield2RGB(pixel555, 0x7C00, 0x3E0, 0x1F, 16);
    EXPECT_EQ(248, image.GetPixelColor(0, 0, false).rgbRed);
    EXPECT_EQ(248, image.GetPixelColor(0, 0, false).rgbBlue);
    // 4-4-4 masks: the blue shift comes from the blue mask.
    BYTE pixel444[4] = { 0x0F, 0x00, 0, 0 };
    image.Bitfield2RGB(pixel444, 0xF00, 0xF0, 0xF, 16);
    EXPECT_EQ(240, image.GetPixelColor(0, 0, false).rgbBlue);
    EXPECT_EQ(0, image.GetPixelColor(0, 0, false).rgbRed);
    BYTE pixel32[4] = { 1, 2, 3, 4 };
    image.Bitfield2RGB(pixel32, 0, 0, 0, 32);
    EXPECT_EQ(3, image.GetPixelColor(0, 0, false).rgbRed);
}

TEST(CxImagePlanes, AlphaOperations)
{
    CxImage image(3, 2, 24);
    EXPECT_EQ(0, image.AlphaGet(0, 0));
    image.AlphaCreate();
    EXPECT_EQ(255, image.AlphaGet(2, 1));
    image.AlphaSet(0, 0, 1);
    image.AlphaSet(9, 9, 1);
    EXPECT_TRUE(image.AlphaMirror());
    EXPECT_EQ(1, image.AlphaGet(2, 0));
    EXPECT_TRUE(image.AlphaFlip());
    EXPECT_EQ(1, image.AlphaGet(2, 1));
    CxImage other(4, 4, 24);
    other.AlphaCreate();
    other.AlphaSet(0, 0, 5);
    EXPECT_FALSE(image.AlphaCopy(other));
    EXPECT_EQ(1, image.AlphaGet(2, 1));
    CxImage same(3, 2, 24);
    EXPECT_TRUE(same.AlphaCopy(image));
    EXPECT_EQ(1, same.AlphaGet(2, 1));
    image.AlphaDelete();
    EXPECT_FALSE(image.AlphaIsValid());
    EXPECT_FALSE(image.AlphaFlip());
    CxImage palette(2, 2, 8);
    EXPECT_FALSE(palette.AlphaPaletteIsValid());
    palette.SetPaletteColor(1, 1, 1, 1, 9);
    EXPECT_TRUE(palette.AlphaPaletteIsValid());
}

TEST(CxImagePlanes, SelectionWithoutMaskIsEverythingInside)
{
    CxImage image(3, 2, 8);
    EXPECT_TRUE(image.SelectionIsInside(2, 1));
    EXPECT_FALSE(image.SelectionIsInside(3, 1));
    EXPECT_FALSE(image.SelectionIsInside(-1, 0));
    EXPECT_TRUE(image.SelectionDelete());
    CxSelectionBox box = image.GetSelectionBox();
    EXPECT_EQ(3, box.left);
    EXPECT_EQ(2, box.bottom);
    CxImage other(3, 2, 8);
    EXPECT_FALSE(other.SelectionCopy(image));
}
