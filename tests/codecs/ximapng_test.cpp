#include "tests/support/gtest.h"

#include <string.h>

#include <string>

#include "codecs/ximapng.h"
#include "tests/support/reference_images.h"
#include "tests/support/test_files.h"

#include "platform/native/native_begin.h"
#include <zlib.h>
#include "platform/native/native_end.h"

using codectest::CountDifferentPixels;
using codectest::DecodeBytes;
using codectest::EncodeBytes;

namespace {

uint32_t ReadU32BigEndian(const std::string& bytes, size_t at)
{
    const BYTE* p = (const BYTE*)bytes.data() + at;
    return ((uint32_t)p[0] << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

std::string U32BigEndian(uint32_t value)
{
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = (char)(value >> (24 - 8 * i));
    return out;
}

std::string Chunk(const std::string& type, const std::string& data)
{
    std::string body = type + data;
    uLong crc = crc32(0, (const Bytef*)body.data(), (uInt)body.size());
    return U32BigEndian((uint32_t)data.size()) + body + U32BigEndian((uint32_t)crc);
}

// The data of the first chunk of that type; `found` tells whether there was one.
std::string ChunkData(const std::string& png, const std::string& type, bool* found = NULL)
{
    for (size_t at = 8; at + 8 <= png.size();) {
        uint32_t length = ReadU32BigEndian(png, at);
        if (png.compare(at + 4, 4, type) == 0) {
            if (found)
                *found = true;
            return png.substr(at + 8, length);
        }
        at += 12 + length;
    }
    if (found)
        *found = false;
    return std::string();
}

// The file with a chunk put in front of its first IDAT chunk.
std::string WithChunkBeforeData(const std::string& png, const std::string& chunk)
{
    size_t at = png.find("IDAT");
    return png.substr(0, at - 4) + chunk + png.substr(at - 4);
}

std::string WithPhys(const std::string& png, uint32_t x, uint32_t y, BYTE unit)
{
    std::string data = U32BigEndian(x) + U32BigEndian(y) + (char)unit;
    size_t at = png.find("pHYs");
    if (at == std::string::npos)
        return WithChunkBeforeData(png, Chunk("pHYs", data));
    return png.substr(0, at - 4) + Chunk("pHYs", data) + png.substr(at + 4 + 9 + 4);
}

class PngReference : public codectest::ReferenceSuite<PngReference> {
public:
    static const char* Script() { return "make_png_fixtures.sh"; }
};

}  // namespace

TEST_F(PngReference, DecodesEveryColourTypeLikeImageMagick)
{
    struct Case {
        const char* name;
        WORD bpp;
        bool alpha;
        const char* reference;  // suffix of the dump compared with
        int tolerance;          // 16-bit samples: ImageMagick rounds, we take the high byte
    };
    const Case cases[] = {
        { "grey1", 1, false, "", 0 },          { "grey2", 4, false, "", 0 },
        { "grey4", 4, false, "", 0 },          { "grey8", 8, false, "", 0 },
        { "grey16", 8, false, "", 1 },         { "rgb8", 24, false, "", 0 },
        { "rgb16", 24, false, "", 1 },         { "palette4", 4, false, "", 0 },
        { "palette8", 8, false, "", 0 },       { "rgb8_interlaced", 24, false, "", 0 },
        { "palette8_interlaced", 8, false, "", 0 }, { "grey2_interlaced", 4, false, "", 0 },
        { "rgba", 24, true, "", 0 },           { "rgba_interlaced", 24, true, "", 0 },
        { "grey_alpha", 24, true, "", 0 },     { "rgba16", 24, true, "", 1 },
        { "palette_trns", 8, false, "", 0 },
    };
    for (const Case& c : cases) {
        std::string name = c.name;
        CxImage image;
        ASSERT_TRUE(DecodeBytes(Bytes(name + ".png"), image, CXIMAGE_FORMAT_PNG))
            << name << ": " << image.GetLastError();
        EXPECT_EQ(c.bpp, image.GetBpp()) << name;
        EXPECT_EQ(c.alpha, image.AlphaIsValid()) << name;
        EXPECT_EQ(0, CountDifferentPixels(image, Bytes(name + c.reference + ".rgb"), c.tolerance))
            << name;
        if (c.alpha) {
            std::string rgba;
            ASSERT_TRUE(codectest::ReadWithImageMagickRgba(Files().Path(name + ".png"), rgba));
            codectest::PixelCheck check;
            check.compareAlpha = true;
            check.tolerance = c.tolerance;
            EXPECT_EQ(0, codectest::CountMismatches(image, rgba, check)) << name;
        }
        bool interlaced = name.find("interlaced") != std::string::npos;
        EXPECT_EQ(interlaced ? 1u : 0u, image.GetCodecOption(CXIMAGE_FORMAT_PNG)) << name;

        // Ours reads back the same here and in ImageMagick, interlaced again
        // when the source was.
        std::string ours = EncodeBytes(image, CXIMAGE_FORMAT_PNG);
        ASSERT_FALSE(ours.empty()) << name << ": " << image.GetLastError();
        EXPECT_EQ(interlaced ? 1 : 0, ours[28]) << name;
        CxImage back;
        ASSERT_TRUE(DecodeBytes(ours, back, CXIMAGE_FORMAT_PNG)) << name;
        EXPECT_EQ(0, CountDifferentPixels(back, Bytes(name + c.reference + ".rgb"), c.tolerance))
            << name;
        std::string path = Files().Path("ours_" + name + ".png");
        ASSERT_TRUE(testfiles::WriteFileBytes(path, ours));
        EXPECT_EQ(0, CountDifferentPixels(image, codectest::ReadWithImageMagick(path)))
            << "ImageMagick reading ours: " << name;
    }
    CxImage grey2;
    ASSERT_TRUE(DecodeBytes(Bytes("grey2.png"), grey2, CXIMAGE_FORMAT_UNKNOWN));
    EXPECT_EQ(16u, grey2.GetNumColors());
    for (BYTE i = 0; i < 4; ++i)
        EXPECT_EQ(85 * i, grey2.GetPaletteColor(i).rgbRed);
}

TEST_F(PngReference, AlphaPlaneAndPaletteTransparency)
{
    CxImage rgba;
    ASSERT_TRUE(DecodeBytes(Bytes("rgba.png"), rgba, CXIMAGE_FORMAT_PNG));
    EXPECT_EQ(0, rgba.AlphaGet(0, 0));
    EXPECT_GT(rgba.AlphaGet(22, 16), 240);

    // ImageMagick's file has one tRNS entry of 0: entry 0 is the
    // transparent index, and the palette carries no alpha.
    CxImage trns;
    ASSERT_TRUE(DecodeBytes(Bytes("palette_trns.png"), trns, CXIMAGE_FORMAT_PNG));
    EXPECT_EQ(0, trns.GetTransIndex());
    EXPECT_FALSE(trns.AlphaPaletteIsValid());
    EXPECT_EQ(0, trns.GetPixelIndex(0, 16));
}

namespace {

// The colour that tRNS names is transparent; every other pixel is opaque.
void ExpectTransparentWhereColourIs(const CxImage& image, RGBQUAD colour)
{
    ASSERT_TRUE(image.AlphaIsValid());
    int transparent = 0;
    for (DWORD y = 0; y < image.GetHeight(); ++y) {
        for (DWORD x = 0; x < image.GetWidth(); ++x) {
            RGBQUAD pixel = image.GetPixelColor(x, y, false);
            bool same = pixel.rgbRed == colour.rgbRed && pixel.rgbGreen == colour.rgbGreen &&
                        pixel.rgbBlue == colour.rgbBlue;
            EXPECT_EQ(same ? 0 : 255, image.AlphaGet(x, y)) << x << ", " << y;
            transparent += same;
        }
    }
    EXPECT_GT(transparent, 0);
}

}  // namespace

TEST_F(PngReference, GreyAndRgbFilesKeepTheirTrnsTransparencyAsAlpha)
{
    // The ramp's last column is black.
    std::string grey = WithChunkBeforeData(Bytes("grey8.png"), Chunk("tRNS", std::string("\0\0", 2)));
    CxImage image;
    ASSERT_TRUE(DecodeBytes(grey, image, CXIMAGE_FORMAT_PNG)) << image.GetLastError();
    EXPECT_EQ(0, CountDifferentPixels(image, Bytes("grey8.rgb")));
    ExpectTransparentWhereColourIs(image, RGBQUAD{ 0, 0, 0, 0 });

    CxImage plain;
    ASSERT_TRUE(DecodeBytes(Bytes("rgb8.png"), plain, CXIMAGE_FORMAT_PNG));
    RGBQUAD corner = plain.GetPixelColor(0, 0);
    std::string key = { 0, (char)corner.rgbRed, 0, (char)corner.rgbGreen, 0, (char)corner.rgbBlue };
    std::string rgb = WithChunkBeforeData(Bytes("rgb8.png"), Chunk("tRNS", key));
    CxImage colour;
    ASSERT_TRUE(DecodeBytes(rgb, colour, CXIMAGE_FORMAT_PNG)) << colour.GetLastError();
    EXPECT_EQ(0, CountDifferentPixels(colour, Bytes("rgb8.rgb")));
    ExpectTransparentWhereColourIs(colour, corner);
}

TEST_F(PngReference, ResolutionFromPhys)
{
    std::string png = Bytes("rgb8.png");
    CxImage metres, unknown;
    ASSERT_TRUE(DecodeBytes(WithPhys(png, 2835, 2835, 1), metres, CXIMAGE_FORMAT_PNG));
    EXPECT_EQ(72, metres.GetXDPI());
    EXPECT_EQ(72, metres.GetYDPI());
    ASSERT_TRUE(DecodeBytes(WithPhys(png, 1, 2, 0), unknown, CXIMAGE_FORMAT_PNG));
    EXPECT_EQ(1, unknown.GetXDPI());
    EXPECT_EQ(2, unknown.GetYDPI());
    // Written back in pixels per metre.
    std::string ours = EncodeBytes(metres, CXIMAGE_FORMAT_PNG);
    EXPECT_EQ(U32BigEndian(2835) + U32BigEndian(2835) + '\1', ChunkData(ours, "pHYs"));
}

TEST_F(PngReference, TruncatedDataFailsWithReadError)
{
    std::string png = Bytes("rgb8.png");
    size_t data = png.find("IDAT");
    CxImage image;
    EXPECT_FALSE(DecodeBytes(png.substr(0, data + 30), image, CXIMAGE_FORMAT_PNG));
    EXPECT_STREQ("Read Error", image.GetLastError());
    CxImage notPng;
    EXPECT_FALSE(DecodeBytes("GIF89a....", notPng, CXIMAGE_FORMAT_PNG));
    EXPECT_NE('\0', notPng.GetLastError()[0]);
}

TEST(CxImagePNG, PaletteEncodingWritesOnlyTheColoursUsed)
{
    CxImage fewPixels(100, 100, 8), manyPixels(300, 300, 8);
    for (CxImage* image : { &fewPixels, &manyPixels }) {
        image->SetStdPalette();
        image->Clear(0);
        for (DWORD i = 0; i < 10; ++i)
            image->SetPixelIndex(i, i, (BYTE)i);
    }
    EXPECT_EQ(30u, ChunkData(EncodeBytes(fewPixels, CXIMAGE_FORMAT_PNG), "PLTE").size());
    EXPECT_EQ(768u, ChunkData(EncodeBytes(manyPixels, CXIMAGE_FORMAT_PNG), "PLTE").size());
}

TEST(CxImagePNG, TransparentIndexBecomesEntryZero)
{
    CxImage image(4, 4, 8);
    image.SetStdPalette();
    image.Clear(1);
    image.SetPixelIndex(0, 0, 5);
    image.SetTransIndex(5);
    RGBQUAD five = image.GetPaletteColor(5);
    std::string png = EncodeBytes(image, CXIMAGE_FORMAT_PNG);
    ASSERT_FALSE(png.empty()) << image.GetLastError();
    EXPECT_EQ(std::string(1, '\0'), ChunkData(png, "tRNS"));
    // The image itself changed: the transparent colour is entry 0 now.
    EXPECT_EQ(0, image.GetTransIndex());
    EXPECT_EQ(0, image.GetPixelIndex(0, 0));
    EXPECT_EQ(five.rgbRed, image.GetPaletteColor(0).rgbRed);

    CxImage back;
    ASSERT_TRUE(DecodeBytes(png, back, CXIMAGE_FORMAT_PNG));
    EXPECT_EQ(0, back.GetTransIndex());
    EXPECT_FALSE(back.AlphaPaletteIsValid());
}

TEST(CxImagePNG, AlphaPaletteRoundTrip)
{
    CxImage image(4, 4, 8);
    image.SetGrayPalette();
    image.Clear(0);
    image.SetPixelIndex(1, 1, 1);
    image.SetPixelIndex(2, 2, 2);
    for (BYTE i = 0; i < 3; ++i) {
        RGBQUAD entry = image.GetPaletteColor(i);
        entry.rgbReserved = (BYTE)(10 * (i + 1));
        image.SetPaletteColor(i, entry);
    }
    std::string png = EncodeBytes(image, CXIMAGE_FORMAT_PNG);
    EXPECT_EQ(std::string("\x0A\x14\x1E"), ChunkData(png, "tRNS"));
    CxImage back;
    ASSERT_TRUE(DecodeBytes(png, back, CXIMAGE_FORMAT_PNG));
    EXPECT_EQ(20, back.GetPaletteColor(1).rgbReserved);
    EXPECT_EQ(255, back.GetPaletteColor(3).rgbReserved);
}

TEST(CxImagePNG, TransparentColourOfTrueColourImage)
{
    CxImage image(3, 2, 24);
    image.Clear(0x40);
    image.SetPixelColor(1, 0, RGB(200, 10, 20));
    RGBQUAD key = { 20, 10, 200, 0 };
    image.SetTransColor(key);
    image.SetTransIndex(0);
    std::string png = EncodeBytes(image, CXIMAGE_FORMAT_PNG);
    ASSERT_FALSE(png.empty()) << image.GetLastError();
    EXPECT_FALSE(image.AlphaIsValid());
    EXPECT_EQ(6, png[25]);  // colour type: RGB with alpha
    CxImage back;
    ASSERT_TRUE(DecodeBytes(png, back, CXIMAGE_FORMAT_PNG));
    ASSERT_TRUE(back.AlphaIsValid());
    EXPECT_EQ(0, back.AlphaGet(1, 0));
    EXPECT_EQ(255, back.AlphaGet(0, 0));
    EXPECT_EQ(255, back.AlphaGet(1, 1));
}
