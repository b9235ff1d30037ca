#include "tests/support/gtest.h"

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "codecs/ximatif.h"
#include "codecs/xiofile.h"
#include "codecs/xmemfile.h"
#include "codecs/xtiffio.h"
#include "tests/support/reference_images.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"

#include "platform/native/native_begin.h"
#include <tiffio.h>
#include "platform/native/native_end.h"

using codectest::CountDifferentPixels;
using codectest::DecodeBytes;
using codectest::EncodeBytes;

namespace {

// Opens TIFF bytes with libtiff to look at the tags we wrote.
class TiffView {
public:
    explicit TiffView(const std::string& bytes)
        : m_bytes(bytes), m_stream((BYTE*)m_bytes.data(), (DWORD)m_bytes.size()),
          m_tif(TIFFOpenEx(&m_stream, "r")) {}
    ~TiffView() { if (m_tif) TIFFClose(m_tif); }
    TIFF* operator->() const { return m_tif; }
    TIFF* get() const { return m_tif; }
    uint16_t Short(uint32_t tag) const
    {
        uint16_t value = 0;
        TIFFGetFieldDefaulted(m_tif, tag, &value);
        return value;
    }
    uint32_t Long(uint32_t tag) const
    {
        uint32_t value = 0;
        TIFFGetField(m_tif, tag, &value);
        return value;
    }

private:
    std::string m_bytes;
    CxMemFile m_stream;
    TIFF* m_tif;
};

// A one-strip TIFF written directly with libtiff.
std::string LibtiffFile(uint32_t width, uint32_t height, uint16_t bits, uint16_t photometric,
                        uint16_t unit, float resolution)
{
    CxMemFile stream;
    stream.Open();
    TIFF* tif = TIFFOpenEx(&stream, "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, unit);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, resolution);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, resolution);
    std::string row((size_t)TIFFScanlineSize(tif), '\0');
    for (uint32_t y = 0; y < height; ++y) {
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = (char)(y * 8 + i);
        TIFFWriteScanline(tif, &row[0], y, 0);
    }
    TIFFClose(tif);
    return std::string((const char*)stream.GetBuffer(false), stream.Size());
}

// A one-strip, one-sample TIFF of packed samples (each row given as its
// sample values), with a colour map for palette files.
std::string PackedTiff(uint16_t bits, uint16_t photometric, const std::vector<std::vector<int>>& rows)
{
    CxMemFile stream;
    stream.Open();
    TIFF* tif = TIFFOpenEx(&stream, "w");
    uint32_t width = (uint32_t)rows[0].size();
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, (uint32_t)rows.size());
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, (uint32_t)rows.size());
    std::vector<uint16_t> red(1u << bits), green(1u << bits), blue(1u << bits);
    for (size_t i = 0; i < red.size(); ++i) {
        red[i] = (uint16_t)(i * 0x4000);
        green[i] = (uint16_t)(0xFFFF - i * 0x4000);
        blue[i] = 0x8080;
    }
    if (photometric == PHOTOMETRIC_PALETTE)
        TIFFSetField(tif, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    for (uint32_t y = 0; y < rows.size(); ++y) {
        std::string row((size_t)TIFFScanlineSize(tif), '\0');
        for (uint32_t x = 0; x < width; ++x)
            row[x * bits / 8] |= (char)(rows[y][x] << (8 - bits - (x * bits) % 8));
        TIFFWriteScanline(tif, &row[0], y, 0);
    }
    TIFFClose(tif);
    return std::string((const char*)stream.GetBuffer(false), stream.Size());
}

class TiffReference : public codectest::ReferenceSuite<TiffReference> {
public:
    static const char* Script() { return "make_tiff_fixtures.sh"; }
};

}  // namespace

