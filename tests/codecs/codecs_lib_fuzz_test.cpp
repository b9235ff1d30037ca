// The library codecs' decoders fed with thousands of seeded mutations of
// valid files: each decode returns false with a message or a consistent
// image, and never crashes or hangs.
#include "tests/support/gtest.h"

#include "codecs/ximage.h"
#include "codecs/xmemfile.h"
#include "codecs/xtiffio.h"
#include "tests/support/mutation_harness.h"

#include "platform/native/native_begin.h"
#include <tiffio.h>
#include "platform/native/native_end.h"

namespace {

std::string Encoded(CxImage& image, DWORD type)
{
    CxMemFile stream;
    if (!stream.Open() || !image.Encode(&stream, type))
        return std::string();
    return std::string((const char*)stream.GetBuffer(false), stream.Size());
}

// A small picture with some structure in it.
CxImage* Picture(DWORD width, DWORD height, DWORD bpp)
{
    CxImage* image = new CxImage(width, height, bpp);
    if (image->IsIndexed())
        image->SetGrayPalette();
    for (DWORD y = 0; y < height; ++y)
        for (DWORD x = 0; x < width; ++x)
            image->SetPixelColor(x, y, RGB(x * 19, y * 36, (x * y) & 255));
    return image;
}

std::string EncodedPicture(DWORD bpp, DWORD type, DWORD option = 0)
{
    CxImage* picture = Picture(21, 11, bpp);
    picture->SetCodecOption(option, type);
    std::string bytes = Encoded(*picture, type);
    delete picture;
    return bytes;
}

void ExpectMutationsKeepTheContract(const std::string& valid, DWORD type, uint32_t seed,
                                    int cases)
{
    codectest::ExpectMutationsKeepTheContract(valid, type, seed, cases, 12000);
}

// An EXIF section with a sub-directory, a thumbnail and a comment.
std::string ExifSection()
{
    return std::string(
        "\xFF\xE1\0\x54" "Exif\0\0" "MM\0*\0\0\0\x08"
        "\0\x03"
        "\x01\x12\0\x03\0\0\0\x01\0\x06\0\0"
        "\x01\x1A\0\x05\0\0\0\x01\0\0\0\x32"
        "\x87\x69\0\x04\0\0\0\x01\0\0\0\x3A"
        "\0\0\0\0"
        "\0\0\x01\x2C\0\0\0\x01"
        "\0\x01"
        "\x92\x86\0\x07\0\0\0\x04Hey!"
        "\0\0\0\0"
        "\xFF\xFE\0\x06note", 94);
}

// A small TIFF that our encoder does not write: tiled, or 16-bit grey.
std::string LibtiffFile(bool tiled, uint16_t bits)
{
    CxMemFile stream;
    stream.Open();
    TIFF* tif = TIFFOpenEx(&stream, "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 21);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 11);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    std::string bytes(4096, '\x5A');
    if (tiled) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, 16);
        for (uint32_t x = 0; x < 21; x += 16)
            TIFFWriteTile(tif, &bytes[0], x, 0, 0, 0);
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 11);
        for (uint32_t y = 0; y < 11; ++y)
            TIFFWriteScanline(tif, &bytes[0], y, 0);
    }
    TIFFClose(tif);
    return std::string((const char*)stream.GetBuffer(false), stream.Size());
}

// Takes every row a decoder hands over and reads each of its bytes, and
// of its alpha, as a thumbnail's reduction does.
class ReadingSink : public CxRowSink {
public:
    bool WantsRows(DWORD, DWORD) override { return true; }
    void TakeRow(const CxImage& row) override
    {
        const BYTE* bits = row.GetBits(0);
        for (DWORD i = 0; i < row.GetEffWidth(); ++i)
            sum += bits[i];
        if (const BYTE* alpha = row.AlphaGetPointer())
            for (DWORD x = 0; x < row.GetWidth(); ++x)
                sum += alpha[x];
    }
    unsigned sum = 0;
};

// Mutations decoded with a sink that takes the rows.
void ExpectRowDecodesKeepTheContract(const std::string& valid, DWORD type, uint32_t seed, int cases)
{
    codectest::DecodeCall byRows = [type](const std::string& bytes, CxImage& image) {
        ReadingSink sink;
        image.SetRowSink(&sink);
        CxMemFile stream((BYTE*)bytes.data(), (DWORD)bytes.size());
        const bool decoded = image.Decode(&stream, type);
        image.SetRowSink(NULL);
        return decoded;
    };
    codectest::ExpectCasesKeepTheContract(valid, codectest::DecodeCase(byRows),
                                          "rows of format " + std::to_string(type), seed, cases, 12000);
}

}  // namespace

TEST(LibraryCodecMutations, JpegWithExif)
{
    std::string baseline = EncodedPicture(24, CXIMAGE_FORMAT_JPG);
    ASSERT_FALSE(baseline.empty());
    ExpectMutationsKeepTheContract(baseline.substr(0, 2) + ExifSection() + baseline.substr(2),
                                   CXIMAGE_FORMAT_JPG, 31, 1500);
    ExpectMutationsKeepTheContract(EncodedPicture(24, CXIMAGE_FORMAT_JPG, 0x10),
                                   CXIMAGE_FORMAT_JPG, 32, 800);
    ExpectMutationsKeepTheContract(EncodedPicture(8, CXIMAGE_FORMAT_JPG), CXIMAGE_FORMAT_UNKNOWN,
                                   33, 500);
}

