// The thumbnail library: what the writer puts on disk, read back by the
// test's own parser; when a stored thumbnail is used again; and what stays
// on disk when a library cannot be read or written.
#include "tests/support/gtest.h"

#include <string>

#include "drawing/library/dwg_cache.h"
#include "drawing/library/image_lib.h"
#include "drawing/library/lib_index_tree.h"
#include "drawing/library/library_source.h"
#include "graphics/kbmp.h"
#include "platform/base/file_replace.h"
#include "tests/drawing/library/library_bytes.h"
#include "tests/support/test_files.h"

namespace {

using thumbtest::Library;

// A thumbnail of one colour, owned by the caller.
KBMP* Thumbnail(int width, int height, COLORREF colour)
{
    std::string bmp = thumbtest::SolidBmp(width, height, colour);
    BYTE* block = static_cast<BYTE*>(malloc(bmp.size()));
    memcpy(block, bmp.data(), bmp.size());
    KBMP* image = new KBMP;
    image->Attach(block, false);
    return image;
}

class LibraryFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder = testfiles::MakeScratchFolder("library") + "\\";
        ASSERT_TRUE(testfiles::WriteFileBytes(folder + "a.txt", "alpha"));
        ASSERT_TRUE(testfiles::WriteFileBytes(folder + "Second.txt", "second file"));
    }

    // One batch of the cache for the folder: load, look up, add, save.
    void StartFolder()
    {
        GetDwgCache()->SetFolder(folder.c_str());
        GetDwgCache()->ClearList();
        GetDwgCache()->LoadIfPending();
    }
    bool Lookup(const std::string& name, std::string* bytes = nullptr)
    {
        KBMP image;
        image.boxWidth = 160;
        image.boxHeight = 120;
        if (!GetDwgCache()->Lookup((folder + name).c_str(), &image))
            return false;
        if (bytes)
            bytes->assign(reinterpret_cast<const char*>(image.data), image.GetFileSize());
        return true;
    }
    void Add(const std::string& name, COLORREF colour)
    {
        KBMP* image = Thumbnail(16, 12, colour);
        GetDwgCache()->AddImage((folder + name).c_str(), image, 160, 120);
        delete image;
    }
    void SaveAndWait(bool force = false)
    {
        GetDwgCache()->Save(force, 160, 120);
        ASSERT_TRUE(cache.WaitForWriter());
    }
    // A batch that leaves a library of a.txt in red: its file and bytes.
    std::string SaveRedLibrary(std::string& bytes)
    {
        StartFolder();
        Add("a.txt", RGB(255, 0, 0));
        SaveAndWait();
        const std::string file = thumbtest::FindNumberedLibrary(cache.CacheFolder());
        EXPECT_TRUE(testfiles::ReadFileBytes(file, bytes));
        return file;
    }

    thumbtest::ScratchCache cache;
    std::string folder;
};

TEST_F(LibraryFileTest, ASavedLibraryHoldsEveryFieldAsLaidOut)
{
    StartFolder();
    Add("a.txt", RGB(255, 0, 0));
    Add("Second.txt", RGB(0, 0, 255));
    SaveAndWait();

    const std::string file = thumbtest::FindNumberedLibrary(cache.CacheFolder());
    ASSERT_EQ(cache.CacheFolder() + "\\QuorvantixLib000000.qrvlib", file);
    Library library;
    std::string problem;
    ASSERT_TRUE(thumbtest::ReadLibrary(file, library, problem)) << problem;
    EXPECT_EQ(11u, library.version);
    EXPECT_EQ(folder, library.folder);
    EXPECT_EQ(44u + folder.size(), library.firstRecord);
    EXPECT_EQ(160u, library.width);
    EXPECT_EQ(120u, library.height);
    ASSERT_EQ(2u, library.records.size());
    const char* names[] = {"a.txt", "Second.txt"};
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 0, 255)};
    for (int i = 0; i < 2; ++i) {
        const thumbtest::LibraryRecord& record = library.records[i];
        EXPECT_EQ(names[i], record.name);
        EXPECT_EQ(thumbtest::LocalWriteTime(folder + names[i]), record.time);
        EXPECT_EQ(i == 0 ? 5u : 11u, record.size);
        EXPECT_EQ(0u, record.reserved);
        EXPECT_EQ(160u, record.width);
        EXPECT_EQ(120u, record.height);
        EXPECT_EQ(1u, record.tag);
        EXPECT_EQ(thumbtest::SolidBmp(16, 12, colours[i]), record.bmp);
    }
    CString indexed;
    ASSERT_TRUE(GetLibIndexTree()->FindLib(folder.c_str(), indexed));
    EXPECT_STREQ(file.c_str(), indexed);
    int width = 0, height = 0;
    EXPECT_TRUE(GetDwgCache()->CheckLibFile(folder.c_str(), width, height));
    EXPECT_EQ(160, width);
    EXPECT_EQ(120, height);
}

