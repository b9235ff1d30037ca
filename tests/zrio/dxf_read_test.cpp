// Drawings written by ezdxf in every version, ASCII and binary: extents,
// layers, layouts, blocks, properties and versions match ezdxf's answers.
#include "tests/support/gtest.h"

#include <cmath>

#include "platform/zrio/drawing_state.h"
#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/library_globals.h"
#include "platform/zrio/utf8.h"
#include "tests/zrio/fixtures.h"

using namespace zriotest;

namespace {

int CollectProperty(int id, const char* text, void* user) {
  static_cast<std::vector<std::pair<int, std::string>>*>(user)->push_back({id, text});
  return 0;
}

void ExpectNear(double expected, double actual, double tolerance, double span, const char* what) {
  EXPECT_LE(std::fabs(expected - actual), tolerance * std::max(span, 1.0))
      << what << ": expected " << expected << ", got " << actual;
}

}  // namespace

TEST(DxfRead, MatchesEzdxfForEveryVersionAndFormat) {
  std::vector<std::string> names = DrawingNames();
  ASSERT_GE(names.size(), 26u);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    Answers a;
    ASSERT_TRUE(ReadAnswers(name, &a));
    short status = -1;
    DrawingPtr d = OpenFixture(name + ".dxf", &status);
    ASSERT_EQ(0, status);
    ASSERT_TRUE(d->isLoaded());

    zr::Box3 box = d->state()->layoutExtents();
    double span = std::max(a.maxX - a.minX, a.maxY - a.minY);
    ExpectNear(a.minX, box.lo.x, a.tolerance, span, "min x");
    ExpectNear(a.minY, box.lo.y, a.tolerance, span, "min y");
    ExpectNear(a.maxX, box.hi.x, a.tolerance, span, "max x");
    ExpectNear(a.maxY, box.hi.y, a.tolerance, span, "max y");

    ASSERT_EQ(int(a.layers.size()), d->getLayerCount());
    for (size_t i = 0; i < a.layers.size(); ++i) {
      char text[256];
      ASSERT_TRUE(d->getLayerName(int(i), text, sizeof(text)));
      EXPECT_STRCASEEQ(a.layers[i].name.c_str(), text);
      EXPECT_EQ(a.layers[i].color, d->getLayerColor(int(i)));
      EXPECT_EQ(a.layers[i].on, d->isLayerOn(int(i)));
      EXPECT_EQ(a.layers[i].frozen, d->isLayerFrozen(int(i)));
    }

    ASSERT_EQ(int(a.layouts.size()), d->getLayoutCount());
    for (size_t i = 0; i < a.layouts.size(); ++i) {
      char text[256];
      ASSERT_TRUE(d->getLayoutName(int(i), text, sizeof(text)));
      EXPECT_EQ(a.layouts[i], text);
    }
    EXPECT_EQ(size_t(a.blocks), d->state()->db->blocks.size());

    std::vector<std::pair<int, std::string>> props;
    d->enumProperties(CollectProperty, &props);
    EXPECT_EQ(a.properties, props);
    EXPECT_EQ(zr::VersionCodeOf(a.version), d->getVersion());
  }
}

TEST(DxfRead, VersionCodesFollowTheFormatTable) {
  EXPECT_EQ(23, zr::VersionCodeOf("AC1015"));
  EXPECT_EQ(16, zr::VersionCodeOf("AC1009"));
  EXPECT_EQ(25, zr::VersionCodeOf("AC1018"));
  EXPECT_EQ(27, zr::VersionCodeOf("AC1021"));
  EXPECT_EQ(29, zr::VersionCodeOf("AC1024"));
  EXPECT_EQ(-1, zr::VersionCodeOf("XYZ"));
  DrawingPtr d = OpenFixture("basic_R2000_asc.dxf");
  ASSERT_TRUE(d);
  EXPECT_EQ(23, d->getVersion());
  char name[MAX_PATH];
  d->getFileName(name);
  EXPECT_EQ(FixturePath("basic_R2000_asc.dxf"), name);
}

