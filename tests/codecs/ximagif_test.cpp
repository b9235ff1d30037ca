#include "tests/support/gtest.h"

#include <string.h>

#include <string>
#include <vector>

#include "codecs/ximagif.h"
#include "codecs/xmemfile.h"
#include "tests/support/reference_images.h"
#include "tests/support/short_stream.h"
#include "tests/support/test_files.h"

using codectest::CountMismatches;
using codectest::DecodeBytes;
using codectest::EncodeBytes;

namespace {

struct ImageBlock {
    unsigned left, top, width, height;
    BYTE packed;
    int codeSize;
    std::vector<int> blockLengths;  // data sub-block lengths
    size_t descriptorAt;            // offset of the 0x2C
};

// The images of a GIF file, walked block by block.
std::vector<ImageBlock> ListImages(const std::string& file)
{
    std::vector<ImageBlock> images;
    const BYTE* d = (const BYTE*)file.data();
    size_t size = file.size(), at = 13;
    if (size < 13)
        return images;
    if (d[10] & 0x80)
        at += 3 * (2u << (d[10] & 7));
    while (at < size) {
        BYTE block = d[at++];
        if (block == 0x21) {
            ++at;
            while (at < size && d[at])
                at += d[at] + 1;
            ++at;
        } else if (block == 0x2C && at + 10 <= size) {
            ImageBlock image;
            image.descriptorAt = at - 1;
            image.left = d[at] | d[at + 1] << 8;
            image.top = d[at + 2] | d[at + 3] << 8;
            image.width = d[at + 4] | d[at + 5] << 8;
            image.height = d[at + 6] | d[at + 7] << 8;
            image.packed = d[at + 8];
            at += 9;
            if (image.packed & 0x80)
                at += 3 * (2u << (image.packed & 7));
            image.codeSize = at < size ? d[at++] : -1;
            while (at < size && d[at]) {
                image.blockLengths.push_back(d[at]);
                at += d[at] + 1;
            }
            ++at;
            images.push_back(image);
        } else {
            break;
        }
    }
    return images;
}

// An 8-bit image whose pixel (x, y from the top) is (x + 7 * y) % colours.
CxImage* Pattern(DWORD width, DWORD height, DWORD bpp)
{
    CxImage* image = new CxImage(width, height, bpp);
    DWORD colours = image->GetNumColors();
    for (DWORD i = 0; i < colours; ++i)
        image->SetPaletteColor((BYTE)i, (BYTE)(i * 3), (BYTE)(255 - i), (BYTE)(i * 7));
    for (DWORD y = 0; y < height; ++y)
        for (DWORD x = 0; x < width; ++x)
            image->SetPixelIndex(x, height - 1 - y, (BYTE)((x + 7 * y) % colours));
    return image;
}

bool DecodeGif(const std::string& bytes, CxImage& image, int frame = 0)
{
    image.SetFrame(frame);
    return DecodeBytes(bytes, image, CXIMAGE_FORMAT_GIF);
}

void ExpectSameIndices(const CxImage& expected, const CxImage& got)
{
    ASSERT_EQ(expected.GetWidth(), got.GetWidth());
    ASSERT_EQ(expected.GetHeight(), got.GetHeight());
    int wrong = 0;
    for (DWORD y = 0; y < got.GetHeight(); ++y)
        for (DWORD x = 0; x < got.GetWidth(); ++x)
            wrong += expected.GetPixelIndex(x, y) != got.GetPixelIndex(x, y);
    EXPECT_EQ(0, wrong);
}

}  // namespace

TEST(CxImageGIF, EveryCoderReadsBack)
{
    for (DWORD bpp : { 1u, 4u, 8u }) {
        CxImage* image = Pattern(300, 40, bpp);
        for (DWORD option : { 0u, 1u, 2u }) {
            image->SetCodecOption(option, CXIMAGE_FORMAT_GIF);
            std::string file = EncodeBytes(*image, CXIMAGE_FORMAT_GIF);
            std::vector<ImageBlock> images = ListImages(file);
            ASSERT_EQ(1u, images.size()) << bpp << " " << option;
            EXPECT_EQ(std::max<int>(bpp, 2), images[0].codeSize);
            if (images[0].blockLengths.size() > 1) {
                EXPECT_EQ(option == 2 ? 255 : 254, images[0].blockLengths[0]) << option;
            }
            CxImage back;
            ASSERT_TRUE(DecodeGif(file, back)) << back.GetLastError();
            EXPECT_EQ(bpp, back.GetBpp());
            ExpectSameIndices(*image, back);
        }
        delete image;
    }
}

