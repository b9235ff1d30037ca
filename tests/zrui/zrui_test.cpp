#include "tests/support/gtest.h"

#include "platform/zrui/zrui.h"

TEST(ZrUIColors, StandardIndexesHaveTheirColoursAndNames)
{
    char name[32];
    EXPECT_EQ(RGB(255, 0, 0), ZrUI::GetColorIndex(1, name));
    EXPECT_STREQ("Red", name);
    EXPECT_EQ(RGB(255, 255, 255), ZrUI::GetColorIndex(7, name));
    EXPECT_STREQ("White", name);
    EXPECT_EQ(RGB(0x26, 0x13, 0x18), ZrUI::GetColorIndex(249, nullptr));
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), ZrUI::GetColorIndex(255, name));
    EXPECT_STREQ("Color 255", name);
}

TEST(ZrUIColors, IndexesOutsideThePaletteAreBlack)
{
    EXPECT_EQ(RGB(0, 0, 0), ZrUI::GetColorIndex(-1, nullptr));
    EXPECT_EQ(RGB(0, 0, 0), ZrUI::GetColorIndex(256, nullptr));
}

TEST(ZrUILibrary, InitialiseAndRelease)
{
    ZrUI::InitLanguageResDLL(241);
    EXPECT_EQ(241, ZrUI::GetLanguageId());
    EXPECT_TRUE(ZrUI::initZrUI("Software\\Pellmoor\\Harbeck\\", "Harbeck", 0, 7));
    EXPECT_TRUE(ZrUI::IsInitialised());
    ZrUI::releaseZrUI();
    EXPECT_FALSE(ZrUI::IsInitialised());
}

TEST(ZrUILibrary, AppDataPathIsAnExistingFolder)
{
    const char* path = ZrUI::getAppDataPath();
    ASSERT_NE(nullptr, path);
    DWORD attributes = GetFileAttributesA(path);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
