#include "tests/support/gtest.h"

#include <string.h>

#include <string>

#include "codecs/ximapcx.h"
#include "codecs/xmemfile.h"
#include "tests/support/reference_images.h"
#include "tests/support/short_stream.h"
#include "tests/support/test_files.h"

using codectest::CountMismatches;
using codectest::DecodeBytes;
using codectest::EncodeBytes;

namespace {

void PutU16(std::string& bytes, size_t at, unsigned value)
{
    bytes[at] = (char)(value & 0xFF);
    bytes[at + 1] = (char)(value >> 8);
}

std::string Header(unsigned width, unsigned height, int bits, int planes, unsigned bytesPerLine)
{
    std::string head(128, '\0');
    head[0] = 10;
    head[1] = 5;
    head[2] = 1;
    head[3] = (char)bits;
    PutU16(head, 8, width - 1);
    PutU16(head, 10, height - 1);
    PutU16(head, 12, 150);
    PutU16(head, 14, 75);
    head[65] = (char)planes;
    PutU16(head, 66, bytesPerLine);
    return head;
}

std::string Palette256()
{
    std::string palette("\x0C", 1);
    for (int i = 0; i < 256; ++i)
        palette += std::string(1, (char)i) + (char)(255 - i) + (char)(i / 2);
    return palette;
}

bool DecodePcx(const std::string& bytes, CxImage& image)
{
    return DecodeBytes(bytes, image, CXIMAGE_FORMAT_PCX);
}

}  // namespace

TEST(CxImagePCX, EightBitRunsAndTrailingPalette)
{
    // 3 x 2, lines of 4 bytes: a run of 3 (count 0xC3), a count-0 run that
    // writes nothing, and a run of 5 that continues over the line end.
    std::string data("\xC3\x07\xC0\x55\xC5\xC1", 6);
    std::string file = Header(3, 2, 8, 1, 4) + data + Palette256();
    CxImage image;
    ASSERT_TRUE(DecodePcx(file, image)) << image.GetLastError();
    EXPECT_EQ(8, image.GetBpp());
    EXPECT_EQ(150, image.GetXDPI());
    EXPECT_EQ(75, image.GetYDPI());
    EXPECT_EQ(7, image.GetPixelIndex(0, 1));
    EXPECT_EQ(7, image.GetPixelIndex(2, 1));
    EXPECT_EQ(0xC1, image.GetPixelIndex(0, 0));
    EXPECT_EQ(0xC1, image.GetPixelIndex(2, 0));
    EXPECT_EQ(254, image.GetPaletteColor(1).rgbGreen);
}

TEST(CxImagePCX, RefusedFiles)
{
    CxImage image;
    std::string good = Header(2, 1, 8, 1, 2) + std::string("\x01\x02", 2) + Palette256();
    ASSERT_TRUE(DecodePcx(good, image)) << image.GetLastError();

    EXPECT_FALSE(DecodePcx(good.substr(0, 100), image));
    EXPECT_STREQ("Can't read PCX image", image.GetLastError());
    std::string wrong = good;
    wrong[0] = 11;
    EXPECT_FALSE(DecodePcx(wrong, image));
    EXPECT_STREQ("Error: Not a PCX file", image.GetLastError());
    wrong = good;
    wrong[2] = 0;
    EXPECT_FALSE(DecodePcx(wrong, image));
    EXPECT_STREQ("PCX file has unknown encoding scheme", image.GetLastError());
    wrong = good;
    wrong[65] = 5;
    EXPECT_FALSE(DecodePcx(wrong, image));
    EXPECT_STREQ("Can't handle image with more than 4 planes", image.GetLastError());
    // The version byte is not checked.
    wrong = good;
    wrong[1] = 77;
    EXPECT_TRUE(DecodePcx(wrong, image));

    EXPECT_FALSE(DecodePcx(Header(2, 1, 8, 1, 2) + std::string("\xC3\x01", 2), image));
    EXPECT_STREQ("repeat count spans end of image", image.GetLastError());
    EXPECT_FALSE(DecodePcx(Header(2, 1, 8, 1, 2) + std::string("\x01", 1), image));
    EXPECT_STREQ("corrupted PCX", image.GetLastError());
    EXPECT_FALSE(DecodePcx(Header(2, 1, 8, 1, 2) + std::string("\x01\x02\x0D", 3), image));
    EXPECT_STREQ("bad color map signature", image.GetLastError());
    // Lines shorter than the width needs are not read past.
    EXPECT_FALSE(DecodePcx(Header(9, 1, 1, 1, 1) + std::string(4, '\0'), image));
    EXPECT_STREQ("corrupted PCX", image.GetLastError());
    EXPECT_FALSE(DecodePcx(Header(4, 1, 8, 3, 2) + std::string(12, '\0'), image));
    EXPECT_STREQ("corrupted PCX", image.GetLastError());
    // A size larger than any picture fails the decoding.
    std::string huge = Header(65535, 65535, 8, 3, 65535);
    PutU16(huge, 8, 65534);
    CxImage refused;
    EXPECT_FALSE(DecodePcx(huge, refused));
    EXPECT_STREQ("image too large", refused.GetLastError());
    EXPECT_FALSE(refused.IsValid());
}

