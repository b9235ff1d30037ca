#include "tests/support/gtest.h"

#include <string>
#include <vector>

#include "platform/base/file_replace.h"
#include "tests/support/test_files.h"

TEST(ReplacingFile, ReplacesTheTargetOnlyOnCommit)
{
    std::string folder = testfiles::MakeScratchFolder("replace");
    std::string target = folder + "\\target.bin";
    ASSERT_TRUE(testfiles::WriteFileBytes(target, "old"));
    // A file of the old fixed temporary name belongs to the user: never touched.
    ASSERT_TRUE(testfiles::WriteFileBytes(target + ".tmp~", "mine"));
    {
        CReplacingFile file;
        ASSERT_EQ(ReplaceFileDone, file.Open(target.c_str()));
        EXPECT_TRUE(file.Write("new bytes", 9));
        std::string bytes;
        ASSERT_TRUE(testfiles::ReadFileBytes(target, bytes));
        EXPECT_EQ("old", bytes);
        EXPECT_EQ(ReplaceFileDone, file.Commit());
    }
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(target, bytes));
    EXPECT_EQ("new bytes", bytes);
    ASSERT_TRUE(testfiles::ReadFileBytes(target + ".tmp~", bytes));
    EXPECT_EQ("mine", bytes);
    EXPECT_EQ(std::vector<std::string>({"target.bin", "target.bin.tmp~"}), testfiles::FileNamesIn(folder));
}

TEST(ReplacingFile, AnAbandonedWriteLeavesTheTargetAndNoTemporaryFile)
{
    std::string folder = testfiles::MakeScratchFolder("abandon");
    std::string target = folder + "\\target.bin";
    ASSERT_TRUE(testfiles::WriteFileBytes(target, "old"));
    {
        CReplacingFile file;
        ASSERT_EQ(ReplaceFileDone, file.Open(target.c_str()));
        file.Write("partial", 7);
    }
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(target, bytes));
    EXPECT_EQ("old", bytes);
    EXPECT_EQ(std::vector<std::string>({"target.bin"}), testfiles::FileNamesIn(folder));
}

TEST(ReplacingFile, AFolderThatDoesNotExistFailsCleanly)
{
    EXPECT_EQ(ReplaceFileCannotCreate, ReplaceFileWithBytes("C:\\no such folder\\x.bin", "x", 1));
    EXPECT_EQ(ReplaceFileBadName, ReplaceFileWithBytes("", "x", 1));
}
