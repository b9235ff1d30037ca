#include "tests/support/gtest.h"

#include <string>

#include "core/file_name.h"

namespace {

TEST(FileNameTest, PartsStayEmptyUntilSplit)
{
    CFileName name("C:\\drawings\\plan.v2.dwg");
    EXPECT_STREQ("", name.GetName());
    name.SplitPath();
    EXPECT_STREQ("C:", name.GetDrive());
    EXPECT_STREQ("\\drawings\\", name.GetFolder());
    EXPECT_STREQ("plan.v2", name.GetName());
    EXPECT_STREQ(".dwg", name.GetExtension());
}

TEST(FileNameTest, FileNameAndChangedExtension)
{
    CFileName name("C:\\drawings\\plan.dwg");
    EXPECT_STREQ("plan.dwg", name.GetFileName());
    EXPECT_STREQ("C:\\drawings\\plan.bmp", name.ChangeExt(".bmp"));
    EXPECT_STREQ("C:\\drawings\\plan.dwg", name.GetPath());
}

TEST(FileNameTest, SetFolderTakesDriveAndFolderOfTheOtherPath)
{
    CFileName name("C:\\drawings\\plan.dwg");
    name.SplitPath();
    name.SetFolder("D:\\out\\");
    EXPECT_STREQ("D:\\out\\plan.dwg", name.GetPath());
    name.SetFolder("E:\\export\\images");   // no backslash: its parent
    EXPECT_STREQ("E:\\export\\plan.dwg", name.GetPath());
}

TEST(FileNameTest, NumberedPathsCountFromZero)
{
    CFileName name("C:\\out\\plan.jpg");
    name.SplitPath();
    EXPECT_STREQ("C:\\out\\plan_0.jpg", name.NextNumberedPath());
    EXPECT_STREQ("C:\\out\\plan_1.jpg", name.NextNumberedPath());
}

TEST(FileNameTest, LongPartsAreKeptWhole)
{
    std::string folder = "C:\\" + std::string(300, 'f') + "\\";
    std::string base = std::string(300, 'n');
    CFileName name((folder + base + "." + std::string(300, 'e')).c_str());
    name.SplitPath();
    EXPECT_EQ(301, name.GetExtension().GetLength());
    EXPECT_STREQ((folder + base + ".x").c_str(), name.ChangeExt(".x"));
}

}  // namespace
