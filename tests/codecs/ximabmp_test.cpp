#include "tests/support/gtest.h"

#include <string.h>

#include <string>
#include <vector>

#include "codecs/ximabmp.h"
#include "codecs/ximacodecs.h"
#include "codecs/xmemfile.h"
#include "tests/support/reference_images.h"
#include "tests/support/short_stream.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"

namespace {

void PutU16(std::string& bytes, unsigned value)
{
    bytes += (char)(value & 0xFF);
    bytes += (char)((value >> 8) & 0xFF);
}

void PutU32(std::string& bytes, uint32_t value)
{
    PutU16(bytes, value & 0xFFFF);
    PutU16(bytes, value >> 16);
}

std::string InfoHeader(int32_t width, int32_t height, unsigned bits, uint32_t compression,
                       uint32_t colors, uint32_t pelsPerMetre = 2835)
{
    std::string header;
    PutU32(header, 40);
    PutU32(header, (uint32_t)width);
    PutU32(header, (uint32_t)height);
    PutU16(header, 1);
    PutU16(header, bits);
    PutU32(header, compression);
    PutU32(header, 0);
    PutU32(header, pelsPerMetre);
    PutU32(header, pelsPerMetre);
    PutU32(header, colors);
    PutU32(header, 0);
    return header;
}

std::string FileHeader(size_t fileSize, uint32_t pixelOffset)
{
    std::string header = "BM";
    PutU32(header, (uint32_t)fileSize);
    PutU32(header, 0);
    PutU32(header, pixelOffset);
    return header;
}

std::string GreyPalette(int entries)
{
    std::string palette;
    for (int i = 0; i < entries; ++i) {
        palette += (char)i;
        palette += (char)i;
        palette += (char)i;
        palette += '\0';
    }
    return palette;
}

// A complete file around a header, palette and pixel data.
std::string BmpFile(const std::string& info, const std::string& palette, const std::string& pixels)
{
    uint32_t offset = (uint32_t)(14 + info.size() + palette.size());
    return FileHeader(offset + pixels.size(), offset) + info + palette + pixels;
}

bool DecodeBmp(const std::string& bytes, CxImage& image)
{
    CxMemFile stream((BYTE*)bytes.data(), (DWORD)bytes.size());
    return image.Decode(&stream, CXIMAGE_FORMAT_BMP);
}

std::string EncodeBmp(CxImage& image)
{
    CxMemFile stream;
    if (!stream.Open() || !image.Encode(&stream, CXIMAGE_FORMAT_BMP))
        return std::string();
    return std::string((const char*)stream.GetBuffer(false), stream.Size());
}

}  // namespace

TEST(CxImageBMP, TwentyFourBitRoundTrip)
{
    std::string pixels = std::string("\1\2\3\4\5\6\7\10\11\0\0\0", 12) +
                         std::string("\12\13\14\15\16\17\20\21\22\0\0\0", 12);
    std::string file = BmpFile(InfoHeader(3, 2, 24, 0, 0), "", pixels);
    CxImage image;
    ASSERT_TRUE(DecodeBmp(file, image)) << image.GetLastError();
    EXPECT_EQ(3u, image.GetWidth());
    EXPECT_EQ(12u, image.GetEffWidth());
    EXPECT_EQ(72, image.GetXDPI());
    EXPECT_EQ(7, image.GetPixelColor(2, 0, false).rgbBlue);
    EXPECT_EQ(0x12, image.GetPixelColor(2, 1, false).rgbRed);

    std::string again = EncodeBmp(image);
    ASSERT_EQ((size_t)14 + 40 + 24, again.size());
    // The file's image-size field was 0; ours says how big the pixels are.
    std::string expected = file;
    expected.replace(14 + 20, 4, std::string("\x18\0\0\0", 4));
    EXPECT_EQ(expected, again);
}

