// Packed-DIB rules, sections, depth conversion, rotation and painting.
#include "tests/support/gtest.h"

#include "graphics/bitmap_paint.h"
#include "graphics/dib_convert.h"
#include "graphics/dib_format.h"
#include "graphics/dib_rotate.h"
#include "graphics/gdi_device.h"
#include "tests/graphics/dib_builders.h"

namespace {

// Locks a global block for the life of the object.
class Locked {
public:
    explicit Locked(HGLOBAL block) : m_block(block), m_data(block ? GlobalLock(block) : nullptr) {}
    ~Locked()
    {
        if (m_data)
            GlobalUnlock(m_block);
        if (m_block)
            GlobalFree(m_block);
    }
    void* data() const { return m_data; }

private:
    HGLOBAL m_block;
    void* m_data;
};

}  // namespace

TEST(DibFormat, ColourTableSizes)
{
    BITMAPINFOHEADER info = {};
    info.biSize = 40;
    info.biBitCount = 4;
    EXPECT_EQ(64u, DibPaletteSize(&info));
    info.biClrUsed = 5;
    EXPECT_EQ(20u, DibPaletteSize(&info));
    info.biClrUsed = 0x10003;  // only the low 16 bits count
    EXPECT_EQ(12u, DibPaletteSize(&info));
    info.biClrUsed = 0;
    info.biBitCount = 24;
    EXPECT_EQ(0u, DibPaletteSize(&info));

    BITMAPCOREHEADER core = {sizeof(BITMAPCOREHEADER), 3, 2, 1, 8};
    EXPECT_EQ(768u, DibPaletteSize(&core));
    core.bcBitCount = 1;
    EXPECT_EQ(6u, DibPaletteSize(&core));
    EXPECT_EQ(3, DibWidth(&core));
    EXPECT_EQ(2, DibHeight(&core));
    EXPECT_EQ(12u + 6u + 8u, DibSize(&core));
}

TEST(DibFormat, ImageSizeFromTheHeaderOrTheRows)
{
    BITMAPINFOHEADER info = {};
    info.biSize = 40;
    info.biWidth = 5;
    info.biHeight = 3;
    info.biPlanes = 1;
    info.biBitCount = 24;
    EXPECT_EQ(48u, DibImageSize(&info));
    EXPECT_EQ(0u, info.biSizeImage);  // reading leaves the header alone
    DibFillImageSize(&info);
    EXPECT_EQ(48u, info.biSizeImage);
    info.biSizeImage = 7;
    EXPECT_EQ(7u, DibImageSize(&info));
    EXPECT_EQ(40u + 7u, DibSize(&info));
    EXPECT_EQ(0u, DibAlignedImageSize(0x7FFFFFFF, 0x7FFFFFFF, 24));
}

TEST(DibFormat, NewDibRaisesTheDepth)
{
    const struct { int asked; int made; } cases[] = {
        {0, 1}, {1, 1}, {2, 4}, {4, 4}, {5, 8}, {8, 8}, {9, 24}, {16, 24}, {24, 24}, {32, 32}};
    for (const auto& c : cases) {
        Locked dib(NewDib(10, 10, c.asked));
        ASSERT_NE(nullptr, dib.data());
        EXPECT_EQ(c.made, DibBitCount(dib.data())) << c.asked;
    }
    Locked dib(NewDib(10, 10, 16));
    EXPECT_EQ(32u, DibAlignedImageSize(10, 1, DibBitCount(dib.data())));
    EXPECT_EQ(40u + 320u, GlobalSize(GlobalHandle(dib.data())));
    Locked indexed(NewDib(3, 3, 8));
    EXPECT_EQ(40u + 1024u + 12u, DibSize(indexed.data()));
    EXPECT_EQ(nullptr, NewDib(0x7FFFFFFF, 0x7FFFFFFF, 24));
}

TEST(DibFormat, CopiesOfGlobalBlocks)
{
    const char text[] = "packed";
    HGLOBAL first = CopyToGlobalHandle(text, sizeof(text));
    ASSERT_NE(nullptr, first);
    HGLOBAL second = CopyGlobalHandle(first);
    Locked a(first), b(second);
    EXPECT_STREQ(text, static_cast<const char*>(b.data()));
    EXPECT_NE(a.data(), b.data());
}

