#include "tests/support/gtest.h"

#include <string.h>

#include "codecs/ximacodecs.h"
#include "codecs/ximage.h"
#include "codecs/xmemfile.h"
#include "tests/support/test_files.h"

namespace {

// A 24-bit image whose pixel (x, y) has blue x, green y, red x + y.
void FillCoordinates(CxImage& image)
{
    for (DWORD y = 0; y < image.GetHeight(); ++y)
        for (DWORD x = 0; x < image.GetWidth(); ++x)
            image.SetPixelColor(x, y, RGB(x + y, y, x));
}

}  // namespace

TEST(CxImageCreate, RefusesAnEmptySize)
{
    CxImage image;
    EXPECT_TRUE(image.Create(0, 10, 8, 0) == NULL);
    EXPECT_STREQ("CxImage::Create : width and height must be greater than zero",
                 image.GetLastError());
    EXPECT_FALSE(image.IsValid());
}

TEST(CxImageCreate, RoundsTheDepthUp)
{
    CxImage image;
    ASSERT_TRUE(image.Create(10, 10, 16, 0) != NULL);
    EXPECT_EQ(24, image.GetBpp());
    EXPECT_EQ(0u, image.GetNumColors());
    EXPECT_EQ(2, image.GetColorType());
    ASSERT_TRUE(image.Create(10, 10, 2, 0) != NULL);
    EXPECT_EQ(4, image.GetBpp());
    EXPECT_EQ(16u, image.GetNumColors());
    EXPECT_EQ(0, memcmp(image.GetPalette(), std::string(64, '\0').data(), 64));
    ASSERT_TRUE(image.Create(10, 10, 32, 0) != NULL);
    EXPECT_EQ(24, image.GetBpp());
}

TEST(CxImageCreate, RefusesWhatExceedsTheMemoryLimit)
{
    CxImage image;
    EXPECT_TRUE(image.Create(65536, 65536, 24, 0) == NULL);
    EXPECT_STREQ("CXIMAGE_MAX_MEMORY exceeded", image.GetLastError());
    // Products that would wrap around in 32 or 64 bits are refused too.
    EXPECT_TRUE(image.Create(0xFFFFFFFF, 0xFFFFFFFF, 24, 0) == NULL);
    EXPECT_STREQ("CXIMAGE_MAX_MEMORY exceeded", image.GetLastError());
    // Within the limit but beyond what a DIB block's 32-bit sizes hold.
    EXPECT_TRUE(image.Create(40000, 40000, 24, 0) == NULL);
    EXPECT_STREQ("CXIMAGE_MAX_MEMORY exceeded", image.GetLastError());
}

TEST(CxImageCreate, RowsArePaddedToFourBytes)
{
    CxImage image(1, 3, 24);
    EXPECT_EQ(4u, image.GetEffWidth());
    EXPECT_EQ(40u + 12u, image.GetSize());
    EXPECT_EQ(image.GetBits(0) + 8, image.GetBits(2));
    EXPECT_TRUE(image.GetBits(3) == NULL);
    CxImage empty;
    EXPECT_TRUE(empty.GetBits(0) == NULL);
    CxImage wide(33, 1, 1);
    EXPECT_EQ(8u, wide.GetEffWidth());
}

TEST(CxImageInfo, ResolutionAndStartValues)
{
    CxImage image;
    EXPECT_EQ(96, image.GetXDPI());
    EXPECT_EQ(90, image.GetJpegQuality());
    EXPECT_EQ(-1, image.GetTransIndex());
    EXPECT_FALSE(image.IsTransparent());
    image.SetXDPI(0);
    EXPECT_EQ(96, image.GetXDPI());
    image.SetXDPI(72);
    image.SetYDPI(-3);
    ASSERT_TRUE(image.Create(2, 2, 24, 0));
    const BITMAPINFOHEADER* block = (const BITMAPINFOHEADER*)image.GetDIB();
    EXPECT_EQ(2835, block->biXPelsPerMeter);
    EXPECT_EQ(3780, block->biYPelsPerMeter);
}

TEST(CxImageInfo, CodecOptionsByFormat)
{
    CxImage image(CXIMAGE_FORMAT_PNG);
    EXPECT_TRUE(image.SetCodecOption(7, CXIMAGE_FORMAT_UNKNOWN));
    EXPECT_EQ(7u, image.GetCodecOption(CXIMAGE_FORMAT_PNG));
    EXPECT_EQ(7u, image.GetCodecOption(0));
    EXPECT_FALSE(image.SetCodecOption(1, 17));
    EXPECT_EQ(0u, image.GetCodecOption(17));
}

