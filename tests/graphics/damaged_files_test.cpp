// Small damaged files from mutation runs that once kept the raster
// document's readers busy for seconds or brought the program down.
#include "tests/support/gtest.h"

#include <string>

#include "graphics/jpeg_markers.h"
#include "graphics/kimage.h"
#include "tests/support/test_files.h"

namespace {

// A copy of a damaged file under the name it is read by.
std::string Copy(const std::string& name, const std::string& as)
{
    std::string bytes;
    testfiles::ReadFileBytes(
        testfiles::ToWinePath(testfiles::SourceDir() + "/tests/fixtures/fuzz/" + name), bytes);
    std::string path = testfiles::MakeScratchFolder("damaged") + "\\" + as;
    testfiles::WriteFileBytes(path, bytes);
    return path;
}

}  // namespace

TEST(DamagedRasterFiles, ThumbnailBytesThatAreNoJpegStayAwayFromTheSystemLoader)
{
    // The EXIF thumbnail of this file starts four bytes early, where the
    // system's loader sees an icon of absurd size. A window makes the
    // process talk to the display, as the program does.
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    std::string jpeg = Copy("markers_13869.bin", "markers.jpg");
    DWORD start = GetTickCount();
    EXPECT_EQ(nullptr, LoadJpegOriented(jpeg.c_str()));
    EXPECT_EQ(nullptr, KImage::LoadThumbnail(jpeg.c_str(), -1));
    EXPECT_LT(GetTickCount() - start, 2000u);
    DestroyWindow(window);
}

TEST(DamagedRasterFiles, BmpClaimingMorePixelsThanItHoldsFailsAtOnce)
{
    std::string bmp = Copy("kimage_17131.bin", "kimage.bmp");
    KImage image;
    DWORD start = GetTickCount();
    EXPECT_FALSE(image.Load(bmp.c_str(), KType::RPoint2D()));
    EXPECT_LT(GetTickCount() - start, 3000u);
}
