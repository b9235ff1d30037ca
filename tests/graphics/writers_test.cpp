// The GIF and JPEG writers: file layout, failures, and files left for the
// outside readers of check_outputs.sh.
#include "tests/support/gtest.h"

#include <string>

#include "graphics/dib.h"
#include "graphics/gif_writer.h"
#include "graphics/jpeg_writer.h"
#include "tests/graphics/dib_builders.h"
#include "tests/support/test_files.h"

namespace {

struct GreyRamp {
    BYTE red[256], green[256], blue[256];
    GreyRamp()
    {
        for (int i = 0; i < 256; ++i) {
            red[i] = static_cast<BYTE>(i);
            green[i] = static_cast<BYTE>(255 - i);
            blue[i] = static_cast<BYTE>(i * 7);
        }
    }
    uint32_t Rgb(int index) const { return (red[index] << 16) | (green[index] << 8) | blue[index]; }
};

std::string ReadAll(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(testfiles::ReadFileBytes(path, bytes)) << path;
    return bytes;
}

// The SOF0 component count and the JFIF density unit and x density of a
// JPEG file; -1 when missing.
void JpegFacts(const std::string& file, int& components, int& unit, int& density)
{
    components = unit = density = -1;
    for (size_t i = 2; i + 4 < file.size();) {
        if (static_cast<BYTE>(file[i]) != 0xFF)
            return;
        BYTE marker = static_cast<BYTE>(file[i + 1]);
        size_t length = (static_cast<BYTE>(file[i + 2]) << 8) | static_cast<BYTE>(file[i + 3]);
        if (marker == 0xE0 && file.compare(i + 4, 5, std::string("JFIF\0", 5)) == 0) {
            unit = static_cast<BYTE>(file[i + 11]);
            density = (static_cast<BYTE>(file[i + 12]) << 8) | static_cast<BYTE>(file[i + 13]);
        }
        if (marker == 0xC0) {
            components = static_cast<BYTE>(file[i + 9]);
            return;
        }
        i += 2 + length;
    }
}

}  // namespace

TEST(GifWriter, OnePixelGivesThreeNineBitCodesInOneBlock)
{
    std::string path = dibtest::ExportFolder() + "\\gif_1x1.gif";
    GreyRamp table;
    const BYTE pixel = 0;
    CGif writer;
    EXPECT_STREQ("No Error", writer.m_strError);
    ASSERT_TRUE(writer.Write(path.c_str(), &pixel, 1, 1, 0, table.red, table.green, table.blue));
    std::string file = ReadAll(path);
    ASSERT_EQ(13u + 768u + 10u + 8u, file.size());
    EXPECT_EQ(std::string("GIF87a\x01\x00\x01\x00\xE7\x00\x00", 13), file.substr(0, 13));
    EXPECT_EQ(std::string("\x00\xFF\x00", 3), file.substr(13, 3));
    EXPECT_EQ(std::string(",\0\0\0\0\x01\0\x01\0\0", 10), file.substr(781, 10));
    EXPECT_EQ(std::string("\x08\x04\x00\x01\x04\x04\x00\x3B", 8), file.substr(791));
    EXPECT_TRUE(dibtest::WriteRgbDump(dibtest::ExportFolder() + "\\gif_1x1.rgb", {table.Rgb(0)}));
}

TEST(GifWriter, LongDataIsSplitInto254ByteBlocks)
{
    const int width = 173, height = 120;
    std::vector<BYTE> pixels(width * height);
    std::vector<uint32_t> expected(pixels.size());
    uint32_t noise = 7;
    GreyRamp table;
    for (size_t i = 0; i < pixels.size(); ++i) {
        noise = noise * 1103515245 + 12345;
        // Mostly noise (the code table fills and clears), some flat runs.
        pixels[i] = (i / 1000) % 3 == 0 ? 17 : static_cast<BYTE>(noise >> 16);
        expected[i] = table.Rgb(pixels[i]);
    }
    std::string path = dibtest::ExportFolder() + "\\gif_noise.gif";
    CGif writer;
    ASSERT_TRUE(writer.Write(path.c_str(), pixels.data(), width, height, 3, table.red, table.green,
                             table.blue));
    ASSERT_TRUE(dibtest::WriteRgbDump(dibtest::ExportFolder() + "\\gif_noise.rgb", expected));
    std::string file = ReadAll(path);
    ASSERT_GT(file.size(), 792u);
    EXPECT_EQ(3, file[11]);
    size_t at = 792;
    int blocks = 0;
    while (at < file.size() && file[at] != 0) {
        size_t length = static_cast<BYTE>(file[at]);
        at += 1 + length;
        ++blocks;
        if (at < file.size() && file[at] != 0)
            ASSERT_EQ(254u, length) << "block " << blocks;
        else
            EXPECT_LT(length, 254u);
    }
    EXPECT_GT(blocks, 50);
    ASSERT_EQ(at + 2, file.size());
    EXPECT_EQ(';', file[at + 1]);
}

