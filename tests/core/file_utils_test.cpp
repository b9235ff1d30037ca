#include "tests/support/gtest.h"

#include <string>

#include "core/file_utils.h"
#include "core/path_parts.h"
#include "platform/classlib/file.h"
#include "tests/support/test_files.h"

namespace {

TEST(PathPartsTest, SplitsLikeTheRuntime)
{
    PathParts parts("C:\\a\\b.tar.jpg");
    EXPECT_STREQ("C:", parts.drive);
    EXPECT_STREQ("\\a\\", parts.folder);
    EXPECT_STREQ("b.tar", parts.name);
    EXPECT_STREQ(".jpg", parts.extension);

    parts.Split("dir.x\\file");
    EXPECT_STREQ("", parts.drive);
    EXPECT_STREQ("dir.x\\", parts.folder);
    EXPECT_STREQ("file", parts.name);
    EXPECT_STREQ("", parts.extension);

    parts.Split(".txt");
    EXPECT_STREQ("", parts.name);
    EXPECT_STREQ(".txt", parts.extension);

    parts.Split("a/b/c.d");
    EXPECT_STREQ("a/b/", parts.folder);

    parts.Split(nullptr);
    EXPECT_STREQ("", parts.Join());
}

TEST(PathPartsTest, DoubleByteTrailBytesNeverSplit)
{
    // 0x95 0x5C is one GBK character whose trail byte is a backslash; the
    // second one's trail byte is a dot.
    PathParts parts("C:\\d\\ab\x95\x5C" "c\x81\x2E" "e.dwg");
    EXPECT_STREQ("\\d\\", parts.folder);
    EXPECT_STREQ("ab\x95\x5C" "c\x81\x2E" "e", parts.name);
    EXPECT_STREQ(".dwg", parts.extension);
}

TEST(PathTextTest, DirNameExtAndReplacement)
{
    EXPECT_STREQ("C:\\x\\", GetFileDir("C:\\x\\y.dwg"));
    EXPECT_STREQ("", GetFileDir("y.dwg"));
    EXPECT_STREQ("y.dwg", GetFileNameExt("C:\\x\\y.dwg"));
    EXPECT_STREQ(".dwg", GetFileExt("C:\\x\\y.dwg"));
    EXPECT_STREQ("", GetFileExt("C:\\x.y\\z"));
    EXPECT_STREQ("C:\\x\\y.bmp", ReplaceFileExt("C:\\x\\y.dwg", ".bmp"));
    EXPECT_STREQ("C:\\x\\y", ReplaceFileExt("C:\\x\\y.dwg", nullptr));
}

class FileTestsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = testfiles::MakeScratchFolder("fileutils");
        file = folder + "\\a.txt";
        ASSERT_TRUE(testfiles::WriteFileBytes(file, "12345"));
    }
    std::string folder;
    std::string file;
};

TEST_F(FileTestsTest, ExistsTellsFilesFromFolders)
{
    EXPECT_TRUE(FileExists(file.c_str()));
    EXPECT_FALSE(FileExists(folder.c_str()));
    EXPECT_FALSE(FileExists((folder + "\\missing.txt").c_str()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(DirectoryExists(folder.c_str()));
    EXPECT_TRUE(DirectoryExists((folder + "\\").c_str()));
    EXPECT_FALSE(DirectoryExists(file.c_str()));
    EXPECT_FALSE(DirectoryExists((folder + "\\missing").c_str()));
}

TEST_F(FileTestsTest, WildcardsNameNothing)
{
    EXPECT_FALSE(FileExists((folder + "\\*.txt").c_str()));
    EXPECT_FALSE(FileExists((folder + "\\a.tx?").c_str()));
    EXPECT_FALSE(DirectoryExists((folder + "*").c_str()));
    EXPECT_EQ(0u, GetFileSizeByName((folder + "\\*").c_str()));
}

TEST_F(FileTestsTest, DriveRootsCountByTheirKind)
{
    EXPECT_TRUE(DirectoryExists("C:\\"));
    char missing[] = "?:\\";
    for (char letter = 'Y'; letter > 'D'; --letter) {
        missing[0] = letter;
        if (GetDriveTypeA(missing) == DRIVE_NO_ROOT_DIR)
            break;
    }
    EXPECT_FALSE(DirectoryExists(missing));
}

TEST_F(FileTestsTest, SizesAndTimes)
{
    EXPECT_EQ(5u, GetFileSizeByName(file.c_str()));
    EXPECT_EQ(0u, GetFileSizeByName((folder + "\\missing").c_str()));

    // A sparse file of 5 GB.
    std::string big = folder + "\\big.bin";
    HANDLE handle = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    LARGE_INTEGER size;
    size.QuadPart = 5LL << 30;
    ASSERT_TRUE(SetFilePointerEx(handle, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(handle));
    CloseHandle(handle);
    EXPECT_EQ(5ULL << 30, GetFileSizeByName(big.c_str()));
    DeleteFileA(big.c_str());

    SYSTEMTIME when = {2021, 6, 0, 15, 10, 20, 30, 0};
    FILETIME written, local, got;
    SystemTimeToFileTime(&when, &written);
    handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(handle, nullptr, nullptr, &written));
    CloseHandle(handle);
    ASSERT_TRUE(GetFileModifiedTime(file.c_str(), got));
    FileTimeToLocalFileTime(&written, &local);
    EXPECT_EQ(0, CompareFileTime(&local, &got));
    EXPECT_FALSE(GetFileModifiedTime((folder + "\\missing").c_str(), got));
    EXPECT_EQ(0u, got.dwLowDateTime);
    EXPECT_EQ(0u, got.dwHighDateTime);
}

TEST_F(FileTestsTest, CreateDirectoriesMakesEveryLevel)
{
    std::string deep = folder + "\\one\\two\\three";
    EXPECT_TRUE(CreateDirectories(deep.c_str()));
    EXPECT_TRUE(DirectoryExists(deep.c_str()));
    EXPECT_TRUE(CreateDirectories(deep.c_str()));
    EXPECT_TRUE(CreateDirectories((folder + "\\four\\five\\").c_str()));
    EXPECT_TRUE(DirectoryExists((folder + "\\four\\five").c_str()));
    EXPECT_TRUE(CreateDirectories(""));
}

TEST_F(FileTestsTest, CreateDirectoriesFailsThroughAFileAndForLongPaths)
{
    EXPECT_FALSE(CreateDirectories((file + "\\sub\\more").c_str()));
    EXPECT_FALSE(CreateDirectories(file.c_str()));
    std::string tooLong = folder + "\\" + std::string(MAX_PATH, 'x');
    EXPECT_FALSE(CreateDirectories(tooLong.c_str()));
}

TEST_F(FileTestsTest, StringsAreReadUpToTheirZeroByte)
{
    std::string path = folder + "\\strings.bin";
    ASSERT_TRUE(testfiles::WriteFileBytes(path, std::string("first\0\0last", 12)));
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    EXPECT_STREQ("first", ReadStringFromFile(file));
    EXPECT_STREQ("", ReadStringFromFile(file));
    EXPECT_STREQ("last", ReadStringFromFile(file));
    EXPECT_STREQ("", ReadStringFromFile(file));
}

}  // namespace
