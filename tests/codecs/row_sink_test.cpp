// Decoders that hand their rows to a sink give it, row by row from the
// top, the pixels ImageMagick reads; files whose rows do not come in order
// (interlaced PNG, TIFF pages libtiff's RGBA reader makes) and sinks that
// decline are decoded whole as before.
#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include "codecs/ximage.h"
#include "tests/support/reference_images.h"

namespace {

// Puts every row it takes into a picture of its own, as the decoder would
// have stored it.
class RecordingSink : public CxRowSink {
public:
    explicit RecordingSink(bool take) : m_take(take) {}

    bool WantsRows(DWORD width, DWORD height) override
    {
        asked = true;
        if (m_take)
            picture.Create(width, height, 24);
        return m_take;
    }
    void TakeRow(const CxImage& row) override
    {
        EXPECT_EQ(1u, row.GetHeight());
        EXPECT_EQ(picture.GetWidth(), row.GetWidth());
        const DWORD y = picture.GetHeight() - 1 - rows;
        if (rows++ >= picture.GetHeight())
            return;
        for (DWORD x = 0; x < picture.GetWidth() && x < row.GetWidth(); ++x)
            picture.SetPixelColor(x, y, row.GetPixelColor(x, 0, false));
    }

    bool asked = false;
    DWORD rows = 0;
    CxImage picture;

private:
    bool m_take;
};

struct Case {
    const char* name;
    bool byRows;    // the decoder hands its rows over
    int tolerance;  // 16-bit samples: ImageMagick rounds, we take the high byte
};

void ExpectRowsAreTheReference(const char* script, const char* extension, DWORD format,
                               const std::vector<Case>& cases)
{
    const codectest::ReferenceFolder& files = codectest::SharedReferenceFolder(script);
    ASSERT_TRUE(files.Ready()) << script;
    for (const Case& c : cases) {
        const std::string name = c.name;
        const std::string reference = files.Bytes(name + ".rgb");
        RecordingSink sink(true);
        CxImage image(format);
        image.SetRowSink(&sink);
        ASSERT_TRUE(codectest::DecodeBytes(files.Bytes(name + extension), image, format))
            << name << ": " << image.GetLastError();
        if (c.byRows) {
            EXPECT_EQ(sink.picture.GetHeight(), sink.rows) << name;
            EXPECT_EQ(1u, image.GetHeight()) << name;
            EXPECT_EQ(0, codectest::CountDifferentPixels(sink.picture, reference, c.tolerance)) << name;
        } else {
            EXPECT_FALSE(sink.asked) << name;
            EXPECT_EQ(0, codectest::CountDifferentPixels(image, reference, c.tolerance)) << name;
        }
        // A sink that declines leaves the picture whole.
        RecordingSink declining(false);
        CxImage whole(format);
        whole.SetRowSink(&declining);
        ASSERT_TRUE(codectest::DecodeBytes(files.Bytes(name + extension), whole, format)) << name;
        EXPECT_EQ(0u, declining.rows) << name;
        EXPECT_EQ(0, codectest::CountDifferentPixels(whole, reference, c.tolerance)) << name;
    }
}

TEST(CxRowSink, PngRowsInOrderFromEveryColourType)
{
    ExpectRowsAreTheReference("make_png_fixtures.sh", ".png", CXIMAGE_FORMAT_PNG,
                              {{"grey1", true, 0},
                               {"grey2", true, 0},
                               {"grey4", true, 0},
                               {"grey8", true, 0},
                               {"grey16", true, 1},
                               {"rgb8", true, 0},
                               {"rgb16", true, 1},
                               {"palette4", true, 0},
                               {"palette8", true, 0},
                               {"rgba", true, 0},
                               {"rgba16", true, 1},
                               {"grey_alpha", true, 0},
                               {"palette_trns", true, 0},
                               {"rgb8_interlaced", false, 0},
                               {"grey2_interlaced", false, 0}});
}

TEST(CxRowSink, TiffRowsOfStripsTilesAndSamples)
{
    ExpectRowsAreTheReference("make_tiff_fixtures.sh", ".tif", CXIMAGE_FORMAT_TIF,
                              {{"rgb_none", true, 0},
                               {"rgb_lzw", true, 0},
                               {"rgb_deflate", true, 0},
                               {"rgb_packbits", true, 0},
                               {"rgb_tiled", true, 0},
                               {"rgb_onestrip", true, 0},
                               {"grey8", true, 0},
                               {"grey16", true, 1},
                               {"grey8_tiled", true, 0},
                               {"g4", true, 0},
                               {"palette8", true, 0},
                               {"palette4", true, 0},
                               {"rgba", true, 0},
                               {"grey_alpha", true, 0},
                               {"multi", true, 0},
                               {"rgb_jpeg", false, 2}});
}

}  // namespace
