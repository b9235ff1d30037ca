#include "tests/support/gtest.h"

#include <string.h>

#include <string>

#include "codecs/ximajpg.h"
#include "codecs/xmemfile.h"
#include "tests/support/reference_images.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"

using codectest::CountDifferentPixels;
using codectest::DecodeBytes;
using codectest::EncodeBytes;

namespace {

class JpegReference : public codectest::ReferenceSuite<JpegReference> {
public:
    static const char* Script() { return "make_jpeg_fixtures.sh"; }

protected:
    // The baseline file with its JFIF density fields replaced.
    static std::string WithDensity(int unit, int x, int y)
    {
        std::string jpeg = Bytes("baseline.jpg");
        EXPECT_EQ("JFIF", jpeg.substr(6, 4));
        jpeg[13] = (char)unit;
        jpeg[14] = (char)(x >> 8);
        jpeg[15] = (char)x;
        jpeg[16] = (char)(y >> 8);
        jpeg[17] = (char)y;
        return jpeg;
    }
};

}  // namespace

TEST_F(JpegReference, DecodesWhatCjpegAndImageMagickWrite)
{
    struct Case {
        const char* name;
        WORD bpp;
        int tolerance;
    };
    // The CMYK file is compared with ImageMagick's own colour conversion.
    const Case cases[] = { { "baseline", 24, 0 }, { "progressive", 24, 0 }, { "grey", 8, 0 },
                           { "cmyk", 24, 2 } };
    for (const Case& c : cases) {
        CxImage image;
        ASSERT_TRUE(DecodeBytes(Bytes(std::string(c.name) + ".jpg"), image, CXIMAGE_FORMAT_JPG))
            << c.name << ": " << image.GetLastError();
        EXPECT_EQ(c.bpp, image.GetBpp()) << c.name;
        EXPECT_EQ(0, CountDifferentPixels(image, Bytes(std::string(c.name) + ".rgb"),
                                          c.tolerance)) << c.name;
        EXPECT_EQ((DWORD)CXIMAGE_FORMAT_JPG, image.GetType());
    }
    CxImage grey;
    ASSERT_TRUE(DecodeBytes(Bytes("grey.jpg"), grey, CXIMAGE_FORMAT_UNKNOWN));
    EXPECT_EQ(256u, grey.GetNumColors());
    EXPECT_TRUE(grey.IsGrayScale());
}

TEST_F(JpegReference, ScaledDecodeMatchesDjpegScaling)
{
    struct Case {
        BYTE scale;
        DWORD width, height;
        const char* reference;
    };
    const Case cases[] = { { 2, 31, 19, "scale2.rgb" }, { 3, 31, 19, "scale2.rgb" },
                           { 4, 16, 10, "scale4.rgb" }, { 7, 16, 10, "scale4.rgb" },
                           { 8, 8, 5, "scale8.rgb" },   { 16, 8, 5, "scale8.rgb" } };
    for (const Case& c : cases) {
        CxImage image;
        image.SetJpegScale(c.scale);
        ASSERT_TRUE(DecodeBytes(Bytes("baseline.jpg"), image, CXIMAGE_FORMAT_JPG));
        EXPECT_EQ(c.width, image.GetWidth()) << (int)c.scale;
        EXPECT_EQ(c.height, image.GetHeight()) << (int)c.scale;
        EXPECT_EQ(0, CountDifferentPixels(image, Bytes(c.reference))) << (int)c.scale;
    }
    CxImage sizeOnly;
    sizeOnly.SetJpegScale(8);
    sizeOnly.SetEscape(-1);
    EXPECT_TRUE(DecodeBytes(Bytes("baseline.jpg"), sizeOnly, CXIMAGE_FORMAT_JPG));
    EXPECT_FALSE(sizeOnly.IsValid());
    EXPECT_EQ(8u, sizeOnly.GetWidth());
    EXPECT_EQ(5u, sizeOnly.GetHeight());
}

