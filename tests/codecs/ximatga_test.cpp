#include "tests/support/gtest.h"

#include <string>

#include "codecs/ximatga.h"
#include "tests/support/reference_images.h"
#include "tests/support/short_stream.h"
#include "tests/support/test_files.h"

using codectest::CountMismatches;
using codectest::DecodeBytes;
using codectest::EncodeBytes;

namespace {

std::string Header(int type, unsigned width, unsigned height, int depth, int descriptor = 0,
                   unsigned mapLength = 0, int mapBits = 0)
{
    std::string head(18, '\0');
    head[1] = mapLength ? 1 : 0;
    head[2] = (char)type;
    head[5] = (char)(mapLength & 0xFF);
    head[6] = (char)(mapLength >> 8);
    head[7] = (char)mapBits;
    head[12] = (char)(width & 0xFF);
    head[13] = (char)(width >> 8);
    head[14] = (char)(height & 0xFF);
    head[15] = (char)(height >> 8);
    head[16] = (char)depth;
    head[17] = (char)descriptor;
    return head;
}

bool DecodeTga(const std::string& bytes, CxImage& image)
{
    return DecodeBytes(bytes, image, CXIMAGE_FORMAT_TGA);
}

}  // namespace

TEST(CxImageTGA, PacketsRunAcrossRows)
{
    // 8 x 3 grey, top to bottom. Row 0: 3 raw pixels, then a run of 20
    // that fills 5 of row 0 and 15 of rows 1 and 2; then 1 raw pixel that
    // ends the last row.
    std::string data("\x02\x01\x02\x03\x93\x09\x00\x0A", 8);
    CxImage image;
    ASSERT_TRUE(DecodeTga(Header(11, 8, 3, 8, 0x20) + data, image)) << image.GetLastError();
    EXPECT_EQ(1, image.GetPixelIndex(0, 2));
    EXPECT_EQ(3, image.GetPixelIndex(2, 2));
    EXPECT_EQ(9, image.GetPixelIndex(3, 2));
    EXPECT_EQ(9, image.GetPixelIndex(7, 1));
    EXPECT_EQ(9, image.GetPixelIndex(6, 0));
    EXPECT_EQ(10, image.GetPixelIndex(7, 0));
    EXPECT_TRUE(image.IsGrayScale());

    // A raw packet of 6 over the end of a 4-pixel row goes on in the next.
    std::string raw("\x05\x01\x02\x03\x04\x05\x06\x81\x07", 9);
    CxImage crossing;
    ASSERT_TRUE(DecodeTga(Header(11, 4, 2, 8) + raw, crossing)) << crossing.GetLastError();
    EXPECT_EQ(4, crossing.GetPixelIndex(3, 0));
    EXPECT_EQ(5, crossing.GetPixelIndex(0, 1));
    EXPECT_EQ(6, crossing.GetPixelIndex(1, 1));
    EXPECT_EQ(7, crossing.GetPixelIndex(3, 1));

    // One run for the whole image: the file ends with the first row.
    CxImage single;
    ASSERT_TRUE(DecodeTga(Header(11, 2, 2, 8) + std::string("\x83\x42", 2), single))
        << single.GetLastError();
    EXPECT_EQ(0x42, single.GetPixelIndex(1, 1));
}

TEST(CxImageTGA, PixelAndColourMapDepths)
{
    CxImage sixteen;
    ASSERT_TRUE(DecodeTga(Header(2, 1, 1, 16) + std::string("\xFF\x7F", 2), sixteen));
    RGBQUAD color = sixteen.GetPixelColor(0, 0, false);
    EXPECT_EQ(248, color.rgbRed);
    EXPECT_EQ(248, color.rgbGreen);
    EXPECT_EQ(248, color.rgbBlue);

    // Colour maps of 16- and 32-bit entries.
    CxImage mapped16, mapped32;
    ASSERT_TRUE(DecodeTga(Header(1, 2, 1, 8, 0, 2, 16) + std::string("\x1F\x00\x00\x7C\x01\x00", 6),
                          mapped16)) << mapped16.GetLastError();
    EXPECT_EQ(248, mapped16.GetPixelColor(0, 0).rgbRed);
    EXPECT_EQ(248, mapped16.GetPixelColor(1, 0).rgbBlue);
    ASSERT_TRUE(DecodeTga(Header(1, 2, 1, 8, 0, 2, 32) +
                              std::string("\x10\x20\x30\xFF\x40\x50\x60\xFF\x00\x01", 10),
                          mapped32)) << mapped32.GetLastError();
    EXPECT_EQ(0x30, mapped32.GetPixelColor(0, 0).rgbRed);
    EXPECT_EQ(0x40, mapped32.GetPixelColor(1, 0).rgbBlue);
}

