// Decoders fed with thousands of seeded mutations of valid files.
#include "tests/support/gtest.h"

#include "codecs/ximage.h"
#include "codecs/xmemfile.h"
#include "tests/support/mutation_harness.h"

namespace {

std::string Encoded(CxImage& image, DWORD type)
{
    CxMemFile stream;
    if (!stream.Open() || !image.Encode(&stream, type))
        return std::string();
    return std::string((const char*)stream.GetBuffer(false), stream.Size());
}

// A small picture with some structure in it.
CxImage* Picture(DWORD bpp)
{
    CxImage* image = new CxImage(13, 7, bpp);
    if (image->IsIndexed())
        image->SetStdPalette();
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x)
            image->SetPixelColor(x, y, RGB(x * 19, y * 36, (x * y) & 255));
    return image;
}

void ExpectMutationsKeepTheContract(const std::string& valid, DWORD type, uint32_t seed,
                                    int cases)
{
    codectest::ExpectMutationsKeepTheContract(valid, type, seed, cases, 5000);  // six runs: at most half a minute
}

std::string Rle8File()
{
    // 8 x 4, runs, absolute runs and a delta.
    std::string info("\x28\0\0\0\x08\0\0\0\x04\0\0\0\1\0\x08\0\1\0\0\0", 20);
    info += std::string(20, '\0');
    std::string palette;
    for (int i = 0; i < 256; ++i)
        palette += std::string(3, (char)i) + '\0';
    std::string rle("\4\x10\0\4\1\2\3\4\0\0\0\3\5\6\7\0\0\2\1\1\x08\x20\0\1", 24);
    uint32_t offset = 14 + 40 + 1024, size = offset + (uint32_t)rle.size();
    std::string file = "BM";
    file += std::string((const char*)&size, 4) + std::string(4, '\0') +
            std::string((const char*)&offset, 4);
    return file + info + palette + rle;
}

}  // namespace

TEST(CodecMutations, BmpAtEveryDepth)
{
    uint32_t seed = 11;
    for (DWORD bpp : { 1u, 4u, 8u, 24u }) {
        CxImage* picture = Picture(bpp);
        ExpectMutationsKeepTheContract(Encoded(*picture, CXIMAGE_FORMAT_BMP), CXIMAGE_FORMAT_BMP,
                                       seed++, 1500);
        delete picture;
    }
}

TEST(CodecMutations, BmpRunLengthAndTypeZero)
{
    ExpectMutationsKeepTheContract(Rle8File(), CXIMAGE_FORMAT_BMP, 21, 1500);
    ExpectMutationsKeepTheContract(Rle8File(), CXIMAGE_FORMAT_UNKNOWN, 22, 600);
}