TEST_F(TiffReference, DecodesEveryCompressionAndLayoutLikeImageMagick)
{
    struct Case {
        const char* name;
        WORD bpp;
        DWORD compression;
        bool alpha;
        int tolerance;  // 16-bit samples: ImageMagick rounds, we take the high byte
    };
    const Case cases[] = {
        { "rgb_none", 24, COMPRESSION_NONE, false, 0 },
        { "rgb_lzw", 24, COMPRESSION_LZW, false, 0 },
        { "rgb_deflate", 24, COMPRESSION_ADOBE_DEFLATE, false, 0 },
        { "rgb_packbits", 24, COMPRESSION_PACKBITS, false, 0 },
        { "rgb_jpeg", 24, COMPRESSION_JPEG, false, 2 },
        { "rgb_tiled", 24, COMPRESSION_NONE, false, 0 },
        { "rgb_onestrip", 24, COMPRESSION_NONE, false, 0 },
        { "grey8", 8, COMPRESSION_LZW, false, 0 },
        { "grey16", 8, COMPRESSION_NONE, false, 1 },
        { "grey8_tiled", 8, COMPRESSION_LZW, false, 0 },
        { "g4", 1, COMPRESSION_CCITTFAX4, false, 0 },
        { "palette8", 8, COMPRESSION_NONE, false, 0 },
        { "palette4", 4, COMPRESSION_NONE, false, 0 },
        { "rgba", 24, COMPRESSION_NONE, true, 0 },
        { "grey_alpha", 8, COMPRESSION_NONE, true, 0 },
        { "multi", 24, COMPRESSION_LZW, false, 0 },
    };
    for (const Case& c : cases) {
        std::string name = c.name;
        CxImage image;
        ASSERT_TRUE(DecodeBytes(Bytes(name + ".tif"), image, CXIMAGE_FORMAT_TIF))
            << name << ": " << image.GetLastError();
        EXPECT_EQ(c.bpp, image.GetBpp()) << name;
        EXPECT_EQ(c.alpha, image.AlphaIsValid()) << name;
        EXPECT_EQ(c.compression, image.GetCodecOption(CXIMAGE_FORMAT_TIF)) << name;
        EXPECT_EQ(0, CountDifferentPixels(image, Bytes(name + ".rgb"), c.tolerance)) << name;

        // Written again with the file's compression: we and ImageMagick
        // read back what we wrote.
        CxImage copy(image);
        std::string ours = EncodeBytes(copy, CXIMAGE_FORMAT_TIF);
        ASSERT_FALSE(ours.empty()) << name << ": " << copy.GetLastError();
        CxImage back;
        ASSERT_TRUE(DecodeBytes(ours, back, CXIMAGE_FORMAT_TIF)) << name;
        if (c.alpha) {
            ASSERT_TRUE(back.AlphaIsValid()) << name;
            EXPECT_EQ(0, memcmp(image.AlphaGetPointer(), back.AlphaGetPointer(),
                                (size_t)image.GetWidth() * image.GetHeight())) << name;
        }
        int lossy = c.compression == COMPRESSION_JPEG ? 12 : 0;
        EXPECT_EQ(0, CountDifferentPixels(back, Bytes(name + ".rgb"), c.tolerance + lossy))
            << name;
        std::string path = Files().Path("ours_" + name + ".tif");
        ASSERT_TRUE(testfiles::WriteFileBytes(path, ours));
        EXPECT_EQ(0, CountDifferentPixels(back, codectest::ReadWithImageMagick(path), lossy ? 2 : 0))
            << "ImageMagick reading ours: " << name;
    }
}

TEST_F(TiffReference, PagesAreFrames)
{
    std::string multi = Bytes("multi.tif");
    CxImage third;
    third.SetFrame(2);
    ASSERT_TRUE(DecodeBytes(multi, third, CXIMAGE_FORMAT_TIF)) << third.GetLastError();
    EXPECT_EQ(3, third.GetNumFrames());
    EXPECT_EQ(0, CountDifferentPixels(third, Bytes("multi_page3.rgb")));
    CxImage fourth;
    fourth.SetFrame(3);
    EXPECT_FALSE(DecodeBytes(multi, fourth, CXIMAGE_FORMAT_TIF));
    EXPECT_STREQ("Error: page not present in TIFF file", fourth.GetLastError());

    CxImage sizeOnly;
    sizeOnly.SetEscape(-1);
    EXPECT_TRUE(DecodeBytes(multi, sizeOnly, CXIMAGE_FORMAT_TIF));
    EXPECT_FALSE(sizeOnly.IsValid());
    EXPECT_EQ(29u, sizeOnly.GetWidth());
    EXPECT_EQ(19u, sizeOnly.GetHeight());
}

