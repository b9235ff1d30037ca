// Small damaged files from mutation runs that once made decoders work for
// seconds on pictures their data cannot hold, or keep memory: each is now
// refused or drawn at once, with a message that says what is refused.
#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include "codecs/ximage.h"
#include "codecs/ximamng.h"
#include "tests/support/mutation_harness.h"
#include "tests/support/reference_images.h"
#include "tests/support/test_files.h"

namespace {

std::string Damaged(const std::string& name)
{
    std::string bytes;
    testfiles::ReadFileBytes(
        testfiles::ToWinePath(testfiles::SourceDir() + "/tests/fixtures/fuzz/" + name), bytes);
    return bytes;
}

// A bound for hangs, which took far longer; not a speed test.
const DWORD kHangBoundMs = 10000;

// Decodes the file within the bound; returns the decoder's result.
bool DecodeQuickly(const std::string& name, DWORD type, CxImage& image)
{
    std::string bytes = Damaged(name);
    EXPECT_FALSE(bytes.empty()) << name;
    DWORD start = GetTickCount();
    bool decoded = codectest::DecodeBytes(bytes, image, type);
    EXPECT_LT(GetTickCount() - start, kHangBoundMs) << name;
    return decoded;
}

void ExpectRefused(const std::string& name, DWORD type, const char* message)
{
    CxImage image;
    EXPECT_FALSE(DecodeQuickly(name, type, image))
        << name << " " << image.GetWidth() << " x " << image.GetHeight();
    EXPECT_STREQ(message, image.GetLastError()) << name;
}

}  // namespace

TEST(DamagedFiles, PicturesLargerThanTheirDataAreRefused)
{
    ExpectRefused("bmp_10988.bin", CXIMAGE_FORMAT_BMP, "image too large");
    ExpectRefused("gif_2667.bin", CXIMAGE_FORMAT_GIF, "image too large");
    ExpectRefused("gif_14416.bin", CXIMAGE_FORMAT_GIF, "image too large");
    ExpectRefused("mng_10840.bin", CXIMAGE_FORMAT_MNG, "image too large");
}

TEST(DamagedFiles, MetafileWithFarAwayShapesPlaysQuickly)
{
    CxImage image;
    bool decoded = DecodeQuickly("wmf_10265.bin", CXIMAGE_FORMAT_WMF, image);
    EXPECT_TRUE(decoded) << image.GetLastError();
}

TEST(DamagedFiles, NoBlockOfTheMngLibraryOutlivesItsImage)
{
    LONG before = CxMngBlocksHeld();
    for (int round = 0; round < 2; ++round) {
        CxImage image;
        DecodeQuickly("mng_leak_case4.jng", CXIMAGE_FORMAT_MNG, image);
    }
    EXPECT_EQ(before, CxMngBlocksHeld());
}

TEST(DamagedFiles, EveryFileThroughEveryDecoderAndBack)
{
    std::string folder = testfiles::ToWinePath(testfiles::SourceDir() + "/tests/fixtures/fuzz");
    std::vector<std::string> names = testfiles::FileNamesIn(folder);
    ASSERT_GE(names.size(), 9u);
    for (const std::string& name : names) {
        for (DWORD type = CXIMAGE_FORMAT_UNKNOWN; type < CMAX_IMAGE_FORMATS; ++type) {
            CxImage image;
            bool decoded = DecodeQuickly(name, type, image);
            EXPECT_EQ("", codectest::CheckDecodeResult(decoded, image)) << name << " as " << type;
            if (!decoded)
                continue;
            // What was decoded is written again as quickly, in its own format.
            DWORD start = GetTickCount();
            codectest::EncodeBytes(image, type == CXIMAGE_FORMAT_UNKNOWN ? image.GetType() : type);
            EXPECT_LT(GetTickCount() - start, kHangBoundMs) << name << " as " << type;
        }
    }
}

