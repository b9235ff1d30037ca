// Small damaged files from mutation runs that once made decoders work for
// seconds on pictures their data cannot hold, or keep memory: each is now
// refused or drawn at once, with a message that says what is refused.
#include "tests/support/gtest.h"

#include <string>

#include "codecs/ximage.h"
#include "codecs/ximamng.h"
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
