#include "tests/support/gtest.h"

#include <string.h>

#include <string>

#include "codecs/ximaico.h"
#include "codecs/xmemfile.h"
#include "tests/support/reference_images.h"
#include "tests/support/short_stream.h"
#include "tests/support/test_files.h"

using codectest::CountMismatches;
using codectest::DecodeBytes;
using codectest::EncodeBytes;

namespace {

bool DecodeIco(const std::string& bytes, CxImage& image, int frame = 0)
{
    image.SetFrame(frame);
    return DecodeBytes(bytes, image, CXIMAGE_FORMAT_ICO);
}

// A 16-colour icon, 8 x 4, pixel index (x + 8 y) % 15 (entry 15 unused),
// with the mask set on the border.
std::string SixteenColourIcon()
{
    CxImage image(8, 4, 4);
    for (BYTE i = 0; i < 16; ++i)
        image.SetPaletteColor(i, (BYTE)(i * 16), (BYTE)(i * 8), (BYTE)(255 - i));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            image.SetPixelIndex(x, y, (BYTE)((x + 8 * y) % 15));
    std::string file = EncodeBytes(image, CXIMAGE_FORMAT_ICO);
    size_t mask = file.size() - 16;  // 4 rows of 4 bytes
    for (int y = 0; y < 4; ++y)
        file[mask + 4 * y] = (char)((y == 0 || y == 3) ? 0xFF : 0x81);
    return file;
}

}  // namespace

TEST(CxImageICO, MaskBecomesAFreePaletteIndex)
{
    CxImage image;
    ASSERT_TRUE(DecodeIco(SixteenColourIcon(), image)) << image.GetLastError();
    EXPECT_EQ(4, image.GetBpp());
    EXPECT_EQ(15, image.GetTransIndex());
    EXPECT_FALSE(image.AlphaIsValid());
    EXPECT_EQ(15, image.GetPixelIndex(0, 1));
    EXPECT_EQ(15, image.GetPixelIndex(7, 1));
    EXPECT_EQ(15, image.GetPixelIndex(3, 0));
    EXPECT_EQ((3 + 16) % 15, image.GetPixelIndex(3, 2));
}

TEST(CxImageICO, FramesCursorsAndRefusals)
{
    std::string one = SixteenColourIcon();
    // Three directory entries for the same image.
    std::string three = one.substr(0, 6) + one.substr(6, 16) + one.substr(6, 16) +
                        one.substr(6, 16) + one.substr(22);
    three[4] = 3;
    for (int i = 0; i < 3; ++i)
        three[6 + 16 * i + 12] = (char)(22 + 32);
    CxImage image;
    ASSERT_TRUE(DecodeIco(three, image, 2)) << image.GetLastError();
    EXPECT_EQ(3, image.GetNumFrames());
    CxImageICO beyond;
    beyond.SetFrame(3);
    CxMemFile stream((BYTE*)three.data(), (DWORD)three.size());
    EXPECT_FALSE(beyond.Decode(&stream));
    EXPECT_EQ(3, beyond.GetNumFrames());
    EXPECT_STRNE("", beyond.GetLastError());

    std::string cursor = one;
    cursor[2] = 2;
    EXPECT_TRUE(DecodeIco(cursor, image));
    std::string other = one;
    other[2] = 3;
    EXPECT_FALSE(DecodeIco(other, image));
    EXPECT_STRNE("", image.GetLastError());

    // A mask of only set bits: the negative, with transparent index 0.
    std::string allSet = one;
    for (size_t i = allSet.size() - 16; i < allSet.size(); ++i)
        allSet[i] = (char)0xFF;
    CxImage negative;
    ASSERT_TRUE(DecodeIco(allSet, negative));
    EXPECT_EQ(0, negative.GetTransIndex());

    // The bitmap header's size holds over the directory's (0 there means
    // 256).
    CxImage big(255, 2, 8);
    std::string bigFile = EncodeBytes(big, CXIMAGE_FORMAT_ICO);
    bigFile[6] = 0;
    bigFile += std::string(1024, '\0');
    CxImage wide;
    ASSERT_TRUE(DecodeIco(bigFile, wide)) << wide.GetLastError();
    EXPECT_EQ(255u, wide.GetWidth());
    EXPECT_EQ(2u, wide.GetHeight());
}