TEST(CxImageGIF, OneCodePerPixelWhenAsked)
{
    CxImage* image = Pattern(64, 8, 8);
    image->SetCodecOption(1, CXIMAGE_FORMAT_GIF);
    std::string raw = EncodeBytes(*image, CXIMAGE_FORMAT_GIF);
    image->SetCodecOption(0, CXIMAGE_FORMAT_GIF);
    std::string lzw = EncodeBytes(*image, CXIMAGE_FORMAT_GIF);
    // 512 codes of 9 bits at least, plus clear and end codes.
    size_t rawData = 0;
    for (int length : ListImages(raw)[0].blockLengths)
        rawData += length;
    EXPECT_GE(rawData, 512u * 9 / 8);
    EXPECT_LT(lzw.size(), raw.size());
    delete image;
}

TEST(CxImageGIF, HeaderControlAndDescriptor)
{
    CxImage image(5, 3, 1);
    image.SetPaletteColor(1, 255, 255, 255);
    image.SetOffset(40, 50);  // an offset another format left must not move the image
    std::string file = EncodeBytes(image, CXIMAGE_FORMAT_GIF);
    ASSERT_GT(file.size(), (size_t)13 + 6 + 8);
    EXPECT_EQ("GIF89a", file.substr(0, 6));
    EXPECT_EQ(0x80, (BYTE)file[10]);
    // The control extension: disposal 0, no transparency (the index byte
    // is the low byte of -1); no comment.
    EXPECT_EQ(std::string("\x21\xF9\x04\x00\x00\x00\xFF\x00", 8), file.substr(19, 8));
    std::vector<ImageBlock> images = ListImages(file);
    ASSERT_EQ(1u, images.size());
    EXPECT_EQ(0u, images[0].left);
    EXPECT_EQ(0u, images[0].top);
    EXPECT_EQ(27u, images[0].descriptorAt);
    EXPECT_EQ(2, images[0].codeSize);
}

TEST(CxImageGIF, TrueColourIsWrittenAsTiles)
{
    CxImage image(18, 16, 24);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 18; ++x)
            image.SetPixelColor(x, y, RGB(x * 14, y * 15, (x * y) & 255));
    std::string file = EncodeBytes(image, CXIMAGE_FORMAT_GIF);
    EXPECT_EQ(0x11, (BYTE)file[10]);
    std::vector<ImageBlock> tiles = ListImages(file);
    ASSERT_EQ(4u, tiles.size());
    const unsigned expected[4][4] = { { 0, 0, 17, 15 }, { 17, 0, 1, 15 },
                                      { 0, 15, 17, 1 }, { 17, 15, 1, 1 } };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(expected[i][0], tiles[i].left) << i;
        EXPECT_EQ(expected[i][1], tiles[i].top) << i;
        EXPECT_EQ(expected[i][2], tiles[i].width) << i;
        EXPECT_EQ(expected[i][3], tiles[i].height) << i;
        EXPECT_EQ(0x87, tiles[i].packed) << i;
    }
    // No global table, several frames, the first smaller than the screen
    // both ways: read back as one 24-bit picture.
    CxImage back;
    ASSERT_TRUE(DecodeGif(file, back)) << back.GetLastError();
    EXPECT_EQ(24, back.GetBpp());
    EXPECT_EQ(4, back.GetNumFrames());
    int wrong = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 18; ++x)
            wrong += image.GetPixelColor(x, y).rgbRed != back.GetPixelColor(x, y).rgbRed ||
                     image.GetPixelColor(x, y).rgbBlue != back.GetPixelColor(x, y).rgbBlue;
    EXPECT_EQ(0, wrong);
}

TEST(CxImageGIF, InterlacedRowsGoToTheirPasses)
{
    for (DWORD height : { 1u, 2u, 4u, 17u }) {
        CxImage* image = Pattern(3, height, 8);
        std::string file = EncodeBytes(*image, CXIMAGE_FORMAT_GIF);
        std::vector<ImageBlock> images = ListImages(file);
        ASSERT_EQ(1u, images.size());
        file[images[0].descriptorAt + 9] |= 0x40;
        CxImage back;
        ASSERT_TRUE(DecodeGif(file, back)) << back.GetLastError();
        // File row r lands on the picture row of its place in the passes.
        std::vector<DWORD> order;
        for (DWORD start : { 0u, 4u, 2u, 1u })
            for (DWORD row = start; row < height; row += start == 0 ? 8 : start == 4 ? 8
                                                                        : start == 2 ? 4 : 2)
                order.push_back(row);
        ASSERT_EQ(height, order.size());
        for (DWORD r = 0; r < height; ++r)
            EXPECT_EQ(image->GetPixelIndex(0, height - 1 - r),
                      back.GetPixelIndex(0, height - 1 - order[r])) << height << " " << r;
        if (height == 4) {
            // Rows 0, 2, 1, 3 from the top.
            EXPECT_EQ(std::vector<DWORD>({ 0, 2, 1, 3 }), order);
        }
        delete image;
    }
}