TEST(GifWriter, FailuresSetTheErrorText)
{
    std::string folder = testfiles::MakeScratchFolder("gif");
    GreyRamp table;
    const BYTE pixel = 1;
    CGif writer;
    EXPECT_FALSE(writer.Write((folder + "\\missing\\a.gif").c_str(), &pixel, 1, 1, 0, table.red,
                              table.green, table.blue));
    EXPECT_STREQ("Can't open GIF for writing", writer.m_strError);
    EXPECT_FALSE(writer.Write((folder + "\\a.gif").c_str(), nullptr, 1, 1, 0, table.red,
                              table.green, table.blue));
    EXPECT_FALSE(writer.Write((folder + "\\a.gif").c_str(), &pixel, 70000, 1, 0, table.red,
                              table.green, table.blue));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "\\a.gif").c_str()));
}

TEST(JpegWriter, ColourAndGreyFiles)
{
    const int width = 48, height = 32;
    std::vector<BYTE> rgb(width * height * 3);
    std::vector<uint32_t> colours(width * height);
    std::vector<uint32_t> greys(width * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Four flat quarters: red, green, blue, a light grey.
            const uint32_t quarter[4] = {0xE02020, 0x20C040, 0x2040E0, 0xC0C0C0};
            uint32_t colour = quarter[(y >= height / 2) * 2 + (x >= width / 2)];
            size_t i = static_cast<size_t>(y) * width + x;
            rgb[i * 3] = static_cast<BYTE>(colour >> 16);
            rgb[i * 3 + 1] = static_cast<BYTE>(colour >> 8);
            rgb[i * 3 + 2] = static_cast<BYTE>(colour);
            colours[i] = colour;
            int grey = (299 * rgb[i * 3] + 587 * rgb[i * 3 + 1] + 114 * rgb[i * 3 + 2] + 500) / 1000;
            greys[i] = static_cast<uint32_t>(grey * 0x010101);
        }
    std::string folder = dibtest::ExportFolder();
    CJpeg writer;
    EXPECT_STREQ("No Error", writer.m_strError);
    ASSERT_TRUE(writer.WriteRgb((folder + "\\jpeg_colour.jpg").c_str(), rgb.data(), width, height,
                                true, 100, 96));
    ASSERT_TRUE(writer.WriteRgb((folder + "\\jpeg_grey.jpg").c_str(), rgb.data(), width, height,
                                false, 80, 72));
    ASSERT_TRUE(dibtest::WriteRgbDump(folder + "\\jpeg_colour.rgb", colours));
    ASSERT_TRUE(dibtest::WriteRgbDump(folder + "\\jpeg_grey.rgb", greys));

    int components, unit, density;
    JpegFacts(ReadAll(folder + "\\jpeg_colour.jpg"), components, unit, density);
    EXPECT_EQ(3, components);
    EXPECT_EQ(1, unit);
    EXPECT_EQ(96, density);
    JpegFacts(ReadAll(folder + "\\jpeg_grey.jpg"), components, unit, density);
    EXPECT_EQ(1, components);
    EXPECT_EQ(72, density);
}

TEST(JpegWriter, FailuresLeaveNoFile)
{
    std::string folder = testfiles::MakeScratchFolder("jpeg");
    const BYTE rgb[3] = {1, 2, 3};
    CJpeg writer;
    std::string missing = folder + "\\missing\\a.jpg";
    EXPECT_FALSE(writer.WriteRgb(missing.c_str(), rgb, 1, 1, true, 80, 72));
    EXPECT_EQ("JpegFile :\nCan't open " + missing + "\n", std::string(writer.m_strError));
    EXPECT_FALSE(writer.WriteRgb((folder + "\\a.jpg").c_str(), nullptr, 1, 1, true, 80, 72));
    EXPECT_FALSE(writer.WriteRgb((folder + "\\a.jpg").c_str(), rgb, 0, 1, true, 80, 72));
    std::vector<BYTE> wide(70000 * 3);
    EXPECT_FALSE(writer.WriteRgb((folder + "\\a.jpg").c_str(), wide.data(), 70000, 1, true, 80, 72));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "\\a.jpg").c_str()));
}