TEST(DamagedFiles, WbmpSizeIsWeighedAgainstItsData)
{
    // 16000 x 16000 (multi-byte 0xFD 0x00) over 40 bytes: once 32 MB filled
    // for seconds.
    std::string header("\0\0\xFD\x00\xFD\x00", 6);
    CxImage image;
    DWORD start = GetTickCount();
    EXPECT_FALSE(codectest::DecodeBytes(header + std::string(40, '\x55'), image,
                                        CXIMAGE_FORMAT_WBMP));
    EXPECT_LT(GetTickCount() - start, kHangBoundMs);
    EXPECT_STREQ("image too large for its data", image.GetLastError());

    // A file cut short after 8 of its 64 rows still shows them.
    std::string cut = std::string("\0\0\x40\x40", 4) + std::string(64, '\xFF');
    ASSERT_TRUE(codectest::DecodeBytes(cut, image, CXIMAGE_FORMAT_WBMP)) << image.GetLastError();
    EXPECT_EQ(64u, image.GetHeight());
    EXPECT_EQ(1, image.GetPixelIndex(0, 63));
}

namespace {

void PutU32(std::string& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = (char)(value >> (8 * i));
}

// A small enhanced metafile whose end record holds a palette of two
// entries, announced by the header.
std::string MetafileWithPalette()
{
    std::string bytes = codectest::RectangleMetafile();
    std::string eof(28, '\0');
    PutU32(eof, 0, EMR_EOF);
    PutU32(eof, 4, 28);
    PutU32(eof, 8, 2);    // entries
    PutU32(eof, 12, 16);  // where they start in the record
    PutU32(eof, 16, 0x00FF0000);
    PutU32(eof, 20, 0x000000FF);
    PutU32(eof, 24, 28);
    bytes.replace(bytes.size() - 20, 20, eof);
    PutU32(bytes, 48, (uint32_t)bytes.size());
    PutU32(bytes, 68, 2);
    return bytes;
}

}  // namespace

TEST(DamagedFiles, MetafilePaletteIsTheOneItsEndRecordHolds)
{
    CxImage image;
    std::string file = MetafileWithPalette();
    EXPECT_TRUE(codectest::DecodeBytes(file, image, CXIMAGE_FORMAT_WMF)) << image.GetLastError();

    // A header and end record that announce more entries than the record
    // holds (512 million once had gigabytes allocated and copied from
    // beyond the record) are played without a palette.
    for (uint32_t announced : { 3u, 0x20000000u }) {
        std::string damaged = file;
        PutU32(damaged, 68, announced);
        PutU32(damaged, damaged.size() - 20, announced);
        DWORD start = GetTickCount();
        EXPECT_TRUE(codectest::DecodeBytes(damaged, image, CXIMAGE_FORMAT_WMF)) << announced;
        EXPECT_LT(GetTickCount() - start, kHangBoundMs);
    }
}

TEST(DamagedFiles, MetafilesWithDamagedBitmapsOrBoundsKeepTheContractAndNoObject)
{
    long before = codectest::GdiObjectsFree();
    for (const char* name : { "emf_602_25.bin", "emf_602_518.bin", "wmf_611_85.bin",
                              "wmf_611_858.bin", "emf_601_39194.bin", "emf_602_577.bin",
                              "emf_602_2138.bin", "wmf_611_96056.bin", "emf_602_4764.bin",
                              "emf_602_23183.bin" }) {
        CxImage image;
        bool decoded = DecodeQuickly(name, CXIMAGE_FORMAT_WMF, image);
        EXPECT_EQ("", codectest::CheckDecodeResult(decoded, image)) << name;
    }
    EXPECT_EQ(before, codectest::GdiObjectsFree());
    // The bounds say 16.7 million pixels, the frame 29 x 19.
    CxImage framed;
    ASSERT_TRUE(DecodeQuickly("emf_601_39194.bin", CXIMAGE_FORMAT_WMF, framed));
    EXPECT_LE(framed.GetWidth(), 32u);
    EXPECT_LE(framed.GetHeight(), 32u);
}