TEST(CxImageICO, AlphaIsWrittenAsThirtyTwoBits)
{
    CxImage image(3, 2, 24);
    image.SetPixelColor(0, 0, RGB(10, 20, 30));
    image.AlphaCreate();
    image.AlphaSet(1, 0, 0);
    image.AlphaSet(2, 1, 128);
    std::string file = EncodeBytes(image, CXIMAGE_FORMAT_ICO);
    ASSERT_EQ((size_t)22 + 40 + 24 + 8, file.size());
    EXPECT_EQ(32, file[22 + 14]);
    EXPECT_EQ(0x40, (BYTE)file[file.size() - 8]);  // pixel (1, 0) masked
    CxImage back;
    ASSERT_TRUE(DecodeIco(file, back)) << back.GetLastError();
    ASSERT_TRUE(back.AlphaIsValid());
    EXPECT_EQ(0, back.AlphaGet(1, 0));
    EXPECT_EQ(128, back.AlphaGet(2, 1));
    EXPECT_EQ(30, back.GetPixelColor(0, 0).rgbBlue);

    CxImage wide(300, 20, 8);
    EXPECT_TRUE(EncodeBytes(wide, CXIMAGE_FORMAT_ICO).empty());
    EXPECT_STREQ("Can't save this image as icon", wide.GetLastError());
    codectest::ShortStream stream(50);
    EXPECT_FALSE(image.Encode(&stream, CXIMAGE_FORMAT_ICO));
    EXPECT_STRNE("", image.GetLastError());
}

namespace {

const codectest::ReferenceFolder& Fixtures()
{
    return codectest::SharedReferenceFolder("make_hand_fixtures.sh", "ico");
}

}  // namespace

TEST(IcoReference, DecodesWhatImageMagickWritesAndWritesWhatItReads)
{
    ASSERT_TRUE(Fixtures().Ready()) << "fixtures could not be made: " << Fixtures().ExitCode();
    struct Case {
        const char* name;
        int frame;
        WORD bpp;
        bool alpha;
    };
    const Case cases[] = { { "bits1", 0, 1, false },  { "bits4", 0, 4, false },
                           { "bits8", 0, 8, false },  { "bits32", 0, 24, true },
                           { "multi", 0, 24, true },  { "multi", 1, 24, true },
                           { "multi", 2, 24, true } };
    for (const Case& c : cases) {
        std::string label = std::string(c.name) + "_" + std::to_string(c.frame), rgba;
        ASSERT_TRUE(testfiles::ReadFileBytes(
            Fixtures().Path(std::string(c.name) + "-" + std::to_string(c.frame) + ".rgba"), rgba))
            << label;
        CxImage image;
        ASSERT_TRUE(DecodeIco(Fixtures().Bytes(std::string(c.name) + ".ico"), image, c.frame))
            << label << ": " << image.GetLastError();
        EXPECT_EQ(c.bpp, image.GetBpp()) << label;
        codectest::PixelCheck check;
        check.compareAlpha = c.alpha;
        EXPECT_EQ(0, CountMismatches(image, rgba, check)) << label;
        if (image.GetWidth() >= 256)
            continue;

        std::string ours = Fixtures().Path("ours_" + label + ".ico"), theirs;
        ASSERT_TRUE(image.Save(ours.c_str(), CXIMAGE_FORMAT_ICO)) << image.GetLastError();
        ASSERT_TRUE(codectest::ReadWithImageMagickRgba(ours, theirs)) << label;
        EXPECT_EQ(0, CountMismatches(image, theirs, check)) << "ImageMagick reading ours: "
                                                            << label;
    }

    // 24 bits, which ImageMagick does not write: ours, read by it.
    CxImage truecolour;
    ASSERT_TRUE(
        codectest::DecodeFileAs(Fixtures().Path("source.bmp"), CXIMAGE_FORMAT_BMP, truecolour));
    std::string ours = Fixtures().Path("ours_bits24.ico"), theirs;
    ASSERT_TRUE(truecolour.Save(ours.c_str(), CXIMAGE_FORMAT_ICO)) << truecolour.GetLastError();
    ASSERT_TRUE(codectest::ReadWithImageMagickRgba(ours, theirs));
    EXPECT_EQ(0, CountMismatches(truecolour, theirs));
    CxImage back;
    ASSERT_TRUE(codectest::DecodeFileAs(ours, CXIMAGE_FORMAT_ICO, back));
    EXPECT_EQ(24, back.GetBpp());
    EXPECT_EQ(0, CountMismatches(back, theirs));
}