TEST(CxImageBMP, BareDibDecodesLikeTheFile)
{
    std::string info = InfoHeader(2, 2, 8, 0, 4);
    std::string palette = GreyPalette(4);
    std::string pixels("\1\2\0\0\3\0\0\0", 8);
    CxImage fromFile, fromDib;
    ASSERT_TRUE(DecodeBmp(BmpFile(info, palette, pixels), fromFile));
    ASSERT_TRUE(DecodeBmp(info + palette + pixels, fromDib)) << fromDib.GetLastError();
    ASSERT_EQ(fromFile.GetSize(), fromDib.GetSize());
    EXPECT_EQ(0, memcmp(fromFile.GetDIB(), fromDib.GetDIB(), fromFile.GetSize()));
    EXPECT_EQ(3, fromDib.GetPixelIndex(0, 1));
    EXPECT_EQ(256u, fromDib.GetNumColors());
    EXPECT_EQ(0, fromDib.GetPaletteColor(200).rgbRed);
}

TEST(CxImageBMP, CoreHeaderPaletteIsSpreadToFourBytes)
{
    std::string core;
    PutU32(core, 12);
    PutU16(core, 2);
    PutU16(core, 1);
    PutU16(core, 1);
    PutU16(core, 8);
    std::string palette;
    for (int i = 0; i < 256; ++i)
        palette += std::string(1, (char)i) + (char)(255 - i) + (char)7;
    std::string pixels("\5\6\0\0", 4);
    CxImage image;
    ASSERT_TRUE(DecodeBmp(BmpFile(core, palette, pixels), image)) << image.GetLastError();
    RGBQUAD colour = image.GetPixelColor(1, 0, false);
    EXPECT_EQ(6, colour.rgbBlue);
    EXPECT_EQ(249, colour.rgbGreen);
    EXPECT_EQ(7, colour.rgbRed);
    EXPECT_EQ(0, image.GetPaletteColor(255).rgbReserved);
}

TEST(CxImageBMP, TopDownRowsAreTurned)
{
    std::string up("\1\1\1\0\2\2\2\0", 8), down("\2\2\2\0\1\1\1\0", 8);
    CxImage bottomUp, topDown;
    ASSERT_TRUE(DecodeBmp(BmpFile(InfoHeader(1, 2, 24, 0, 0), "", up), bottomUp));
    ASSERT_TRUE(DecodeBmp(BmpFile(InfoHeader(1, -2, 24, 0, 0), "", down), topDown));
    EXPECT_EQ(2u, topDown.GetHeight());
    EXPECT_EQ(0, memcmp(bottomUp.GetBits(), topDown.GetBits(), 8));
}

TEST(CxImageBMP, SixteenBitLayouts)
{
    CxImage plain, fields;
    ASSERT_TRUE(DecodeBmp(BmpFile(InfoHeader(1, 1, 16, 0, 0), "", std::string("\xFF\x7F\0\0", 4)),
                          plain));
    RGBQUAD colour = plain.GetPixelColor(0, 0, false);
    EXPECT_EQ(248, colour.rgbRed);
    EXPECT_EQ(248, colour.rgbGreen);
    EXPECT_EQ(248, colour.rgbBlue);

    std::string masks;
    PutU32(masks, 0xF800);
    PutU32(masks, 0x7E0);
    PutU32(masks, 0x1F);
    ASSERT_TRUE(DecodeBmp(BmpFile(InfoHeader(1, 1, 16, 3, 0), masks, std::string("\xFF\xFF\0\0", 4)),
                          fields)) << fields.GetLastError();
    colour = fields.GetPixelColor(0, 0, false);
    EXPECT_EQ(248, colour.rgbRed);
    EXPECT_EQ(252, colour.rgbGreen);
    EXPECT_EQ(248, colour.rgbBlue);
}

TEST(CxImageBMP, ResolutionFromPelsPerMetre)
{
    CxImage image;
    ASSERT_TRUE(DecodeBmp(BmpFile(InfoHeader(1, 1, 24, 0, 0, 0), "", std::string(4, '\0')), image));
    EXPECT_EQ(0, image.GetXDPI());
    EXPECT_EQ(0, image.GetYDPI());
}

