// DRAWINGINFO from drawings written by ezdxf, its property rules and
// version texts, and the stored preview picture of a DWG file as a CDib.
#include "tests/support/gtest.h"

#include <string>

#include "drawing/common/drawing_info.h"
#include "drawing/common/stored_preview.h"
#include "graphics/dib.h"
#include "platform/zrio/zrio.h"
#include "tests/support/test_files.h"

namespace {

std::string Fixture(const char* name)
{
    return testfiles::ToWinePath(std::string(ZRIO_FIXTURES) + "/" + name);
}

std::string DwgFixture(const char* name)
{
    return testfiles::ToWinePath(std::string(DWG_FIXTURES) + "/" + name);
}

}  // namespace

TEST(DrawingInfo, VersionTexts)
{
    EXPECT_STREQ("格式ACAD r2.5;", DRAWINGINFO::FormatVersion(0));
    EXPECT_STREQ("格式ACAD r2.6;", DRAWINGINFO::FormatVersion(10));
    EXPECT_STREQ("格式ACAD r12;", DRAWINGINFO::FormatVersion(16));
    EXPECT_STREQ("格式ACAD r2000;", DRAWINGINFO::FormatVersion(23));
    EXPECT_STREQ("格式ACAD r2007;", DRAWINGINFO::FormatVersion(27));
    EXPECT_STREQ("格式ACAD r2010;", DRAWINGINFO::FormatVersion(29));
    EXPECT_STREQ("格式ACAD r2013;", DRAWINGINFO::FormatVersion(31));
    EXPECT_STREQ("格式ACAD r2018;", DRAWINGINFO::FormatVersion(33));
    EXPECT_STREQ("[未知格式]", DRAWINGINFO::FormatVersion(34));
    EXPECT_STREQ("[未知格式]", DRAWINGINFO::FormatVersion(-1));
}

TEST(DrawingInfo, PropertyCountingRules)
{
    DRAWINGINFO info;
    for (int i = 0; i < 12; ++i) {
        std::string text = "p" + std::to_string(i) + "=v";
        DRAWINGINFO::StoreProperty(17, text.c_str(), &info);
    }
    EXPECT_EQ(12, info.setCount);
    EXPECT_EQ(10, info.customCount);
    EXPECT_STREQ("p9=v", info.custom[9]);
    DRAWINGINFO::StoreProperty(18, "ignored", &info);
    EXPECT_EQ(12, info.setCount);
    DRAWINGINFO::StoreProperty(4, "keywords", &info);
    DRAWINGINFO::StoreProperty(1, "Title", &info);
    DRAWINGINFO::StoreProperty(8, "4000000", &info);  // beyond 16 bits of hours
    EXPECT_EQ(15, info.setCount);
    EXPECT_STREQ("Title", info.title);
    EXPECT_STREQ("keywords", info.keywords);
    EXPECT_EQ(65535, info.editingHours);
    EXPECT_EQ(40, info.editingMinutes);
    DRAWINGINFO::StoreProperty(8, "126", &info);
    EXPECT_EQ(2, info.editingHours);
    EXPECT_EQ(6, info.editingMinutes);
    info.Reset();
    EXPECT_EQ(0, info.setCount);
    EXPECT_EQ(0, info.customCount);
    EXPECT_EQ(0, info.editingHours + info.editingMinutes);
    EXPECT_TRUE(info.title.IsEmpty());
    EXPECT_TRUE(info.keywords.IsEmpty());
}