TEST_F(JpegReference, ResolutionFromJfifDensityOrExif)
{
    struct Case {
        int unit, x, y;
        int32_t xDpi, yDpi;
    };
    const Case cases[] = { { 1, 72, 72, 72, 72 }, { 2, 28, 28, 71, 71 }, { 0, 1, 1, 1, 1 },
                           { 1, 0, 0, 96, 96 },   { 1, 150, 300, 150, 300 } };
    for (const Case& c : cases) {
        CxImage image;
        ASSERT_TRUE(DecodeBytes(WithDensity(c.unit, c.x, c.y), image, CXIMAGE_FORMAT_JPG));
        EXPECT_EQ(c.xDpi, image.GetXDPI()) << c.unit << " " << c.x;
        EXPECT_EQ(c.yDpi, image.GetYDPI()) << c.unit << " " << c.y;
    }
    // An EXIF resolution of 118 per centimetre wins over the JFIF density.
    std::string exif("\xFF\xE1\0\x36" "Exif\0\0" "II*\0\x08\0\0\0"
                     "\x02\0"
                     "\x1A\x01\x05\0\x01\0\0\0\x26\0\0\0"
                     "\x28\x01\x03\0\x01\0\0\0\x03\0\0\0"
                     "\0\0\0\0"
                     "\x76\0\0\0\x01\0\0\0", 56);
    std::string jpeg = WithDensity(1, 72, 72);
    jpeg.insert(2, exif);
    CxImage image;
    ASSERT_TRUE(DecodeBytes(jpeg, image, CXIMAGE_FORMAT_JPG)) << image.GetLastError();
    EXPECT_EQ(299, image.GetXDPI());
    // EXIF data without a Y resolution leaves it at the default: the JFIF
    // density is not read when EXIF data is there.
    EXPECT_EQ(96, image.GetYDPI());
}

TEST_F(JpegReference, EmptyFailsAndTruncatedStillDecodes)
{
    CxImage empty;
    EXPECT_FALSE(DecodeBytes(std::string(), empty, CXIMAGE_FORMAT_JPG));
    EXPECT_NE('\0', empty.GetLastError()[0]);
    std::string jpeg = Bytes("progressive.jpg");
    CxImage truncated;
    EXPECT_TRUE(DecodeBytes(jpeg.substr(0, jpeg.size() / 2), truncated, CXIMAGE_FORMAT_JPG))
        << truncated.GetLastError();
    EXPECT_EQ(61u, truncated.GetWidth());
    CxImage notJpeg;
    EXPECT_FALSE(DecodeBytes("BM not a jpeg at all", notJpeg, CXIMAGE_FORMAT_JPG));
    EXPECT_NE('\0', notJpeg.GetLastError()[0]);
}

TEST_F(JpegReference, EncodedFilesReadBackInDjpeg)
{
    CxImage colour;
    ASSERT_TRUE(DecodeBytes(Bytes("baseline.jpg"), colour, CXIMAGE_FORMAT_JPG));
    colour.SetXDPI(300);
    colour.SetYDPI(300);
    CxImage grey;
    ASSERT_TRUE(DecodeBytes(Bytes("grey.jpg"), grey, CXIMAGE_FORMAT_JPG));
    for (CxImage* image : { &colour, &grey }) {
        std::string ours = EncodeBytes(*image, CXIMAGE_FORMAT_JPG);
        ASSERT_FALSE(ours.empty()) << image->GetLastError();
        EXPECT_EQ("JFIF", ours.substr(6, 4));
        if (image == &colour) {
            EXPECT_EQ(std::string("\1\1\x2C\1\x2C", 5), ours.substr(13, 5));
        }
        // djpeg reads exactly what we read.
        std::string path = testfiles::MakeScratchFolder("jpeg-ours") + "\\ours.jpg";
        ASSERT_TRUE(testfiles::WriteFileBytes(path, ours));
        std::string ppm = codectest::UnixPath(path) + ".pnm";
        ASSERT_EQ(0, codectest::RunUnixProgram("/usr/bin/djpeg -pnm -outfile " + ppm + " " +
                                               codectest::UnixPath(path)));
        std::string rgb = codectest::ReadWithImageMagick(path + ".pnm");
        CxImage back;
        ASSERT_TRUE(DecodeBytes(ours, back, CXIMAGE_FORMAT_JPG));
        EXPECT_EQ(image->GetBpp(), back.GetBpp());
        EXPECT_EQ(0, CountDifferentPixels(back, rgb));
        // Close to the picture it came from.
        EXPECT_EQ(0, CountDifferentPixels(*image, rgb, 24));
    }
}

TEST(CxImageJPG, RefusesColourPaletteImages)
{
    CxImage image(4, 4, 4);
    image.SetStdPalette();
    EXPECT_TRUE(EncodeBytes(image, CXIMAGE_FORMAT_JPG).empty());
    EXPECT_STREQ("JPEG can save only RGB or GreyScale images", image.GetLastError());
    CxImage empty;
    EXPECT_TRUE(EncodeBytes(empty, CXIMAGE_FORMAT_JPG).empty());
    EXPECT_STREQ("null image!!!", empty.GetLastError());
}