TEST(CxImageTGA, RightToLeftAndAlphaOrientation)
{
    // 2 x 2, 32 bits, run-length, top to bottom and right to left.
    std::string data("\x01\x01\x01\x01\x10\x02\x02\x02\x20"
                     "\x01\x03\x03\x03\x30\x04\x04\x04\x40", 18);
    CxImage image;
    ASSERT_TRUE(DecodeTga(Header(10, 2, 2, 32, 0x38) + data, image)) << image.GetLastError();
    ASSERT_TRUE(image.AlphaIsValid());
    // File row 0 is the top; its first pixel is the rightmost.
    EXPECT_EQ(1, image.GetPixelColor(1, 1).rgbRed);
    EXPECT_EQ(0x10, image.AlphaGet(1, 1));
    EXPECT_EQ(0x20, image.AlphaGet(0, 1));
    EXPECT_EQ(4, image.GetPixelColor(0, 0).rgbRed);
    EXPECT_EQ(0x40, image.AlphaGet(0, 0));
}

TEST(CxImageTGA, RefusedFiles)
{
    CxImage image;
    EXPECT_FALSE(DecodeTga("short", image));
    EXPECT_STREQ("Not a TGA", image.GetLastError());
    EXPECT_FALSE(DecodeTga(Header(4, 1, 1, 8), image));
    EXPECT_STREQ("Unknown TGA image type", image.GetLastError());
    EXPECT_FALSE(DecodeTga(Header(1, 1, 1, 8, 0, 257, 24), image));
    EXPECT_STREQ("bad TGA header", image.GetLastError());
    EXPECT_FALSE(DecodeTga(Header(2, 1, 1, 12), image));
    EXPECT_STREQ("bad TGA header", image.GetLastError());
    EXPECT_FALSE(DecodeTga(Header(2, 0, 1, 24), image));
    EXPECT_STREQ("bad TGA header", image.GetLastError());
    EXPECT_FALSE(DecodeTga(Header(2, 2, 3, 24) + std::string(6, '\1'), image));
    EXPECT_STREQ("corrupted TGA", image.GetLastError());
}

TEST(CxImageTGA, Encoding)
{
    CxImage four(3, 3, 4);
    EXPECT_TRUE(EncodeBytes(four, CXIMAGE_FORMAT_TGA).empty());
    EXPECT_STREQ("Bit depth must be 8 or 24", four.GetLastError());

    CxImage image(2, 1, 24);
    image.SetPixelColor(0, 0, RGB(10, 20, 30));
    image.AlphaCreate();
    image.AlphaSet(1, 0, 0);
    std::string file = EncodeBytes(image, CXIMAGE_FORMAT_TGA);
    ASSERT_EQ((size_t)18 + 8, file.size());
    EXPECT_EQ(32, file[16]);
    EXPECT_EQ(std::string("\x1E\x14\x0A\xFF", 4), file.substr(18, 4));
    EXPECT_EQ(0, file[25]);
    CxImage back;
    ASSERT_TRUE(DecodeTga(file, back)) << back.GetLastError();
    EXPECT_EQ(0, back.AlphaGet(1, 0));
    EXPECT_EQ(255, back.AlphaGet(0, 0));

    codectest::ShortStream stream(20);
    EXPECT_FALSE(image.Encode(&stream, CXIMAGE_FORMAT_TGA));
    EXPECT_STRNE("", image.GetLastError());
}