TEST(DibFormat, PaletteFromInfoAndCoreTables)
{
    std::vector<BYTE> dib = dibtest::MakeIndexedDib(2, 1, 8, {0x102030, 0xA0B0C0}, {0, 1});
    HPALETTE palette = CreateDibPalette(dib.data());
    ASSERT_NE(nullptr, palette);
    PALETTEENTRY entries[2];
    ASSERT_EQ(2u, GetPaletteEntries(palette, 0, 2, entries));
    EXPECT_EQ(0xA0, entries[1].peRed);
    EXPECT_EQ(0xC0, entries[1].peBlue);
    DeleteObject(palette);

    std::vector<BYTE> core(sizeof(BITMAPCOREHEADER) + 6 + 4, 0);
    BITMAPCOREHEADER header = {sizeof(BITMAPCOREHEADER), 1, 1, 1, 1};
    memcpy(core.data(), &header, sizeof(header));
    core[sizeof(header) + 3] = 0x11;  // entry 1: blue
    core[sizeof(header) + 5] = 0x33;  // entry 1: red
    palette = CreateDibPalette(core.data());
    ASSERT_NE(nullptr, palette);
    ASSERT_EQ(2u, GetPaletteEntries(palette, 0, 2, entries));
    EXPECT_EQ(0x33, entries[1].peRed);
    EXPECT_EQ(0x11, entries[1].peBlue);
    DeleteObject(palette);

    std::vector<BYTE> truecolour = dibtest::MakeDib24(1, 1, {0});
    EXPECT_EQ(nullptr, CreateDibPalette(truecolour.data()));
}

TEST(DibSections, RoundTripThroughASection)
{
    std::vector<BYTE> dib = dibtest::MakeIndexedDib(5, 3, 4, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF},
                                                     {0, 1, 2, 3, 0, 3, 2, 1, 0, 3, 1, 1, 1, 2, 2});
    HBITMAP section = CreateDibSection(dib.data());
    ASSERT_NE(nullptr, section);
    Locked back(DdbToDib(section));
    DeleteObject(section);
    ASSERT_NE(nullptr, back.data());
    EXPECT_EQ(5, DibWidth(back.data()));
    EXPECT_EQ(3, DibHeight(back.data()));
    EXPECT_EQ(4, DibBitCount(back.data()));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(dibtest::PixelAt(dib.data(), x, y), dibtest::PixelAt(back.data(), x, y));
    EXPECT_EQ(nullptr, DdbToDib(nullptr));
}

TEST(DibConversion, TrueColourToEightBitsKeepsFewColours)
{
    std::vector<uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFFFFFF, 0x808080};
    std::vector<BYTE> dib = dibtest::MakeDib24(3, 2, pixels);
    Locked converted(ConvertDib(dib.data(), 8, nullptr));
    ASSERT_NE(nullptr, converted.data());
    EXPECT_EQ(8, DibBitCount(converted.data()));
    EXPECT_EQ(1024u, DibPaletteSize(converted.data()));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(pixels[i], dibtest::PixelAt(converted.data(), i % 3, i / 3)) << i;
    // Six colours found: the rest of the table is black.
    RGBQUAD unused = DibColorEntry(converted.data(), 200);
    EXPECT_EQ(0, unused.rgbRed | unused.rgbGreen | unused.rgbBlue);
}

TEST(DibConversion, ToOneBitAndBackToTrueColour)
{
    std::vector<BYTE> dib = dibtest::MakeDib24(9, 1, {0, 0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF, 0, 0, 0, 0xFFFFFF});
    Locked mono(ConvertDib(dib.data(), 1, nullptr));
    ASSERT_NE(nullptr, mono.data());
    EXPECT_EQ(1, DibBitCount(mono.data()));
    Locked back(ConvertDib(mono.data(), 24, nullptr));
    ASSERT_NE(nullptr, back.data());
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(dibtest::PixelAt(dib.data(), x, 0), dibtest::PixelAt(back.data(), x, 0)) << x;
}

TEST(DibConversion, ColourTables)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info;
    memset(&info, 0xEE, sizeof(info));
    info.header.biBitCount = 8;
    std::vector<BYTE> source = dibtest::MakeDib24(2, 1, {0xFF0000, 0x0000FF});
    FillDibColorTable(reinterpret_cast<BITMAPINFO*>(&info), source.data(), nullptr);
    EXPECT_EQ(0, info.colors[0].rgbRed);
    EXPECT_EQ(0xFF, info.colors[0].rgbBlue);
    EXPECT_EQ(0xFF, info.colors[1].rgbRed);
    for (int i = 2; i < 256; ++i)
        ASSERT_EQ(0, info.colors[i].rgbRed | info.colors[i].rgbGreen | info.colors[i].rgbBlue) << i;

    std::vector<BYTE> four = dibtest::MakeIndexedDib(1, 1, 4, {0x010203, 0x040506}, {1});
    memset(&info, 0xEE, sizeof(info));
    info.header.biBitCount = 4;
    FillDibColorTable(reinterpret_cast<BITMAPINFO*>(&info), four.data(), nullptr);
    EXPECT_EQ(4, info.colors[1].rgbRed);
    EXPECT_EQ(0, info.colors[15].rgbRed);

    // A 24-bit source at 4 bits takes the first 16 entries of the default
    // palette, entry 15 being its yellow.
    memset(&info, 0xEE, sizeof(info));
    info.header.biBitCount = 4;
    FillDibColorTable(reinterpret_cast<BITMAPINFO*>(&info), source.data(), nullptr);
    EXPECT_EQ(0, info.colors[0].rgbRed);
    EXPECT_EQ(255, info.colors[15].rgbRed);
    EXPECT_EQ(255, info.colors[15].rgbGreen);
    EXPECT_EQ(0, info.colors[15].rgbBlue);
}

