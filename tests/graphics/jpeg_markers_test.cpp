// The JPEG marker walk, the EXIF orientation read and rewrite, and
// the embedded thumbnail decoded by the system's picture loader.
#include "tests/support/gtest.h"

#include <string>

#include "codecs/ximage.h"
#include "graphics/jpeg_markers.h"
#include "graphics/win32_file.h"
#include "tests/graphics/file_builders.h"
#include "tests/support/test_files.h"

namespace {

using namespace filetest;

std::string WriteScratch(const std::string& name, const std::string& bytes)
{
    std::string path = testfiles::MakeScratchFolder("jpeg_markers") + "\\" + name;
    testfiles::WriteFileBytes(path, bytes);
    return path;
}

// The file system's index of the file at the path; 0 when it cannot be read.
uint64_t FileIndex(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION information = {};
    bool known = file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &information);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return known ? (uint64_t(information.nFileIndexHigh) << 32) | information.nFileIndexLow : 0;
}

int Orientation(std::string bytes, uint16_t newValue = 0, bool* patched = nullptr)
{
    return ExifOrientationTag(reinterpret_cast<BYTE*>(&bytes[0]),
                              static_cast<uint32_t>(bytes.size()), newValue, patched);
}

}  // namespace

TEST(JpegMarkers, ReadsTheOrientationInBothByteOrdersAndTypes)
{
    EXPECT_EQ(6, Orientation(ExifBody(false, 3, 6)));
    EXPECT_EQ(6, Orientation(ExifBody(true, 3, 6)));
    EXPECT_EQ(3, Orientation(ExifBody(true, 1, 3)));
    EXPECT_EQ(5, Orientation(ExifBody(false, 4, 0x10005)));  // long, masked to 16 bits
    EXPECT_EQ(0, Orientation(ExifBody(true, 2, 6)));          // ASCII is no orientation
    EXPECT_EQ(8, Orientation(WithApp1(ExifBody(false, 3, 8))));
}

TEST(JpegMarkers, WritesTheOrientationAsAShortInTheBlocksOrder)
{
    std::string big = ExifBody(false, 3, 6);
    bool patched = false;
    EXPECT_EQ(6, ExifOrientationTag(reinterpret_cast<BYTE*>(&big[0]),
                                    static_cast<uint32_t>(big.size()), 8, &patched));
    EXPECT_TRUE(patched);
    // The entry starts at 6 + 8 + 2: tag, type, count, value.
    EXPECT_EQ(std::string("\x00\x03", 2), big.substr(18, 2));
    EXPECT_EQ(std::string("\x00\x08", 2), big.substr(24, 2));
    EXPECT_EQ(8, Orientation(big));

    std::string asLong = ExifBody(true, 4, 6);
    ExifOrientationTag(reinterpret_cast<BYTE*>(&asLong[0]), static_cast<uint32_t>(asLong.size()),
                       2);
    EXPECT_EQ(std::string("\x03\x00", 2), asLong.substr(18, 2));
    EXPECT_EQ(2, Orientation(asLong));
}

TEST(JpegMarkers, RefusesMalformedBlocks)
{
    std::string body = ExifBody(true, 3, 6);
    EXPECT_EQ(0, Orientation(body.substr(0, 30)));  // 30 bytes are no EXIF block
    std::string wrongOrder = body;
    wrongOrder[6] = 'X';
    EXPECT_EQ(0, Orientation(wrongOrder));
    std::string farIfd = body;
    farIfd[10] = 0x7F;  // IFD0 offset far past the block
    EXPECT_EQ(0, Orientation(farIfd));
    std::string manyEntries = body;
    manyEntries[14] = static_cast<char>(0xFF);  // more entries than the block holds
    manyEntries[15] = static_cast<char>(0xFF);
    manyEntries[16] = 0x13;  // not the orientation tag: the walk runs to the end
    EXPECT_EQ(0, Orientation(manyEntries));

    // Start of scan first: no APP1.
    std::string scanFirst = std::string("\xFF\xD8", 2) + Segment(0xDA, "12345678") +
                            Segment(0xE1, body);
    EXPECT_EQ(0, Orientation(scanFirst));
    // Segment lengths below 2 or past the data.
    std::string jpeg = WithApp1(body);
    std::string tooShort = jpeg;
    tooShort[4] = 0;
    tooShort[5] = 1;
    EXPECT_EQ(0, Orientation(tooShort));
    std::string tooLong = jpeg;
    tooLong[4] = 0x7F;
    EXPECT_EQ(0, Orientation(tooLong));
}

TEST(JpegMarkers, EveryCutOfABlockIsSafe)
{
    std::string jpeg = WithApp1(ExifBody(false, 3, 6, std::string(40, 'x')));
    for (size_t cut = 0; cut <= jpeg.size(); ++cut) {
        std::string part = jpeg.substr(0, cut);
        if (part.empty())
            continue;
        Orientation(part, 3);
        const BYTE* data = reinterpret_cast<const BYTE*>(part.data());
        uint32_t length = static_cast<uint32_t>(part.size());
        bool found = FindExifThumbnail(data, length);
        if (cut < jpeg.size() - 2) {
            EXPECT_FALSE(found) << cut;
        }
    }
}