TEST(CxImageGIF, FramesAndRefusals)
{
    CxImage* image = Pattern(6, 4, 8);
    std::string single = EncodeBytes(*image, CXIMAGE_FORMAT_GIF);
    // Three frames: the single image's block repeated.
    std::vector<ImageBlock> images = ListImages(single);
    size_t blockStart = 13 + 768;
    std::string frames = single.substr(blockStart, single.size() - 1 - blockStart);
    std::string three = single.substr(0, blockStart) + frames + frames + frames + "\x3B";
    CxImage back;
    ASSERT_TRUE(DecodeGif(three, back, 2)) << back.GetLastError();
    EXPECT_EQ(3, back.GetNumFrames());
    EXPECT_FALSE(DecodeGif(three, back, 3));
    EXPECT_STRNE("", back.GetLastError());
    CxImageGIF counted;
    counted.SetFrame(3);
    CxMemFile threeStream((BYTE*)three.data(), (DWORD)three.size());
    EXPECT_FALSE(counted.Decode(&threeStream));
    EXPECT_EQ(3, counted.GetNumFrames());

    // GIF87a reads as GIF89a.
    std::string old = single;
    old.replace(0, 6, "GIF87a");
    ASSERT_TRUE(DecodeGif(old, back));
    ExpectSameIndices(*image, back);

    // An image whose rectangle leaves the screen is no frame.
    std::string outside = three;
    std::vector<ImageBlock> list = ListImages(three);
    outside[list[1].descriptorAt + 1] = 3;  // left 3 + width 6 > 6
    CxImage skipped;
    EXPECT_TRUE(DecodeGif(outside, skipped, 1)) << skipped.GetLastError();
    EXPECT_EQ(2, skipped.GetNumFrames());

    // A code size of 1 ends the image; 9 is taken.
    std::string bad = single;
    bad[images[0].descriptorAt + 10] = 1;
    EXPECT_TRUE(DecodeGif(bad, back));
    bad[images[0].descriptorAt + 10] = 9;
    EXPECT_TRUE(DecodeGif(bad, back));

    EXPECT_FALSE(DecodeGif("GIF9" + single.substr(4), back));
    EXPECT_STREQ("Not a GIF", back.GetLastError());

    // Only the screen's size.
    CxImageGIF sizeOnly;
    sizeOnly.SetEscape(-1);
    CxMemFile stream((BYTE*)single.data(), (DWORD)single.size());
    EXPECT_TRUE(sizeOnly.Decode(&stream));
    EXPECT_EQ(6u, sizeOnly.GetWidth());
    EXPECT_FALSE(sizeOnly.IsValid());
    delete image;
}

TEST(CxImageGIF, ShortWriteFails)
{
    CxImage* image = Pattern(100, 100, 8);
    for (DWORD limit : { 10u, 800u, 2000u }) {
        codectest::ShortStream stream(limit);
        EXPECT_FALSE(image->Encode(&stream, CXIMAGE_FORMAT_GIF));
        EXPECT_STREQ("Write Error in GIF file", image->GetLastError());
    }
    delete image;
}

namespace {

const codectest::ReferenceFolder& Fixtures()
{
    return codectest::SharedReferenceFolder("make_hand_fixtures.sh", "gif");
}

}  // namespace

TEST(GifReference, DecodesWhatImageMagickAndGifsicleWrite)
{
    ASSERT_TRUE(Fixtures().Ready()) << "fixtures could not be made: " << Fixtures().ExitCode();
    struct Case {
        const char* name;
        int frames;
        WORD bpp;
    };
    const Case cases[] = {
        { "codes2", 1, 1 },   { "codes4", 1, 4 },   { "codes8", 1, 4 },     { "codes16", 1, 4 },
        { "codes32", 1, 8 },  { "codes64", 1, 8 },  { "codes128", 1, 8 },   { "codes256", 1, 8 },
        { "interlaced", 1, 8 }, { "transparent", 1, 8 }, { "gif87", 1, 4 },
        { "anim_local", 3, 4 }, { "anim_global", 3, 8 },
    };
    for (const Case& c : cases) {
        std::string file = Fixtures().Bytes(std::string(c.name) + ".gif");
        ASSERT_FALSE(file.empty()) << c.name;
        for (int frame = 0; frame < c.frames; ++frame) {
            std::string rgba, label = std::string(c.name) + " frame " + std::to_string(frame);
            ASSERT_TRUE(testfiles::ReadFileBytes(
                Fixtures().Path(std::string(c.name) + "-" + std::to_string(frame) + ".rgba"), rgba))
                << label;
            CxImage image;
            ASSERT_TRUE(DecodeGif(file, image, frame)) << label << ": " << image.GetLastError();
            EXPECT_EQ(c.frames, image.GetNumFrames()) << label;
            EXPECT_EQ(c.bpp, image.GetBpp()) << label;
            EXPECT_EQ(0, CountMismatches(image, rgba)) << label;
        }
    }
    CxImage transparent;
    ASSERT_TRUE(DecodeGif(Fixtures().Bytes("transparent.gif"), transparent));
    EXPECT_TRUE(transparent.IsTransparent());
}

