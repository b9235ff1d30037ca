#include "tests/support/gtest.h"

#include <stdio.h>
#include <string.h>

#include <string>

#include "codecs/ximajas.h"
#include "tests/support/reference_images.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"

using codectest::CountDifferentPixels;
using codectest::DecodeBytes;
using codectest::EncodeBytes;

namespace {

class JasReference : public codectest::ReferenceSuite<JasReference> {
public:
    static const char* Script() { return "make_jas_fixtures.sh"; }

protected:
    // OpenJPEG's reading of bytes we wrote, as an RGB dump.
    static std::string ReadWithOpenJpeg(const std::string& bytes, const std::string& name)
    {
        std::string path = Files().Path(name);
        if (!testfiles::WriteFileBytes(path, bytes))
            return std::string();
        std::string source = Files().UnixPath(name);
        // opj_compress reads PGX: its lossless code stream shows what it read.
        if (name.size() > 4 && name.substr(name.size() - 4) == ".pgx") {
            if (codectest::RunUnixProgram("/usr/bin/opj_compress -n 3 -i " + source + " -o " +
                                          source + ".j2k >/dev/null 2>&1") != 0)
                return std::string();
            source += ".j2k";
        }
        if (codectest::RunUnixProgram("/usr/bin/opj_decompress -i " + source + " -o " +
                                      Files().UnixPath(name) + ".pnm >/dev/null 2>&1") != 0)
            return std::string();
        return codectest::ReadWithImageMagick(path + ".pnm");
    }
};

}  // namespace

TEST_F(JasReference, DecodesWhatOtherProgramsWrite)
{
    struct Case {
        const char* file;
        DWORD format;
        WORD bpp;
        int tolerance;  // 16-bit samples are scaled, ImageMagick rounds alike
    };
    const Case cases[] = {
        { "p1.pbm", CXIMAGE_FORMAT_PNM, 1, 0 },   { "p2.pgm", CXIMAGE_FORMAT_PNM, 8, 0 },
        { "p3.ppm", CXIMAGE_FORMAT_PNM, 24, 0 },  { "p4.pbm", CXIMAGE_FORMAT_PNM, 1, 0 },
        { "p5.pgm", CXIMAGE_FORMAT_PNM, 8, 0 },   { "p6.ppm", CXIMAGE_FORMAT_PNM, 24, 0 },
        { "p5_16.pgm", CXIMAGE_FORMAT_PNM, 24, 1 }, { "p6_16.ppm", CXIMAGE_FORMAT_PNM, 24, 1 },
        { "ras24.ras", CXIMAGE_FORMAT_RAS, 24, 0 }, { "rgb.jp2", CXIMAGE_FORMAT_JP2, 24, 0 },
        { "rgb.j2k", CXIMAGE_FORMAT_JPC, 24, 0 },  { "grey.jp2", CXIMAGE_FORMAT_JP2, 8, 0 },
        { "grey16.jp2", CXIMAGE_FORMAT_JP2, 24, 1 }, { "grey.pgx", CXIMAGE_FORMAT_PGX, 8, 0 },
    };
    for (const Case& c : cases) {
        std::string name = c.file;
        std::string reference = name;
        reference[reference.find('.')] = '_';
        for (DWORD type : { c.format, (DWORD)CXIMAGE_FORMAT_UNKNOWN }) {
            CxImage image;
            ASSERT_TRUE(DecodeBytes(Bytes(name), image, type)) << name << ": " << image.GetLastError();
            EXPECT_EQ(c.bpp, image.GetBpp()) << name;
            EXPECT_EQ(0, CountDifferentPixels(image, Bytes(reference + ".rgb"), c.tolerance)) << name;
        }
    }
}

