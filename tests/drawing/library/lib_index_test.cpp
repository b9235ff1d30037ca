// The library index: its file (read back byte by byte), the choice and
// naming of library files, the rebuild from the cache folder, and index
// files of the older layout written by hand.
#include "tests/support/gtest.h"

#include <string>

#include "drawing/library/lib_drive_index.h"
#include "drawing/library/lib_index_tree.h"
#include "tests/support/test_files.h"

namespace {

std::string U32(uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
std::string U64(uint64_t v) { return std::string(reinterpret_cast<const char*>(&v), 8); }
std::string Text(const std::string& text) { return text + std::string(1, '\0'); }

const std::string kIndexHead = Text("QuorvantixNewImageCacheLibIndexFile") + U32(1);

class LibIndexTest : public testing::Test {
protected:
    void SetUp() override { cache = testfiles::MakeScratchFolder("index") + "\\"; }

    std::string IndexFile() const { return cache + "QuorvantixLibIndex.qrvidx"; }
    std::string MakeLibrary(const std::string& name)
    {
        EXPECT_TRUE(testfiles::WriteFileBytes(cache + name, "library"));
        return cache + name;
    }
    bool Exists(const std::string& path) const { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::string cache;
};

TEST_F(LibIndexTest, TheIndexFileKeepsOneRecordPerFolderTheLastOneRead)
{
    const std::string first = MakeLibrary("QuorvantixLib000003.qrvlib");
    const std::string second = MakeLibrary("QuorvantixLib000004.qrvlib");
    const std::string precious = MakeLibrary("notes.txt");
    ASSERT_TRUE(testfiles::WriteFileBytes(IndexFile(), kIndexHead + Text("C:\\Work\\Plans") + Text(first) +
                                                           Text("c:\\work\\plans\\") + Text(second) +
                                                           Text("C:\\Other") + Text(precious) +
                                                           Text("D:\\Last") + "D:\\Last.qrvlib"));
    {
        TLibIndexTree index(cache.c_str(), false, true);
        EXPECT_EQ(2, index.GetRecordCount());
        CString found;
        ASSERT_TRUE(index.FindLib("C:\\WORK\\PLANS\\", found));
        EXPECT_STREQ(second.c_str(), found);
        EXPECT_FALSE(Exists(first));
        EXPECT_FALSE(index.FindLib("C:\\Other", found));
        ASSERT_TRUE(index.FindLib("D:\\Last", found));
        EXPECT_STREQ("D:\\Last.qrvlib", found);
        index.RemoveLib("C:\\Other");
        EXPECT_TRUE(Exists(precious));
    }
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(IndexFile(), bytes));
    EXPECT_EQ(kIndexHead + Text("C:\\Work\\Plans") + Text(second) + Text("D:\\Last") + Text("D:\\Last.qrvlib"),
              bytes);

    {
        TLibIndexTree index(cache.c_str(), false, true);
        index.RemoveLib("C:\\Work\\Plans");
        index.RemoveLib("D:\\Last");
        EXPECT_FALSE(Exists(second));
    }
    ASSERT_TRUE(testfiles::ReadFileBytes(IndexFile(), bytes));
    EXPECT_EQ(40u, bytes.size());
}

TEST_F(LibIndexTest, NewLibrariesTakeTheLowestFreeNumber)
{
    MakeLibrary("QuorvantixLib000000.qrvlib");
    MakeLibrary("QuorvantixLib000002.qrvlib");
    TLibIndexTree index(cache.c_str(), false, true);
    CString file;
    EXPECT_EQ(LibWriteCacheFolder, index.ChooseLibForWrite("C:\\New", file));
    EXPECT_STREQ((cache + "QuorvantixLib000001.qrvlib").c_str(), file);

    // A library the index names elsewhere is written there while it may be
    // written; else a file of its name in the cache folder takes its place.
    const std::string elsewhere = testfiles::MakeScratchFolder("elsewhere") + "\\QuorvantixLib000009.qrvlib";
    ASSERT_TRUE(testfiles::WriteFileBytes(elsewhere, "library"));
    index.AddLib(elsewhere.c_str(), "C:\\Kept");
    EXPECT_EQ(LibWriteCacheFolder, index.ChooseLibForWrite("C:\\Kept", file));
    EXPECT_STREQ(elsewhere.c_str(), file);
    ASSERT_TRUE(SetFileAttributesA(elsewhere.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(LibWriteCacheFolder, index.ChooseLibForWrite("C:\\Kept", file));
    EXPECT_STREQ((cache + "QuorvantixLib000009.qrvlib").c_str(), file);
    SetFileAttributesA(elsewhere.c_str(), FILE_ATTRIBUTE_NORMAL);

    index.SetSaveInBrowserFolderFirst(true);
    EXPECT_EQ(LibWriteFolderOwn, index.ChooseLibForWrite("Q:\\Nowhere", file));
    EXPECT_STREQ("Q:\\Nowhere\\QuorvantixImageCache.qrvlib", file);
}

TEST_F(LibIndexTest, TheFolderOwnLibraryIsReadOnlyWhenAskedForAndWhenNewer)
{
    const std::string folder = testfiles::MakeScratchFolder("browsed");
    const std::string own = folder + "\\QuorvantixImageCache.qrvlib";
    ASSERT_TRUE(testfiles::WriteFileBytes(own, "own"));
    const std::string indexed = MakeLibrary("QuorvantixLib000000.qrvlib");
    FILETIME time = {0x10000000, 0x01D00000};
    for (const std::string& path : {own, indexed}) {
        HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
        SetFileTime(file, NULL, NULL, &time);
        CloseHandle(file);
    }

    TLibIndexTree index(cache.c_str(), false, false);
    CString file;
    EXPECT_EQ(LibReadNone, index.ChooseLibForRead(folder.c_str(), file));
    index.AddLib(indexed.c_str(), folder.c_str());
    EXPECT_EQ(LibReadIndexed, index.ChooseLibForRead(folder.c_str(), file));

    index.SetReadFromBrowserFolderFirst(true);
    EXPECT_EQ(LibReadIndexed, index.ChooseLibForRead(folder.c_str(), file));
    EXPECT_STREQ(indexed.c_str(), file);
    time.dwHighDateTime += 1;
    HANDLE newer = CreateFileA(own.c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
    SetFileTime(newer, NULL, NULL, &time);
    CloseHandle(newer);
    EXPECT_EQ(LibReadFolderOwn, index.ChooseLibForRead(folder.c_str(), file));
    EXPECT_STREQ(own.c_str(), file);
}

TEST_F(LibIndexTest, TheRebuildRecordsValidLibrariesAndDeletesDamagedOnes)
{
    const std::string folder = "C:\\Drawings\\";
    const std::string good = cache + "QuorvantixLib000007.qrvlib";
    ASSERT_TRUE(testfiles::WriteFileBytes(
        good, "QuorvantixImageCacheLib" + U32(11) + U64(44 + folder.size()) + Text(folder) + U32(8) + U32(8)));
    const std::string damaged = cache + "QuorvantixLib000008.qrvlib";
    ASSERT_TRUE(testfiles::WriteFileBytes(damaged, "QuorvantixImageCacheLib" + U32(10) + U64(0)));
    const std::string other = MakeLibrary("other.qrvlib");

    TLibIndexTree index(cache.c_str(), false, true);
    index.DeleteInvalidLibs();
    EXPECT_FALSE(Exists(damaged));
    EXPECT_TRUE(Exists(other));
    ASSERT_EQ(1, index.GetRecordCount());
    CString recordFolder, library;
    ASSERT_TRUE(index.GetRecord(0, recordFolder, library));
    EXPECT_STREQ("C:\\Drawings", recordFolder);
    EXPECT_STREQ(good.c_str(), library);
}

// An index of the older layout for the scratch folder's drive: the drive
// root and a tree of folder names down to two libraries.
class OldIndexTest : public LibIndexTest {
protected:
    void SetUp() override
    {
        LibIndexTest::SetUp();
        base = testfiles::MakeScratchFolder("old");
        ASSERT_TRUE(GetDriveKey(base.c_str(), driveType, serial));
        kept = MakeLibrary("kept.qrvlib");
        moved = MakeLibrary("moved.qrvlib");
    }

    // The nodes of the path below the drive, the last one with its children.
    std::string Nodes(const std::string& path, const std::string& lastBody)
    {
        size_t slash = path.find('\\');
        std::string name = path.substr(0, slash);
        if (slash == std::string::npos)
            return Text(name) + lastBody;
        return Text(name) + std::string(1, '\0') + U32(1) + Nodes(path.substr(slash + 1), lastBody);
    }
    std::string OldIndex()
    {
        const std::string below = base.substr(3);  // without "Z:\"
        const std::string leaf = std::string(1, '\1') + Text(moved) + U32(1) + Text("sub") + std::string(1, '\1') +
                                 Text(kept) + U32(0);
        return Text("QuorvantixImageCacheLibIndexFile") + U32(10) + U64(53) + U32(driveType) + U32(serial) +
               std::string(1, '\0') + U32(1) + Nodes(below, leaf);
    }

    std::string base;
    std::string kept;
    std::string moved;
    uint32_t driveType = 0;
    uint32_t serial = 0;
};

TEST_F(OldIndexTest, AFolderFoundInAnOldIndexMovesTheWholeDriveIntoTheRecords)
{
    const std::string oldFile = cache + "QuorvantixLibIndexZ.qrvidx";
    ASSERT_TRUE(testfiles::WriteFileBytes(oldFile, OldIndex()));
    TLibIndexTree index(cache.c_str(), false, true);
    CString found;
    EXPECT_FALSE(index.FindLib((base + "\\elsewhere").c_str(), found));
    EXPECT_TRUE(Exists(oldFile));
    ASSERT_TRUE(index.FindLib((base + "\\").c_str(), found));
    EXPECT_STREQ(moved.c_str(), found);
    EXPECT_FALSE(Exists(oldFile));
    ASSERT_TRUE(index.FindLib((base + "\\sub").c_str(), found));
    EXPECT_STREQ(kept.c_str(), found);
}

TEST_F(OldIndexTest, RemovingAFolderRewritesTheOldIndexWithoutIt)
{
    const std::string oldFile = cache + "QuorvantixLibIndexZ.qrvidx";
    ASSERT_TRUE(testfiles::WriteFileBytes(oldFile, OldIndex()));
    TLibIndexTree index(cache.c_str(), false, true);
    index.RemoveLib(base.c_str());
    EXPECT_FALSE(Exists(moved));
    EXPECT_TRUE(Exists(kept));

    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(oldFile, bytes));
    const std::string below = base.substr(3);
    const std::string leaf = std::string(1, '\0') + U32(1) + Text("sub") + std::string(1, '\1') + Text(kept) + U32(0);
    EXPECT_EQ(Text("QuorvantixImageCacheLibIndexFile") + U32(10) + U64(53) + U32(driveType) + U32(serial) +
                  std::string(1, '\0') + U32(1) + Nodes(below, leaf),
              bytes);

    index.RemoveLib((base + "\\sub").c_str());
    EXPECT_FALSE(Exists(kept));
    EXPECT_FALSE(Exists(oldFile));
}

}  // namespace
