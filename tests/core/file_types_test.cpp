#include "tests/support/gtest.h"

#include "core/file_types.h"

namespace {

// Every test leaves the global table built with all kinds.
class FileTypesTest : public ::testing::Test
{
protected:
    void TearDown() override { DrawingFileType.Build(false); }
};

TEST_F(FileTypesTest, TheFullTableHasNineteenRowsInOrder)
{
    ASSERT_EQ(19, DrawingFileType.GetCount());
    EXPECT_STREQ(".DWG", DrawingFileType.GetAt(0)->extension);
    EXPECT_STREQ(".JPG", DrawingFileType.GetAt(4)->extension);
    EXPECT_STREQ(".TIFF", DrawingFileType.GetAt(18)->extension);
    EXPECT_EQ(nullptr, DrawingFileType.GetAt(19));
    EXPECT_EQ(nullptr, DrawingFileType.GetAt(-1));
}

TEST_F(FileTypesTest, LookupsIgnoreCaseAndUseTheLastDot)
{
    const CDrawingFileInfo* row = GetDrawingFileInfo("C:\\x\\a.DwG");
    ASSERT_NE(nullptr, row);
    EXPECT_EQ(FILEKIND_DWG, row->type);
    EXPECT_EQ(RGB(215, 235, 215), row->colour);
    EXPECT_TRUE(row->IsDrawing());

    row = GetDrawingFileInfo("archive.tar.jpg");
    ASSERT_NE(nullptr, row);
    EXPECT_EQ(FILEKIND_JPEG, row->type);
    EXPECT_FALSE(row->IsDrawing());

    EXPECT_EQ(nullptr, GetDrawingFileInfo(".txt"));
    EXPECT_EQ(nullptr, GetDrawingFileInfo("readme"));
    EXPECT_EQ(nullptr, GetDrawingFileInfo("dir.x\\file"));
    EXPECT_EQ(nullptr, GetDrawingFileInfo("a.dw"));
    EXPECT_EQ(nullptr, DrawingFileType.Find("DWG"));   // the dot counts
    EXPECT_EQ(nullptr, DrawingFileType.Find(nullptr));
}

TEST_F(FileTypesTest, SharedKindsShareTypeAndColour)
{
    const CDrawingFileInfo* jpg = DrawingFileType.Find(".jpg");
    const CDrawingFileInfo* jpeg = DrawingFileType.Find(".jpeg");
    ASSERT_TRUE(jpg && jpeg);
    EXPECT_EQ(jpg->type, jpeg->type);
    EXPECT_EQ(jpg->colour, jpeg->colour);
    EXPECT_EQ(DrawingFileType.Find(".wmf")->type, DrawingFileType.Find(".EMF")->type);
    EXPECT_EQ(FILEKIND_PSD, DrawingFileType.Find(".psd")->type);
}

TEST_F(FileTypesTest, TheDrawingsOnlyTableHasFourRows)
{
    DrawingFileType.Build(true);
    EXPECT_EQ(4, DrawingFileType.GetCount());
    EXPECT_EQ(nullptr, GetDrawingFileInfo("a.JPG"));
    ASSERT_NE(nullptr, GetDrawingFileInfo("a.dwf"));
    int format = 0;
    EXPECT_TRUE(CDrawingFileType::GetRasterFormat(FILEKIND_JPEG, format));
    EXPECT_EQ(3, format);
}

TEST_F(FileTypesTest, RasterFormatIds)
{
    const int expected[][2] = {{4, 1}, {6, 2},  {5, 3},  {9, 4},   {10, 5},  {11, 6},
                               {8, 7}, {12, 8}, {7, 9},  {13, 10}, {14, 11}, {17, 18}};
    for (const auto& pair : expected) {
        int format = 0;
        EXPECT_TRUE(CDrawingFileType::GetRasterFormat(pair[0], format)) << pair[0];
        EXPECT_EQ(pair[1], format) << pair[0];
    }
    int format = -7;
    for (int type : {0, 1, 2, 3, 15, 16, 18, -1}) {
        EXPECT_FALSE(CDrawingFileType::GetRasterFormat(type, format)) << type;
    }
    EXPECT_EQ(-7, format);
}

TEST_F(FileTypesTest, RowListsCopyAndExtend)
{
    CDrawingFileType table;
    table.Build(true);
    table.AppendAll(table);
    EXPECT_EQ(8, table.GetCount());
    table.Assign(DrawingFileType);
    EXPECT_EQ(19, table.GetCount());
    table.Assign(table);
    EXPECT_EQ(19, table.GetCount());
    EXPECT_TRUE(table.Add(".xyz", RGB(1, 2, 3), 99));
    EXPECT_EQ(99, table.Find(".XYZ")->type);
}

}  // namespace