TEST_F(JasReference, EncodedFilesReadBackInOtherPrograms)
{
    CxImage colour, grey;
    ASSERT_TRUE(DecodeBytes(Bytes("p6.ppm"), colour, CXIMAGE_FORMAT_PNM));
    ASSERT_TRUE(DecodeBytes(Bytes("p5.pgm"), grey, CXIMAGE_FORMAT_PNM));
    ASSERT_TRUE(grey.IsGrayScale());
    // Quality 100 asks for the whole rate: lossless JPEG-2000.
    colour.SetJpegQuality(100);
    grey.SetJpegQuality(100);
    struct Case {
        CxImage* image;
        DWORD format;
        const char* name;
        bool openJpeg;  // else ImageMagick reads it
    };
    const Case cases[] = {
        { &colour, CXIMAGE_FORMAT_PNM, "ours.ppm", false }, { &grey, CXIMAGE_FORMAT_PNM, "ours.pgm", false },
        { &colour, CXIMAGE_FORMAT_RAS, "ours24.ras", false }, { &grey, CXIMAGE_FORMAT_RAS, "ours8.ras", false },
        { &colour, CXIMAGE_FORMAT_JP2, "ours.jp2", true },   { &grey, CXIMAGE_FORMAT_JP2, "oursgrey.jp2", true },
        { &colour, CXIMAGE_FORMAT_JPC, "ours.j2k", true },   { &grey, CXIMAGE_FORMAT_PGX, "ours.pgx", true },
    };
    for (const Case& c : cases) {
        std::string bytes = EncodeBytes(*c.image, c.format);
        ASSERT_FALSE(bytes.empty()) << c.name << ": " << c.image->GetLastError();
        CxImage back;
        ASSERT_TRUE(DecodeBytes(bytes, back, c.format)) << c.name << ": " << back.GetLastError();
        EXPECT_EQ(c.image->GetBpp(), back.GetBpp()) << c.name;
        EXPECT_EQ(0, CountDifferentPixels(back, Bytes(c.image == &grey ? "p5_pgm.rgb" : "p6_ppm.rgb")))
            << c.name;
        std::string theirs;
        if (c.openJpeg) {
            theirs = ReadWithOpenJpeg(bytes, c.name);
        } else {
            ASSERT_TRUE(testfiles::WriteFileBytes(Files().Path(c.name), bytes));
            theirs = codectest::ReadWithImageMagick(Files().Path(c.name));
        }
        EXPECT_EQ(0, CountDifferentPixels(back, theirs)) << "read by others: " << c.name;
    }
    // At quality 90 the code stream takes 90 % of the raw size at most.
    colour.SetJpegQuality(90);
    std::string lossy = EncodeBytes(colour, CXIMAGE_FORMAT_JPC);
    EXPECT_LE(lossy.size(), (size_t)(27 * 15 * 3 * 0.9) + 200);
    CxImage back;
    ASSERT_TRUE(DecodeBytes(lossy, back, CXIMAGE_FORMAT_JPC));
    EXPECT_EQ(0, CountDifferentPixels(back, Bytes("p6_ppm.rgb"), 40));
}

TEST_F(JasReference, SingleComponentFilesHaveOneFrame)
{
    CxImage second;
    second.SetFrame(1);
    EXPECT_FALSE(DecodeBytes(Bytes("grey.pgx"), second, CXIMAGE_FORMAT_PGX));
    EXPECT_STREQ("wrong frame!", second.GetLastError());
    CxImage first;
    ASSERT_TRUE(DecodeBytes(Bytes("grey.pgx"), first, CXIMAGE_FORMAT_PGX));
    EXPECT_EQ(1, first.GetNumFrames());
    EXPECT_TRUE(first.IsGrayScale());
}

TEST(CxImageJAS, RunLengthSunRasterWithColourMap)
{
    // 3 x 2, 8 bits, run-length encoded, a map of two colours.
    std::string ras("\x59\xA6\x6A\x95\0\0\0\x03\0\0\0\x02\0\0\0\x08\0\0\0\x08\0\0\0\x02"
                    "\0\0\0\x01\0\0\0\x06", 32);
    ras += std::string("\x10\x20\x30\x40\x50\x60", 6);  // reds, greens, blues
    // Rows 0 1 1 and 1 1 1, each padded to 4 bytes; 0x80 2 1 is three 1s.
    ras += std::string("\0\x01\x01\0\x80\x02\x01\0", 8);
    CxImage image;
    ASSERT_TRUE(DecodeBytes(ras, image, CXIMAGE_FORMAT_RAS)) << image.GetLastError();
    EXPECT_EQ(24, image.GetBpp());
    RGBQUAD topLeft = image.GetPixelColor(0, 1);
    EXPECT_EQ(0x10, topLeft.rgbRed);
    EXPECT_EQ(0x30, topLeft.rgbGreen);
    EXPECT_EQ(0x50, topLeft.rgbBlue);
    EXPECT_EQ(0x20, image.GetPixelColor(1, 1).rgbRed);
    EXPECT_EQ(0x20, image.GetPixelColor(2, 0).rgbRed);
}