TEST(JpegMarkers, FindsTheThumbnailOnlyWithinTheBlock)
{
    std::string thumbnail(20, 'T');
    std::string body = ExifBody(true, 3, 1, thumbnail);
    const BYTE* data = reinterpret_cast<const BYTE*>(body.data());
    uint32_t length = static_cast<uint32_t>(body.size());
    ASSERT_TRUE(FindExifThumbnail(data, length));
    EXPECT_EQ(20u, length);
    EXPECT_EQ(thumbnail, std::string(reinterpret_cast<const char*>(data), length));

    std::string past = ExifBody(true, 3, 1, thumbnail, 1);
    data = reinterpret_cast<const BYTE*>(past.data());
    length = static_cast<uint32_t>(past.size());
    EXPECT_FALSE(FindExifThumbnail(data, length));
}

TEST(JpegMarkers, RewritesOnlyTheOrientationOfAFile)
{
    std::string jpeg = RealJpeg(16, 8);
    ASSERT_FALSE(jpeg.empty());
    std::string original = WithApp1(ExifBody(false, 3, 1), jpeg);
    std::string path = WriteScratch("turn.jpg", original);
    EXPECT_EQ(1, ReadJpegExifOrientation(path.c_str()));
    ASSERT_TRUE(WriteJpegExifOrientation(path.c_str(), 8));
    EXPECT_EQ(8, ReadJpegExifOrientation(path.c_str()));
    std::string after;
    ASSERT_TRUE(testfiles::ReadFileBytes(path, after));
    EXPECT_EQ(1, CountDifferentBytes(original, after));  // the low byte of the value

    std::string noTag = WriteScratch("plain.jpg", jpeg);
    EXPECT_EQ(0, ReadJpegExifOrientation(noTag.c_str()));
    EXPECT_FALSE(WriteJpegExifOrientation(noTag.c_str(), 6));
    std::string unchanged;
    ASSERT_TRUE(testfiles::ReadFileBytes(noTag, unchanged));
    EXPECT_EQ(jpeg, unchanged);
    EXPECT_FALSE(WriteJpegExifOrientation("Z:\\no\\such\\file.jpg", 6));
}

TEST(JpegMarkers, TheTurnedPhotoReplacesTheOldOneWhole)
{
    std::string original = WithApp1(ExifBody(false, 3, 1), RealJpeg(16, 8));
    std::string path = WriteScratch("replaced.jpg", original);
    // The turned photo is a new file put in the old one's place when whole,
    // not the old file written over: the file system gives it another index.
    uint64_t before = FileIndex(path);
    ASSERT_NE(0u, before);
    ASSERT_TRUE(WriteJpegExifOrientation(path.c_str(), 6));
    EXPECT_NE(before, FileIndex(path));
    EXPECT_EQ(6, ReadJpegExifOrientation(path.c_str()));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path.substr(0, path.rfind('\\')) + "\\*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search);  // no temporary file left behind
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST(JpegMarkers, DecodesTheEmbeddedThumbnailWithItsOrientation)
{
    std::string thumbnail = RealJpeg(8, 4);
    std::string big = RealJpeg(32, 16);
    ASSERT_FALSE(thumbnail.empty());
    std::string path = WriteScratch("camera.jpg", WithApp1(ExifBody(true, 3, 6, thumbnail), big));
    FILE* file = OpenWin32File(path.c_str(), "rb");
    ASSERT_NE(nullptr, file);
    JpegThumbInfo record;
    ASSERT_TRUE(ReadJpegThumbnail(file, record));
    fclose(file);
    EXPECT_EQ(6, record.kind);
    EXPECT_EQ(6, record.orientation);
    EXPECT_EQ((4u << 16) | 8u, record.size);
    BITMAP bitmap;
    ASSERT_EQ(static_cast<int>(sizeof(bitmap)), GetObject(record.bitmap, sizeof(bitmap), &bitmap));
    EXPECT_EQ(8, bitmap.bmWidth);
    EXPECT_EQ(4, bitmap.bmHeight);
    DeleteObject(record.bitmap);

    CxImage* image = LoadJpegOriented(path.c_str());
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(4u, image->GetWidth());  // orientation 6 turns it
    EXPECT_EQ(8u, image->GetHeight());
    delete image;

    std::string none = WriteScratch("none.jpg", WithApp1(ExifBody(true, 3, 6), big));
    EXPECT_EQ(nullptr, LoadJpegOriented(none.c_str()));
}

TEST(JpegMarkers, GarbageThumbnailBytesLoadNothing)
{
    std::string path =
        WriteScratch("garbage.jpg", WithApp1(ExifBody(true, 3, 1, std::string(64, '\x55'))));
    FILE* file = OpenWin32File(path.c_str(), "rb");
    ASSERT_NE(nullptr, file);
    JpegThumbInfo record;
    EXPECT_FALSE(ReadJpegThumbnail(file, record));
    EXPECT_EQ(0, record.kind);
    EXPECT_EQ(nullptr, record.bitmap);
    fclose(file);
}