TEST(CxImageInfo, TransparentColourComesFromThePaletteWhenIndexed)
{
    CxImage image(4, 4, 8);
    image.SetPaletteColor(5, 10, 20, 30);
    RGBQUAD colour = { 1, 2, 3, 99 };
    image.SetTransColor(colour);
    EXPECT_EQ(0, image.GetTransColor().rgbReserved);
    EXPECT_EQ(1, image.GetTransColor().rgbBlue);
    image.SetTransIndex(5);
    EXPECT_EQ(10, image.GetTransColor().rgbRed);
}

TEST(CxImageLife, CopyTakesPixelsPaletteAndPlanes)
{
    CxImage source(5, 3, 24);
    FillCoordinates(source);
    source.AlphaCreate();
    source.AlphaSet(1, 1, 7);
    source.SetXDPI(300);
    CxImage copy(source);
    ASSERT_TRUE(copy.IsValid());
    EXPECT_EQ(0, memcmp(source.GetDIB(), copy.GetDIB(), source.GetSize()));
    EXPECT_EQ(7, copy.AlphaGet(1, 1));
    EXPECT_EQ(300, copy.GetXDPI());
    EXPECT_NE(source.GetBits(), copy.GetBits());

    CxImage palette(4, 4, 8);
    palette.SetPaletteColor(3, 1, 2, 3);
    CxImage noPixels(palette, false, false, false);
    EXPECT_EQ(2, noPixels.GetPaletteColor(3).rgbGreen);
}

TEST(CxImageLife, TransferMovesEverything)
{
    CxImage source(3, 2, 8, CXIMAGE_FORMAT_GIF);
    source.SetPixelIndex(2, 1, 9);
    void* block = source.GetDIB();
    CxImage target(7, 7, 24);
    ASSERT_TRUE(target.Transfer(source));
    EXPECT_EQ(block, target.GetDIB());
    EXPECT_EQ(9, target.GetPixelIndex(2, 1));
    EXPECT_EQ((DWORD)CXIMAGE_FORMAT_GIF, target.GetType());
    EXPECT_FALSE(source.IsValid());
    EXPECT_EQ(0u, source.GetWidth());
}

TEST(CxImageLife, GhostBorrowsAndNeverFrees)
{
    CxImage owner(4, 4, 24);
    {
        CxImage ghost;
        ghost.Ghost(&owner);
        EXPECT_EQ(owner.GetDIB(), ghost.GetDIB());
        EXPECT_FALSE(ghost.Destroy());
        EXPECT_TRUE(ghost.Create(2, 2, 8) == NULL);
        ghost.Ghost(NULL);
        EXPECT_EQ(owner.GetDIB(), ghost.GetDIB());
    }
    EXPECT_TRUE(owner.IsValid());
    // A copy of a ghost owns its own buffers.
    CxImage ghost;
    ghost.Ghost(&owner);
    CxImage copy(ghost);
    EXPECT_NE(owner.GetDIB(), copy.GetDIB());
    EXPECT_TRUE(copy.Destroy());
}

TEST(CxImageDispatch, UnknownAndRefusedRequests)
{
    CxImage image(2, 2, 24);
    CxMemFile stream;
    ASSERT_TRUE(stream.Open());
    EXPECT_FALSE(image.Encode(&stream, CXIMAGE_FORMAT_UNKNOWN));
    EXPECT_STREQ("Encode: Unknown format", image.GetLastError());
    EXPECT_FALSE(image.Encode(&stream, 17));
    EXPECT_STREQ("Encode: Unknown format", image.GetLastError());
    EXPECT_FALSE(image.Encode((CxFile*)NULL, CXIMAGE_FORMAT_BMP));
    EXPECT_STREQ("null file handler", image.GetLastError());
    CxImage empty;
    EXPECT_FALSE(empty.Encode(&stream, CXIMAGE_FORMAT_BMP));
    EXPECT_STREQ("null image!!!", empty.GetLastError());

    BYTE garbage[64];
    memset(garbage, 0x5A, sizeof(garbage));
    EXPECT_FALSE(image.Decode(garbage, sizeof(garbage), CXIMAGE_FORMAT_UNKNOWN));
    EXPECT_STREQ("Decode: Unknown or wrong format", image.GetLastError());
    EXPECT_FALSE(image.Decode(garbage, sizeof(garbage), 99));
    EXPECT_STREQ("Decode: Unknown or wrong format", image.GetLastError());
}