TEST(GifReference, ImageMagickReadsWhatWeWrite)
{
    ASSERT_TRUE(Fixtures().Ready());
    CxImage truecolour;
    ASSERT_TRUE(
        codectest::DecodeFileAs(Fixtures().Path("source.bmp"), CXIMAGE_FORMAT_BMP, truecolour))
        << truecolour.GetLastError();
    CxImage* palette = Pattern(37, 23, 8);
    CxImage* bits4 = Pattern(29, 11, 4);
    CxImage* bits1 = Pattern(31, 9, 1);
    struct Case {
        const char* name;
        CxImage* image;
        DWORD option;
    };
    const Case cases[] = { { "ours_truecolour", &truecolour, 0 }, { "ours_lzw", palette, 0 },
                           { "ours_raw", palette, 1 },           { "ours_rle", palette, 2 },
                           { "ours_rle4", bits4, 2 },            { "ours_rle1", bits1, 2 },
                           { "ours_lzw1", bits1, 0 } };
    for (const Case& c : cases) {
        c.image->SetCodecOption(c.option, CXIMAGE_FORMAT_GIF);
        std::string path = Fixtures().Path(std::string(c.name) + ".gif"), rgba;
        ASSERT_TRUE(c.image->Save(path.c_str(), CXIMAGE_FORMAT_GIF)) << c.name;
        ASSERT_TRUE(codectest::ReadWithImageMagickRgba(path, rgba, -1)) << c.name;
        EXPECT_EQ(0, CountMismatches(*c.image, rgba)) << c.name;
    }
    delete palette;
    delete bits4;
    delete bits1;
}

namespace {

// A 4 x 1 GIF with a four-colour table whose image data is coded with the
// given LZW minimum code size (8 or more): clear, the pixels 1 2 3 1, end,
// each code one bit wider than the minimum (the table stays small).
std::string WideCodeGif(int minimumCodeSize)
{
    std::string file = "GIF89a";
    file += std::string("\x04\x00\x01\x00\x81\x00\x00", 7);
    file += std::string("\x00\x00\x00\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF", 12);
    file += std::string("\x2C\x00\x00\x00\x00\x04\x00\x01\x00\x00", 10);
    file += (char)minimumCodeSize;
    int clear = 1 << minimumCodeSize;
    const int codes[] = { clear, 1, 2, 3, 1, clear + 1 };
    int width = minimumCodeSize + 1;
    std::string data;
    uint32_t bits = 0;
    int count = 0;
    for (int code : codes) {
        bits |= (uint32_t)code << count;
        for (count += width; count >= 8; count -= 8, bits >>= 8)
            data += (char)(bits & 0xFF);
    }
    if (count > 0)
        data += (char)(bits & 0xFF);
    file += (char)data.size() + data + '\0';
    return file + ";";
}

}  // namespace

TEST(CxImageGIF, WideCodeSizesAndEmptyComments)
{
    for (int size : { 8, 10, 11 }) {
        CxImage image;
        ASSERT_TRUE(DecodeGif(WideCodeGif(size), image)) << size << ": " << image.GetLastError();
        EXPECT_EQ(1, image.GetPixelIndex(0, 0)) << size;
        EXPECT_EQ(2, image.GetPixelIndex(1, 0)) << size;
        EXPECT_EQ(3, image.GetPixelIndex(2, 0)) << size;
        EXPECT_EQ(1, image.GetPixelIndex(3, 0)) << size;
    }

    // A comment whose first sub-block is empty ends there; the image after
    // it is read.
    std::string file = WideCodeGif(8);
    file.insert(13 + 12, std::string("\x21\xFE\x00", 3));
    CxImage commented;
    ASSERT_TRUE(DecodeGif(file, commented)) << commented.GetLastError();
    EXPECT_EQ(3, commented.GetPixelIndex(2, 0));
}