TEST(CxImageBMP, Rle8RunsEscapesAndRowEnd)
{
    std::string info = InfoHeader(3, 2, 8, 1, 256);
    CxImage image;
    std::string rle("\3\x41\0\0\2\x42\0\1", 8);
    ASSERT_TRUE(DecodeBmp(BmpFile(info, GreyPalette(256), rle), image)) << image.GetLastError();
    EXPECT_EQ(0, memcmp(image.GetBits(0), "\x41\x41\x41", 3));
    EXPECT_EQ(0, memcmp(image.GetBits(1), "\x42\x42", 2));
    EXPECT_EQ(0, image.GetPixelIndex(2, 1));

    // A run past the end of a row ends the decoding, which still succeeds.
    std::string overrun("\x09\x41\0\0\2\x42\0\1", 8);
    CxImage stopped;
    ASSERT_TRUE(DecodeBmp(BmpFile(info, GreyPalette(256), overrun), stopped));
    EXPECT_EQ(0x41, stopped.GetPixelIndex(2, 0));
    EXPECT_EQ(0, stopped.GetPixelIndex(0, 1));

    // Deltas and absolute runs outside the image are clipped.
    std::string wild("\0\2\xFF\xFF\0\5\1\2\3\4\5\0\0\2\0\1\0\3\7\10\11\0\0\1", 24);
    CxImage clipped;
    ASSERT_TRUE(DecodeBmp(BmpFile(info, GreyPalette(256), wild), clipped));
    EXPECT_EQ(0, clipped.GetPixelIndex(0, 1));
}

TEST(CxImageBMP, Rle4Nibbles)
{
    std::string info = InfoHeader(5, 2, 4, 2, 16);
    // Row 0: run of 5 alternating 1 and 2; row 1: absolute 3 4 5, then delta.
    std::string rle("\5\x12\0\0\0\3\x34\x50\0\1", 10);
    CxImage image;
    ASSERT_TRUE(DecodeBmp(BmpFile(info, GreyPalette(16), rle), image)) << image.GetLastError();
    const int row0[5] = { 1, 2, 1, 2, 1 };
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(row0[x], image.GetPixelIndex(x, 0)) << x;
    EXPECT_EQ(3, image.GetPixelIndex(0, 1));
    EXPECT_EQ(5, image.GetPixelIndex(2, 1));
    EXPECT_EQ(0, image.GetPixelIndex(3, 1));
}

TEST(CxImageBMP, RefusedFiles)
{
    CxImage image;
    EXPECT_FALSE(DecodeBmp("", image));
    EXPECT_STREQ("Not a BMP", image.GetLastError());
    EXPECT_FALSE(DecodeBmp("BM" + std::string(30, '\0'), image));
    EXPECT_STREQ("Error reading BMP info", image.GetLastError());
    EXPECT_FALSE(DecodeBmp(BmpFile(InfoHeader(2, 2, 8, 4, 0), GreyPalette(256), "xx"), image));
    EXPECT_STREQ("compression type not supported", image.GetLastError());
    EXPECT_FALSE(DecodeBmp(BmpFile(InfoHeader(2, 2, 24, 1, 0), "", "xx"), image));
    EXPECT_STREQ("unknown compression", image.GetLastError());
    EXPECT_FALSE(DecodeBmp(BmpFile(InfoHeader(-2, 2, 24, 0, 0), "", "xx"), image));
    EXPECT_FALSE(DecodeBmp(BmpFile(InfoHeader(65536, 65536, 24, 0, 0), "", "xx"), image));
    EXPECT_STREQ("image too large", image.GetLastError());
    EXPECT_FALSE(image.IsValid());
    CxImageBMP codec;
    EXPECT_FALSE(codec.Decode(NULL));
}

TEST(CxImageBMP, PaletteCountIsCappedByTheFile)
{
    // Claims four billion colours, holds two.
    std::string file = FileHeader(0, 0) + InfoHeader(2, 1, 1, 0, 0xFFFFFFF0u) +
                       std::string("\0\0\0\0\xFF\xFF\xFF\0", 8);
    CxImage image;
    ASSERT_TRUE(DecodeBmp(file, image)) << image.GetLastError();
    EXPECT_EQ(255, image.GetPaletteColor(1).rgbRed);
}

TEST(CxImageBMP, SizeOnlyRequest)
{
    CxImageBMP codec;
    codec.SetEscape(-1);
    std::string file = BmpFile(InfoHeader(300, 200, 24, 0, 0), "", "");
    CxMemFile stream((BYTE*)file.data(), (DWORD)file.size());
    EXPECT_TRUE(codec.Decode(&stream));
    EXPECT_STREQ("output dimensions returned", codec.GetLastError());
    EXPECT_EQ(300u, codec.GetWidth());
    EXPECT_FALSE(codec.IsValid());
}

