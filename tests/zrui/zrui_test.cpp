#include "tests/support/gtest.h"

#include "platform/zrui/decimal_text.h"
#include "platform/zrui/print_layout.h"
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

TEST(ZrUICursors, EveryEntryIsACursorWithItsHotSpot)
{
    struct Expected {
        int index;
        DWORD hotX, hotY;
    };
    // The library's own pictures and where they point.
    const Expected own[] = {{0, 12, 12},  {3, 12, 12},  {4, 9, 9}, {6, 8, 8},
                            {10, 12, 12}, {11, 12, 12}, {12, 8, 8}};
    for (const Expected& entry : own) {
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(g_cursor[entry.index], &info)) << entry.index;
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(entry.hotX, info.xHotspot) << entry.index;
        EXPECT_EQ(entry.hotY, info.yHotspot) << entry.index;
        DeleteObject(info.hbmMask);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
    }
    EXPECT_EQ(LoadCursorA(nullptr, (LPCSTR)IDC_SIZENS), g_cursor[14]);
    EXPECT_EQ(LoadCursorA(nullptr, (LPCSTR)IDC_SIZENWSE), g_cursor[17]);
    EXPECT_EQ(LoadCursorA(nullptr, (LPCSTR)IDC_SIZEALL), g_cursor[18]);
    HCURSOR arrow = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    EXPECT_EQ(arrow, g_cursor[19]);
    EXPECT_EQ(arrow, g_cursor[8]);
    EXPECT_EQ(arrow, g_cursor[-1]);
    EXPECT_EQ(arrow, g_cursor[20]);
    // Released cursors are made again on the next read.
    g_cursor.Release();
    ICONINFO again = {};
    ASSERT_TRUE(GetIconInfo(g_cursor[4], &again));
    DeleteObject(again.hbmMask);
}

TEST(ZrUITexts, LanguageTextsComeFromTheResourcesOrTheFallback)
{
    ZrUI::InitLanguageResDLL(241);
    EXPECT_STREQ("AutoCAD R12 DXF(*.dxf)", ZrUI::languageText("DxfTypeVer12", "AutoCAD R12 dxf(*.dxf)"));
    EXPECT_STREQ("AutoCAD 2004 图形(*.dwg)", ZrUI::languageText("DwgTypeVer2004", nullptr));
    EXPECT_STREQ("fallback", ZrUI::languageText("NoSuchKey", "fallback"));
    EXPECT_EQ(nullptr, ZrUI::languageText("NoSuchKey", nullptr));
    ZrUI::InitLanguageResDLL(9);
    EXPECT_STREQ("AutoCAD 2000 drawing(*.dwg)",
                 ZrUI::languageText("DwgTypeVer2000", "AutoCAD 2000 drawing(*.dwg)"));
    ZrUI::InitLanguageResDLL(241);
}

TEST(ZrUINumbers, TheLocaleSeparatorIsWrittenAndBothSeparatorsAreRead)
{
    char locale[8] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, locale, sizeof(locale));
    EXPECT_EQ(locale[0], g_systemInfo.getDecimalSep());
    std::string expected = std::string("2") + g_systemInfo.getDecimalSep() + "25";
    EXPECT_STREQ(expected.c_str(), ZrUI::DecimalText(2.25));
    EXPECT_STREQ("-3", ZrUI::DecimalText(-3.0000001, 4));
    EXPECT_STREQ("0", ZrUI::DecimalText(-0.00001, 2));
    double value = 0.0;
    EXPECT_TRUE(ZrUI::ParseDecimal(" -12.5 ", &value));
    EXPECT_DOUBLE_EQ(-12.5, value);
    EXPECT_TRUE(ZrUI::ParseDecimal(expected.c_str(), &value));
    EXPECT_DOUBLE_EQ(2.25, value);
    for (const char* bad : {"", "-", ".", "1.2.3", "12a", "1 2", "1e5"}) {
        value = 7.0;
        EXPECT_FALSE(ZrUI::ParseDecimal(bad, &value)) << bad;
        EXPECT_EQ(7.0, value);
    }
}

TEST(ZrUIPrintLayout, FitFillsThePrintableAreaAndCentres)
{
    // A4 at 600 dots per inch with a quarter inch margin.
    ZrUI::PrinterPage page = {600, 4660, 6716, 4960, 7016};
    ZrUI::PrintScale fit = {true, 0.0, 0.0};
    ZrUI::PrintPlacement placed;
    ASSERT_TRUE(ZrUI::PlacePrint(page, 0, fit, true, 200.0, 100.0, &placed));
    EXPECT_DOUBLE_EQ(4660.0 / 200.0, placed.scale);
    EXPECT_EQ(0, placed.xOffset);
    EXPECT_EQ(-(6716 - 2330) / 2, placed.yOffset);
    EXPECT_EQ(4960, placed.pageWidth);
    EXPECT_EQ(7016, placed.pageHeight);
    // Turned, the window's width runs down the page.
    ASSERT_TRUE(ZrUI::PlacePrint(page, 1, fit, true, 200.0, 100.0, &placed));
    EXPECT_DOUBLE_EQ(6716.0 / 200.0, placed.scale);
    EXPECT_EQ((4660 - 3358) / 2, placed.xOffset);
    EXPECT_EQ(0, placed.yOffset);
    EXPECT_EQ(7016, placed.pageWidth);
    EXPECT_EQ(4960, placed.pageHeight);
    EXPECT_NEAR(200.0 / 6716.0 * 600.0 / 25.4, ZrUI::UnitsPerMillimetre(page, placed.scale), 1e-12);
}

TEST(ZrUIPrintLayout, AScaleIsMillimetresPerUnitAtThePrintersResolution)
{
    ZrUI::PrinterPage page = {600, 4660, 6716, 4960, 7016};
    ZrUI::PrintScale half = {false, 1.0, 2.0};
    ZrUI::PrintPlacement placed;
    ASSERT_TRUE(ZrUI::PlacePrint(page, 0, half, false, 200.0, 100.0, &placed));
    EXPECT_DOUBLE_EQ(0.5 * 600.0 / 25.4, placed.scale);
    EXPECT_EQ(0, placed.xOffset);
    EXPECT_EQ(0, placed.yOffset);
    ZrUI::PrintScale none = {false, 0.0, 2.0};
    EXPECT_FALSE(ZrUI::PlacePrint(page, 0, none, false, 200.0, 100.0, &placed));
    EXPECT_FALSE(ZrUI::PlacePrint(page, 0, half, false, 0.0, 100.0, &placed));
    ZrUI::PrintScale huge = {false, 1e9, 1.0};
    EXPECT_FALSE(ZrUI::PlacePrint(page, 0, huge, false, 200.0, 100.0, &placed));
}
