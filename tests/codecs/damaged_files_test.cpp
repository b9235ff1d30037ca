// Small damaged files from mutation runs that once made decoders work for
// seconds on pictures their data cannot hold: each is now refused at once,
// with a message that says what is refused.
#include "tests/support/gtest.h"

#include <string>

#include "codecs/ximage.h"
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

void ExpectRefused(const std::string& name, DWORD type, const char* message)
{
    std::string bytes = Damaged(name);
    ASSERT_FALSE(bytes.empty()) << name;
    CxImage image;
    DWORD start = GetTickCount();
    bool decoded = codectest::DecodeBytes(bytes, image, type);
    printf("%s: %s in %lu ms (%s)\n", name.c_str(), decoded ? "decoded" : "refused",
           (unsigned long)(GetTickCount() - start), image.GetLastError());
    EXPECT_FALSE(decoded) << name << " " << image.GetWidth() << " x " << image.GetHeight();
    EXPECT_STREQ(message, image.GetLastError()) << name;
}

}  // namespace

TEST(DamagedFiles, PicturesLargerThanTheirDataAreRefused)
{
    ExpectRefused("bmp_10988.bin", CXIMAGE_FORMAT_BMP, "image too large");
    ExpectRefused("gif_2667.bin", CXIMAGE_FORMAT_GIF, "image too large");
    ExpectRefused("gif_14416.bin", CXIMAGE_FORMAT_GIF, "image too large");
}