TEST(DxfRead, DwgHeadersWithoutADrawingFailButKeepTheirVersion) {
  short status = -1;
  DrawingPtr d(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  status = d->open(FixturePath("preview_bmp.dwg").c_str(), nullptr);
  EXPECT_EQ(CDrawing::kOpenBadData, status);
  EXPECT_FALSE(d->isLoaded());
  EXPECT_EQ(23, d->getVersion());
  EXPECT_EQ(CDrawing::kOpenFileError, d->open(FixturePath("missing.dxf").c_str(), nullptr));
}

TEST(DxfRead, PasswordHookAnswersFour) {
  std::string path = FixturePath("render.dxf");
  DWG_TestRequirePassword(path.c_str(), "secret");
  DrawingPtr d(CDrawing::CreateDrawing(CDRAWING_SERVER_VIEW));
  EXPECT_EQ(CDrawing::kOpenPassword, d->open(path.c_str(), nullptr));
  EXPECT_EQ(CDrawing::kOpenPassword, d->open(path.c_str(), "wrong"));
  EXPECT_EQ(CDrawing::kOpened, d->open(path.c_str(), "secret"));
  DWG_TestRequirePassword(nullptr, nullptr);
  EXPECT_EQ(CDrawing::kOpened, d->open(path.c_str(), nullptr));
}

TEST(DxfText, CharacterEscapesBecomeCharacters) {
  zr::Database db;
  // "中文" as GB2312 double-byte escapes, then a Unicode escape of the same.
  EXPECT_EQ("\xE4\xB8\xAD\xE6\x96\x87 A\xE4\xB8\xAD",
            zr::DecodeText("\\M+5D6D0\\M+5CEC4 A\\U+4E2D", db));
  // Big5 and Shift-JIS escapes of one character each.
  EXPECT_EQ("\xE4\xB8\xAD", zr::DecodeText("\\M+2A4A4", db));
  EXPECT_EQ("\xE4\xB8\xAD", zr::DecodeText("\\M+19286", db));
  // Malformed or unknown escapes stay as written.
  for (const char* kept : {"\\M+9D6D0", "\\M+5D6", "\\M+5ZZZZ", "\\U+12", "\\U+0000",
                           "\\U+D800", "trailing \\", "\\M+50041"})
    EXPECT_EQ(kept, zr::DecodeText(kept, db)) << kept;
}

TEST(DxfText, CodePageTextIsDecodedBeforeItsEscapes) {
  zr::Database db;
  db.codePage = 936;
  // GBK bytes of "图" next to an escape of "中".
  EXPECT_EQ("\xE5\x9B\xBE\xE4\xB8\xAD", zr::DecodeText("\xCD\xBC\\U+4E2D", db));
}

TEST(DxfText, Utf8CharactersRoundTripAndDamageIsReplaced) {
  std::string text;
  for (char32_t c : {char32_t('A'), char32_t(0xE9), char32_t(0x4E2D), char32_t(0x1F600)})
    zr::AppendUtf8(text, c);
  EXPECT_EQ("A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80", text);
  size_t pos = 0;
  for (char32_t c : {char32_t('A'), char32_t(0xE9), char32_t(0x4E2D), char32_t(0x1F600)})
    EXPECT_EQ(c, zr::DecodeUtf8(text, &pos));
  EXPECT_EQ(text.size(), pos);
  // A cut or malformed sequence moves on by one byte; an overlong form and
  // a surrogate by their whole sequence.
  const struct { const char* bytes; size_t step; } kDamaged[] = {
      {"\xE4\xB8", 1}, {"\xE4\x41\x42", 1}, {"\xC0\xAF", 2}, {"\xED\xA0\x80", 3}};
  for (const auto& d : kDamaged) {
    pos = 0;
    EXPECT_EQ(zr::kReplacementChar, zr::DecodeUtf8(d.bytes, &pos)) << d.bytes;
    EXPECT_EQ(d.step, pos) << d.bytes;
  }
}
