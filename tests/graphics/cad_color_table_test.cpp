// CAD colour indexes under the three colour modes and the background rule.
#include "tests/support/gtest.h"

#include "graphics/cad_color_table.h"

TEST(CadColorTable, ColourModeGivesTheIndexColours)
{
    KCadColorTable table;
    EXPECT_EQ(0, table.mode);
    EXPECT_EQ(0u, table.background);
    table.background = 0x123456;
    EXPECT_EQ(0x000000FFu, table.GetColor(1));
    EXPECT_EQ(RGB(0x98, 0x98, 0x98), table.GetColor(8));
    EXPECT_EQ(RGB(0xA6, 0x29, 0x00), table.GetColor(22));
    EXPECT_EQ(RGB(0x26, 0x13, 0x18), table.GetColor(249));
    EXPECT_EQ(RGB(0x54, 0x54, 0x54), table.GetColor(250));
}

TEST(CadColorTable, WhiteAndBlackAvoidTheirOwnBackground)
{
    KCadColorTable table;
    table.background = 0xFFFFFF;
    EXPECT_EQ(0u, table.GetColor(7));
    table.background = 0;
    EXPECT_EQ(0xFFFFFFu, table.GetColor(7));
    EXPECT_EQ(0xFFFFFFu, table.GetColor(0));
    table.background = RGB(255, 0, 0);
    EXPECT_EQ(RGB(0, 255, 255), table.GetColor(1));
}

TEST(CadColorTable, GreyModeUsesIntegerWeights)
{
    KCadColorTable table;
    table.mode = KCadColorTable::ModeGrey;
    table.background = 0xFFFFFF;
    EXPECT_EQ(RGB(76, 76, 76), table.GetColor(1));
    EXPECT_EQ(RGB(29, 29, 29), table.GetColor(5));
    EXPECT_EQ(RGB(0x98, 0x98, 0x98), table.GetColor(8));
    EXPECT_EQ(0x76, KCadColorTable::GreyLevel(251));  // (118, 118, 118) stays 118
    EXPECT_EQ(0u, table.GetColor(255));  // white on white
    // The greys 250..254 keep their level and grow lighter.
    for (int index = 251; index < 255; ++index)
        EXPECT_LT(KCadColorTable::GreyLevel(index - 1), KCadColorTable::GreyLevel(index));
}

TEST(CadColorTable, BlackAndWhiteMode)
{
    KCadColorTable table;
    table.mode = KCadColorTable::ModeBlackWhite;
    table.background = RGB(1, 2, 3);
    EXPECT_EQ(0u, table.GetColor(0));
    EXPECT_EQ(0xFFFFFFu, table.GetColor(255));
    EXPECT_EQ(0xFFFFFFu, table.GetColor(3));
    table.background = 0;
    EXPECT_EQ(0xFFFFFFu, table.GetColor(0));
}

TEST(CadColorTable, OtherModesAndIndexesGiveBlack)
{
    KCadColorTable table;
    table.mode = 3;
    table.background = 0;
    EXPECT_EQ(0u, table.GetColor(7));
    table.mode = KCadColorTable::ModeColour;
    table.background = 0xFFFFFF;
    EXPECT_EQ(0u, table.GetColor(-1));
    EXPECT_EQ(0u, table.GetColor(256));
}

TEST(CadColorTable, TheProcessHasOneTableInColourMode)
{
    EXPECT_EQ(KCadColorTable::ModeColour, g_CadColorTable.mode);
    EXPECT_EQ(RGB(255, 255, 0), g_CadColorTable.GetColor(2));
}