TEST(CxImageBMP, ShortWriteFails)
{
    CxImage image(4, 4, 8);
    codectest::ShortStream stream(100);
    EXPECT_FALSE(image.Encode(&stream, CXIMAGE_FORMAT_BMP));
    EXPECT_NE(std::string(), image.GetLastError());
}

// Files written by ImageMagick decode to the pixels ImageMagick reads; our
// own files read back identically, in ImageMagick too.
class BmpReference : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!codectest::UnixProgramExists("/usr/bin/convert"))
            return;
        s_folder = testfiles::MakeScratchFolder("bmp-fixtures");
        std::string script = testfiles::SourceDir() + "/tests/codecs/make_bmp_fixtures.sh";
        s_exitCode = codectest::RunUnixProgram("/bin/sh " + script + " " +
                                               codectest::UnixPath(s_folder));
        s_ready = s_exitCode == 0;
    }

    static std::string Path(const std::string& name) { return s_folder + "\\" + name; }

    // ImageMagick's reading of a file of ours.
    static bool DumpWithImageMagick(const std::string& bmp, const std::string& rgb)
    {
        return codectest::RunUnixProgram("/usr/bin/convert " + codectest::UnixPath(bmp) +
                                         " -alpha off -depth 8 rgb:" +
                                         codectest::UnixPath(rgb)) == 0;
    }

    // Compares the image with a top-down RGB dump; `mask` keeps the bits
    // that a 16-bit channel carries (0xF8 for 5 bits).
    static void ExpectPixels(const CxImage& image, const std::string& rgb, const char* name,
                             BYTE redMask = 0xFF, BYTE greenMask = 0xFF, BYTE blueMask = 0xFF)
    {
        DWORD width = image.GetWidth(), height = image.GetHeight();
        ASSERT_EQ((size_t)width * height * 3, rgb.size()) << name;
        int wrong = 0;
        for (DWORD row = 0; row < height; ++row) {
            for (DWORD x = 0; x < width; ++x) {
                const BYTE* expected = (const BYTE*)rgb.data() + 3 * (row * width + x);
                RGBQUAD got = image.GetPixelColor(x, height - 1 - row, false);
                if (got.rgbRed != (expected[0] & redMask) ||
                    got.rgbGreen != (expected[1] & greenMask) ||
                    got.rgbBlue != (expected[2] & blueMask))
                    ++wrong;
            }
        }
        EXPECT_EQ(0, wrong) << name;
    }

    static std::string s_folder;
    static bool s_ready;
    static int s_exitCode;
};

std::string BmpReference::s_folder;
bool BmpReference::s_ready = false;
int BmpReference::s_exitCode = 0;

