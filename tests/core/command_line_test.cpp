#include "tests/support/gtest.h"

#include <string>

#include "core/command_line.h"
#include "core/file_types.h"
#include "tests/support/test_files.h"

namespace {

class CommandLineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = testfiles::MakeScratchFolder("cmdline");
        drawing = folder + "\\existing.dwg";
        image = folder + "\\photo.jpg";
        text = folder + "\\notes.txt";
        ASSERT_TRUE(testfiles::WriteFileBytes(drawing, "x"));
        ASSERT_TRUE(testfiles::WriteFileBytes(image, "x"));
        ASSERT_TRUE(testfiles::WriteFileBytes(text, "x"));
    }
    void TearDown() override { DrawingFileType.Build(false); }

    WORD Parse(std::initializer_list<std::string> words)
    {
        std::vector<std::string> storage(words);
        std::vector<char*> argv;
        for (std::string& word : storage)
            argv.push_back(&word[0]);
        argv.push_back(nullptr);
        return ParseCommandLine((int)storage.size(), argv.data(), path);
    }

    std::string folder, drawing, image, text;
    CString path;
};

TEST_F(CommandLineTest, SwitchesChooseViewOrBrowse)
{
    EXPECT_EQ(CMDLINE_VIEW, Parse({"harbeck.exe", "/v", drawing}));
    EXPECT_STREQ(drawing.c_str(), path);
    EXPECT_EQ(CMDLINE_VIEW, Parse({"harbeck.exe", "/V", image}));
    EXPECT_EQ(CMDLINE_BROWSE, Parse({"harbeck.exe", "/b", folder}));
    EXPECT_STREQ(folder.c_str(), path);
    EXPECT_EQ(CMDLINE_BROWSE, Parse({"harbeck.exe", "/B", folder, "ignored"}));
}

TEST_F(CommandLineTest, MismatchedSwitchesGiveNothing)
{
    EXPECT_EQ(CMDLINE_NOTHING, Parse({"harbeck.exe", "/v", folder}));
    EXPECT_STREQ(folder.c_str(), path);   // set even so
    EXPECT_EQ(CMDLINE_NOTHING, Parse({"harbeck.exe", "/b", drawing}));
    EXPECT_EQ(CMDLINE_NOTHING, Parse({"harbeck.exe", "/v", text}));
    EXPECT_EQ(CMDLINE_NOTHING, Parse({"harbeck.exe", "/v", folder + "\\missing.dwg"}));
    EXPECT_EQ(CMDLINE_NOTHING, Parse({"harbeck.exe", "/x", drawing}));
    EXPECT_EQ(CMDLINE_NOTHING, Parse({"harbeck.exe", "-v", drawing}));
}

TEST_F(CommandLineTest, ABarePathViewsAFileOrBrowsesAFolder)
{
    EXPECT_EQ(CMDLINE_VIEW, Parse({"harbeck.exe", drawing}));
    EXPECT_EQ(CMDLINE_BROWSE, Parse({"harbeck.exe", folder}));
    EXPECT_EQ(CMDLINE_NOTHING, Parse({"harbeck.exe", folder + "\\missing.dwg"}));
    EXPECT_EQ(CMDLINE_NOTHING, Parse({"harbeck.exe", text}));
    EXPECT_EQ(CMDLINE_NOTHING, Parse({"harbeck.exe"}));
    EXPECT_EQ(CMDLINE_NOTHING, Parse({}));
}

TEST_F(CommandLineTest, RasterFilesAreRefusedWhenOnlyDrawingsAreShown)
{
    DrawingFileType.Build(true);
    EXPECT_EQ(CMDLINE_NOTHING, Parse({"harbeck.exe", "/v", image}));
    EXPECT_EQ(CMDLINE_NOTHING, Parse({"harbeck.exe", image}));
    EXPECT_EQ(CMDLINE_VIEW, Parse({"harbeck.exe", "/v", drawing}));
}

}  // namespace
