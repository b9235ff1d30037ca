// Small damaged files from mutation runs that once made decoders work for
// seconds on pictures their data cannot hold, or keep memory: each is now
// refused or drawn at once, with a message that says what is refused.
#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include "codecs/ximage.h"
#include "codecs/ximamng.h"
#include "tests/support/mutation_harness.h"
#include "tests/support/reference_images.h"
#include "tests/support/test_files.h"

namespace {

std::string Damaged(const std::string& name)
{
    std::string bytes;
    testfiles::ReadFileBytes(
        testfiles::ToWinePath(testfiles::SourceDir() + "/tests/fixtures/fuzz/" + name), bytes);
    return bytes;
}

// Decodes the file within ten seconds (a bound for hangs, which took far
// longer; not a speed test); returns the decoder's result.
bool DecodeQuickly(const std::string& name, DWORD type, CxImage& image)
{
    std::string bytes = Damaged(name);
    EXPECT_FALSE(bytes.empty()) << name;
    DWORD start = GetTickCount();
    bool decoded = codectest::DecodeBytes(bytes, image, type);
    EXPECT_LT(GetTickCount() - start, 10000u) << name;
    return decoded;
}

void ExpectRefused(const std::string& name, DWORD type, const char* message)
{
    CxImage image;
    EXPECT_FALSE(DecodeQuickly(name, type, image))
        << name << " " << image.GetWidth() << " x " << image.GetHeight();
    EXPECT_STREQ(message, image.GetLastError()) << name;
}

}  // namespace

TEST(DamagedFiles, PicturesLargerThanTheirDataAreRefused)
{
    ExpectRefused("bmp_10988.bin", CXIMAGE_FORMAT_BMP, "image too large");
    ExpectRefused("gif_2667.bin", CXIMAGE_FORMAT_GIF, "image too large");
    ExpectRefused("gif_14416.bin", CXIMAGE_FORMAT_GIF, "image too large");
    ExpectRefused("mng_10840.bin", CXIMAGE_FORMAT_MNG, "image too large");
}

TEST(DamagedFiles, MetafileWithFarAwayShapesPlaysQuickly)
{
    CxImage image;
    bool decoded = DecodeQuickly("wmf_10265.bin", CXIMAGE_FORMAT_WMF, image);
    EXPECT_TRUE(decoded) << image.GetLastError();
}

TEST(DamagedFiles, NoBlockOfTheMngLibraryOutlivesItsImage)
{
    LONG before = CxMngBlocksHeld();
    for (int round = 0; round < 2; ++round) {
        CxImage image;
        DecodeQuickly("mng_leak_case4.jng", CXIMAGE_FORMAT_MNG, image);
    }
    EXPECT_EQ(before, CxMngBlocksHeld());
}

TEST(DamagedFiles, EveryFileThroughEveryDecoderAndBack)
{
    std::string folder = testfiles::ToWinePath(testfiles::SourceDir() + "/tests/fixtures/fuzz");
    std::vector<std::string> names = testfiles::FileNamesIn(folder);
    ASSERT_GE(names.size(), 9u);
    for (const std::string& name : names) {
        for (DWORD type = CXIMAGE_FORMAT_UNKNOWN; type < CMAX_IMAGE_FORMATS; ++type) {
            CxImage image;
            bool decoded = DecodeQuickly(name, type, image);
            EXPECT_EQ("", codectest::CheckDecodeResult(decoded, image)) << name << " as " << type;
            if (!decoded)
                continue;
            // What was decoded is written again as quickly, in its own format.
            DWORD start = GetTickCount();
            codectest::EncodeBytes(image, type == CXIMAGE_FORMAT_UNKNOWN ? image.GetType() : type);
            EXPECT_LT(GetTickCount() - start, 1000u) << name << " as " << type;
        }
    }
}

TEST(DamagedFiles, WbmpSizeIsWeighedAgainstItsData)
{
    // 16000 x 16000 (multi-byte 0xFD 0x00) over 40 bytes: once 32 MB filled
    // for seconds.
    std::string header("\0\0\xFD\x00\xFD\x00", 6);
    CxImage image;
    DWORD start = GetTickCount();
    EXPECT_FALSE(codectest::DecodeBytes(header + std::string(40, '\x55'), image,
                                        CXIMAGE_FORMAT_WBMP));
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_STREQ("image too large for its data", image.GetLastError());

    // A file cut short after 8 of its 64 rows still shows them.
    std::string cut = std::string("\0\0\x40\x40", 4) + std::string(64, '\xFF');
    ASSERT_TRUE(codectest::DecodeBytes(cut, image, CXIMAGE_FORMAT_WBMP)) << image.GetLastError();
    EXPECT_EQ(64u, image.GetHeight());
    EXPECT_EQ(1, image.GetPixelIndex(0, 63));
}