TEST_F(BmpReference, DecodesWhatImageMagickWrites)
{
    ASSERT_TRUE(s_ready) << "ImageMagick fixtures could not be made: " << s_exitCode;
    struct Case {
        const char* name;
        WORD bpp;
        BYTE redMask, greenMask, blueMask;
    };
    const Case cases[] = {
        { "bits1", 1, 0xFF, 0xFF, 0xFF },      { "bits4", 4, 0xFF, 0xFF, 0xFF },
        { "bits8", 8, 0xFF, 0xFF, 0xFF },      { "rle8", 8, 0xFF, 0xFF, 0xFF },
        { "bits16_555", 24, 0xF8, 0xF8, 0xF8 }, { "bits16_565", 24, 0xF8, 0xFC, 0xF8 },
        { "bits16_4444", 24, 0xF0, 0xF0, 0xF0 },
        { "bits24", 24, 0xFF, 0xFF, 0xFF },    { "bits32", 24, 0xFF, 0xFF, 0xFF },
        { "bits32_fields", 24, 0xFF, 0xFF, 0xFF }, { "os2_bits1", 1, 0xFF, 0xFF, 0xFF },
        { "os2_bits4", 4, 0xFF, 0xFF, 0xFF },  { "os2_bits8", 8, 0xFF, 0xFF, 0xFF },
        { "os2_bits24", 24, 0xFF, 0xFF, 0xFF },
    };
    for (const Case& c : cases) {
        std::string bmp, rgb;
        ASSERT_TRUE(testfiles::ReadFileBytes(Path(std::string(c.name) + ".bmp"), bmp)) << c.name;
        ASSERT_TRUE(testfiles::ReadFileBytes(Path(std::string(c.name) + ".rgb"), rgb)) << c.name;
        CxImage image;
        ASSERT_TRUE(DecodeBmp(bmp, image)) << c.name << ": " << image.GetLastError();
        EXPECT_EQ(c.bpp, image.GetBpp()) << c.name;
        ExpectPixels(image, rgb, c.name, c.redMask, c.greenMask, c.blueMask);

        // Our encoding of it reads back identically, here and in ImageMagick.
        std::string ours = Path(std::string("ours_") + c.name + ".bmp");
        ASSERT_TRUE(image.Save(ours.c_str(), CXIMAGE_FORMAT_BMP)) << image.GetLastError();
        std::string oursBytes;
        ASSERT_TRUE(testfiles::ReadFileBytes(ours, oursBytes));
        CxImage back;
        ASSERT_TRUE(DecodeBmp(oursBytes, back)) << c.name;
        ASSERT_EQ(image.GetSize(), back.GetSize()) << c.name;
        EXPECT_EQ(0, memcmp(image.GetBits(), back.GetBits(), image.GetSize() - 40 -
                            image.GetPaletteSize())) << c.name;
        std::string oursRgb = Path(std::string("ours_") + c.name + ".rgb");
        ASSERT_TRUE(DumpWithImageMagick(ours, oursRgb)) << c.name;
        ASSERT_TRUE(testfiles::ReadFileBytes(oursRgb, rgb));
        ExpectPixels(image, rgb, (std::string("ImageMagick reading ours: ") + c.name).c_str());
    }
}

TEST_F(BmpReference, TopDownFileDecodesLikeImageMagicksBottomUpOne)
{
    ASSERT_TRUE(s_ready);
    std::string bmp, rgb;
    ASSERT_TRUE(testfiles::ReadFileBytes(Path("bits24.bmp"), bmp));
    ASSERT_TRUE(testfiles::ReadFileBytes(Path("bits24.rgb"), rgb));
    // Rows reversed behind a negative height.
    const size_t rowBytes = (13 * 3 + 3) & ~3, offset = 54, height = 7;
    std::string flipped = bmp.substr(0, offset);
    for (size_t row = height; row-- > 0;)
        flipped += bmp.substr(offset + row * rowBytes, rowBytes);
    int32_t negative = -(int32_t)height;
    memcpy(&flipped[22], &negative, 4);
    CxImage image;
    ASSERT_TRUE(DecodeBmp(flipped, image)) << image.GetLastError();
    ExpectPixels(image, rgb, "top-down");
}

TEST_F(BmpReference, Rle4FileMatchesImageMagick)
{
    ASSERT_TRUE(s_ready);
    // 6 x 3, 16 grey levels: encoded runs, an absolute run with its pad,
    // a delta and an end of line before the row is full.
    std::string rle("\6\x1F\0\0"               // row 0: 1 F 1 F 1 F
                    "\0\5\x23\x45\x60\0\0\0"   // row 1: 2 3 4 5 6, absolute with pad
                    "\2\x77\0\2\2\0\2\x88"     // row 2: 7 7, delta 2, 8 8
                    "\0\1", 22);
    std::string palette;
    for (int i = 0; i < 16; ++i)
        palette += std::string(3, (char)(i * 17)) + '\0';
    std::string file = BmpFile(InfoHeader(6, 3, 4, 2, 16), palette, rle);
    std::string path = Path("rle4.bmp");
    ASSERT_TRUE(testfiles::WriteFileBytes(path, file));
    std::string rgb;
    ASSERT_TRUE(DumpWithImageMagick(path, Path("rle4.rgb")));
    ASSERT_TRUE(testfiles::ReadFileBytes(Path("rle4.rgb"), rgb));
    CxImage image;
    ASSERT_TRUE(DecodeBmp(file, image)) << image.GetLastError();
    ExpectPixels(image, rgb, "rle4");
    EXPECT_EQ(8, image.GetPixelIndex(5, 2));
}