TEST(CxImageTIF, ResolutionAndSixteenAndTwentyFourBitGreyInOneStrip)
{
    CxImage centimetres;
    ASSERT_TRUE(DecodeBytes(LibtiffFile(40, 30, 16, PHOTOMETRIC_MINISBLACK, RESUNIT_CENTIMETER, 118),
                            centimetres, CXIMAGE_FORMAT_TIF)) << centimetres.GetLastError();
    EXPECT_EQ(300, centimetres.GetXDPI());
    EXPECT_EQ(8, centimetres.GetBpp());
    // Samples are little-endian: the high byte of sample x in row y is
    // the byte 2x + 1 that was written, y * 8 + 2x + 1.
    EXPECT_EQ((BYTE)(29 * 8 + 2 * 5 + 1), centimetres.GetPixelIndex(5, 0));
    EXPECT_EQ((BYTE)(2 * 39 + 1), centimetres.GetPixelIndex(39, 29));
    // Three bytes a sample, the last one the highest; the level is the
    // sample's share of 2^24 - 1, rounded down.
    CxImage wide;
    ASSERT_TRUE(DecodeBytes(LibtiffFile(4, 2, 24, PHOTOMETRIC_MINISBLACK, RESUNIT_INCH, 72), wide,
                            CXIMAGE_FORMAT_TIF)) << wide.GetLastError();
    uint64_t sample = 0x100F0E;  // bytes 14, 15 and 16 of the last row
    EXPECT_EQ((BYTE)(sample * 255 / 0xFFFFFF), wide.GetPixelIndex(2, 0));
    CxImage inches;
    ASSERT_TRUE(DecodeBytes(LibtiffFile(3, 2, 8, PHOTOMETRIC_MINISWHITE, RESUNIT_INCH, 72), inches,
                            CXIMAGE_FORMAT_TIF));
    EXPECT_EQ(72, inches.GetYDPI());
    EXPECT_EQ(255, inches.GetPaletteColor(0).rgbRed);  // min-is-white
}

