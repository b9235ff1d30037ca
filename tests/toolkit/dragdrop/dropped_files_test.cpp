#include "tests/support/gtest.h"

#include <shellapi.h>

#include <string>

#include "tests/support/test_files.h"
#include "toolkit/dragdrop/dropped_files.h"

namespace {

uint32_t U32At(const BYTE* bytes, size_t offset)
{
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) | ((uint32_t)bytes[offset + 3] << 24);
}

}  // namespace

TEST(DroppedFiles, BlockHasTheHeaderAndTheDoubleNulListAtItsExactSize)
{
    std::vector<CString> paths = {"C:\\plans\\with blank.dwg", "Z:\\b.dxf", "C:\\folder"};
    HGLOBAL block = BuildDroppedFileBlock(paths);
    ASSERT_NE(nullptr, block);
    std::string list = std::string("C:\\plans\\with blank.dwg") + '\0' + "Z:\\b.dxf" + '\0' + "C:\\folder" + '\0' + '\0';
    ASSERT_EQ(20 + list.size(), GlobalSize(block));
    const BYTE* bytes = (const BYTE*)GlobalLock(block);
    EXPECT_EQ(20u, U32At(bytes, 0));
    EXPECT_EQ(0u, U32At(bytes, 4));
    EXPECT_EQ(0u, U32At(bytes, 8));
    EXPECT_EQ(0u, U32At(bytes, 12));
    EXPECT_EQ(0u, U32At(bytes, 16));
    EXPECT_EQ(list, std::string((const char*)bytes + 20, list.size()));
    GlobalUnlock(block);

    // The shell's own reader finds the same names.
    std::vector<CString> read = ReadDroppedFiles((HDROP)block);
    ASSERT_EQ(3u, read.size());
    for (size_t i = 0; i < read.size(); ++i)
        EXPECT_STREQ(paths[i], read[i]);
    char first[MAX_PATH];
    EXPECT_EQ(paths[0].GetLength(), (int)DragQueryFileA((HDROP)block, 0, first, MAX_PATH));
    GlobalFree(block);

    HGLOBAL single = BuildDroppedFileBlock({"C:\\x"});
    EXPECT_EQ(4u + 22u, GlobalSize(single));
    GlobalFree(single);
}

TEST(DroppedFiles, ClipboardCarriesTheFilesAndWhetherTheyWereCut)
{
    ASSERT_TRUE(PutFilesOnClipboard(nullptr, {"C:\\a.dwg", "C:\\b c.dxf"}, DROPEFFECT_MOVE));
    EXPECT_EQ((DWORD)DROPEFFECT_MOVE, GetPreferredDropEffect());
    std::vector<CString> names;
    ASSERT_TRUE(ReadClipboardFiles(nullptr, names));
    ASSERT_EQ(2u, names.size());
    EXPECT_STREQ("C:\\b c.dxf", names[1]);

    ASSERT_TRUE(PutFilesOnClipboard(nullptr, {"C:\\a.dwg"}, 0));
    EXPECT_EQ(0u, GetPreferredDropEffect());

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_FALSE(ReadClipboardFiles(nullptr, names));
}

TEST(DroppedFiles, TransferPutsEachFileUnderItsOwnNameInTheFolder)
{
    std::string source = testfiles::MakeScratchFolder("transfer-source");
    std::string target = testfiles::MakeScratchFolder("transfer-target");
    ASSERT_TRUE(testfiles::WriteFileBytes(source + "\\one plan.dxf", "1"));
    ASSERT_TRUE(testfiles::WriteFileBytes(source + "\\two.dwg", "2"));
    std::vector<CString> files = {(source + "\\one plan.dxf").c_str(), (source + "\\two.dwg").c_str()};
    EXPECT_TRUE(TransferFiles(nullptr, files, (target + "\\").c_str(), DROPEFFECT_COPY));
    EXPECT_EQ(std::vector<std::string>({"one plan.dxf", "two.dwg"}), testfiles::FileNamesIn(target));
    EXPECT_EQ(2u, testfiles::FileNamesIn(source).size());

    std::string moved = testfiles::MakeScratchFolder("transfer-moved");
    EXPECT_TRUE(TransferFiles(nullptr, files, moved.c_str(), DROPEFFECT_MOVE));
    EXPECT_EQ(2u, testfiles::FileNamesIn(moved).size());
    EXPECT_TRUE(testfiles::FileNamesIn(source).empty());
}

// Sources the shell would copy or move onto or into themselves stay as they
// are; the others of the same drop still go.
TEST(DroppedFiles, TransferLeavesRootsFilesAlreadyThereAndFoldersIntoThemselves)
{
    std::string folder = testfiles::MakeScratchFolder("transfer-self");
    std::string inner = folder + "\\inner";
    ASSERT_TRUE(CreateDirectoryA(inner.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((inner + "\\deeper").c_str(), nullptr));
    ASSERT_TRUE(testfiles::WriteFileBytes(folder + "\\plan.dxf", "plan"));
    ASSERT_TRUE(testfiles::WriteFileBytes(inner + "\\part.dwg", "part"));
    for (DWORD effect : {(DWORD)DROPEFFECT_COPY, (DWORD)DROPEFFECT_MOVE}) {
        EXPECT_FALSE(TransferFiles(nullptr, {(folder + "\\plan.dxf").c_str()}, folder.c_str(), effect));
        EXPECT_FALSE(TransferFiles(nullptr, {inner.c_str()}, (inner + "\\deeper").c_str(), effect));
        EXPECT_FALSE(TransferFiles(nullptr, {inner.c_str()}, inner.c_str(), effect));
        EXPECT_FALSE(TransferFiles(nullptr, {"Z:\\"}, (inner + "\\deeper").c_str(), effect));
    }
    std::string plan;
    ASSERT_TRUE(testfiles::ReadFileBytes(folder + "\\plan.dxf", plan));
    EXPECT_EQ("plan", plan);
    EXPECT_EQ(std::vector<std::string>({"part.dwg"}), testfiles::FileNamesIn(inner));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((inner + "\\deeper\\inner").c_str()));

    EXPECT_TRUE(TransferFiles(nullptr, {(folder + "\\plan.dxf").c_str(), (inner + "\\part.dwg").c_str()},
                              folder.c_str(), DROPEFFECT_MOVE));
    EXPECT_EQ(std::vector<std::string>({"part.dwg", "plan.dxf"}), testfiles::FileNamesIn(folder));
}
