// The raster document's readers fed with seeded mutations of valid files:
// the JPEG marker and EXIF walker, the embedded thumbnail, and KImage
// loading by extension. Each case fails cleanly or gives a whole picture.
#include "tests/support/gtest.h"

#include <string>
#include <utility>

#include "codecs/ximage.h"
#include "graphics/jpeg_markers.h"
#include "graphics/kimage.h"
#include "tests/graphics/file_builders.h"
#include "tests/support/mutation_harness.h"
#include "tests/support/mutation_metafiles.h"
#include "tests/support/reference_images.h"
#include "tests/support/test_files.h"

namespace {

using namespace filetest;

const KType::RPoint2D kOrigin = {0.0f, 0.0f};

std::string CasePath(const std::string& extension)
{
    static std::string folder = testfiles::MakeScratchFolder("raster-mutations");
    return folder + "\\case." + extension;
}

// A JPEG whose EXIF block holds an orientation and a thumbnail JPEG.
std::string JpegWithThumbnail()
{
    return WithApp1(ExifBody(false, 3, 6, RealJpeg(8, 6)), RealJpeg(24, 16));
}

std::string MarkersCase(const std::string& bytes, bool& decoded)
{
    std::string copy = bytes;
    BYTE* data = reinterpret_cast<BYTE*>(&copy[0]);
    uint32_t length = static_cast<uint32_t>(copy.size());
    ExifOrientationTag(data, length, 0);
    ExifOrientationTag(data, length, 3);
    const BYTE* thumbnail = data;
    uint32_t thumbnailLength = length;
    if (FindExifThumbnail(thumbnail, thumbnailLength) &&
        (thumbnail < data || thumbnail + thumbnailLength > data + length))
        return "thumbnail outside the file";
    std::string path = CasePath("jpg");
    testfiles::WriteFileBytes(path, bytes);
    CxImage* image = LoadJpegOriented(path.c_str());
    decoded = image != nullptr;
    std::string problem = image ? codectest::CheckDecodeResult(true, *image) : std::string();
    delete image;
    KImage::GetInfoText(path.c_str());
    return problem;
}

// KImage's loading of the bytes under a name with the extension.
codectest::CaseCall LoadAs(const std::string& extension)
{
    return [extension](const std::string& bytes, bool& decoded) {
        std::string path = CasePath(extension);
        testfiles::WriteFileBytes(path, bytes);
        KImage image;
        decoded = image.Load(path.c_str(), kOrigin);
        if (decoded != (image.GetImage() != nullptr))
            return std::string("the result and the image disagree");
        return decoded ? codectest::CheckDecodeResult(true, *image.GetImage()) : std::string();
    };
}

}  // namespace

TEST(RasterMutations, JpegMarkersAndThumbnail)
{
    codectest::ExpectCasesKeepTheContract(JpegWithThumbnail(), MarkersCase, "jpeg markers", 701,
                                          300, 5000);
}

TEST(RasterMutations, DocumentLoadsByExtension)
{
    CxImage picture(19, 9, 24);
    for (int x = 0; x < 19; ++x)
        picture.SetPixelColor(x, x % 9, RGB(x * 13, 200, 40));
    struct Format {
        const char* extension;
        DWORD type;
    };
    const Format formats[] = { { "bmp", CXIMAGE_FORMAT_BMP }, { "png", CXIMAGE_FORMAT_PNG },
                               { "gif", CXIMAGE_FORMAT_GIF }, { "tga", CXIMAGE_FORMAT_TGA } };
    uint32_t seed = 711;
    for (const Format& format : formats) {
        CxImage copy(picture);
        if (format.type == CXIMAGE_FORMAT_GIF)
            copy.DecreaseBpp(8, false);
        codectest::ExpectCasesKeepTheContract(codectest::EncodeBytes(copy, format.type),
                                              LoadAs(format.extension),
                                              std::string("document ") + format.extension, seed++,
                                              150, 2000);
    }
    codectest::ExpectCasesKeepTheContract(JpegWithThumbnail(), LoadAs("jpg"), "document jpg",
                                          seed++, 150, 2000);
}

// The roads of their own: metafiles played by GDI, PSD files through their
// reader and a bitmap of the screen.
TEST(RasterMutations, DocumentLoadsMetafilesAndPsd)
{
    uint32_t seed = 721;
    PsdSpec psd;
    psd.width = 7;
    psd.height = 5;
    psd.imageData = std::string(7 * 5 * 3, '\x60');
    const std::pair<const char*, std::string> others[] = {
        { "emf", codectest::RichEnhancedMetafile() },
        { "wmf", codectest::RichPlaceableMetafile() },
        { "psd", BuildPsd(psd) } };
    for (const auto& other : others)
        codectest::ExpectCasesKeepTheContract(other.second, LoadAs(other.first),
                                              std::string("document ") + other.first, seed++,
                                              150, 2000);
}