TEST_F(BmpReference, TypeZeroReportsTheFormatFound)
{
    ASSERT_TRUE(s_ready);
    std::string png;
    ASSERT_TRUE(testfiles::ReadFileBytes(Path("source.png"), png));
    CxImage image;
    CxMemFile stream((BYTE*)png.data(), (DWORD)png.size());
    bool decoded = image.Decode(&stream, CXIMAGE_FORMAT_UNKNOWN);
    if (!CxFindCodec(CXIMAGE_FORMAT_PNG)->decode) {
        EXPECT_FALSE(decoded);
        EXPECT_STREQ("Decode: Unknown or wrong format", image.GetLastError());
        return;
    }
    ASSERT_TRUE(decoded) << image.GetLastError();
    EXPECT_EQ((DWORD)CXIMAGE_FORMAT_PNG, image.GetType());
    EXPECT_EQ(13u, image.GetWidth());
}

TEST(CxImageBMP, ThirtyTwoBitMasksAndUnknownBitCounts)
{
    // Red in the low byte, blue in the third: the masks say where each
    // channel lies.
    std::string masks;
    PutU32(masks, 0x000000FF);
    PutU32(masks, 0x0000FF00);
    PutU32(masks, 0x00FF0000);
    CxImage image;
    ASSERT_TRUE(DecodeBmp(BmpFile(InfoHeader(1, 1, 32, 3, 0), masks, std::string("\x10\x20\x30\0", 4)),
                          image)) << image.GetLastError();
    RGBQUAD colour = image.GetPixelColor(0, 0);
    EXPECT_EQ(0x10, colour.rgbRed);
    EXPECT_EQ(0x20, colour.rgbGreen);
    EXPECT_EQ(0x30, colour.rgbBlue);

    CxImage unknown;
    EXPECT_FALSE(DecodeBmp(BmpFile(InfoHeader(1, 1, 30000, 0, 0), "", std::string(8, '\0')),
                           unknown));
    EXPECT_STREQ("unsupported bit count", unknown.GetLastError());
}

TEST(CxImageBMP, ThirtyTwoBitMasksOfAnyWidthSpanTheWholeRange)
{
    // Pixels of every pattern under masks of 11, 11 and 10 bits, and of 4
    // bits each.
    std::string pixels;
    uint32_t state = 7;
    for (int i = 0; i < 16 * 4; ++i) {
        state = state * 1103515245u + 12345u;
        PutU32(pixels, i == 0 ? 0xFFFFFFFFu : state);
    }
    struct Layout {
        uint32_t red, green, blue;
    };
    for (Layout layout : { Layout{ 0xFFE00000, 0x001FFC00, 0x000003FF },
                           Layout{ 0x0F000000, 0x000F0000, 0x0000000F } }) {
        std::string masks;
        PutU32(masks, layout.red);
        PutU32(masks, layout.green);
        PutU32(masks, layout.blue);
        std::string file = BmpFile(InfoHeader(16, 4, 32, 3, 0), masks, pixels);
        CxImage image;
        ASSERT_TRUE(DecodeBmp(file, image)) << image.GetLastError();
        // The first pixel has every bit set: white, whatever the widths.
        RGBQUAD first = image.GetPixelColor(0, 0);
        EXPECT_EQ(255, first.rgbRed);
        EXPECT_EQ(255, first.rgbGreen);
        EXPECT_EQ(255, first.rgbBlue);
        if (layout.blue == 0x0F) {
            // Four bits: each step is 17.
            for (DWORD x = 1; x < 16; ++x) {
                uint32_t value = *(const uint32_t*)(pixels.data() + 4 * x);
                EXPECT_EQ((value & 0x0F) * 17, image.GetPixelColor(x, 0).rgbBlue);
            }
            continue;
        }
        // ImageMagick scales the wide channels the same way, give or take
        // its rounding.
        std::string path = testfiles::MakeScratchFolder("bmp-masks") + "\\wide.bmp", rgba;
        ASSERT_TRUE(testfiles::WriteFileBytes(path, file));
        ASSERT_TRUE(codectest::ReadWithImageMagickRgba(path, rgba));
        codectest::PixelCheck check;
        check.tolerance = 1;
        EXPECT_EQ(0, codectest::CountMismatches(image, rgba, check));
    }
}