TEST(CxImageJAS, EncoderRefusals)
{
    CxImage colour(5, 5, 24);
    EXPECT_TRUE(EncodeBytes(colour, CXIMAGE_FORMAT_PGX).empty());
    EXPECT_STREQ("PGX can save only GrayScale images", colour.GetLastError());
    CxImage palette(5, 5, 4);
    palette.SetStdPalette();
    EXPECT_TRUE(EncodeBytes(palette, CXIMAGE_FORMAT_PNM).empty());
    EXPECT_STREQ("JasPer can save only RGB or GrayScale images", palette.GetLastError());
    char text[32];
    sprintf(text, "rate=%.3f", CxImageJAS::EncodeRate(75));
    EXPECT_STREQ("rate=0.750", text);
    sprintf(text, "rate=%.3f", CxImageJAS::EncodeRate(90));
    EXPECT_STREQ("rate=0.900", text);
    CxImage notAnImage;
    EXPECT_FALSE(DecodeBytes("hello world", notAnImage, CXIMAGE_FORMAT_PNM));
    EXPECT_STREQ("error: cannot load image data", notAnImage.GetLastError());
}

TEST_F(JasReference, SubsampledAndAlphaComponentsKeepTheirColours)
{
    // Luma and chroma at half size become colours as OpenJPEG makes them.
    CxImage subsampled;
    ASSERT_TRUE(DecodeBytes(Bytes("subsampled.jp2"), subsampled, CXIMAGE_FORMAT_JP2))
        << subsampled.GetLastError();
    EXPECT_EQ(24, subsampled.GetBpp());
    EXPECT_EQ(0, CountDifferentPixels(subsampled, Bytes("subsampled_jp2.rgb"), 1));

    // Red (or grey) ramps down, green and blue are 100 and 200, alpha
    // ramps across.
    std::string down = Bytes("down.raw"), across = Bytes("across.raw");
    ASSERT_EQ(128u, down.size());
    ASSERT_EQ(128u, across.size());
    for (const char* name : { "rgba.jp2", "grey_alpha.jp2" }) {
        CxImage image;
        ASSERT_TRUE(DecodeBytes(Bytes(name), image, CXIMAGE_FORMAT_JP2))
            << name << ": " << image.GetLastError();
        ASSERT_EQ(16u, image.GetWidth()) << name;
        ASSERT_EQ(8u, image.GetHeight()) << name;
        ASSERT_TRUE(image.AlphaIsValid()) << name;
        bool grey = strcmp(name, "grey_alpha.jp2") == 0;
        int wrong = 0;
        for (long y = 0; y < 8; ++y) {
            for (long x = 0; x < 16; ++x) {
                size_t at = (size_t)(7 - y) * 16 + x;
                BYTE level = (BYTE)down[at];
                RGBQUAD pixel = image.GetPixelColor(x, y, false);
                wrong += pixel.rgbRed != level || pixel.rgbGreen != (grey ? level : 100) ||
                         pixel.rgbBlue != (grey ? level : 200) ||
                         image.AlphaGet(x, y) != (BYTE)across[at];
            }
        }
        EXPECT_EQ(0, wrong) << name;
    }
}