namespace {

const codectest::ReferenceFolder& Fixtures()
{
    return codectest::SharedReferenceFolder("make_hand_fixtures.sh", "tga");
}

// The fixture NAME.tga decoded, and another program's reading of it
// (NAME<reading>.rgba).
::testing::AssertionResult DecodeFixture(const std::string& name, const std::string& reading,
                                         CxImage& image, std::string& rgba)
{
    if (!testfiles::ReadFileBytes(Fixtures().Path(name + reading + ".rgba"), rgba))
        return ::testing::AssertionFailure() << "no reading of " << name;
    if (!codectest::DecodeFileAs(Fixtures().Path(name + ".tga"), CXIMAGE_FORMAT_TGA, image))
        return ::testing::AssertionFailure() << name << ": " << image.GetLastError();
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(TgaReference, DecodesWhatImageMagickWritesAndWritesWhatItReads)
{
    ASSERT_TRUE(Fixtures().Ready()) << "fixtures could not be made: " << Fixtures().ExitCode();
    const char* names[] = { "type1", "type2", "type3", "type9", "type10", "type11",
                            "type2_top", "type10_top", "type2_right", "type10_alpha_top",
                            "type2_alpha" };
    for (const char* name : names) {
        std::string rgba;
        CxImage image;
        ASSERT_TRUE(DecodeFixture(name, "-0", image, rgba));
        codectest::PixelCheck check;
        check.compareAlpha = true;
        EXPECT_EQ(0, CountMismatches(image, rgba, check)) << name;

        std::string ours = Fixtures().Path(std::string("ours_") + name + ".tga");
        ASSERT_TRUE(image.Save(ours.c_str(), CXIMAGE_FORMAT_TGA)) << image.GetLastError();
        CxImage back;
        ASSERT_TRUE(codectest::DecodeFileAs(ours, CXIMAGE_FORMAT_TGA, back)) << name;
        EXPECT_EQ(0, CountMismatches(back, rgba, check)) << name;
        std::string theirs;
        ASSERT_TRUE(codectest::ReadWithImageMagickRgba(ours, theirs)) << name;
        EXPECT_EQ(0, CountMismatches(image, theirs, check)) << "ImageMagick reading ours: "
                                                            << name;
    }
}

TEST(TgaReference, GreyWithAlphaDecodesAsPillowReadsIt)
{
    ASSERT_TRUE(Fixtures().Ready()) << "fixtures could not be made: " << Fixtures().ExitCode();
    for (const char* name : { "type3_grey_alpha", "type11_grey_alpha_top" }) {
        std::string rgba;
        CxImage image;
        ASSERT_TRUE(DecodeFixture(name, "-pillow", image, rgba));
        EXPECT_TRUE(image.IsGrayScale()) << name;
        ASSERT_TRUE(image.AlphaIsValid()) << name;
        codectest::PixelCheck check;
        check.compareAlpha = true;
        EXPECT_EQ(0, CountMismatches(image, rgba, check)) << name;
    }
}

TEST(CxImageTGA, SixteenBitGreyIsGreyAndAlphaAndTheMapStartsAtItsFirstIndex)
{
    // Low byte grey, high byte alpha, for plain and run-length grey.
    for (int type : { 3, 11 }) {
        std::string pixels = type == 3 ? std::string("\x40\x80\xC0\xFF", 4)
                                       : std::string("\x01\x40\x80\xC0\xFF", 5);
        CxImage grey;
        ASSERT_TRUE(DecodeTga(Header(type, 2, 1, 16) + pixels, grey)) << grey.GetLastError();
        ASSERT_TRUE(grey.AlphaIsValid()) << type;
        EXPECT_EQ(0x40, grey.GetPixelColor(0, 0).rgbRed) << type;
        EXPECT_EQ(0x80, grey.AlphaGet(0, 0)) << type;
        EXPECT_EQ(0xC0, grey.GetPixelColor(1, 0).rgbGreen) << type;
        EXPECT_EQ(0xFF, grey.AlphaGet(1, 0)) << type;
    }

    // Two map entries from index 5: pixel 5 is the first, 6 the second.
    std::string head = Header(1, 2, 1, 8, 0, 2, 24);
    head[3] = 5;
    CxImage mapped;
    ASSERT_TRUE(DecodeTga(head + std::string("\x10\x20\x30\x40\x50\x60\x05\x06", 8), mapped))
        << mapped.GetLastError();
    EXPECT_EQ(0x30, mapped.GetPixelColor(0, 0).rgbRed);
    EXPECT_EQ(0x40, mapped.GetPixelColor(1, 0).rgbBlue);
}
