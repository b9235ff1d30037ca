// TIFF samples of every size and kind that the raster suites hold (grey of
// 1 to 32 bits either way round, signed samples, colours multiplied by
// their alpha), written with libtiff and decoded as libtiff's RGBA reader
// (tiff2rgba) gives them, or as ImageMagick does where libtiff refuses.
#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include "codecs/ximatif.h"
#include "codecs/xmemfile.h"
#include "codecs/xtiffio.h"
#include "tests/support/reference_images.h"
#include "tests/support/test_files.h"
#include "tests/support/unix_tools.h"

#include "platform/native/native_begin.h"
#include <tiffio.h>
#include "platform/native/native_end.h"

using codectest::CountMismatches;
using codectest::DecodeBytes;
using codectest::PixelCheck;

namespace {

const uint32_t kWidth = 64;
const uint32_t kHeight = 4;

struct Layout {
    uint16_t bits;
    uint16_t photometric;
    uint16_t samples = 1;
    uint16_t format = SAMPLEFORMAT_UINT;
    uint16_t extra = EXTRASAMPLE_UNSPECIFIED;  // the kind of a sample after the colours
    bool bigEndian = false;
};

uint64_t Maximum(uint16_t bits)
{
    return bits >= 32 ? 0xFFFFFFFFull : ((uint64_t)1 << bits) - 1;
}

// Sample s of pixel (x, y): ramps over every level, and an alpha that the
// colours never exceed when they are multiplied by it.
uint64_t SampleValue(const Layout& layout, uint32_t x, uint32_t y, uint16_t s)
{
    uint64_t maximum = Maximum(layout.bits);
    uint64_t level = (uint64_t)((x * 7 + y * 13 + s * 29) % kWidth) * maximum / (kWidth - 1);
    if (layout.samples == 1 || s + 1 < layout.samples)
        return layout.extra == EXTRASAMPLE_ASSOCALPHA
                   ? level * SampleValue(layout, x, y, layout.samples - 1) / maximum
                   : level;
    return maximum - (uint64_t)(x % 16) * maximum / 17;  // alpha
}

// A TIFF of the layout, one strip, written by libtiff (which stores the
// samples of 16 bits and more in the file's byte order).
std::string WriteTiff(const Layout& layout)
{
    CxMemFile stream;
    stream.Open();
    TIFF* tif = TIFFOpenEx(&stream, layout.bigEndian ? "wb" : "wl");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, layout.bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, layout.samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, layout.photometric);
    TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, layout.format);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kHeight);
    uint16_t colours = layout.photometric == PHOTOMETRIC_RGB ? 3 : 1;
    if (layout.samples > colours)
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &layout.extra);
    size_t lineBytes = ((size_t)kWidth * layout.samples * layout.bits + 7) / 8;
    std::vector<BYTE> strip(lineBytes * kHeight, 0);
    for (uint32_t y = 0; y < kHeight; ++y) {
        BYTE* line = &strip[y * lineBytes];
        for (uint32_t i = 0; i < kWidth * layout.samples; ++i) {
            uint64_t value = SampleValue(layout, i / layout.samples, y, i % layout.samples);
            if (layout.bits == 16 || layout.bits == 32 || layout.bits == 24) {
                // Machine order: libtiff swaps whole samples for the file.
                for (int k = 0; k < layout.bits / 8; ++k)
                    line[i * (layout.bits / 8) + k] = (BYTE)(value >> (8 * k));
                continue;
            }
            for (uint16_t k = 0; k < layout.bits; ++k) {
                uint64_t bit = (uint64_t)i * layout.bits + k;
                if ((value >> (layout.bits - 1 - k)) & 1)
                    line[bit / 8] |= (BYTE)(0x80 >> (bit % 8));
            }
        }
    }
    TIFFWriteEncodedStrip(tif, 0, strip.data(), (tmsize_t)strip.size());
    TIFFClose(tif);
    return std::string((const char*)stream.GetBuffer(false), stream.Size());
}

std::string ScratchFile(const std::string& name, const std::string& bytes)
{
    static std::string folder = testfiles::MakeScratchFolder("tiff-samples");
    std::string path = folder + "\\" + name;
    testfiles::WriteFileBytes(path, bytes);
    return path;
}

// libtiff's RGBA reading of a file as rows from the top of red, green,
// blue and alpha (colours no longer multiplied by the alpha); false when
// libtiff refuses the file.
bool ReadWithLibtiffRgba(const std::string& file, std::string& rgba)
{
    std::string raster = file + ".rgba.tif";
    if (codectest::RunUnixProgram("/usr/bin/tiff2rgba -c none " + codectest::UnixPath(file) +
                                  " " + codectest::UnixPath(raster)) != 0)
        return false;
    return codectest::ReadWithImageMagickRgba(raster, rgba);
}

std::string Name(const Layout& layout)
{
    return "b" + std::to_string(layout.bits) + "-p" + std::to_string(layout.photometric) + "-s" +
           std::to_string(layout.samples) + "-f" + std::to_string(layout.format) + "-e" +
           std::to_string(layout.extra) + (layout.bigEndian ? "-mm" : "-ii") + ".tif";
}

}  // namespace