TEST(CxImageICO, TheBitmapHeaderHoldsAndAlphaEntriesAreNotInverted)
{
    // The directory says 16 x 32; the bitmap is 8 x 4.
    std::string wrongSize = SixteenColourIcon();
    wrongSize[6] = 16;
    wrongSize[7] = 32;
    CxImage image;
    ASSERT_TRUE(DecodeIco(wrongSize, image)) << image.GetLastError();
    EXPECT_EQ(8u, image.GetWidth());
    EXPECT_EQ(4u, image.GetHeight());

    // A 32-bit entry whose mask is all set keeps its colours.
    CxImage colour(3, 2, 24);
    colour.Clear(0);
    colour.SetPixelColor(0, 0, RGB(10, 20, 30));
    colour.AlphaCreate();
    std::string file = EncodeBytes(colour, CXIMAGE_FORMAT_ICO);
    for (size_t i = file.size() - 8; i < file.size(); ++i)
        file[i] = (char)0xFF;
    CxImage back;
    ASSERT_TRUE(DecodeIco(file, back)) << back.GetLastError();
    RGBQUAD pixel = back.GetPixelColor(0, 0, false);
    EXPECT_EQ(10, pixel.rgbRed);
    EXPECT_EQ(30, pixel.rgbBlue);
}

TEST(CxImageICO, AnAlphaImageKeepsItsAlphaWhereItsMaskDisagreesAsImageMagickReadsIt)
{
    // Opaque pixels the mask calls transparent, and the other way round.
    CxImage colour(4, 2, 24);
    colour.Clear(0);
    colour.SetPixelColor(1, 1, RGB(10, 20, 30));
    colour.AlphaCreate();
    colour.AlphaSet(2, 0, 0);
    colour.AlphaSet(3, 0, 128);
    std::string file = EncodeBytes(colour, CXIMAGE_FORMAT_ICO);
    ASSERT_FALSE(file.empty());
    // The mask's rows (4 bytes each, bottom first) end the file: mark
    // pixels (0, 0) and (1, 1), clear (2, 0).
    size_t mask = file.size() - 8;
    file[mask] = (char)0x80;
    file[mask + 4] = (char)0x40;
    CxImage image;
    ASSERT_TRUE(DecodeIco(file, image)) << image.GetLastError();
    EXPECT_EQ(255, image.AlphaGet(0, 0));
    EXPECT_EQ(255, image.AlphaGet(1, 1));
    EXPECT_EQ(0, image.AlphaGet(2, 0));
    EXPECT_EQ(128, image.AlphaGet(3, 0));
    std::string path = testfiles::MakeScratchFolder("ico-masks") + "\\disagrees.ico", rgba;
    ASSERT_TRUE(testfiles::WriteFileBytes(path, file));
    ASSERT_TRUE(codectest::ReadWithImageMagickRgba(path, rgba));
    codectest::PixelCheck check;
    check.compareAlpha = true;
    EXPECT_EQ(0, CountMismatches(image, rgba, check));
}