TEST(CxImageTIF, EncoderPicksPhotometricAndCompression)
{
    CxImage bilevel(10, 3, 1);
    bilevel.SetPaletteColor(0, 0, 0, 0);
    bilevel.SetPaletteColor(1, 255, 255, 255);
    bilevel.Clear(0);
    bilevel.SetPixelIndex(2, 1, 1);
    std::string ours = EncodeBytes(bilevel, CXIMAGE_FORMAT_TIF);
    {
        TiffView view(ours);
        ASSERT_TRUE(view.get() != NULL);
        EXPECT_EQ(PHOTOMETRIC_MINISWHITE, view.Short(TIFFTAG_PHOTOMETRIC));
        EXPECT_EQ(COMPRESSION_CCITTFAX4, view.Short(TIFFTAG_COMPRESSION));
    }
    // The image in memory was inverted; its look stayed.
    EXPECT_EQ(255, bilevel.GetPaletteColor(0).rgbRed);
    EXPECT_EQ(0, bilevel.GetPixelIndex(2, 1));
    EXPECT_EQ(0, bilevel.GetPixelColor(0, 0).rgbRed);
    CxImage back;
    ASSERT_TRUE(DecodeBytes(ours, back, CXIMAGE_FORMAT_TIF));
    EXPECT_EQ(255, back.GetPixelColor(2, 1).rgbRed);
    EXPECT_EQ(0, back.GetPixelColor(3, 1).rgbRed);

    CxImage grey(20, 10, 8);
    grey.SetGrayPalette();
    for (DWORD x = 0; x < 20; ++x)
        grey.SetPixelIndex(x, 4, (BYTE)(x * 10));
    std::string greyTiff = EncodeBytes(grey, CXIMAGE_FORMAT_TIF);
    {
        TiffView view(greyTiff);
        EXPECT_EQ(PHOTOMETRIC_MINISBLACK, view.Short(TIFFTAG_PHOTOMETRIC));
        EXPECT_EQ(COMPRESSION_LZW, view.Short(TIFFTAG_COMPRESSION));
        EXPECT_EQ(PREDICTOR_HORIZONTAL, view.Short(TIFFTAG_PREDICTOR));
    }
    EXPECT_EQ(190, grey.GetPixelIndex(19, 4));  // the predictor left our pixels alone
    CxImage greyBack;
    ASSERT_TRUE(DecodeBytes(greyTiff, greyBack, CXIMAGE_FORMAT_TIF));
    EXPECT_EQ(190, greyBack.GetPixelIndex(19, 4));

    CxImage colour(30, 20, 24);
    for (DWORD y = 0; y < 20; ++y)
        for (DWORD x = 0; x < 30; ++x)
            colour.SetPixelColor(x, y, RGB(x * 8, y * 12, (x * y) & 255));
    colour.SetJpegQuality(95);
    std::string fine = EncodeBytes(colour, CXIMAGE_FORMAT_TIF);
    colour.SetJpegQuality(10);
    std::string coarse = EncodeBytes(colour, CXIMAGE_FORMAT_TIF);
    EXPECT_LT(coarse.size(), fine.size());  // the quality reached the JPEG encoder
    TiffView view(coarse);
    EXPECT_EQ(PHOTOMETRIC_RGB, view.Short(TIFFTAG_PHOTOMETRIC));
    EXPECT_EQ(COMPRESSION_JPEG, view.Short(TIFFTAG_COMPRESSION));
    EXPECT_EQ(0u, view.Long(TIFFTAG_ROWSPERSTRIP) % 8);
}

TEST(CxImageTIF, AppendingWritesPagesIntoAReadWriteFile)
{
    std::string path = testfiles::MakeScratchFolder("tiff-pages") + "\\pages.tif";
    // FILE is the C library's of the host: it takes a Unix path.
    FILE* file = fopen(codectest::UnixPath(path).c_str(), "w+b");
    ASSERT_TRUE(file != NULL);
    {
        CxIOFile stream(file);
        CxImageTIF writer;
        for (int page = 1; page <= 3; ++page) {
            CxImage image(8 + page, 5, 8);
            image.SetGrayPalette();
            image.Clear((BYTE)(page * 40));
            // One codec object keeps the file open between pages.
            writer.Ghost(&image);
            ASSERT_TRUE(writer.Encode(&stream, page < 3)) << writer.GetLastError();
        }
    }
    fclose(file);
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(path, bytes));
    TiffView view(bytes);
    ASSERT_TRUE(view.get() != NULL);
    ASSERT_EQ(3u, TIFFNumberOfDirectories(view.get()));
    for (int page = 1; page <= 3; ++page) {
        ASSERT_TRUE(TIFFSetDirectory(view.get(), (tdir_t)(page - 1)));
        char* name = NULL;
        ASSERT_TRUE(TIFFGetField(view.get(), TIFFTAG_PAGENAME, &name));
        EXPECT_EQ("Page " + std::to_string(page), std::string(name));
        uint16_t number = 0, count = 0;
        TIFFGetField(view.get(), TIFFTAG_PAGENUMBER, &number, &count);
        EXPECT_EQ(page, number);
        EXPECT_EQ(page, count);
        EXPECT_EQ((uint32_t)(8 + page), view.Long(TIFFTAG_IMAGEWIDTH));
    }
}

COLORREF ColourAt(CxImage& image, long x, long y)
{
    RGBQUAD colour = image.GetPixelColor(x, y);
    return RGB(colour.rgbRed, colour.rgbGreen, colour.rgbBlue);
}

