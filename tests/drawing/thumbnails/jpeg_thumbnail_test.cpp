// JPEG files for thumbnails are decoded at the smallest scale that still
// covers the drawn thumbnail, and stand as their EXIF orientation says.
#include "tests/support/gtest.h"

#include <memory>
#include <string>

#include "codecs/ximage.h"
#include "drawing/thumbnails/jpeg_thumbnail.h"
#include "tests/support/test_files.h"

namespace {

TEST(JpegThumbnailTest, TheScaleIsTheSmallestThatCoversTheDrawnSize)
{
    // A 12 MP photo in a 160 x 120 cell: an eighth (500 x 375) covers it.
    EXPECT_EQ(8, ChooseJpegScale(4000, 3000, 160, 120));
    // An eighth of 1000 x 750 is 125 wide, too narrow for 160.
    EXPECT_EQ(4, ChooseJpegScale(1000, 750, 160, 120));
    // Sides that do not divide evenly round up: 1281 / 8 gives 161.
    EXPECT_EQ(8, ChooseJpegScale(1281, 961, 161, 121));
    EXPECT_EQ(1, ChooseJpegScale(300, 200, 160, 120));

    int width = 0, height = 0;
    FitThumbnailSize(4000, 3000, 160, 120, width, height);
    EXPECT_EQ(160, width);
    EXPECT_EQ(120, height);
    // Never enlarged; a thin picture keeps at least one pixel.
    FitThumbnailSize(50, 40, 160, 120, width, height);
    EXPECT_EQ(50, width);
    EXPECT_EQ(40, height);
    FitThumbnailSize(10000, 2, 160, 120, width, height);
    EXPECT_EQ(160, width);
    EXPECT_EQ(1, height);
}

TEST(JpegThumbnailTest, APhotoTurnedSidewaysIsDecodedAtAQuarter)
{
    // 600 x 400 stored, turned a quarter by its orientation: 400 x 600 as it
    // stands, drawn at 80 x 120, so a quarter (150 x 100 stored) covers it.
    const std::string photo = testfiles::ToWinePath(THUMB_INPUTS) + "\\photo.jpg";
    int fullWidth = 0, fullHeight = 0;
    std::unique_ptr<CxImage> image(LoadJpegThumbnail(photo.c_str(), 160, 120, fullWidth, fullHeight));
    ASSERT_TRUE(image);
    EXPECT_EQ(400, fullWidth);
    EXPECT_EQ(600, fullHeight);
    EXPECT_EQ(100u, image->GetWidth());
    EXPECT_EQ(150u, image->GetHeight());
}

}  // namespace