TEST(DibRotation, QuarterTurnCounterClockwise)
{
    // 3 x 2:  A B C      turned:  C F
    //         D E F               B E
    //                             A D
    std::vector<uint32_t> pixels = {0xA, 0xB, 0xC, 0xD, 0xE, 0xF};
    HGLOBAL source = dibtest::ToGlobal(dibtest::MakeDib24(3, 2, pixels));
    Locked turned(RotateDib90(source));
    GlobalFree(source);
    ASSERT_NE(nullptr, turned.data());
    EXPECT_EQ(2, DibWidth(turned.data()));
    EXPECT_EQ(3, DibHeight(turned.data()));
    const uint32_t expected[3][2] = {{0xC, 0xF}, {0xB, 0xE}, {0xA, 0xD}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(expected[y][x], dibtest::PixelAt(turned.data(), x, y)) << x << "," << y;
}

TEST(DibRotation, PackedPixelsMoveBitByBit)
{
    for (int bits : {1, 4, 8}) {
        const int width = 11, height = 3;
        std::vector<int> indexes(width * height);
        for (size_t i = 0; i < indexes.size(); ++i)
            indexes[i] = static_cast<int>((i * 7 + i / 3) % (bits == 1 ? 2 : 13));
        std::vector<uint32_t> table;
        for (int i = 0; i < (1 << std::min(bits, 4)); ++i)
            table.push_back(static_cast<uint32_t>(i * 0x111111));
        std::vector<BYTE> dib = dibtest::MakeIndexedDib(width, height, bits, table, indexes);
        HGLOBAL source = dibtest::ToGlobal(dib);
        Locked turned(RotateDib90(source));
        GlobalFree(source);
        ASSERT_NE(nullptr, turned.data());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(dibtest::PixelAt(dib.data(), x, y),
                          dibtest::PixelAt(turned.data(), y, width - 1 - x))
                    << bits << " bits at " << x << "," << y;
    }
}

TEST(DibRotation, RefusesBlocksShorterThanTheirHeader)
{
    std::vector<BYTE> dib = dibtest::MakeDib24(4, 4, std::vector<uint32_t>(16, 1));
    dib.resize(dib.size() - 10);
    HGLOBAL source = dibtest::ToGlobal(dib);
    EXPECT_EQ(nullptr, RotateDib90(source));
    GlobalFree(source);
}

TEST(BitmapPaint, PaintStretchesWhenTheSizesDiffer)
{
    std::vector<BYTE> dib = dibtest::MakeDib24(2, 1, {0xFF0000, 0x0000FF});
    HBITMAP section = CreateDibSection(dib.data());
    ASSERT_NE(nullptr, section);
    CGDIDevice device;
    ASSERT_TRUE(device.Create(8, 4, 3));
    RECT source = {0, 0, 2, 1};
    RECT same = {1, 1, 3, 2};
    EXPECT_TRUE(PaintBitmap(device.m_hDC, section, &same, &source, nullptr));
    RECT wide = {0, 2, 8, 4};
    EXPECT_TRUE(PaintBitmap(device.m_hDC, section, &wide, &source, nullptr));
    GdiFlush();
    EXPECT_EQ(0xFF0000u, dibtest::DevicePixel(device, 1, 1));
    EXPECT_EQ(0x0000FFu, dibtest::DevicePixel(device, 2, 1));
    EXPECT_EQ(0u, dibtest::DevicePixel(device, 3, 1));
    EXPECT_EQ(0xFF0000u, dibtest::DevicePixel(device, 3, 3));
    EXPECT_EQ(0x0000FFu, dibtest::DevicePixel(device, 4, 2));
    DeleteObject(section);
}

TEST(BitmapPaint, TransparentColourLeavesTheBackground)
{
    std::vector<BYTE> dib = dibtest::MakeDib24(3, 1, {0xFF00FF, 0x123456, 0xFF00FF});
    HBITMAP section = CreateDibSection(dib.data());
    ASSERT_NE(nullptr, section);
    CGDIDevice device;
    ASSERT_TRUE(device.Create(5, 2, 3));
    device.BlendRect(0, 0, 4, 1, RGB(0x20, 0x40, 0x60), 100, false, 0);
    DrawTransparentBitmap(device.m_hDC, section, 1, 1, RGB(0xFF, 0x00, 0xFF));
    GdiFlush();
    EXPECT_EQ(0x204060u, dibtest::DevicePixel(device, 1, 1));
    EXPECT_EQ(0x123456u, dibtest::DevicePixel(device, 2, 1));
    EXPECT_EQ(0x204060u, dibtest::DevicePixel(device, 3, 1));
    EXPECT_EQ(0x204060u, dibtest::DevicePixel(device, 2, 0));
    // The caller's bitmap keeps its transparent pixels.
    Locked back(DdbToDib(section));
    EXPECT_EQ(0xFF00FFu, dibtest::PixelAt(back.data(), 0, 0));
    DeleteObject(section);
}
