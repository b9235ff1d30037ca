#include "tests/support/gtest.h"

#include <string>

#include "codecs/ximamng.h"
#include "tests/support/reference_images.h"
#include "tests/support/test_files.h"

using codectest::CountDifferentPixels;
using codectest::DecodeBytes;
using codectest::EncodeBytes;

namespace {

class MngReference : public codectest::ReferenceSuite<MngReference> {
public:
    static const char* Script() { return "make_mng_fixtures.sh"; }
};

}  // namespace

TEST_F(MngReference, SingleImagesDecodeLikeImageMagick)
{
    struct Case {
        const char* file;
        const char* reference;
        int tolerance;
    };
    const Case cases[] = { { "single.mng", "single.rgb", 0 }, { "single.jng", "single_jng.rgb", 3 } };
    for (const Case& c : cases) {
        CxImage image;
        ASSERT_TRUE(DecodeBytes(Bytes(c.file), image, CXIMAGE_FORMAT_MNG))
            << c.file << ": " << image.GetLastError();
        EXPECT_EQ(24, image.GetBpp());
        EXPECT_EQ(1, image.GetNumFrames()) << c.file;
        EXPECT_EQ(0, CountDifferentPixels(image, Bytes(c.reference), c.tolerance)) << c.file;
        CxImage second;
        second.SetFrame(1);
        EXPECT_FALSE(DecodeBytes(Bytes(c.file), second, CXIMAGE_FORMAT_MNG));
        EXPECT_STREQ("Error: frame not present in MNG file", second.GetLastError());
    }
}

TEST_F(MngReference, AnimationFramesAreCounted)
{
    CxImage image;
    ASSERT_TRUE(DecodeBytes(Bytes("animation.mng"), image, CXIMAGE_FORMAT_MNG))
        << image.GetLastError();
    EXPECT_EQ(3, image.GetNumFrames());
    CxImage last;
    last.SetFrame(2);
    EXPECT_TRUE(DecodeBytes(Bytes("animation.mng"), last, CXIMAGE_FORMAT_MNG));
    CxImage beyond;
    beyond.SetFrame(3);
    EXPECT_FALSE(DecodeBytes(Bytes("animation.mng"), beyond, CXIMAGE_FORMAT_MNG));
}

TEST_F(MngReference, ForeignAndTruncatedStreamsFailAtOnce)
{
    std::string mng = Bytes("animation.mng");
    const std::string inputs[] = { "not an MNG stream at all", mng.substr(0, 60),
                                   mng.substr(0, mng.size() / 2), Bytes("source.ppm") };
    for (const std::string& bytes : inputs) {
        DWORD start = GetTickCount();
        CxImage image;
        bool decoded = DecodeBytes(bytes, image, CXIMAGE_FORMAT_MNG);
        EXPECT_LT(GetTickCount() - start, 2000u);
        if (!decoded) {
            EXPECT_NE('\0', image.GetLastError()[0]);
        }
    }
    CxImage foreign;
    EXPECT_FALSE(DecodeBytes("not an MNG stream at all", foreign, CXIMAGE_FORMAT_MNG));
    EXPECT_STREQ("The signature is invalid", foreign.GetLastError());
}

TEST_F(MngReference, EncodedFileReadsBackHereAndInImageMagick)
{
    CxImage image;
    ASSERT_TRUE(DecodeBytes(Bytes("single.mng"), image, CXIMAGE_FORMAT_MNG));
    std::string ours = EncodeBytes(image, CXIMAGE_FORMAT_MNG);
    ASSERT_FALSE(ours.empty()) << image.GetLastError();
    EXPECT_EQ(std::string("\x8AMNG\r\n\x1A\n", 8), ours.substr(0, 8));
    CxImage back;
    ASSERT_TRUE(DecodeBytes(ours, back, CXIMAGE_FORMAT_MNG)) << back.GetLastError();
    EXPECT_EQ(0, CountDifferentPixels(back, Bytes("single.rgb")));
    std::string path = Files().Path("ours.mng");
    ASSERT_TRUE(testfiles::WriteFileBytes(path, ours));
    EXPECT_EQ(0, CountDifferentPixels(image, codectest::ReadWithImageMagick(path)));

    CxImage palette(4, 4, 8);
    EXPECT_TRUE(EncodeBytes(palette, CXIMAGE_FORMAT_MNG).empty());
    EXPECT_STREQ("MNG encoder can save only RGB images", palette.GetLastError());
}

TEST(CxImageMNG, PngsThatThePngDecoderRefusesAreRefusedToo)
{
    CxImage picture(6, 4, 24);
    picture.Clear(0x80);
    std::string png = EncodeBytes(picture, CXIMAGE_FORMAT_PNG);
    size_t type = png.find("IDAT");
    ASSERT_NE(std::string::npos, type);
    uint32_t length = ((uint32_t)(BYTE)png[type - 4] << 24) | ((uint32_t)(BYTE)png[type - 3] << 16) |
                      ((uint32_t)(BYTE)png[type - 2] << 8) | (BYTE)png[type - 1];
    std::string badChecksum = png;
    badChecksum[type + 4 + length] ^= 0x55;
    std::string noData = png.substr(0, type - 4) + png.substr(type + 4 + length + 4);
    for (const std::string& bytes : { badChecksum, noData }) {
        CxImage image;
        EXPECT_FALSE(DecodeBytes(bytes, image, CXIMAGE_FORMAT_MNG));
        EXPECT_STRNE("", image.GetLastError());
    }
}
