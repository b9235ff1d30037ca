// The hand-written decoders (GIF, PCX, TGA, ICO, WBMP, metafiles) fed with
// seeded mutations of valid files.
#include "tests/support/gtest.h"

#include "codecs/ximage.h"
#include "tests/support/mutation_harness.h"
#include "tests/support/mutation_metafiles.h"
#include "tests/support/reference_images.h"

namespace {

// A small picture with flat areas and noise.
CxImage* Picture(DWORD bpp, DWORD width = 21, DWORD height = 9)
{
    CxImage* image = new CxImage(width, height, bpp);
    if (image->IsIndexed())
        image->SetStdPalette();
    for (DWORD y = 0; y < height; ++y)
        for (DWORD x = 0; x < width; ++x)
            image->SetPixelColor(x, y, x < 6 ? RGB(0, 0, 255)
                                             : RGB(x * 19, y * 36, (x * y * 7) & 255));
    return image;
}

std::string EncodedPicture(DWORD bpp, DWORD type)
{
    CxImage* picture = Picture(bpp);
    std::string bytes = codectest::EncodeBytes(*picture, type);
    delete picture;
    return bytes;
}

void ExpectMutationsKeepTheContract(const std::string& valid, DWORD type, uint32_t seed,
                                    int cases)
{
    codectest::ExpectMutationsKeepTheContract(valid, type, seed, cases, 3000);
}

// Metafiles also must leave no GDI object behind.
void ExpectMetafileMutationsKeepTheContract(const std::string& valid, uint32_t seed, int cases)
{
    codectest::MutationOptions options = codectest::SeriesOptions(seed, cases, 6000);
    options.checkLeaks = true;
    codectest::ExpectSeriesKeepsTheContract(
        valid, codectest::DecodeCase(codectest::DecodeWithType(CXIMAGE_FORMAT_WMF)), "metafile",
        options);
}

}  // namespace

TEST(HandCodecMutations, Pcx)
{
    uint32_t seed = 101;
    for (DWORD bpp : { 1u, 4u, 8u, 24u })
        ExpectMutationsKeepTheContract(EncodedPicture(bpp, CXIMAGE_FORMAT_PCX),
                                       CXIMAGE_FORMAT_PCX, seed++, 600);
}

TEST(HandCodecMutations, Tga)
{
    uint32_t seed = 201;
    for (DWORD bpp : { 8u, 24u })
        ExpectMutationsKeepTheContract(EncodedPicture(bpp, CXIMAGE_FORMAT_TGA),
                                       CXIMAGE_FORMAT_TGA, seed++, 800);
    // Run-length packets that cross rows, 32 bits, top to bottom.
    std::string rle("\0\0\x0A\0\0\0\0\0\0\0\0\0\x05\0\x04\0\x20\x28", 18);
    rle += std::string("\x86\1\2\3\4\x02\5\6\7\x10\x11\x12\x13\x14\x15\x16\x17\x18"
                       "\x8A\x20\x21\x22\x23", 24);
    ExpectMutationsKeepTheContract(rle, CXIMAGE_FORMAT_TGA, 205, 1000);
}

TEST(HandCodecMutations, Wbmp)
{
    ExpectMutationsKeepTheContract(EncodedPicture(1, CXIMAGE_FORMAT_WBMP), CXIMAGE_FORMAT_WBMP,
                                   301, 800);
}

TEST(HandCodecMutations, Gif)
{
    uint32_t seed = 401;
    for (DWORD bpp : { 1u, 4u, 8u }) {
        CxImage* picture = Picture(bpp);
        for (DWORD option : { 0u, 1u, 2u }) {
            picture->SetCodecOption(option, CXIMAGE_FORMAT_GIF);
            ExpectMutationsKeepTheContract(codectest::EncodeBytes(*picture, CXIMAGE_FORMAT_GIF),
                                           CXIMAGE_FORMAT_GIF, seed++, 300);
        }
        delete picture;
    }
    // Tiles of a 24-bit picture: many frames without a global table.
    ExpectMutationsKeepTheContract(EncodedPicture(24, CXIMAGE_FORMAT_GIF), CXIMAGE_FORMAT_GIF,
                                   420, 600);
}

TEST(HandCodecMutations, Ico)
{
    uint32_t seed = 501;
    for (DWORD bpp : { 1u, 4u, 8u, 24u })
        ExpectMutationsKeepTheContract(EncodedPicture(bpp, CXIMAGE_FORMAT_ICO),
                                       CXIMAGE_FORMAT_ICO, seed++, 400);
    CxImage* picture = Picture(24);
    picture->AlphaCreate();
    picture->AlphaSet(3, 3, 0);
    ExpectMutationsKeepTheContract(codectest::EncodeBytes(*picture, CXIMAGE_FORMAT_ICO),
                                   CXIMAGE_FORMAT_ICO, 510, 400);
    delete picture;
}

TEST(HandCodecMutations, EnhancedMetafile)
{
    HDC dc = CreateEnhMetaFileA(NULL, NULL, NULL, NULL);
    Rectangle(dc, 0, 0, 30, 20);
    Ellipse(dc, 5, 5, 25, 15);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    std::string bytes(GetEnhMetaFileBits(metafile, 0, NULL), '\0');
    GetEnhMetaFileBits(metafile, (UINT)bytes.size(), (BYTE*)&bytes[0]);
    DeleteEnhMetaFile(metafile);
    ExpectMetafileMutationsKeepTheContract(bytes, 601, 300);
}

TEST(HandCodecMutations, RichEnhancedMetafile)
{
    ExpectMetafileMutationsKeepTheContract(codectest::RichEnhancedMetafile(), 602, 300);
}

TEST(HandCodecMutations, PlaceableMetafile)
{
    ExpectMetafileMutationsKeepTheContract(codectest::RichPlaceableMetafile(), 611, 300);
}