namespace {

std::string U16BE(unsigned value)
{
    return std::string{ (char)(value >> 8), (char)value };
}

std::string U32BE(uint32_t value)
{
    return U16BE(value >> 16) + U16BE(value & 0xFFFF);
}

// A box of the JP2 file format: its length, its type, its contents.
std::string Box(const char* type, const std::string& contents)
{
    return U32BE((uint32_t)(8 + contents.size())) + type + contents;
}

// A JP2 file around a code stream of one 8-bit plane of indices into a
// palette of 256 entries with a grey and an alpha column (alpha first when
// alphaFirst): the palette box (pclr) holds the columns, the component
// mapping box (cmap) maps channel c to column c, and the channel definition
// box (cdef) says which channel is the opacity.
std::string GreyAlphaPaletteFile(const std::string& codeStream, uint32_t width, uint32_t height,
                                 bool alphaFirst)
{
    std::string header = U32BE(height) + U32BE(width) + U16BE(1) + "\x07\x07" + std::string(2, '\0');
    std::string colour = std::string("\x01\x00\x00", 3) + U32BE(17);  // enumerated: greyscale
    std::string palette = U16BE(256) + std::string("\x02\x07\x07", 3);
    for (int i = 0; i < 256; ++i) {
        char grey = (char)(255 - i), alpha = (char)((i * 7 + 40) & 0xFF);
        palette += alphaFirst ? std::string{ alpha, grey } : std::string{ grey, alpha };
    }
    std::string mapping;
    for (int channel = 0; channel < 2; ++channel)
        mapping += U16BE(0) + (char)1 + (char)channel;
    std::string definition = U16BE(2);
    for (int channel = 0; channel < 2; ++channel) {
        bool opacity = channel == (alphaFirst ? 0 : 1);
        definition += U16BE(channel) + U16BE(opacity ? 1 : 0) + U16BE(opacity ? 0 : 1);
    }
    std::string boxes = Box("ihdr", header) + Box("colr", colour) + Box("pclr", palette) +
                        Box("cmap", mapping) + Box("cdef", definition);
    return Box("jP  ", "\x0D\x0A\x87\x0A") + Box("ftyp", std::string("jp2 \0\0\0\0jp2 ", 12)) +
           Box("jp2h", boxes) + Box("jp2c", codeStream);
}

}  // namespace

TEST_F(JasReference, GreyAndAlphaPalettesDecodeAsOpenJpegAppliesThem)
{
    // The plasma of p5.pgm, 27 x 15, as indices; the palette's grey column
    // first, or its alpha column.
    std::string codeStream = Bytes("grey.j2k");
    std::string indices = Bytes("p5_pgm.rgb");
    ASSERT_FALSE(codeStream.empty());
    ASSERT_EQ(27u * 15 * 3, indices.size());
    for (bool alphaFirst : { false, true }) {
        std::string name = alphaFirst ? "palette_alpha_grey.jp2" : "palette_grey_alpha.jp2";
        std::string file = GreyAlphaPaletteFile(codeStream, 27, 15, alphaFirst);
        ASSERT_TRUE(testfiles::WriteFileBytes(Files().Path(name), file));
        std::string png = Files().Path(name) + ".png";
        ASSERT_EQ(0, codectest::RunUnixProgram("/usr/bin/opj_decompress -i " + Files().UnixPath(name) +
                                               " -o " + codectest::UnixPath(png) + " >/dev/null 2>&1"))
            << name;
        std::string theirs;
        ASSERT_TRUE(codectest::ReadWithImageMagickRgba(png, theirs)) << name;
        CxImage image;
        ASSERT_TRUE(DecodeBytes(file, image, CXIMAGE_FORMAT_JP2)) << name << ": " << image.GetLastError();
        ASSERT_TRUE(image.AlphaIsValid()) << name;
        EXPECT_TRUE(image.IsGrayScale()) << name;
        codectest::PixelCheck check;
        check.compareAlpha = true;
        EXPECT_EQ(0, codectest::CountMismatches(image, theirs, check)) << name;
        // The top left pixel: the palette's entry as the file holds it.
        BYTE index = (BYTE)indices[0];
        EXPECT_EQ(255 - index, image.GetPixelColor(0, 14).rgbRed) << name;
        EXPECT_EQ((index * 7 + 40) & 0xFF, image.AlphaGet(0, 14)) << name;
    }
}

TEST(CxImageJAS, SizeMarkersLargerThanTheStreamAreRefusedAtOnce)
{
    CxImage picture(21, 11, 24);
    picture.Clear(0x40);
    std::string stream = EncodeBytes(picture, CXIMAGE_FORMAT_JPC);
    ASSERT_EQ(std::string("\xFF\x4F\xFF\x51", 4), stream.substr(0, 4));
    // 8388629 pixels wide in tiles 149 wide: 56300 tiles in a few hundred
    // bytes.
    const BYTE width[4] = { 0x00, 0x80, 0x00, 0x15 }, tileWidth[4] = { 0, 0, 0, 149 };
    stream.replace(8, 4, (const char*)width, 4);
    stream.replace(24, 4, (const char*)tileWidth, 4);
    CxImage image;
    DWORD start = GetTickCount();
    EXPECT_FALSE(DecodeBytes(stream, image, CXIMAGE_FORMAT_JPC));
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_STREQ("image too large for its data", image.GetLastError());
}