TEST(CxImageDispatch, EveryFormatHasARow)
{
    for (DWORD format = 1; format < CMAX_IMAGE_FORMATS; ++format) {
        const CxCodecRow* row = CxFindCodec(format);
        ASSERT_TRUE(row != NULL);
        EXPECT_EQ(format, row->format);
        CxImage image(2, 2, 24);
        BYTE bytes[4] = { 0 };
        if (!row->decode) {
            EXPECT_FALSE(image.Decode(bytes, sizeof(bytes), format));
            EXPECT_NE(std::string(), image.GetLastError());
        }
    }
    EXPECT_TRUE(CxFindCodec(0) == NULL);
    EXPECT_TRUE(CxFindCodec(17) == NULL);
}

TEST(CxImageDispatch, TypeZeroFindsABmpAfterTheStreamStart)
{
    CxImage source(3, 2, 24);
    FillCoordinates(source);
    CxMemFile stream;
    ASSERT_TRUE(stream.Open());
    stream.Write("xyz", 3, 1);
    ASSERT_TRUE(source.Encode(&stream, CXIMAGE_FORMAT_BMP));
    ASSERT_TRUE(stream.Seek(3, SEEK_SET));
    CxImage decoded;
    ASSERT_TRUE(decoded.Decode(&stream, CXIMAGE_FORMAT_UNKNOWN)) << decoded.GetLastError();
    EXPECT_EQ((DWORD)CXIMAGE_FORMAT_BMP, decoded.GetType());
    EXPECT_EQ(0, memcmp(source.GetBits(), decoded.GetBits(), source.GetSize() - 40));
}

TEST(CxImageSave, WritesTheFileAndKeepsTheOldOneOnFailure)
{
    std::string folder = testfiles::MakeScratchFolder("save");
    std::string path = folder + "\\picture.bmp";
    ASSERT_TRUE(testfiles::WriteFileBytes(path, "old contents"));

    CxImage empty;
    EXPECT_FALSE(empty.Save(path.c_str(), CXIMAGE_FORMAT_BMP));
    EXPECT_STREQ("null image!!!", empty.GetLastError());
    CxImage image(3, 2, 24);
    FillCoordinates(image);
    EXPECT_FALSE(image.Save(path.c_str(), CXIMAGE_FORMAT_UNKNOWN));
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(path, bytes));
    EXPECT_EQ("old contents", bytes);

    ASSERT_TRUE(image.Save(path.c_str(), CXIMAGE_FORMAT_BMP)) << image.GetLastError();
    ASSERT_TRUE(testfiles::ReadFileBytes(path, bytes));
    EXPECT_EQ((size_t)14 + 40 + 12 * 2, bytes.size());
    // No temporary file is left behind.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    EXPECT_FALSE(image.Save((folder + "\\missing\\x.bmp").c_str(), CXIMAGE_FORMAT_BMP));
}

TEST(CxImageGdi, BitmapRoundTrip)
{
    CxImage image(5, 4, 24);
    FillCoordinates(image);
    for (HDC dc : { (HDC)NULL, GetDC(NULL) }) {
        HBITMAP bitmap = image.MakeBitmap(dc);
        ASSERT_TRUE(bitmap != NULL);
        CxImage back;
        ASSERT_TRUE(back.CreateFromHBITMAP(bitmap));
        EXPECT_EQ(5u, back.GetWidth());
        EXPECT_EQ(4u, back.GetHeight());
        RGBQUAD colour = back.GetPixelColor(4, 3, false);
        EXPECT_EQ(4, colour.rgbBlue);
        EXPECT_EQ(3, colour.rgbGreen);
        EXPECT_EQ(7, colour.rgbRed);
        DeleteObject(bitmap);
        if (dc)
            ReleaseDC(NULL, dc);
    }
    CxImage empty;
    EXPECT_TRUE(empty.MakeBitmap(NULL) == NULL);
    EXPECT_FALSE(empty.CreateFromHBITMAP(NULL));
}

TEST(CxImageGdi, StretchDrawsOntoAMemoryDevice)
{
    CxImage image(2, 2, 24);
    image.Clear(0);
    image.SetPixelColor(0, 1, RGB(255, 0, 0));  // top-left on screen
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(NULL, screen);
    HGDIOBJ old = SelectObject(memory, target);
    EXPECT_EQ(1, image.Stretch(memory, 0, 0, 8, 8));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(memory, 1, 1));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(memory, 6, 6));
    EXPECT_EQ(0, image.Stretch(NULL, 0, 0, 8, 8));
    CxImage empty;
    EXPECT_EQ(0, empty.Stretch(memory, 0, 0, 8, 8));
    SelectObject(memory, old);
    DeleteObject(target);
    DeleteDC(memory);
}
