// The raster document: loading by extension, EXIF orientation on load and
// on disk, saving, pages, PSD files and the EXIF summary text.
#include "tests/support/gtest.h"

#include <string.h>

#include <string>

#include "codecs/ximaexif.h"
#include "graphics/jpeg_markers.h"
#include "graphics/kimage.h"
#include "tests/graphics/file_builders.h"
#include "tests/support/test_files.h"

namespace {

using namespace filetest;

const KType::RPoint2D kOrigin = {0.0f, 0.0f};

COLORREF RedLeftBlueRight(int x, int, int width, int)
{
    return x < width / 2 ? RGB(255, 0, 0) : RGB(0, 0, 255);
}

std::string Folder()
{
    static std::string folder = testfiles::MakeScratchFolder("kimage");
    return folder;
}

std::string WriteFile(const std::string& name, const std::string& bytes)
{
    std::string path = Folder() + "\\" + name;
    testfiles::WriteFileBytes(path, bytes);
    return path;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsRed(RGBQUAD c)
{
    return c.rgbRed > 200 && c.rgbBlue < 60;
}

bool IsBlue(RGBQUAD c)
{
    return c.rgbBlue > 200 && c.rgbRed < 60;
}

// A raw 8-bit RGB PSD of 3 x 2 pixels.
std::string SmallPsd()
{
    PsdSpec spec;
    spec.imageData = std::string(18, '\x40');
    return BuildPsd(spec);
}

}  // namespace

TEST(KImage, LoadsByTheExtensionInAnyCase)
{
    std::string jpeg = RealJpeg(16, 8);
    ASSERT_FALSE(jpeg.empty());
    KImage image;
    ASSERT_TRUE(image.Load(WriteFile("X.JPG", jpeg).c_str(), kOrigin));
    EXPECT_EQ(3u, image.GetFormatId());
    EXPECT_STREQ("width:16 , height:8 , bits:24", image.GetInfo().GetText());
    EXPECT_EQ(24, image.GetBpp());

    EXPECT_FALSE(image.Load(WriteFile("x.jpe", jpeg).c_str(), kOrigin));
    EXPECT_EQ(0u, image.GetFormatId());
    ASSERT_NE(nullptr, image.GetImage());  // the old image is kept
    EXPECT_FALSE(image.Load(WriteFile("noextension", jpeg).c_str(), kOrigin));
    EXPECT_EQ(nullptr, KImage::LoadThumbnail((Folder() + "\\x.jpe").c_str(), -1));
    EXPECT_EQ(nullptr, KImage::LoadThumbnail((Folder() + "\\noextension").c_str(), -1));

    CxImage* thumbnail = KImage::LoadThumbnail((Folder() + "\\X.JPG").c_str(), -1);
    ASSERT_NE(nullptr, thumbnail);
    EXPECT_EQ(16u, thumbnail->GetWidth());
    delete thumbnail;
}

TEST(KImage, RefusesLongPathsAndBrokenFiles)
{
    KImage image;
    std::string longPath = "Z:\\" + std::string(600, 'a') + ".bmp";
    EXPECT_FALSE(image.Load(longPath.c_str(), kOrigin));
    EXPECT_FALSE(image.Load(WriteFile("broken.png", "not a png").c_str(), kOrigin));
    EXPECT_EQ(nullptr, image.GetImage());
    EXPECT_FALSE(image.Load((Folder() + "\\missing.bmp").c_str(), kOrigin));
    EXPECT_FALSE(image.Load(WriteFile("empty.bmp", "").c_str(), kOrigin));
}

TEST(KImage, AppliesTheExifOrientationOnLoad)
{
    std::string jpeg = RealJpeg(16, 8, RedLeftBlueRight);
    KImage image;
    std::string turned = WriteFile("turned.jpg", WithApp1(ExifBody(false, 3, 6), jpeg));
    ASSERT_TRUE(image.Load(turned.c_str(), kOrigin));
    CxImage* picture = image.GetImage();
    ASSERT_EQ(8u, picture->GetWidth());
    ASSERT_EQ(16u, picture->GetHeight());
    // Turned clockwise: the left (red) side is now on top. Row 0 is the
    // bottom row.
    EXPECT_TRUE(IsRed(picture->GetPixelColor(4, 14)));
    EXPECT_TRUE(IsBlue(picture->GetPixelColor(4, 1)));

    for (uint32_t odd : {0u, 1u, 9u, 300u}) {
        std::string path = WriteFile("odd.jpg", WithApp1(ExifBody(false, 3, odd), jpeg));
        ASSERT_TRUE(image.Load(path.c_str(), kOrigin));
        EXPECT_EQ(16u, image.GetImage()->GetWidth()) << odd;
    }
}

TEST(KImage, RotatesTheOrientationOnDisk)
{
    std::string jpeg = RealJpeg(16, 8);
    std::string original = WithApp1(ExifBody(true, 3, 1), jpeg);
    std::string path = WriteFile("rotate.jpg", original);
    KImage image;
    ASSERT_TRUE(image.Load(path.c_str(), kOrigin));
    ASSERT_TRUE(image.RotateExifOrientation(0));
    EXPECT_EQ(8, ReadJpegExifOrientation(path.c_str()));
    std::string after;
    ASSERT_TRUE(testfiles::ReadFileBytes(path, after));
    EXPECT_EQ(1, CountDifferentBytes(original, after));

    ASSERT_TRUE(image.RotateExifOrientation(1));  // right from 8 gives 1
    EXPECT_EQ(1, ReadJpegExifOrientation(path.c_str()));
    ASSERT_TRUE(image.RotateExifOrientation(2));
    EXPECT_EQ(2, ReadJpegExifOrientation(path.c_str()));
    ASSERT_TRUE(image.RotateExifOrientation(3));
    EXPECT_EQ(3, ReadJpegExifOrientation(path.c_str()));
    EXPECT_FALSE(image.RotateExifOrientation(4));

    std::string odd = WriteFile("odd_rotate.jpg", WithApp1(ExifBody(true, 3, 12), jpeg));
    ASSERT_TRUE(image.Load(odd.c_str(), kOrigin));
    ASSERT_TRUE(image.RotateExifOrientation(1));  // 12 counts as 1
    EXPECT_EQ(6, ReadJpegExifOrientation(odd.c_str()));

    std::string plain = WriteFile("plain.jpg", jpeg);
    ASSERT_TRUE(image.Load(plain.c_str(), kOrigin));
    EXPECT_FALSE(image.RotateExifOrientation(0));
    std::string unchanged;
    ASSERT_TRUE(testfiles::ReadFileBytes(plain, unchanged));
    EXPECT_EQ(jpeg, unchanged);
}

TEST(KImage, SavesByExtension)
{
    std::string jpeg = RealJpeg(16, 8);
    KImage image;
    ASSERT_TRUE(image.Load(WriteFile("save_source.jpg", jpeg).c_str(), kOrigin));
    std::string png = Folder() + "\\saved.PNG";
    ASSERT_TRUE(image.SaveAs(png.c_str(), 90));
    KImage reloaded;
    ASSERT_TRUE(reloaded.Load(png.c_str(), kOrigin));
    EXPECT_EQ(16u, reloaded.GetImage()->GetWidth());

    for (const char* name : {"\\saved.psd", "\\saved.mng", "\\saved.wmf", "\\saved.xyz"}) {
        EXPECT_FALSE(image.SaveAs((Folder() + name).c_str(), 90)) << name;
        EXPECT_FALSE(FileExists(Folder() + name)) << name;
    }

    // A GIF holds at most 8 bits: a deeper image is reduced on the way.
    std::string gif = Folder() + "\\saved.gif";
    if (image.SaveAs(gif.c_str(), 90)) {
        ASSERT_TRUE(reloaded.Load(gif.c_str(), kOrigin));
        EXPECT_EQ(8, reloaded.GetBpp());
        EXPECT_EQ(24, image.GetBpp());
    } else {
        EXPECT_FALSE(FileExists(gif));  // no GIF encoder in this build
    }
}

TEST(KImage, LoadsPsdWithItsColourMode)
{
    KImage image;
    ASSERT_TRUE(image.Load(WriteFile("small.psd", SmallPsd()).c_str(), kOrigin));
    EXPECT_EQ(18u, image.GetFormatId());
    EXPECT_STREQ("width:3 , height:2 , bits:24 [ RGB ]", image.GetInfo().GetText());
    RGBQUAD colour = image.GetImage()->GetPixelColor(1, 1);
    EXPECT_EQ(0x40, colour.rgbRed);
    CxImage* thumbnail = KImage::LoadThumbnail((Folder() + "\\small.psd").c_str(), -1);
    ASSERT_NE(nullptr, thumbnail);
    delete thumbnail;
    std::string version2 = SmallPsd();
    version2[5] = 2;
    EXPECT_FALSE(image.Load(WriteFile("v2.psd", version2).c_str(), kOrigin));
    EXPECT_EQ(nullptr, image.GetImage());
}

TEST(KImage, AFailedFrameDecodeLeavesNoImage)
{
    std::string jpeg = RealJpeg(16, 8);
    std::string path = WriteFile("frames.jpg", jpeg);
    KImage image;
    EXPECT_FALSE(image.DecodeFrame(0));  // nothing held
    ASSERT_TRUE(image.Load(path.c_str(), kOrigin));
    EXPECT_TRUE(image.DecodeFrame(0));
    EXPECT_NE(nullptr, image.GetImage());
    testfiles::WriteFileBytes(path, "gone");
    EXPECT_FALSE(image.DecodeFrame(0));
    EXPECT_EQ(nullptr, image.GetImage());
}

TEST(KImage, SummarisesTheExifRecord)
{
    CxExifRecord exif;
    memset(&exif, 0, sizeof(exif));
    exif.exposureProgram = 1;
    exif.apertureFNumber = 2.8f;
    exif.exposureTime = 0.004f;
    exif.flashUsed = -1;
    EXPECT_STREQ(" 0x0[ M: f/2.8 , 1/250s]", KImageExifSummary(exif).GetText());

    strcpy(exif.cameraMake, "Maker");
    strcpy(exif.cameraModel, "Model 7");
    strcpy(exif.dateTime, "2024:01:02 03:04:05");
    exif.width = 640;
    exif.height = 480;
    exif.flashUsed = 1;
    exif.exposureProgram = 2;
    exif.apertureFNumber = 0;
    exif.exposureTime = 2.0f;
    EXPECT_STREQ(" Model 7 640x480 Flashed[ A/P:)  2.000s ] 2024:01:02 03:04:05",
                 KImageExifSummary(exif).GetText());
    exif.flashUsed = 0;
    exif.exposureProgram = 0;
    exif.exposureTime = 0;
    exif.dateTime[0] = '\0';
    EXPECT_STREQ(" Model 7 640x480 ", KImageExifSummary(exif).GetText());

    std::string plain = WriteFile("noexif.jpg", RealJpeg(8, 8));
    EXPECT_STREQ("", KImage::GetInfoText(plain.c_str()).GetText());
    std::string withExif = WriteFile("exif.jpg", WithApp1(ExifBody(false, 3, 6), RealJpeg(8, 8)));
    EXPECT_FALSE(KImage::GetInfoText(withExif.c_str()).IsEmpty());
    EXPECT_STREQ("", KImage::GetInfoText((Folder() + "\\missing.jpg").c_str()).GetText());
}

TEST(KImage, DrawsItsEmbeddedRecordAtItsOrigin)
{
    KImage image;
    KType::RPoint2D origin = {10.0f, 5.0f};
    ASSERT_TRUE(image.Load(WriteFile("origin.jpg", RealJpeg(16, 8)).c_str(), origin));
    KWorldRect box = {0, 0, 0, 0};
    bool first = true;
    image.GetExtents(box, first);
    EXPECT_FALSE(first);
    EXPECT_EQ(10.0f, box.left);
    EXPECT_EQ(26.0f, box.right);
    EXPECT_EQ(5.0f, box.bottom);
    EXPECT_EQ(13.0f, box.top);
}