TEST(CxImagePCX, OneBitIsBlackAndWhiteWhateverTheColourMap)
{
    std::string file = Header(8, 1, 1, 1, 2);
    for (int i = 16; i < 64; ++i)
        file[i] = (char)0x77;
    file += std::string("\xA5\x00", 2);
    CxImage image;
    ASSERT_TRUE(DecodePcx(file, image)) << image.GetLastError();
    EXPECT_EQ(1, image.GetBpp());
    EXPECT_EQ(0, image.GetPaletteColor(0).rgbRed);
    EXPECT_EQ(255, image.GetPaletteColor(1).rgbBlue);
    EXPECT_EQ(1, image.GetPixelIndex(0, 0));
    EXPECT_EQ(0, image.GetPixelIndex(1, 0));
}

TEST(CxImagePCX, EncodedLinesArePaddedToEvenLength)
{
    CxImage image(3, 1, 24);
    for (int x = 0; x < 3; ++x)
        image.SetPixelColor(x, 0, RGB(1, 2, 3));
    std::string file = EncodeBytes(image, CXIMAGE_FORMAT_PCX);
    ASSERT_EQ((size_t)128 + 3 * 3, file.size());
    EXPECT_EQ(4, (BYTE)file[66]);
    EXPECT_EQ(3, file[65]);
    EXPECT_EQ(1, file[68]);
    // Per plane: a run of three values, then the pad byte.
    EXPECT_EQ(std::string("\xC3\x01\x00\xC3\x02\x00\xC3\x03\x00", 9), file.substr(128));
}

TEST(CxImagePCX, WhiteOnBlackOneBitIsWrittenInverted)
{
    CxImage image(8, 1, 1);
    image.SetPaletteColor(0, 255, 255, 255);
    image.SetPaletteColor(1, 0, 0, 0);
    image.SetPixelIndex(0, 0, 1);  // black
    std::string file = EncodeBytes(image, CXIMAGE_FORMAT_PCX);
    ASSERT_GT(file.size(), (size_t)128);
    EXPECT_EQ(0, (BYTE)file[16]);
    EXPECT_EQ(255, (BYTE)file[19]);
    EXPECT_EQ(std::string("\x7F\x00", 2), file.substr(128));
    CxImage back;
    ASSERT_TRUE(DecodePcx(file, back)) << back.GetLastError();
    EXPECT_EQ(0, back.GetPixelColor(0, 0).rgbRed);
    EXPECT_EQ(255, back.GetPixelColor(1, 0).rgbRed);
}

TEST(CxImagePCX, ShortWriteFails)
{
    CxImage image(40, 40, 8);
    image.SetStdPalette();
    for (DWORD limit : { 100u, 300u, 900u }) {
        codectest::ShortStream stream(limit);
        EXPECT_FALSE(image.Encode(&stream, CXIMAGE_FORMAT_PCX)) << limit;
        EXPECT_STRNE("", image.GetLastError());
    }
}