TEST(DrawingInfo, FilledFromAnOpenDrawing)
{
    DRAWINGINFO info;
    EXPECT_FALSE(DRAWINGINFO::FillFromDrawing(nullptr, &info));
    CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
    ASSERT_EQ(0, drawing->open(Fixture("basic_R2004_asc.dxf").c_str(), nullptr));
    ASSERT_TRUE(DRAWINGINFO::FillFromDrawing(drawing, &info));
    EXPECT_STREQ("Plan of the ground floor", info.title);
    EXPECT_STREQ("Test subject", info.subject);
    EXPECT_STREQ("Lin Wei", info.author);
    EXPECT_STREQ("plan;ground floor", info.keywords);
    EXPECT_EQ(2, info.editingHours);
    EXPECT_EQ(6, info.editingMinutes);
    EXPECT_EQ(3, info.customCount);
    EXPECT_STREQ("project=Harbeck", info.custom[2]);
    EXPECT_EQ(8 + 2, info.setCount);
    EXPECT_STREQ("格式ACAD r2004;", info.formatText);
    EXPECT_GT(info.modified.GetTime(), 0);
    DRAWINGINFO copy;
    info.Snapshot(&copy);
    EXPECT_EQ(info.setCount, copy.setCount);
    EXPECT_STREQ(info.author, copy.author);
    CDrawing::DeleteDrawing(drawing);
}

TEST(DrawingInfo, AFileGoneFromItsPathHasZeroTimes)
{
    std::string copy = testfiles::MakeScratchFolder("drawing_info") + "\\gone.dxf";
    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(Fixture("render.dxf"), bytes));
    ASSERT_TRUE(testfiles::WriteFileBytes(copy, bytes));
    CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
    ASSERT_EQ(0, drawing->open(copy.c_str(), nullptr));
    ASSERT_TRUE(DeleteFileA(copy.c_str()));
    DRAWINGINFO info;
    ASSERT_TRUE(DRAWINGINFO::FillFromDrawing(drawing, &info));
    EXPECT_EQ(0, info.created.GetTime());
    EXPECT_EQ(0, info.modified.GetTime());
    EXPECT_EQ(1 + 2, info.setCount);  // the editing time and the file times
    CDrawing::DeleteDrawing(drawing);
}

// Drawings of 2013 and 2018 are named by their version; the editing time
// and the summary of a DWG come from LibreDWG's read of its header and
// DWGPROPS record (TDINDWG 0.06261376 days: 90 minutes).
TEST(DrawingInfo, FilledFromDwgFiles)
{
    const struct {
        const char* file;
        const char* format;
    } kDrawings[] = {{"example_2013.dwg", "格式ACAD r2013;"}, {"example_2018.dwg", "格式ACAD r2018;"}};
    for (const auto& drawingFile : kDrawings) {
        CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
        ASSERT_EQ(0, drawing->open(DwgFixture(drawingFile.file).c_str(), nullptr)) << drawingFile.file;
        DRAWINGINFO info;
        ASSERT_TRUE(DRAWINGINFO::FillFromDrawing(drawing, &info));
        EXPECT_STREQ(drawingFile.format, info.formatText);
        CDrawing::DeleteDrawing(drawing);
    }
    CDrawing* drawing = CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW);
    ASSERT_EQ(0, drawing->open(DwgFixture("example_2000.dwg").c_str(), nullptr));
    DRAWINGINFO info;
    ASSERT_TRUE(DRAWINGINFO::FillFromDrawing(drawing, &info));
    EXPECT_EQ(1, info.editingHours);
    EXPECT_EQ(30, info.editingMinutes);
    EXPECT_STREQ("rurban", info.property6);
    CDrawing::DeleteDrawing(drawing);
}

TEST(StoredPreview, DwgPicturesBecomeDibs)
{
    CDib dib;
    ASSERT_TRUE(ReadStoredPreview(Fixture("preview_bmp.dwg").c_str(), &dib));
    EXPECT_EQ(37, dib.GetWidth());
    EXPECT_EQ(21, dib.GetHeight());
    CDib png;
    ASSERT_TRUE(ReadStoredPreview(Fixture("preview_png.dwg").c_str(), &png));
    EXPECT_EQ(45, png.GetWidth());
    EXPECT_EQ(30, png.GetHeight());
    CDib none;
    EXPECT_FALSE(ReadStoredPreview(Fixture("nopreview.dwg").c_str(), &none));
    EXPECT_FALSE(ReadStoredPreview(Fixture("render.dxf").c_str(), &none));
}
