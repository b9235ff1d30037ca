// Numbers in a drawing file too large for the integer they are read into:
// they are held to that integer's range (or to the default) instead of
// overflowing. Also built with the undefined-behaviour sanitizer.
#include "tests/support/gtest.h"

#include <limits.h>
#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "platform/zrio/drawing_state.h"
#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/dxf_text_numbers.h"
#include "platform/zrio/hatch_pattern.h"
#include "tests/support/test_files.h"
#include "tests/zrio/fixtures.h"

using namespace zriotest;

namespace {

// A DXF text from its group code and value lines.
std::string Dxf(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\n";
  return text + "0\nEOF\n";
}

bool Read(const std::string& text, zr::Database* db) {
  return zr::ReadDxf(text.c_str(), text.size(), *db, zr::LoadControl()) == zr::LoadResult::Ok;
}

DrawingPtr Open(const std::string& text) {
  std::string path = testfiles::MakeScratchFolder("numbers") + "\\drawing.dxf";
  DrawingPtr drawing(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  if (!testfiles::WriteFileBytes(path, text) || drawing->open(path.c_str(), nullptr) != 0)
    return nullptr;
  return drawing;
}

// A block of one unit-long line inserted as `columns` columns ten units apart.
std::string GridOfColumns(const char* columns) {
  return Dxf({"0", "SECTION", "2", "BLOCKS", "0", "BLOCK", "8", "0", "2", "DOT", "70", "0",
              "10", "0", "20", "0", "30", "0", "3", "DOT", "0", "LINE", "8", "0", "10", "0",
              "20", "0", "11", "1", "21", "1", "0", "ENDBLK", "0", "ENDSEC",
              "0", "SECTION", "2", "ENTITIES", "0", "INSERT", "8", "0", "2", "DOT", "10", "0",
              "20", "0", "70", columns, "71", "1", "44", "10", "45", "10", "0", "ENDSEC"});
}

}  // namespace

TEST(LargeNumbers, DoubleGroupsHoldTheirIntegerToItsRange) {
  std::string text = "40\n1e300\n40\n-1e300\n40\nnan\n40\n-7.9\n";
  zr::DxfGroupReader reader(text.c_str(), text.size());
  int64_t expected[] = {INT64_MAX, INT64_MIN, 0, -7};
  for (int64_t value : expected) {
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(value, reader.group().integer);
  }
}

TEST(LargeNumbers, TheMostNegativeLayerColourIsAnOffLayerOfAPositiveColour) {
  zr::Database db;
  ASSERT_TRUE(Read(Dxf({"0", "SECTION", "2", "TABLES", "0", "TABLE", "2", "LAYER", "0", "LAYER",
                        "2", "ODD", "62", "-9223372036854775808", "0", "ENDTAB", "0", "ENDSEC"}),
                   &db));
  ASSERT_EQ(1u, db.layerIndex.count("ODD"));
  const zr::Layer& layer = db.layers[size_t(db.layerIndex["ODD"])];
  EXPECT_FALSE(layer.on);
  EXPECT_GT(layer.color, 0);
}

TEST(LargeNumbers, HeaderNumbersBeyondTheirRange) {
  zr::Database db;
  // 4294968232 is 2^32 + 936, 4294967299 is 2^32 + 3: cut to 32 bits they
  // would read as a Chinese code page and a point style.
  ASSERT_TRUE(Read(Dxf({"0", "SECTION", "2", "HEADER", "9", "$DWGCODEPAGE", "3", "ANSI_4294968232",
                        "9", "$PDMODE", "70", "4294967299", "0", "ENDSEC"}),
                   &db));
  EXPECT_EQ(1252, db.codePage);
  EXPECT_EQ(INT_MAX, db.pdmode);
  ASSERT_TRUE(Read(Dxf({"0", "SECTION", "2", "HEADER", "9", "$DWGCODEPAGE", "3", "ANSI_936",
                        "0", "ENDSEC"}),
                   &db));
  EXPECT_EQ(936, db.codePage);
}

TEST(LargeNumbers, AnInsertOfTooManyColumnsDrawsTheMostItDraws) {
  DrawingPtr most = Open(GridOfColumns("1000"));
  DrawingPtr huge = Open(GridOfColumns("99999999999"));
  ASSERT_TRUE(most && huge);
  zr::Box3 expected = most->state()->layoutExtents(), extents = huge->state()->layoutExtents();
  EXPECT_EQ(9991, expected.hi.x);
  EXPECT_EQ(expected.hi.x, extents.hi.x);
  EXPECT_EQ(expected.hi.y, extents.hi.y);
}

TEST(LargeNumbers, AHatchPatternsDashCountIsHeldToTheDashesThere) {
  zr::RawGroups groups = {{78, "1"},  {53, "0"},     {43, "0"},  {44, "0"},   {45, "0"},
                          {46, "1"},  {79, "1e300"}, {49, "1"},  {49, "-0.5"}};
  std::vector<zr::PatternLine> lines = zr::HatchPatternLines(groups);
  ASSERT_EQ(1u, lines.size());
  EXPECT_EQ(std::vector<double>({1, -0.5}), lines[0].dashes);
}

// Negating the vertex number overflowed; the sanitizer build stops there.
TEST(LargeNumbers, APolyfaceWithTheMostNegativeVertexNumberDraws) {
  auto vertex = [](const char* x, const char* y) {
    return std::string("0\nVERTEX\n8\n0\n70\n192\n10\n") + x + "\n20\n" + y + "\n";
  };
  std::string text = "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n8\n0\n66\n1\n70\n64\n" +
                     vertex("0", "0") + vertex("10", "0") + vertex("0", "10") +
                     "0\nVERTEX\n8\n0\n70\n128\n10\n0\n20\n0\n71\n1\n72\n2\n73\n-2147483648\n"
                     "0\nSEQEND\n0\nENDSEC\n0\nEOF\n";
  DrawingPtr drawing = Open(text);
  ASSERT_TRUE(drawing);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(32, 32, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  drawing->setViewSize(32, 32);
  drawing->zoomExtents(0, 0, 1.0);
  drawing->draw(dc);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(TextNumbers, ValueLinesReadAsTheCLibraryReadsThem) {
  const char* const lines[] = {"1.5", "  -0.25", "+3", "+-3", "1e5", "1E+5x", ".5", "5.", ".",
                               "-", "0x1p3", "-0X10", "inf", "-nan", "infinity", "1e400",
                               "-1e400", "1e-400", "4.9e-324", "2.2250738585072011e-308",
                               "123456789012345678901234567890.5", "1_000", " \t7", "\v8", "\r9",
                               "", "   ", "9223372036854775807", "9223372036854775808",
                               "-9223372036854775809", "12abc", "0007", "- 5"};
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    double expected = strtod(line, nullptr), actual = zr::DoubleOfLine(line);
    EXPECT_TRUE((isnan(expected) && isnan(actual)) || memcmp(&expected, &actual, sizeof(double)) == 0)
        << expected << " " << actual;
    EXPECT_EQ(strtoll(line, nullptr, 10), zr::IntegerOfLine(line));
  }
}

// The C library passes over line ends as blanks: a value line of blanks
// took the number of the line after it, the next group's code.
TEST(TextNumbers, ABlankValueLineReadsAsZero) {
  std::string text = "10\n   \n20\n7\n70\n\n71\n3\n";
  zr::DxfGroupReader reader(text.c_str(), text.size());
  double expected[] = {0, 7, 0, 3};
  for (double value : expected) {
    ASSERT_TRUE(reader.next());
    EXPECT_EQ(value, reader.group().number);
  }
}