namespace {

// ImageMagick paints the set bits of a 1-bit file black, we white (as the
// colour map of our files says): a 1-bit image may match as a negative.
int Mismatches(const CxImage& image, std::string rgba, const codectest::PixelCheck& check)
{
    int direct = CountMismatches(image, rgba, check);
    if (image.GetBpp() != 1 || direct == 0)
        return direct;
    for (size_t i = 0; i < rgba.size(); ++i) {
        if (i % 4 != 3)
            rgba[i] = (char)(255 - (BYTE)rgba[i]);
    }
    return CountMismatches(image, rgba, check);
}

const codectest::ReferenceFolder& Fixtures()
{
    return codectest::SharedReferenceFolder("make_hand_fixtures.sh", "pcx");
}

}  // namespace

TEST(PcxReference, DecodesWhatImageMagickWritesAndWritesWhatItReads)
{
    ASSERT_TRUE(Fixtures().Ready()) << "fixtures could not be made: " << Fixtures().ExitCode();
    struct Case {
        const char* name;
        WORD bpp;
        bool alpha;
    };
    const Case cases[] = { { "bits1", 1, false }, { "bits8", 8, false },
                           { "bits24", 24, false }, { "bits32", 24, true } };
    for (const Case& c : cases) {
        std::string rgba;
        ASSERT_TRUE(
            testfiles::ReadFileBytes(Fixtures().Path(std::string(c.name) + "-0.rgba"), rgba));
        std::string file;
        ASSERT_TRUE(testfiles::ReadFileBytes(Fixtures().Path(std::string(c.name) + ".pcx"), file));
        CxImage image;
        ASSERT_TRUE(DecodePcx(file, image)) << c.name << ": " << image.GetLastError();
        EXPECT_EQ(c.bpp, image.GetBpp()) << c.name;
        EXPECT_EQ(c.alpha, image.AlphaIsValid()) << c.name;
        codectest::PixelCheck check;
        check.compareAlpha = true;
        EXPECT_EQ(0, Mismatches(image, rgba, check)) << c.name;

        std::string ours = Fixtures().Path(std::string("ours_") + c.name + ".pcx");
        ASSERT_TRUE(image.Save(ours.c_str(), CXIMAGE_FORMAT_PCX)) << image.GetLastError();
        CxImage back;
        ASSERT_TRUE(codectest::DecodeFileAs(ours, CXIMAGE_FORMAT_PCX, back)) << c.name;
        EXPECT_EQ(0, Mismatches(back, rgba, check)) << c.name;
        std::string theirs;
        ASSERT_TRUE(codectest::ReadWithImageMagickRgba(ours, theirs)) << c.name;
        EXPECT_EQ(0, Mismatches(image, theirs, check)) << "ImageMagick reading ours: "
                                                            << c.name;
    }
}

TEST(PcxReference, SixteenColourPlanesMatchImageMagick)
{
    ASSERT_TRUE(Fixtures().Ready());
    // 10 x 3, four bit planes, lines of 2 bytes each; the colour map holds
    // sixteen colours. Our encoder writes this layout too.
    CxImage image(10, 3, 4);
    for (BYTE i = 0; i < 16; ++i)
        image.SetPaletteColor(i, (BYTE)(i * 16), (BYTE)(255 - i * 8), (BYTE)(i * 5));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x)
            image.SetPixelIndex(x, y, (BYTE)((x * 3 + y * 5) & 15));
    std::string file = EncodeBytes(image, CXIMAGE_FORMAT_PCX);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(4, file[65]);
    EXPECT_EQ(1, file[3]);
    std::string path = Fixtures().Path("planes4.pcx"), rgba;
    ASSERT_TRUE(testfiles::WriteFileBytes(path, file));
    ASSERT_TRUE(codectest::ReadWithImageMagickRgba(path, rgba));
    CxImage back;
    ASSERT_TRUE(DecodePcx(file, back)) << back.GetLastError();
    EXPECT_EQ(4, back.GetBpp());
    EXPECT_EQ(0, CountMismatches(back, rgba));
    EXPECT_EQ(0, CountMismatches(image, rgba));
}