TEST(CxImageTIF, TwoBitAndOneBitSamplesKeepTheirValues)
{
    std::vector<std::vector<int>> rows = {{0, 1, 2, 3, 3}, {3, 2, 1, 0, 1}};
    CxImage grey;
    ASSERT_TRUE(DecodeBytes(PackedTiff(2, PHOTOMETRIC_MINISBLACK, rows), grey, CXIMAGE_FORMAT_TIF))
        << grey.GetLastError();
    // Row 0 of the file is the top row.
    EXPECT_EQ(RGB(0, 0, 0), ColourAt(grey, 0, 1));
    EXPECT_EQ(RGB(85, 85, 85), ColourAt(grey, 1, 1));
    EXPECT_EQ(RGB(170, 170, 170), ColourAt(grey, 2, 1));
    EXPECT_EQ(RGB(255, 255, 255), ColourAt(grey, 4, 1));
    EXPECT_EQ(RGB(255, 255, 255), ColourAt(grey, 0, 0));

    CxImage palette;
    ASSERT_TRUE(DecodeBytes(PackedTiff(2, PHOTOMETRIC_PALETTE, rows), palette, CXIMAGE_FORMAT_TIF))
        << palette.GetLastError();
    EXPECT_EQ(RGB(0x7F, 0x7F, 0x80), ColourAt(palette, 2, 1));
    EXPECT_EQ(RGB(0xBF, 0x3F, 0x80), ColourAt(palette, 0, 0));

    std::vector<std::vector<int>> bits = {{1, 0, 1, 1, 0, 0, 0, 0, 1}};
    CxImage onebit;
    ASSERT_TRUE(DecodeBytes(PackedTiff(1, PHOTOMETRIC_PALETTE, bits), onebit, CXIMAGE_FORMAT_TIF))
        << onebit.GetLastError();
    EXPECT_EQ(1, onebit.GetBpp());
    EXPECT_EQ(RGB(0x3F, 0xBF, 0x80), ColourAt(onebit, 0, 0));
    EXPECT_EQ(RGB(0, 0xFF, 0x80), ColourAt(onebit, 1, 0));
    EXPECT_EQ(RGB(0x3F, 0xBF, 0x80), ColourAt(onebit, 8, 0));
}

TEST(CxImageTIF, GreyPaletteSpreadsTheSampleLevels)
{
    RGBQUAD palette[256] = {};
    CxTiffGreyPalette(palette, 16, 2, false);
    const BYTE twoBit[] = {0, 85, 170, 255};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(twoBit[i], palette[i].rgbGreen) << i;
    CxTiffGreyPalette(palette, 16, 2, true);
    EXPECT_EQ(255, palette[0].rgbRed);
    EXPECT_EQ(0, palette[3].rgbRed);

    // A directory may say its samples have no bits (libtiff refuses such
    // files today): the palette is the image's own grey ramp.
    CxTiffGreyPalette(palette, 256, 0, false);
    EXPECT_EQ(0, palette[0].rgbBlue);
    EXPECT_EQ(255, palette[255].rgbBlue);
}

namespace {

struct SampleLayout {
    uint32_t width;
    uint16_t samples;
    uint16_t bits;
    uint16_t photometric;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t format = SAMPLEFORMAT_UINT;
};

// A one-row TIFF of the given samples: one strip, or one strip a plane.
std::string SampleTiff(const SampleLayout& layout, const std::vector<std::string>& strips)
{
    CxMemFile stream;
    stream.Open();
    TIFF* tif = TIFFOpenEx(&stream, "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, layout.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 1);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, layout.bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, layout.samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, layout.photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, layout.planar);
    TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, layout.format);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1);
    uint16_t colours = layout.photometric == PHOTOMETRIC_RGB ? 3
                       : layout.photometric == PHOTOMETRIC_SEPARATED ? 4 : 1;
    if (layout.samples > colours) {
        uint16_t alpha = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &alpha);
    }
    for (size_t i = 0; i < strips.size(); ++i)
        TIFFWriteEncodedStrip(tif, (uint32_t)i, (void*)strips[i].data(), (tmsize_t)strips[i].size());
    TIFFClose(tif);
    return std::string((const char*)stream.GetBuffer(false), stream.Size());
}

}  // namespace