TEST(LibraryCodecMutations, PngOfEveryKindWeWrite)
{
    uint32_t seed = 41;
    for (DWORD bpp : { 1u, 4u, 8u, 24u })
        ExpectMutationsKeepTheContract(EncodedPicture(bpp, CXIMAGE_FORMAT_PNG), CXIMAGE_FORMAT_PNG,
                                       seed++, 500);
    CxImage* rgba = Picture(21, 11, 24);
    rgba->AlphaCreate();
    rgba->AlphaSet(3, 3, 7);
    rgba->SetCodecOption(1, CXIMAGE_FORMAT_PNG);  // interlaced
    ExpectMutationsKeepTheContract(Encoded(*rgba, CXIMAGE_FORMAT_PNG), CXIMAGE_FORMAT_PNG, seed++,
                                   800);
    ExpectMutationsKeepTheContract(Encoded(*rgba, CXIMAGE_FORMAT_PNG), CXIMAGE_FORMAT_UNKNOWN,
                                   seed++, 400);
    rgba->SetCodecOption(0, CXIMAGE_FORMAT_PNG);
    ExpectRowDecodesKeepTheContract(Encoded(*rgba, CXIMAGE_FORMAT_PNG), CXIMAGE_FORMAT_PNG, seed++, 500);
    delete rgba;
    for (DWORD bpp : {4u, 8u, 24u})
        ExpectRowDecodesKeepTheContract(EncodedPicture(bpp, CXIMAGE_FORMAT_PNG), CXIMAGE_FORMAT_PNG, seed++,
                                        300);
}

TEST(LibraryCodecMutations, TiffStripsTilesAndCompressions)
{
    uint32_t seed = 51;
    ExpectMutationsKeepTheContract(EncodedPicture(1, CXIMAGE_FORMAT_TIF), CXIMAGE_FORMAT_TIF,
                                   seed++, 300);
    ExpectMutationsKeepTheContract(EncodedPicture(8, CXIMAGE_FORMAT_TIF), CXIMAGE_FORMAT_TIF,
                                   seed++, 400);
    ExpectMutationsKeepTheContract(EncodedPicture(24, CXIMAGE_FORMAT_TIF), CXIMAGE_FORMAT_TIF,
                                   seed++, 400);
    ExpectMutationsKeepTheContract(EncodedPicture(24, CXIMAGE_FORMAT_TIF, 1), CXIMAGE_FORMAT_TIF,
                                   seed++, 400);
    ExpectMutationsKeepTheContract(LibtiffFile(true, 8), CXIMAGE_FORMAT_TIF, seed++, 400);
    ExpectMutationsKeepTheContract(LibtiffFile(false, 16), CXIMAGE_FORMAT_UNKNOWN, seed++, 400);
    for (DWORD bpp : {1u, 8u, 24u})
        ExpectRowDecodesKeepTheContract(EncodedPicture(bpp, CXIMAGE_FORMAT_TIF), CXIMAGE_FORMAT_TIF, seed++,
                                        300);
    ExpectRowDecodesKeepTheContract(LibtiffFile(true, 8), CXIMAGE_FORMAT_TIF, seed++, 300);
}

TEST(LibraryCodecMutations, JpegTwoThousandPnmPgxAndSunRaster)
{
    uint32_t seed = 61;
    CxImage* colour = Picture(21, 11, 24);
    CxImage* grey = Picture(21, 11, 8);
    for (DWORD format : { (DWORD)CXIMAGE_FORMAT_JP2, (DWORD)CXIMAGE_FORMAT_JPC })
        ExpectMutationsKeepTheContract(Encoded(*colour, format), format, seed++, 300);
    ExpectMutationsKeepTheContract(Encoded(*grey, CXIMAGE_FORMAT_JP2), CXIMAGE_FORMAT_UNKNOWN,
                                   seed++, 200);
    for (DWORD format : { (DWORD)CXIMAGE_FORMAT_PNM, (DWORD)CXIMAGE_FORMAT_RAS })
        ExpectMutationsKeepTheContract(Encoded(*colour, format), format, seed++, 400);
    ExpectMutationsKeepTheContract(Encoded(*grey, CXIMAGE_FORMAT_PGX), CXIMAGE_FORMAT_PGX, seed++,
                                   400);
    delete colour;
    delete grey;

    std::string sixteenBit = std::string("P5\n3 2\n65535\n") + std::string(12, '\x7F');
    std::string text = "P3\n# comment\n2 2\n255\n1 2 3  4 5 6\n7 8 9 10 11 12\n";
    std::string bitmap = "P1\n5 3\n10101\n01010\n11111\n";
    std::string ras("\x59\xA6\x6A\x95\0\0\0\x03\0\0\0\x02\0\0\0\x08\0\0\0\x08\0\0\0\x02"
                    "\0\0\0\x01\0\0\0\x06\x10\x20\x30\x40\x50\x60\0\x01\x01\0\x80\x02\x01\0", 46);
    for (const std::string& bytes : { sixteenBit, text, bitmap, ras })
        ExpectMutationsKeepTheContract(bytes, CXIMAGE_FORMAT_PNM, seed++, 300);
}

TEST(LibraryCodecMutations, MngStreamsEndAtOnce)
{
    std::string mng = EncodedPicture(24, CXIMAGE_FORMAT_MNG);
    ExpectMutationsKeepTheContract(mng, CXIMAGE_FORMAT_MNG, 71, 600);
    ExpectMutationsKeepTheContract(mng, CXIMAGE_FORMAT_UNKNOWN, 72, 300);
}
