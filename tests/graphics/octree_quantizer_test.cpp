// The octree palette of pictures of every depth the quantiser reads.
#include "tests/support/gtest.h"

#include <set>

#include "graphics/dib_convert.h"
#include "graphics/octree_quantizer.h"
#include "tests/graphics/dib_builders.h"

namespace {

std::vector<PALETTEENTRY> Entries(HPALETTE palette)
{
    std::vector<PALETTEENTRY> entries;
    if (!palette)
        return entries;
    WORD count = 0;
    GetObjectA(palette, sizeof(count), &count);
    entries.resize(count);
    if (count)
        GetPaletteEntries(palette, 0, count, entries.data());
    DeleteObject(palette);
    return entries;
}

uint32_t Rgb(const PALETTEENTRY& entry)
{
    return (entry.peRed << 16) | (entry.peGreen << 8) | entry.peBlue;
}

// A DIB section of 16 or 32 bits with explicit bit-field masks (or plain
// BI_RGB when masks is null) holding the given raw pixel values.
HBITMAP MakeMaskedSection(int bits, const DWORD* masks, const std::vector<DWORD>& values)
{
    struct {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info;
    memset(&info, 0, sizeof(info));
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = static_cast<LONG>(values.size());
    info.header.biHeight = 1;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = masks ? BI_BITFIELDS : BI_RGB;
    if (masks)
        memcpy(info.masks, masks, sizeof(info.masks));
    void* pixels = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                       DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!section)
        return nullptr;
    BYTE* out = static_cast<BYTE*>(pixels);
    for (DWORD value : values) {
        memcpy(out, &value, bits / 8);
        out += bits / 8;
    }
    return section;
}

}  // namespace

TEST(OctreeQuantizer, FewColoursGiveOneEntryEachInBitOrder)
{
    std::vector<BYTE> dib = dibtest::MakeDib24(4, 1, {0xFF0000, 0x00FF00, 0x0000FF, 0x000000});
    std::vector<PALETTEENTRY> entries = Entries(CreateOctreePalette(dib.data(), 236, 8));
    ASSERT_EQ(4u, entries.size());
    EXPECT_EQ(0x000000u, Rgb(entries[0]));
    EXPECT_EQ(0x0000FFu, Rgb(entries[1]));
    EXPECT_EQ(0x00FF00u, Rgb(entries[2]));
    EXPECT_EQ(0xFF0000u, Rgb(entries[3]));
    EXPECT_EQ(0, entries[3].peFlags);
}

TEST(OctreeQuantizer, OneColourGivesOneEntry)
{
    std::vector<BYTE> dib = dibtest::MakeDib24(5, 3, std::vector<uint32_t>(15, 0x123456));
    std::vector<PALETTEENTRY> entries = Entries(CreateOctreePalette(dib.data(), 16, 4));
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(0x123456u, Rgb(entries[0]));
}

TEST(OctreeQuantizer, APhotoStaysWithinTheColourLimit)
{
    const int side = 64;
    std::vector<uint32_t> pixels = dibtest::PhotoPixels(side, side);
    ASSERT_GT(std::set<uint32_t>(pixels.begin(), pixels.end()).size(), 1000u);
    std::vector<BYTE> dib = dibtest::MakeDib24(side, side, pixels);
    std::vector<PALETTEENTRY> entries = Entries(CreateOctreePalette(dib.data(), 236, 8));
    EXPECT_LE(entries.size(), 236u);
    EXPECT_GT(entries.size(), 100u);

    entries = Entries(CreateOctreePalette(dib.data(), 2, 1));
    EXPECT_LE(entries.size(), 2u);
    EXPECT_GE(entries.size(), 1u);
    entries = Entries(CreateOctreePalette(dib.data(), 1, 8));
    ASSERT_EQ(1u, entries.size());
}

TEST(OctreeQuantizer, RefusesDeepTreesAndAnEmptyLimit)
{
    std::vector<BYTE> dib = dibtest::MakeDib24(2, 1, {0xFF0000, 0x00FF00});
    EXPECT_EQ(nullptr, CreateOctreePalette(dib.data(), 236, 9));
    EXPECT_EQ(nullptr, CreateOctreePalette(dib.data(), 0, 8));
    EXPECT_EQ(nullptr, CreateOctreePalette(static_cast<HBITMAP>(nullptr), 16, 4));
}

TEST(OctreeQuantizer, ReadsPalettedPictures)
{
    std::vector<BYTE> dib = dibtest::MakeIndexedDib(3, 2, 4, {0x000000, 0xFF8000, 0x2040FF},
                                                     {0, 1, 2, 2, 1, 1});
    std::vector<PALETTEENTRY> entries = Entries(CreateOctreePalette(dib.data(), 236, 8));
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ(0x000000u, Rgb(entries[0]));
    EXPECT_EQ(0x2040FFu, Rgb(entries[1]));
    EXPECT_EQ(0xFF8000u, Rgb(entries[2]));
}

TEST(OctreeQuantizer, ReadsSixteenBitPixels)
{
    HBITMAP plain = MakeMaskedSection(16, nullptr, {0x7FFF});
    ASSERT_NE(nullptr, plain);
    std::vector<PALETTEENTRY> entries = Entries(CreateOctreePalette(plain, 16, 8));
    DeleteObject(plain);
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(0xF8F8F8u, Rgb(entries[0]));

    const DWORD masks565[3] = {0xF800, 0x07E0, 0x001F};
    HBITMAP wide = MakeMaskedSection(16, masks565, {0xF800, 0x07E0});
    ASSERT_NE(nullptr, wide);
    entries = Entries(CreateOctreePalette(wide, 16, 8));
    DeleteObject(wide);
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(0x00FC00u, Rgb(entries[0]));
    EXPECT_EQ(0xF80000u, Rgb(entries[1]));
}

TEST(OctreeQuantizer, ReadsThirtyTwoBitPixels)
{
    HBITMAP plain = MakeMaskedSection(32, nullptr, {0x00102030});
    ASSERT_NE(nullptr, plain);
    std::vector<PALETTEENTRY> entries = Entries(CreateOctreePalette(plain, 16, 8));
    DeleteObject(plain);
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(0x102030u, Rgb(entries[0]));

    const DWORD swapped[3] = {0x000000FF, 0x0000FF00, 0x00FF0000};
    HBITMAP fields = MakeMaskedSection(32, swapped, {0x00102030});
    ASSERT_NE(nullptr, fields);
    entries = Entries(CreateOctreePalette(fields, 16, 8));
    DeleteObject(fields);
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(0x302010u, Rgb(entries[0]));
}

TEST(OctreeQuantizer, ReductionAveragesTheMergedColours)
{
    // Two close colours that share their top bits merge into one leaf
    // when only one colour is allowed at 2 bits.
    std::vector<BYTE> dib = dibtest::MakeDib24(2, 1, {0x000000, 0x101010});
    std::vector<PALETTEENTRY> entries = Entries(CreateOctreePalette(dib.data(), 1, 2));
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(0x080808u, Rgb(entries[0]));
}