TEST(TiffSamples, GreyOfEveryDepthEitherWayRoundAsTheReferences)
{
    for (uint16_t bits : { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 24, 32 }) {
        for (bool bigEndian : { false, true }) {
            Layout black = { bits, PHOTOMETRIC_MINISBLACK };
            black.bigEndian = bigEndian;
            Layout white = black;
            white.photometric = PHOTOMETRIC_MINISWHITE;
            CxImage blackImage, whiteImage;
            ASSERT_TRUE(DecodeBytes(WriteTiff(black), blackImage, CXIMAGE_FORMAT_TIF))
                << Name(black) << ": " << blackImage.GetLastError();
            ASSERT_TRUE(DecodeBytes(WriteTiff(white), whiteImage, CXIMAGE_FORMAT_TIF))
                << Name(white) << ": " << whiteImage.GetLastError();
            std::string reference;
            for (const Layout* layout : { &black, &white }) {
                std::string file = ScratchFile(Name(*layout), WriteTiff(*layout));
                const CxImage& image = layout == &black ? blackImage : whiteImage;
                if (ReadWithLibtiffRgba(file, reference)) {
                    EXPECT_EQ(0, CountMismatches(image, reference)) << Name(*layout) << " libtiff";
                    continue;
                }
                // libtiff reads grey of 1, 2, 4, 8 and 16 bits. ImageMagick
                // reads the others (except 24 bits, which it garbles) the
                // right way round when black is zero.
                if (layout == &black && bits != 24) {
                    ASSERT_TRUE(codectest::ReadWithImageMagickRgba(file, reference));
                    EXPECT_EQ(0, CountMismatches(image, reference)) << Name(*layout) << " IM";
                }
            }
            // White is zero: every pixel the other way round.
            for (uint32_t y = 0; y < kHeight; ++y)
                for (uint32_t x = 0; x < kWidth; ++x)
                    ASSERT_EQ(255 - blackImage.GetPixelColor(x, y).rgbGreen,
                              whiteImage.GetPixelColor(x, y).rgbGreen)
                        << Name(white) << " at " << x << ", " << y;
            // The darkest and lightest levels are black and white.
            EXPECT_EQ(0, blackImage.GetPixelColor(0, kHeight - 1).rgbRed) << Name(black);
            EXPECT_EQ(255, blackImage.GetPixelColor(9, kHeight - 1).rgbRed) << Name(black);
        }
    }
}

TEST(TiffSamples, SignedSamplesAreTakenByTheirBitsAsLibtiffDoes)
{
    for (uint16_t bits : { 8, 16 }) {
        for (uint16_t photometric : { PHOTOMETRIC_MINISBLACK, PHOTOMETRIC_RGB }) {
            Layout layout = { bits, photometric, photometric == PHOTOMETRIC_RGB ? (uint16_t)3 : (uint16_t)1,
                              SAMPLEFORMAT_INT };
            std::string bytes = WriteTiff(layout);
            CxImage image;
            ASSERT_TRUE(DecodeBytes(bytes, image, CXIMAGE_FORMAT_TIF))
                << Name(layout) << ": " << image.GetLastError();
            std::string reference;
            ASSERT_TRUE(ReadWithLibtiffRgba(ScratchFile(Name(layout), bytes), reference));
            EXPECT_EQ(0, CountMismatches(image, reference)) << Name(layout);
        }
    }
}

TEST(TiffSamples, ColoursMultipliedByAlphaAsLibtiffAndImageMagick)
{
    for (uint16_t bits : { 8, 16 }) {
        for (uint16_t extra : { EXTRASAMPLE_ASSOCALPHA, EXTRASAMPLE_UNASSALPHA }) {
            Layout layout = { bits, PHOTOMETRIC_RGB, 4 };
            layout.extra = extra;
            std::string bytes = WriteTiff(layout);
            std::string file = ScratchFile(Name(layout), bytes);
            CxImage image;
            ASSERT_TRUE(DecodeBytes(bytes, image, CXIMAGE_FORMAT_TIF))
                << Name(layout) << ": " << image.GetLastError();
            ASSERT_TRUE(image.AlphaIsValid());
            PixelCheck check;
            check.compareAlpha = true;
            // The references bring the colours back from 8 bits (libtiff)
            // or in their own rounding (ImageMagick): one step apart.
            check.tolerance = 1;
            std::string reference;
            ASSERT_TRUE(codectest::ReadWithImageMagickRgba(file, reference));
            EXPECT_EQ(0, CountMismatches(image, reference, check)) << Name(layout) << " IM";
            // libtiff's 8 bits lose more of a faint colour: only its alpha
            // and the opaque colours are compared with it.
            ASSERT_TRUE(ReadWithLibtiffRgba(file, reference));
            for (uint32_t row = 0; row < kHeight; ++row) {
                for (uint32_t x = 0; x < kWidth; ++x) {
                    const BYTE* expected = (const BYTE*)reference.data() + 4 * (row * kWidth + x);
                    DWORD y = kHeight - 1 - row;
                    EXPECT_NEAR(expected[3], image.AlphaGet(x, y), 1) << Name(layout);
                    if (expected[3] == 255)
                        EXPECT_NEAR(expected[0], image.GetPixelColor(x, y).rgbRed, 1);
                }
            }
        }
    }
}