TEST(GifWriter, SavesPicturesOfAnyDepth)
{
    std::string folder = dibtest::ExportFolder();
    const std::vector<uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000,
                                          0xFFFFFF, 0x808080, 0x123456, 0xFF0000};
    CDib picture;
    ASSERT_TRUE(picture.Attach(dibtest::ToGlobal(dibtest::MakeDib24(4, 2, pixels))));
    CGif writer;
    ASSERT_TRUE(writer.SaveDib((folder + "\\gif_from_24.gif").c_str(), &picture));
    EXPECT_EQ(24, picture.GetBitCount());  // the caller's picture stays
    ASSERT_TRUE(dibtest::WriteRgbDump(folder + "\\gif_from_24.rgb", pixels));

    // An 8-bit packed DIB with five colours: the rest of the table is black.
    std::vector<BYTE> indexed = dibtest::MakeIndexedDib(
        3, 2, 8, {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF}, {0, 1, 2, 3, 4, 0});
    ASSERT_TRUE(writer.SaveDibBuffer((folder + "\\gif_from_8.gif").c_str(), indexed.data(),
                                     static_cast<DWORD>(indexed.size())));
    ASSERT_TRUE(dibtest::WriteRgbDump(folder + "\\gif_from_8.rgb",
                                      {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x112233}));
    std::string file = ReadAll(folder + "\\gif_from_8.gif");
    ASSERT_GT(file.size(), 781u);
    EXPECT_EQ(std::string("\xDD\xEE\xFF", 3), file.substr(13 + 4 * 3, 3));
    EXPECT_EQ(std::string(251 * 3, '\0'), file.substr(13 + 5 * 3, 251 * 3));
}

TEST(GifWriter, RefusesMissingAndDamagedPictures)
{
    std::string folder = testfiles::MakeScratchFolder("gifdib");
    CGif writer;
    EXPECT_FALSE(writer.SaveDib((folder + "\\a.gif").c_str(), nullptr));
    std::vector<BYTE> indexed = dibtest::MakeIndexedDib(3, 2, 8, {0x112233}, {0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(writer.SaveDibBuffer((folder + "\\a.gif").c_str(), indexed.data(),
                                      static_cast<DWORD>(indexed.size() - 1)));
    EXPECT_FALSE(writer.SaveDibBuffer((folder + "\\a.gif").c_str(), nullptr, 100));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "\\a.gif").c_str()));

    // The writer's own picture serves when none is given.
    writer.m_pDib = new CDib;
    ASSERT_TRUE(writer.m_pDib->Create(2, 2, 8));
    EXPECT_TRUE(writer.SaveDib((folder + "\\a.gif").c_str(), nullptr));
}

TEST(JpegWriter, SavesPicturesInColourAndGrey)
{
    const int width = 40, height = 24;
    std::vector<uint32_t> pixels(width * height);
    std::vector<uint32_t> greys(width * height);
    for (int i = 0; i < width * height; ++i) {
        pixels[i] = (i % width) < width / 2 ? 0x3060C0 : 0xE0A020;
        int r = pixels[i] >> 16, g = (pixels[i] >> 8) & 0xFF, b = pixels[i] & 0xFF;
        greys[i] = static_cast<uint32_t>((299 * r + 587 * g + 114 * b + 500) / 1000) * 0x010101;
    }
    std::string folder = dibtest::ExportFolder();
    CDib picture;
    ASSERT_TRUE(picture.Attach(dibtest::ToGlobal(dibtest::MakeDib24(width, height, pixels))));
    picture.m_nResolution = 300;
    ASSERT_TRUE(picture.ChangeBitCount(8));
    CJpeg writer;
    ASSERT_TRUE(writer.SaveDib((folder + "\\jpeg_from_8.jpg").c_str(), &picture, true, 100));
    ASSERT_TRUE(dibtest::WriteRgbDump(folder + "\\jpeg_from_8.rgb", pixels));
    int components, unit, density;
    JpegFacts(ReadAll(folder + "\\jpeg_from_8.jpg"), components, unit, density);
    EXPECT_EQ(3, components);
    EXPECT_EQ(300, density);

    std::vector<BYTE> packed = dibtest::MakeDib24(width, height, pixels);
    ASSERT_TRUE(writer.SaveDibBuffer((folder + "\\jpeg_grey_from_24.jpg").c_str(), packed.data(),
                                     static_cast<DWORD>(packed.size()), false, 80));
    ASSERT_TRUE(dibtest::WriteRgbDump(folder + "\\jpeg_grey_from_24.rgb", greys));
    JpegFacts(ReadAll(folder + "\\jpeg_grey_from_24.jpg"), components, unit, density);
    EXPECT_EQ(1, components);
    EXPECT_EQ(72, density);

    EXPECT_FALSE(writer.SaveDibBuffer((folder + "\\none.jpg").c_str(), packed.data(), 60, true, 80));
    EXPECT_FALSE(writer.SaveDib((folder + "\\none.jpg").c_str(), nullptr, true, 80));
}
