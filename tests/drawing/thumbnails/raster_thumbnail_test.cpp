// Raster thumbnails are reduced by averaging: a fine pattern comes out as
// its mean grey, and photos as ImageMagick's box reduction makes them,
// whether their rows were reduced as they were decoded or after.
#include "tests/support/gtest.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <string>

#include "core/file_types.h"
#include "drawing/thumbnails/raster_thumbnail.h"
#include "platform/base/byte_reader.h"
#include "tests/support/test_files.h"

namespace {

// A thumbnail as rows from the top of red, green, blue bytes.
struct Picture {
    int width = 0, height = 0;
    std::string rgb;
};

Picture MakeThumbnail(const std::string& name, int32_t kind)
{
    Picture picture;
    const std::string path = testfiles::ToWinePath(THUMB_INPUTS) + "\\" + name;
    BYTE* bmp = MakeRasterThumbnail(path.c_str(), kind, 160, 120, false);
    if (!bmp)
        return picture;
    // Made by the program as a bottom-up 24-bit BMP file image.
    picture.width = static_cast<int>(GetU32LE(bmp + 18));
    picture.height = static_cast<int>(GetU32LE(bmp + 22));
    const BYTE* pixels = bmp + GetU32LE(bmp + 10);
    const int stride = (picture.width * 3 + 3) & ~3;
    for (int y = picture.height - 1; y >= 0; --y)
        for (int x = 0; x < picture.width; ++x) {
            const BYTE* pixel = pixels + y * stride + x * 3;
            picture.rgb += static_cast<char>(pixel[2]);
            picture.rgb += static_cast<char>(pixel[1]);
            picture.rgb += static_cast<char>(pixel[0]);
        }
    free(bmp);
    return picture;
}

std::string Reference(const std::string& name)
{
    std::ifstream file(std::string(THUMB_INPUTS) + "/" + name + ".box.rgb", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

double MeanDifference(const std::string& a, const std::string& b)
{
    double total = 0;
    for (size_t i = 0; i < a.size(); ++i)
        total += abs(static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]));
    return total / a.size();
}

TEST(RasterThumbnailTest, OnePixelCheckerIsMidGrey)
{
    const Picture checker = MakeThumbnail("checker.png", FILEKIND_PNG);
    ASSERT_EQ(160, checker.width);
    ASSERT_EQ(120, checker.height);
    int worst = 0;
    for (unsigned char value : checker.rgb)
        worst = abs(value - 128) > worst ? abs(value - 128) : worst;
    EXPECT_LE(worst, 8);
}

TEST(RasterThumbnailTest, PhotosMatchTheBoxReduction)
{
    const struct {
        const char* name;
        int32_t kind;
    } photos[] = {{"plasma.png", FILEKIND_PNG},
                  {"plasma.jpg", FILEKIND_JPEG},
                  {"checker.png", FILEKIND_PNG},
                  {"plasma.tif", FILEKIND_TIFF},
                  {"plasma_interlaced.png", FILEKIND_PNG}};
    for (const auto& photo : photos) {
        const Picture thumbnail = MakeThumbnail(photo.name, photo.kind);
        const std::string reference = Reference(photo.name);
        ASSERT_EQ(reference.size(), thumbnail.rgb.size()) << photo.name;
        EXPECT_LE(MeanDifference(reference, thumbnail.rgb), 3.0) << photo.name;
    }
}

}  // namespace