// Named again in other case, the folder keeps the text it was first given.
// Two saves queued one after the other reach the same file in turn: the
// later list is the one on disk.
TEST_F(LibraryFileTest, TwoSavesOfAFolderAreWrittenInTurnUnderItsFirstName)
{
    StartFolder();
    Add("a.txt", RGB(255, 0, 0));
    Add("Second.txt", RGB(0, 0, 255));
    GetDwgCache()->Save(false, 160, 120);
    std::string upper = folder;
    CharUpperA(&upper[0]);
    ASSERT_NE(folder, upper);
    GetDwgCache()->SetFolder(folder.c_str());
    GetDwgCache()->SetFolder(upper.c_str());
    // Not loaded: the first save may still be waiting for the writer.
    GetDwgCache()->ClearList();
    Add("Second.txt", RGB(0, 255, 0));
    SaveAndWait();

    const std::string file = thumbtest::FindNumberedLibrary(cache.CacheFolder());
    ASSERT_EQ(cache.CacheFolder() + "\\QuorvantixLib000000.qrvlib", file);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES,
              GetFileAttributesA((cache.CacheFolder() + "\\QuorvantixLib000001.qrvlib").c_str()));
    Library library;
    std::string problem;
    ASSERT_TRUE(thumbtest::ReadLibrary(file, library, problem)) << problem;
    EXPECT_EQ(folder, library.folder);
    ASSERT_EQ(1u, library.records.size());
    EXPECT_EQ("Second.txt", library.records[0].name);
    EXPECT_EQ(thumbtest::SolidBmp(16, 12, RGB(0, 255, 0)), library.records[0].bmp);
}

TEST_F(LibraryFileTest, ADisabledCacheNeitherServesNorKeepsNorWrites)
{
    std::string before;
    const std::string file = SaveRedLibrary(before);

    GetDwgCache()->Enable(false);
    StartFolder();
    EXPECT_FALSE(Lookup("a.txt"));
    Add("Second.txt", RGB(0, 0, 255));
    GetDwgCache()->Save(true, 160, 120);
    std::string after;
    ASSERT_TRUE(testfiles::ReadFileBytes(file, after));
    EXPECT_EQ(before, after);

    GetDwgCache()->Enable(true);
    StartFolder();
    EXPECT_TRUE(Lookup("a.txt"));
    EXPECT_FALSE(Lookup("Second.txt"));
}

// The folder vanished during its batch: nothing is written, and the list and
// the folder are forgotten, so that a later save writes nothing for it.
TEST_F(LibraryFileTest, ASaveForADeletedFolderWritesNothingAndForgetsIt)
{
    StartFolder();
    Add("a.txt", RGB(255, 0, 0));
    ASSERT_TRUE(DeleteFileA((folder + "a.txt").c_str()));
    ASSERT_TRUE(DeleteFileA((folder + "Second.txt").c_str()));
    ASSERT_TRUE(RemoveDirectoryA(folder.c_str()));
    SaveAndWait(true);
    EXPECT_EQ(0, GetDwgCache()->GetLibrary()->GetCount());

    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    ASSERT_TRUE(testfiles::WriteFileBytes(folder + "a.txt", "alpha"));
    Add("a.txt", RGB(255, 0, 0));
    SaveAndWait(true);
    EXPECT_TRUE(thumbtest::FindNumberedLibrary(cache.CacheFolder()).empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "QuorvantixImageCache.qrvlib").c_str()));
}

