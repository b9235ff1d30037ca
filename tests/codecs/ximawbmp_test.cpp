#include "tests/support/gtest.h"

#include <string>

#include "codecs/ximawbmp.h"
#include "tests/support/reference_images.h"
#include "tests/support/short_stream.h"
#include "tests/support/test_files.h"

using codectest::CountMismatches;
using codectest::DecodeBytes;
using codectest::EncodeBytes;

TEST(CxImageWBMP, LayoutAndMultiByteSizes)
{
    CxImage image(9, 2, 1);
    image.SetPaletteColor(1, 255, 255, 255);
    image.SetPixelIndex(0, 1, 1);
    image.SetPixelIndex(8, 0, 1);
    std::string file = EncodeBytes(image, CXIMAGE_FORMAT_WBMP);
    EXPECT_EQ(std::string("\0\0\x09\x02\x80\x00\x00\x80", 8), file);

    // 300 = 0x82 0x2C as a multi-byte integer.
    CxImage wide(300, 1, 1);
    wide.SetPaletteColor(1, 255, 255, 255);
    std::string wideFile = EncodeBytes(wide, CXIMAGE_FORMAT_WBMP);
    ASSERT_EQ((size_t)5 + 38, wideFile.size());
    EXPECT_EQ(std::string("\0\0\x82\x2C\x01", 5), wideFile.substr(0, 5));
    CxImage back;
    ASSERT_TRUE(DecodeBytes(wideFile, back, CXIMAGE_FORMAT_WBMP)) << back.GetLastError();
    EXPECT_EQ(300u, back.GetWidth());
    EXPECT_EQ(1u, back.GetHeight());
}

TEST(CxImageWBMP, WhiteAtIndexZeroIsNotSavedInverted)
{
    CxImage image(8, 1, 1);
    image.SetPaletteColor(0, 255, 255, 255);
    image.SetPaletteColor(1, 0, 0, 0);
    image.SetPixelIndex(0, 0, 1);  // one black pixel on white
    std::string file = EncodeBytes(image, CXIMAGE_FORMAT_WBMP);
    EXPECT_EQ(std::string("\0\0\x08\x01\x7F", 5), file);
    CxImage back;
    ASSERT_TRUE(DecodeBytes(file, back, CXIMAGE_FORMAT_WBMP));
    EXPECT_EQ(0, back.GetPixelColor(0, 0).rgbRed);
    EXPECT_EQ(255, back.GetPixelColor(1, 0).rgbRed);
}

TEST(CxImageWBMP, RefusedFilesAndImages)
{
    CxImage image;
    EXPECT_FALSE(DecodeBytes("\0", image, CXIMAGE_FORMAT_WBMP));
    EXPECT_STREQ("Not a WBMP", image.GetLastError());
    EXPECT_FALSE(DecodeBytes(std::string("\1\0\1\1\0", 5), image, CXIMAGE_FORMAT_WBMP));
    EXPECT_STREQ("Unsupported WBMP type", image.GetLastError());
    EXPECT_FALSE(DecodeBytes(std::string("\0\0\1\0", 4), image, CXIMAGE_FORMAT_WBMP));
    EXPECT_STREQ("Corrupted WBMP", image.GetLastError());
    EXPECT_FALSE(DecodeBytes(std::string("\0\0\xFF\xFF\xFF\xFF\xFF\x7F\x01", 9), image,
                             CXIMAGE_FORMAT_WBMP));
    EXPECT_STREQ("Corrupted WBMP", image.GetLastError());
    // A short file keeps the rows it has.
    ASSERT_TRUE(DecodeBytes(std::string("\0\0\x08\x02\xF0", 5), image, CXIMAGE_FORMAT_WBMP));
    EXPECT_EQ(1, image.GetPixelIndex(0, 1));
    EXPECT_EQ(0, image.GetPixelIndex(0, 0));

    CxImage eight(4, 4, 8);
    EXPECT_TRUE(EncodeBytes(eight, CXIMAGE_FORMAT_WBMP).empty());
    EXPECT_STREQ("Can't save this image as WBMP", eight.GetLastError());
    CxImage bits(64, 64, 1);
    codectest::ShortStream stream(100);
    EXPECT_FALSE(bits.Encode(&stream, CXIMAGE_FORMAT_WBMP));
    EXPECT_STRNE("", bits.GetLastError());
}

TEST(CxImageWBMP, MatchesImageMagick)
{
    const codectest::ReferenceFolder& fixtures =
        codectest::SharedReferenceFolder("make_hand_fixtures.sh", "wbmp");
    ASSERT_TRUE(fixtures.Ready()) << "fixtures could not be made: " << fixtures.ExitCode();
    for (const char* name : { "image", "wide" }) {
        std::string rgba;
        ASSERT_TRUE(testfiles::ReadFileBytes(fixtures.Path(std::string(name) + "-0.rgba"), rgba));
        CxImage image;
        ASSERT_TRUE(codectest::DecodeFileAs(fixtures.Path(std::string(name) + ".wbmp"),
                                            CXIMAGE_FORMAT_WBMP, image))
            << name << ": " << image.GetLastError();
        EXPECT_EQ(0, CountMismatches(image, rgba)) << name;
        std::string ours = fixtures.Path(std::string("ours_") + name + ".wbmp"), theirs;
        ASSERT_TRUE(image.Save(ours.c_str(), CXIMAGE_FORMAT_WBMP)) << image.GetLastError();
        ASSERT_TRUE(codectest::ReadWithImageMagickRgba(ours, theirs)) << name;
        EXPECT_EQ(0, CountMismatches(image, theirs)) << name;
    }
}
