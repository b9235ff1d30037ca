// The library's thumbnails read ahead on helper threads: what they hand
// over is what the file holds there, a file other than the loaded one gives
// nothing, and a stopped supply holds the file no more.
#include "tests/support/gtest.h"

#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include "drawing/image_block_supply.h"
#include "drawing/library_source.h"
#include "tests/support/test_files.h"

namespace {

const uint32_t kSpanBytes = 5000;
const int kSpans = 40;

// A file of kSpans spans, each filled with its own byte.
std::string WriteSpans(const std::string& folder, const char* name, char first)
{
    std::string bytes;
    for (int i = 0; i < kSpans; ++i)
        bytes += std::string(kSpanBytes, static_cast<char>(first + i));
    const std::string path = folder + "\\" + name;
    testfiles::WriteFileBytes(path, bytes);
    return path;
}

std::vector<TImageBlockSupply::Span> AllSpans()
{
    std::vector<TImageBlockSupply::Span> spans;
    for (int i = 0; i < kSpans; ++i)
        spans.push_back(TImageBlockSupply::Span{uint64_t(i) * kSpanBytes, kSpanBytes});
    return spans;
}

// Takes every span from `from` on, then the ones before it; counts the
// blocks handed over and checks their bytes.
int TakeAll(TImageBlockSupply& supply, int from, char first)
{
    int handed = 0;
    for (int n = 0; n < kSpans; ++n) {
        const int i = (from + n) % kSpans;
        BYTE* block = supply.Take(uint64_t(i) * kSpanBytes, kSpanBytes);
        if (!block)
            continue;
        ++handed;
        EXPECT_EQ(std::string(kSpanBytes, static_cast<char>(first + i)),
                  std::string(reinterpret_cast<const char*>(block), kSpanBytes))
            << "span " << i;
        free(block);
    }
    return handed;
}

TEST(ImageBlockSupplyTest, HandsOverWhatTheLoadedFileHoldsAndLetsGoOfIt)
{
    const std::string folder = testfiles::MakeScratchFolder("block_supply");
    const std::string loaded = WriteSpans(folder, "loaded.bin", 'A');
    const std::string other = WriteSpans(folder, "other.bin", 'a');
    LibraryReadResult opened = LibraryUnreadable;
    std::shared_ptr<CLibrarySource> source = CLibrarySource::Open(loaded.c_str(), opened);
    ASSERT_TRUE(source);

    TImageBlockSupply supply(3);
    supply.Expect(loaded.c_str(), source, AllSpans());
    // Looked up from the middle, round to the top, as the rows in view
    // come first.
    TakeAll(supply, 25, 'A');
    // A wrong size is never handed over.
    supply.Expect(loaded.c_str(), source, AllSpans());
    EXPECT_EQ(nullptr, supply.Take(0, kSpanBytes - 1));
    // The path now names another file than the loaded one: nothing.
    supply.Expect(other.c_str(), source, AllSpans());
    Sleep(50);
    EXPECT_EQ(0, TakeAll(supply, 0, 'a'));

    supply.Expect(loaded.c_str(), source, AllSpans());
    TakeAll(supply, 0, 'A');
    supply.Stop();
    source.reset();
    EXPECT_TRUE(DeleteFileA(loaded.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(loaded.c_str()));
}

}  // namespace