TEST(CxImageTIF, SamplesOfEveryDepthLayoutAndKind)
{
    // 12-bit grey: black and white.
    CxImage grey;
    ASSERT_TRUE(DecodeBytes(SampleTiff({ 2, 1, 12, PHOTOMETRIC_MINISBLACK },
                                       { std::string("\x00\x0F\xFF", 3) }),
                            grey, CXIMAGE_FORMAT_TIF)) << grey.GetLastError();
    EXPECT_EQ(RGB(0, 0, 0), ColourAt(grey, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), ColourAt(grey, 1, 0));

    // RGB of 4 bits a sample: F, 8, 0.
    CxImage rgb;
    ASSERT_TRUE(DecodeBytes(SampleTiff({ 1, 3, 4, PHOTOMETRIC_RGB }, { std::string("\xF8\x00", 2) }),
                            rgb, CXIMAGE_FORMAT_TIF)) << rgb.GetLastError();
    EXPECT_EQ(RGB(255, 136, 0), ColourAt(rgb, 0, 0));

    // Grey and alpha in planes of their own.
    SampleLayout planar = { 2, 2, 8, PHOTOMETRIC_MINISBLACK, PLANARCONFIG_SEPARATE };
    CxImage greyAlpha;
    ASSERT_TRUE(DecodeBytes(SampleTiff(planar, { std::string("\x0A\xC8", 2), std::string("\xFF\x40", 2) }),
                            greyAlpha, CXIMAGE_FORMAT_TIF)) << greyAlpha.GetLastError();
    ASSERT_TRUE(greyAlpha.AlphaIsValid());
    EXPECT_EQ(RGB(10, 10, 10), ColourAt(greyAlpha, 0, 0));
    EXPECT_EQ(RGB(200, 200, 200), ColourAt(greyAlpha, 1, 0));
    EXPECT_EQ(255, greyAlpha.AlphaGet(0, 0));
    EXPECT_EQ(0x40, greyAlpha.AlphaGet(1, 0));

    // Cyan ink with alpha keeps its alpha.
    CxImage cmyk;
    ASSERT_TRUE(DecodeBytes(SampleTiff({ 1, 5, 8, PHOTOMETRIC_SEPARATED },
                                       { std::string("\xFF\x00\x00\x00\x80", 5) }),
                            cmyk, CXIMAGE_FORMAT_TIF)) << cmyk.GetLastError();
    ASSERT_TRUE(cmyk.AlphaIsValid());
    EXPECT_EQ(RGB(0, 255, 255), ColourAt(cmyk, 0, 0));
    EXPECT_EQ(0x80, cmyk.AlphaGet(0, 0));

    // Floating-point grey is refused with its reason.
    CxImage floating;
    EXPECT_FALSE(DecodeBytes(SampleTiff({ 1, 1, 32, PHOTOMETRIC_MINISBLACK, PLANARCONFIG_CONTIG,
                                          SAMPLEFORMAT_IEEEFP },
                                        { std::string(4, '\0') }),
                             floating, CXIMAGE_FORMAT_TIF));
    EXPECT_STREQ("unsupported sample format", floating.GetLastError());

    // RGB of 4 bits that says it has one sample a pixel is refused, never
    // read past the row's samples.
    CxImage narrow;
    EXPECT_FALSE(DecodeBytes(SampleTiff({ 21, 1, 4, PHOTOMETRIC_RGB }, { std::string(11, '\x5A') }),
                             narrow, CXIMAGE_FORMAT_TIF));
    EXPECT_STREQ("too few samples per pixel", narrow.GetLastError());
}