TEST_F(LibraryFileTest, AThumbnailIsUsedAgainOnlyWhileItsFileIsUnchanged)
{
    StartFolder();
    Add("a.txt", RGB(255, 0, 0));
    Add("Second.txt", RGB(0, 0, 255));
    SaveAndWait();

    StartFolder();
    std::string bytes;
    EXPECT_TRUE(Lookup("A.TXT", &bytes));
    EXPECT_EQ(thumbtest::SolidBmp(16, 12, RGB(255, 0, 0)), bytes);
    EXPECT_TRUE(Lookup("Second.txt"));

    thumbtest::TouchFile(folder + "a.txt", 60);
    ASSERT_TRUE(testfiles::WriteFileBytes(folder + "Second.txt", "second file, longer"));
    StartFolder();
    EXPECT_FALSE(Lookup("a.txt"));
    EXPECT_FALSE(Lookup("Second.txt"));
    KBMP other;
    other.boxWidth = 100;
    other.boxHeight = 120;
    EXPECT_FALSE(GetDwgCache()->Lookup((folder + "missing.txt").c_str(), &other));
}

// A library read in this batch is replaced by the one the batch writes,
// while a thumbnail taken from it is still shown; that thumbnail keeps its
// picture, also after the library is gone.
TEST_F(LibraryFileTest, ALibraryInUseIsReplacedAndItsThumbnailsStayWhole)
{
    StartFolder();
    Add("a.txt", RGB(255, 0, 0));
    SaveAndWait();
    const std::string file = thumbtest::FindNumberedLibrary(cache.CacheFolder());

    StartFolder();
    KBMP shown;
    shown.boxWidth = 160;
    shown.boxHeight = 120;
    ASSERT_TRUE(GetDwgCache()->Lookup((folder + "a.txt").c_str(), &shown));
    Add("Second.txt", RGB(0, 0, 255));
    SaveAndWait();

    Library library;
    std::string problem;
    ASSERT_TRUE(thumbtest::ReadLibrary(file, library, problem)) << problem;
    ASSERT_EQ(2u, library.records.size());
    EXPECT_EQ("a.txt", library.records[0].name);
    EXPECT_EQ(thumbtest::SolidBmp(16, 12, RGB(255, 0, 0)), library.records[0].bmp);
    EXPECT_EQ(thumbtest::SolidBmp(16, 12, RGB(0, 0, 255)), library.records[1].bmp);
    const std::string red = thumbtest::SolidBmp(16, 12, RGB(255, 0, 0));
    EXPECT_EQ(red, std::string(reinterpret_cast<const char*>(shown.data), shown.GetFileSize()));

    ASSERT_TRUE(DeleteFileA((folder + "a.txt").c_str()));
    ASSERT_TRUE(DeleteFileA((folder + "Second.txt").c_str()));
    StartFolder();
    SaveAndWait();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));
    EXPECT_EQ(red, std::string(reinterpret_cast<const char*>(shown.data), shown.GetFileSize()));
}

// A library file is mapped on a fixed drive and read whole elsewhere (a
// path without a drive letter here); either way the source keeps the bytes
// it was opened with while the file is replaced, and never gives bytes
// past its end.
TEST_F(LibraryFileTest, ASourceKeepsItsBytesWhileTheFileIsReplaced)
{
    const std::string file = folder + "source.bin";
    for (const std::string& path : {file, "\\\\?\\" + file}) {
        ASSERT_TRUE(testfiles::WriteFileBytes(file, "first bytes"));
        LibraryReadResult result = LibraryUnreadable;
        std::shared_ptr<CLibrarySource> source = CLibrarySource::Open(path.c_str(), result);
        ASSERT_TRUE(source) << path;
        EXPECT_EQ(LibraryRead, result);
        ASSERT_EQ(11u, source->Size());
        ASSERT_EQ(ReplaceFileDone, ReplaceFileWithBytes(file.c_str(), "other", 5)) << path;
        EXPECT_EQ("first bytes", std::string(reinterpret_cast<const char*>(source->At(0, 11)), 11));
        EXPECT_EQ(nullptr, source->At(6, 6));
        char tail[5] = {};
        EXPECT_TRUE(source->ReadAt(6, tail, 5));
        EXPECT_EQ("bytes", std::string(tail, 5));
    }
}

