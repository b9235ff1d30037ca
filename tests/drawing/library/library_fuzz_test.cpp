// Damaged library and index files: seeded mutations of valid files read by
// the library, the index and the older-layout index. Nothing may crash or
// hang; a library keeps every record before the first damaged byte, and a
// thumbnail found is never another file's.
#include "tests/support/gtest.h"

#include <string>

#include "drawing/library/dwg_cache.h"
#include "drawing/library/lib_drive_index.h"
#include "drawing/library/lib_index_tree.h"
#include "drawing/library/lib_record_list.h"
#include "graphics/kbmp.h"
#include "tests/drawing/library/library_bytes.h"
#include "tests/support/mutation_cases.h"
#include "tests/support/mutation_harness.h"
#include "tests/support/test_files.h"

namespace {

// A series' cases and time budget; a one-off run asks for more and no budget.
const int kCases = testrun::OneOffMutationCases() ? testrun::OneOffMutationCases() : 800;
const DWORD kBudgetMs = testrun::OneOffMutationCases() ? 0xFFFFFFFFu : 20000;
const int kFiles = 4;

std::string FileName(int i) { return "file" + std::to_string(i) + ".txt"; }

size_t FirstDifference(const std::string& a, const std::string& b)
{
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return i;
}

TEST(LibraryFuzzTest, DamagedLibrariesKeepTheirIntactRecordsAndNothingElse)
{
    thumbtest::ScratchCache cache;
    const std::string folder = testfiles::MakeScratchFolder("fuzzed") + "\\";
    std::string originals[kFiles];
    TDwgCache* dwgCache = GetDwgCache();
    dwgCache->SetFolder(folder.c_str());
    dwgCache->ClearList();
    dwgCache->LoadIfPending();
    for (int i = 0; i < kFiles; ++i) {
        ASSERT_TRUE(testfiles::WriteFileBytes(folder + FileName(i), std::string(10 + i, 'x')));
        originals[i] = thumbtest::SolidBmp(5 + i, 3 + i, RGB(40 * i, 255 - 40 * i, 7));
        BYTE* block = static_cast<BYTE*>(malloc(originals[i].size()));
        memcpy(block, originals[i].data(), originals[i].size());
        KBMP image;
        image.Attach(block, false);
        dwgCache->AddImage((folder + FileName(i)).c_str(), &image, 160, 120);
    }
    dwgCache->Save(false, 160, 120);
    ASSERT_TRUE(cache.WaitForWriter());
    std::string valid;
    ASSERT_TRUE(testfiles::ReadFileBytes(thumbtest::FindNumberedLibrary(cache.CacheFolder()), valid));
    thumbtest::Library parsed;
    std::string problem;
    ASSERT_TRUE(thumbtest::ParseLibrary(valid, parsed, problem)) << problem;
    GetLibIndexTree()->RemoveLib(folder.c_str());

    const std::string own = folder + "QuorvantixImageCache.qrvlib";
    uint32_t state = 11;
    int cases = 0, hits = 0;
    const DWORD start = GetTickCount();
    for (; cases < kCases && GetTickCount() - start < kBudgetMs; ++cases) {
        const std::string bytes = codectest::Mutate(valid, state);
        dwgCache->ClearList();  // lets go of the last library file
        ASSERT_TRUE(testfiles::WriteFileBytes(own, bytes));
        const size_t damaged = FirstDifference(valid, bytes);
        dwgCache->SetFolder(folder.c_str());
        dwgCache->ClearList();
        dwgCache->LoadIfPending();
        for (int i = 0; i < kFiles; ++i) {
            KBMP found;
            found.boxWidth = 160;
            found.boxHeight = 120;
            const bool hit = dwgCache->Lookup((folder + FileName(i)).c_str(), &found);
            const bool intact = parsed.records[i].next <= damaged;
            if (intact) {
                ASSERT_TRUE(hit) << "case " << cases << ": record " << i << " lost";
            }
            if (!hit)
                continue;
            ++hits;
            const std::string image(reinterpret_cast<const char*>(found.data), found.GetFileSize());
            // A damaged record may show damaged pixels of its own file, but
            // never come out whole as another file's picture.
            for (int other = 0; other < kFiles; ++other)
                ASSERT_TRUE(other == i || image != originals[other]) << "case " << cases << ": file " << i;
        }
    }
    printf("%d damaged libraries read, %d thumbnails found\n", cases, hits);
    EXPECT_GE(cases, 100);
}

TEST(LibraryFuzzTest, DamagedIndexFilesGiveSortedLibraryRecordsOnly)
{
    std::string valid = std::string("QuorvantixNewImageCacheLibIndexFile") + std::string(1, '\0') +
                        std::string("\1\0\0\0", 4);
    for (int i = 0; i < 6; ++i) {
        valid += "Q:\\Folder" + std::to_string(i) + std::string(1, '\0');
        valid += "Q:\\cache\\QuorvantixLib00000" + std::to_string(i) + ".qrvlib" + std::string(1, '\0');
    }
    uint32_t state = 5;
    const DWORD start = GetTickCount();
    int cases = 0;
    for (; cases < kCases && GetTickCount() - start < kBudgetMs; ++cases) {
        const std::string bytes = codectest::Mutate(valid, state);
        TLibRecordList list;
        list.Parse(std::vector<uint8_t>(bytes.begin(), bytes.end()));
        for (int i = 0; i < list.GetCount(); ++i) {
            const TLibRecord* record = list.GetAt(i);
            ASSERT_FALSE(record->folder.IsEmpty());
            ASSERT_LE(record->folder.GetLength(), kMaxLibRecordPath);
            ASSERT_EQ(0, record->library.Right(7).CompareNoCase(".qrvlib")) << record->library.GetString();
            if (i > 0) {
                ASSERT_LT(list.GetAt(i - 1)->folder.CompareNoCase(record->folder), 0);
            }
        }
    }
    EXPECT_GE(cases, 100);
}

TEST(LibraryFuzzTest, DamagedOldIndexFilesReadBackAsTheyWouldBeWritten)
{
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    auto text = [](const std::string& t) { return t + std::string(1, '\0'); };
    std::string node = text("Plans") + std::string(1, '\1') + text("Q:\\c\\QuorvantixLib000001.qrvlib") + u32(2) +
                       text("A") + std::string(1, '\0') + u32(0) + text("B") + std::string(1, '\1') +
                       text("Q:\\c\\b.qrvlib") + u32(0);
    std::string valid = text("QuorvantixImageCacheLibIndexFile") + u32(10) + std::string("\x35\0\0\0\0\0\0\0", 8) +
                        u32(3) + u32(0x1234) + std::string(1, '\0') + u32(1) + node;
    uint32_t state = 9;
    const DWORD start = GetTickCount();
    int cases = 0, read = 0;
    for (; cases < kCases && GetTickCount() - start < kBudgetMs; ++cases) {
        const std::string bytes = codectest::Mutate(valid, state);
        TLibDriveIndex drive;
        if (!drive.Parse(std::vector<uint8_t>(bytes.begin(), bytes.end())))
            continue;
        ++read;
        const std::vector<uint8_t> written = drive.Serialise();
        TLibDriveIndex again;
        ASSERT_TRUE(again.Parse(written)) << "case " << cases;
        ASSERT_EQ(written, again.Serialise()) << "case " << cases;
    }
    printf("%d damaged old indexes, %d read\n", cases, read);
    EXPECT_GE(cases, 100);
}

}  // namespace