TEST_F(LibraryFileTest, AFolderWhoseFilesAreGoneLosesItsLibrary)
{
    StartFolder();
    Add("a.txt", RGB(255, 0, 0));
    SaveAndWait();
    const std::string file = thumbtest::FindNumberedLibrary(cache.CacheFolder());
    ASSERT_FALSE(file.empty());

    ASSERT_TRUE(DeleteFileA((folder + "a.txt").c_str()));
    StartFolder();
    SaveAndWait();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file.c_str()));
    CString indexed;
    EXPECT_FALSE(GetLibIndexTree()->FindLib(folder.c_str(), indexed));
}

TEST_F(LibraryFileTest, OldVersionsAreNotReadAndMissingSizesComeFromTheImage)
{
    // The folder's own library, written by hand: one record without its
    // width and height.
    const std::string bmp = thumbtest::SolidBmp(16, 12, RGB(0, 128, 0));
    const std::string name = "a.txt";
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    auto u64 = [](uint64_t v) { return std::string(reinterpret_cast<const char*>(&v), 8); };
    auto library = [&](uint32_t version) {
        std::string head = "QuorvantixImageCacheLib" + u32(version);
        const uint64_t first = 23 + 4 + 8 + folder.size() + 1 + 8;
        head += u64(first) + folder + std::string(1, '\0') + u32(160) + u32(120);
        const uint64_t image = first + 16 + name.size() + 1 + 8 + 4 + 4;
        const uint64_t time = thumbtest::LocalWriteTime(folder + name);
        return head + u64(image) + u64(image + 4 + bmp.size()) + name + std::string(1, '\0') + u64(time) +
               u32(5) + u32(0) + u32(1) + bmp;
    };
    const std::string own = folder + "QuorvantixImageCache.qrvlib";

    ASSERT_TRUE(testfiles::WriteFileBytes(own, library(10)));
    StartFolder();
    EXPECT_FALSE(Lookup("a.txt"));
    KBMP sized;
    sized.boxWidth = 16;
    sized.boxHeight = 12;
    EXPECT_FALSE(GetDwgCache()->Lookup((folder + "a.txt").c_str(), &sized));

    ASSERT_TRUE(testfiles::WriteFileBytes(own, library(11)));
    StartFolder();
    EXPECT_TRUE(GetDwgCache()->Lookup((folder + "a.txt").c_str(), &sized));
    EXPECT_EQ(16, sized.GetWidth());
}

TEST_F(LibraryFileTest, ALibraryAnotherProgramHoldsIsSkippedAndKept)
{
    const std::string own = folder + "QuorvantixImageCache.qrvlib";
    StartFolder();
    Add("a.txt", RGB(255, 0, 0));
    SaveAndWait();
    // Moved to the folder's own file, which the index does not name.
    const std::string numbered = thumbtest::FindNumberedLibrary(cache.CacheFolder());
    std::string before;
    ASSERT_TRUE(testfiles::ReadFileBytes(numbered, before));
    GetLibIndexTree()->RemoveLib(folder.c_str());
    ASSERT_TRUE(testfiles::WriteFileBytes(own, before));

    HANDLE held = CreateFileA(own.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    StartFolder();
    EXPECT_FALSE(Lookup("a.txt"));
    Add("Second.txt", RGB(0, 0, 255));
    SaveAndWait(true);
    CloseHandle(held);

    std::string after;
    ASSERT_TRUE(testfiles::ReadFileBytes(own, after));
    EXPECT_EQ(before, after);
    EXPECT_TRUE(thumbtest::FindNumberedLibrary(cache.CacheFolder()).empty());
    StartFolder();
    EXPECT_TRUE(Lookup("a.txt"));
}

TEST_F(LibraryFileTest, ALibraryThatCannotBeReplacedStaysWithItsIndexRecord)
{
    std::string before;
    const std::string file = SaveRedLibrary(before);

    // Open without leave to delete or rename: the new file cannot replace it.
    HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    StartFolder();
    Add("Second.txt", RGB(0, 0, 255));
    SaveAndWait();
    CloseHandle(held);

    std::string after;
    ASSERT_TRUE(testfiles::ReadFileBytes(file, after));
    EXPECT_EQ(before, after);
    CString indexed;
    ASSERT_TRUE(GetLibIndexTree()->FindLib(folder.c_str(), indexed));
    EXPECT_STREQ(file.c_str(), indexed);
}

}  // namespace
