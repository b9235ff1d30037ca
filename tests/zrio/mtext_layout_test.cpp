// MTEXT as a paragraph: formatting removed, lines broken at paragraph breaks
// and wrapped to the reference width, placed by attachment point and line
// spacing; the same box in the extents as on the screen.
#include "tests/support/gtest.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "platform/zrio/box_sink.h"
#include "platform/zrio/drawing_state.h"
#include "platform/zrio/mtext_layout.h"
#include "platform/zrio/text_measure.h"
#include "tests/zrio/fixtures.h"
#include "tests/zrio/render_support.h"

using namespace zriotest;

namespace {

std::vector<std::string> Texts(const std::vector<zr::MTextLine>& lines) {
  std::vector<std::string> texts;
  for (const zr::MTextLine& line : lines) texts.push_back(line.text);
  return texts;
}

std::vector<std::string> Wrap(const std::string& text, double limit) {
  return Texts(zr::WrapMTextLine(text, limit));
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(MTextLayout, FormattingCodesAreRemovedAndParagraphsSplit) {
  EXPECT_EQ(Lines({"Bold text", "line two\xC2\xA0" "end 1/2", "a{b}\\c", "x", "y", "dim"}),
            zr::MTextParagraphs("{\\fArial|b1;Bold} text\\Pline \\H2.5;two\\~end \\S1^2;"
                                "\\Pa\\{b\\}\\\\c^Jx\ny\\Xdim"));
}

TEST(MTextLayout, PercentCodesAreMeasuredAsTheyAreShown) {
  EXPECT_EQ(u"\u00B0 \u00B1 \u00D820 % ab", zr::TextForDisplay("%%d %%p %%c20 %%% %%ua%%ob"));
  EXPECT_DOUBLE_EQ(zr::TextAdvance("x%%d"), zr::TextAdvance(u8"x\u00B0"));
  EXPECT_DOUBLE_EQ(2.0, zr::TextAdvance(u8"中文"));
  EXPECT_DOUBLE_EQ(0.7, zr::TextAdvance("\xFF"));  // not UTF-8: one replacement character
}

TEST(MTextLayout, WrapsAtSpacesWithinTheLimit) {
  // "aaaa" is 2.8 text heights wide, a space 0.5.
  EXPECT_EQ(Lines({"aaaa aaaa", "aaaa"}), Wrap("aaaa aaaa aaaa", 6.5));
  EXPECT_EQ(Lines({"aaaa", "aaaa", "aaaa"}), Wrap("aaaa    aaaa aaaa", 6.0));
  // Leading spaces of a paragraph stay; a width of 0 does not wrap.
  EXPECT_EQ(Lines({"  aaaa", "aaaa"}), Wrap("  aaaa aaaa", 4.0));
  EXPECT_EQ(Lines({"aaaa aaaa aaaa"}), Wrap("aaaa aaaa aaaa", 0));
  for (const zr::MTextLine& line : zr::WrapMTextLine("The quick brown fox jumps over the lazy dog", 5)) {
    EXPECT_LE(line.advance, 5.0) << line.text;
    EXPECT_DOUBLE_EQ(zr::TextAdvance(line.text), line.advance);
  }
}

TEST(MTextLayout, WideCharactersBreakAnywhereButNotBeforeClosingPunctuation) {
  EXPECT_EQ(Lines({u8"中文", u8"字符", u8"测试"}), Wrap(u8"中文字符测试", 2.5));
  EXPECT_EQ(Lines({u8"中", u8"文，", u8"字符"}), Wrap(u8"中文，字符", 2.5));
  // Latin words next to CJK break at the boundary.
  EXPECT_EQ(Lines({u8"图号", u8"ABC"}), Wrap(u8"图号ABC", 2.5));
}

TEST(MTextLayout, AWordWiderThanTheLimitIsBrokenByCharacters) {
  EXPECT_EQ(Lines({"abc", "dea", "bcd", "e"}), Wrap("abcdeabcde", 2.5));
  // Narrower than one character: one character a line, never none.
  EXPECT_EQ(Lines({"a", "b"}), Wrap("ab", 0.1));
}

TEST(MTextLayout, NonBreakingSpaceKeepsWordsTogether) {
  EXPECT_EQ(Lines({"xx aa", "aa"}), Texts(zr::LayoutMText("xx aa aa", {1, 1, 3.5, 1, 1})));
  EXPECT_EQ(Lines({"xx", "aa aa"}), Texts(zr::LayoutMText("xx aa\\~aa", {1, 1, 3.5, 1, 1})));
}

namespace {

// The characters of a text other than spaces (plain and no-break).
std::string WithoutSpaces(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') continue;
    if (text.compare(i, 2, "\xC2\xA0") == 0) {
      ++i;
      continue;
    }
    out += text[i];
  }
  return out;
}

int VisibleCharacters(const std::string& text) {
  int count = 0;
  size_t pos = 0;
  while (pos < text.size()) count += zr::NextDisplayChar(text, &pos) != ' ';
  return count;
}

}  // namespace

TEST(MTextLayout, RandomTextsKeepEveryCharacterAndStayWithinTheWidth) {
  const char* const pieces[] = {"a", "W", "i", " ", "   ", u8"中", u8"，",
                                u8"（", "\\~", "\\P", "{", "\\\\", "%%d", "\xFF"};
  const size_t kPieces = sizeof(pieces) / sizeof(pieces[0]);
  std::mt19937 random(20261209);
  for (int n = 0; n < 3000; ++n) {
    std::string text;
    for (size_t k = random() % 30; k > 0; --k) text += pieces[random() % kPieces];
    double limit = double(random() % 80) / 10.0;  // 0 to 7.9 text heights
    std::vector<zr::MTextLine> lines = zr::LayoutMText(text, {1, 1, limit, 1, 1});
    std::string expected, got;
    for (const std::string& paragraph : zr::MTextParagraphs(text)) expected += WithoutSpaces(paragraph);
    for (const zr::MTextLine& line : lines) {
      got += WithoutSpaces(line.text);
      EXPECT_NEAR(zr::TextAdvance(line.text), line.advance, 1e-9) << text;
      // Only a single character (a no-break space among them) overflows.
      if (limit > 0 && line.advance > limit + 1e-9) {
        EXPECT_LE(VisibleCharacters(line.text), 1) << text << " / " << limit;
      }
    }
    ASSERT_EQ(expected, got) << text << " / " << limit;
  }
}

TEST(MTextLayout, ReferenceWidthIsInDrawingUnits) {
  // Height 2 and width factor 0.5: a text height takes one drawing unit.
  zr::MTextFormat format{2, 0.5, 6.5, 1, 1};
  EXPECT_EQ(Lines({"aaaa aaaa", "aaaa"}), Texts(zr::LayoutMText("aaaa aaaa aaaa", format)));
  format.referenceWidth = 0;
  EXPECT_EQ(1u, zr::LayoutMText("aaaa aaaa aaaa", format).size());
}

TEST(MTextLayout, AttachmentPointAndLineSpacingPlaceTheLines) {
  zr::MTextFormat format{3, 1, 0, 1, 1};
  std::vector<zr::MTextLine> top = zr::LayoutMText("ab\\Pabcd\\P\\Pa", format);
  ASSERT_EQ(4u, top.size());
  EXPECT_TRUE(top[2].text.empty());  // an empty paragraph keeps its line
  for (size_t i = 0; i < top.size(); ++i) {
    EXPECT_DOUBLE_EQ(0, top[i].x);
    EXPECT_NEAR(-3 - 5.0 * double(i), top[i].y, 1e-9);
  }
  format.attachment = 9;  // bottom right
  format.lineSpacing = 2;
  std::vector<zr::MTextLine> bottom = zr::LayoutMText("ab\\Pabcd\\P\\Pa", format);
  EXPECT_NEAR(0, bottom[3].y, 1e-9);
  EXPECT_NEAR(30, bottom[0].y, 1e-9);
  EXPECT_NEAR(-2.8 * 3, bottom[1].x, 1e-9);
  format.attachment = 5;  // middle centre: the block is centred on the point
  format.lineSpacing = 1;
  std::vector<zr::MTextLine> middle = zr::LayoutMText("ab\\Pabcd\\P\\Pa", format);
  EXPECT_NEAR(-2.8 * 3 / 2, middle[1].x, 1e-9);
  EXPECT_NEAR(0, (middle[0].y + 3) + middle[3].y, 1e-9);
  // Factors outside 0.25..4 are held to it; bad attachment points are 1.
  format = {3, 1, 0, 100, 42};
  std::vector<zr::MTextLine> clamped = zr::LayoutMText("a\\Pb", format);
  EXPECT_NEAR(-3, clamped[0].y, 1e-9);
  EXPECT_NEAR(-3 - 20, clamped[1].y, 1e-9);
}

namespace {

// mtext.dxf (make_fixtures.py): points at (0, 0) and (100, 100); a red MTEXT
// 60 wide at (10, 90), height 4; a blue one 30 wide at (10, 45), height 1.5;
// a green one 25 wide at (80, 10), height 2, turned by 90 degrees; a white
// one, not wrapped, at (10, 12), height 2, in a style of width factor 0.5.
class MTextDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    m_drawing = OpenFixture("mtext.dxf");
    ASSERT_TRUE(m_drawing);
    const std::vector<zr::Box3>& boxes = m_drawing->state()->layoutBoxes();
    ASSERT_EQ(6u, boxes.size());
    m_red = boxes[2];
    m_blue = boxes[3];
    m_green = boxes[4];
    m_narrow = boxes[5];
  }
  // Lines of a block of the given extent across its lines.
  static int LineCount(double extent, double height) {
    return int(std::lround((extent - height) / (height * 5 / 3))) + 1;
  }
  DrawingPtr m_drawing;
  zr::Box3 m_red, m_blue, m_green, m_narrow;
};

// Rows of pixels where a colour test holds, grouped into bands (text lines),
// and the right-most such pixel.
struct Bands {
  int count = 0, right = -1, left = 1 << 30, top = 1 << 30;
};

template <typename Test>
Bands FindBands(const PixelSurface& s, int size, Test test) {
  Bands bands;
  bool inBand = false;
  for (int y = 0; y < size; ++y) {
    bool lit = false;
    for (int x = 0; x < size; ++x) {
      if (!test(s.at(x, y))) continue;
      lit = true;
      bands.right = std::max(bands.right, x);
      bands.left = std::min(bands.left, x);
      bands.top = std::min(bands.top, y);
    }
    if (lit && !inBand) ++bands.count;
    inBand = lit;
  }
  return bands;
}

}  // namespace

TEST_F(MTextDrawing, ExtentsStayWithinTheReferenceWidthAndGrowDownwards) {
  EXPECT_NEAR(10, m_red.lo.x, 1e-9);
  EXPECT_LE(m_red.hi.x, 70 + 1e-9);
  EXPECT_GT(m_red.hi.x, 60);
  EXPECT_NEAR(90, m_red.hi.y, 1e-9);  // attachment 1: the top at the insertion point
  int redLines = LineCount(m_red.hi.y - m_red.lo.y, 4);
  EXPECT_GE(redLines, 4);

  // Twice the text (written in chunks) at half the width and a smaller
  // height: more lines, all of them there.
  EXPECT_NEAR(10, m_blue.lo.x, 1e-9);
  EXPECT_LE(m_blue.hi.x, 40 + 1e-9);
  EXPECT_NEAR(45, m_blue.hi.y, 1e-9);
  EXPECT_GT(LineCount(m_blue.hi.y - m_blue.lo.y, 1.5), redLines);

  // Turned by its rotation: the lines run upwards and follow one another
  // to the right.
  EXPECT_NEAR(10, m_green.lo.y, 1e-9);
  EXPECT_LE(m_green.hi.y, 35 + 1e-9);
  EXPECT_NEAR(80, m_green.lo.x, 1e-9);
  EXPECT_GE(LineCount(m_green.hi.x - m_green.lo.x, 2), 3);

  // The style's width factor narrows the characters.
  EXPECT_NEAR(zr::TextAdvance("aaaa aaaa aaaa") * 2 * 0.5, m_narrow.hi.x - m_narrow.lo.x, 1e-9);
  EXPECT_NEAR(2, m_narrow.hi.y - m_narrow.lo.y, 1e-9);

  zr::Box3 all = m_drawing->state()->layoutExtents();
  EXPECT_NEAR(0, all.lo.y, 1e-9);
  EXPECT_NEAR(100, all.hi.x, 1e-9);
}

TEST_F(MTextDrawing, RenderedLinesStayInsideTheRectangle) {
  // 404 pixels for 100 units: (x, y) lands on pixel (2 + 4x, 402 - 4y).
  const int kSize = 404;
  m_drawing->setViewSize(kSize, kSize);
  m_drawing->zoomExtents(0, 0, 1.0);
  PixelSurface s(kSize, kSize);
  m_drawing->draw(s.dc());  // on black
  Bands red = FindBands(s, kSize, [](COLORREF c) {
    return GetRValue(c) > 60 && GetGValue(c) == 0 && GetBValue(c) == 0;
  });
  Bands blue = FindBands(s, kSize, [](COLORREF c) {
    return GetBValue(c) > 60 && GetRValue(c) == 0 && GetGValue(c) == 0;
  });
  // Glyphs may reach a little past their origin (the hook of a "j"), never
  // past the wrapping width.
  const int kOverhang = 4;  // a quarter of the red text's height
  EXPECT_GE(red.count, 4);
  EXPECT_GE(red.left, 2 + 4 * 10 - kOverhang);
  // Ascenders reach a little above the capitals, which the height sets.
  const int kAscenderReach = 3;
  EXPECT_GE(red.top, 402 - 4 * 90 - kAscenderReach);
  EXPECT_GT(red.right, 2 + 4 * 55);
  EXPECT_LE(red.right, 2 + 4 * 70);
  EXPECT_GE(blue.count, 5);
  EXPECT_GE(blue.left, 2 + 4 * 10 - kOverhang);
  EXPECT_LE(blue.right, 2 + 4 * 40);
}

TEST_F(MTextDrawing, HitTestFindsTheWrappedLinesAndNothingPastTheirWidth) {
  m_drawing->setViewSize(404, 404);
  m_drawing->zoomExtents(0, 0, 1.0);
  PixelSurface s(404, 404);
  m_drawing->draw(s.dc());
  // (12, 80) lies on the red text's second line; y upwards in pixels.
  EXPECT_TRUE(m_drawing->highlightAt(s.dc(), 2 + 4 * 12, 2 + 4 * 80));
  m_drawing->restoreHighlight(s.dc());
  EXPECT_FALSE(m_drawing->highlightAt(s.dc(), 2 + 4 * 75, 2 + 4 * 80));
}

TEST_F(MTextDrawing, ExportOutlinesFillTheSameBox) {
  RedPoints device;
  ExportSquare(m_drawing.get(), &device);  // ten page units a drawing unit
  ASSERT_GT(device.count, 100);
  EXPECT_GE(device.left, 100 - 10);
  EXPECT_LE(device.right, 700);
  EXPECT_GT(device.right, 550);
  EXPECT_LE(device.top, 900 + 5);  // ascenders above the capitals
}

// Where ezdxf's drawing add-on puts lines (measured with it, height 2.5):
// a line stands 2/3 of the height of the line above plus its own height
// below it, a stack over a bar being 2.4 heights tall; indents count in
// text heights; dynamic columns flow where a baseline would pass the
// column's height, and a column break without columns moves one
// reference width along.
TEST(MTextLayout, LinesStandWhereEzdxfPutsThem) {
  zr::MTextFormat format{2.5, 1, 40, 1, 1};
  std::vector<zr::MTextLine> tall = zr::LayoutMText("L1\\P\\H2x;L2\\PL3", format);
  ASSERT_EQ(3u, tall.size());
  EXPECT_NEAR(-2.5, tall[0].y, 0.01);
  EXPECT_NEAR(-9.168, tall[1].y, 0.01);
  EXPECT_NEAR(-17.503, tall[2].y, 0.01);
  std::vector<zr::MTextLine> stacked = zr::LayoutMText("Line1\\PA\\S1/2;B\\PLine3", format);
  ASSERT_EQ(3u, stacked.size());
  EXPECT_NEAR(-10.168, stacked[1].y, 0.01);
  EXPECT_NEAR(-16.669, stacked[2].y, 0.01);
  ASSERT_EQ(3u, stacked[1].spans.size());
  EXPECT_EQ("1", stacked[1].spans[1].stack.upper);
  EXPECT_EQ("2", stacked[1].spans[1].stack.lower);
  zr::MTextStackPlaces bar = zr::PlaceStack(stacked[1].spans[1].stack);
  EXPECT_DOUBLE_EQ(1.4, bar.upperY);  // ezdxf: 3.5 above the baseline, the bar at 3
  EXPECT_DOUBLE_EQ(1.2, bar.fromY);
  std::vector<zr::MTextLine> indented = zr::LayoutMText("\\pxi-3,l5;Hanging words wrap here and on", format);
  ASSERT_LE(2u, indented.size());
  EXPECT_NEAR(5, indented[0].x, 1e-9);
  EXPECT_NEAR(12.5, indented[1].x, 1e-9);
  zr::MTextFormat dynamic{2.5, 1, 20, 1, 1};
  dynamic.columns = zr::MTextColumns::Dynamic;
  dynamic.columnWidth = 20;
  dynamic.gutter = 4;
  dynamic.columnHeights = {8, 12};
  std::vector<zr::MTextLine> flowing = zr::LayoutMText("a\\Pb\\Pc\\Pd\\Pe\\Pf", dynamic);
  ASSERT_EQ(6u, flowing.size());
  EXPECT_NEAR(0, flowing[1].x, 1e-9);
  EXPECT_NEAR(24, flowing[2].x, 1e-9);  // a third baseline at 10.8 passes 8
  EXPECT_NEAR(-2.5, flowing[2].y, 1e-9);
  EXPECT_NEAR(48, flowing[5].x, 1e-9);  // the last height holds on
  std::vector<zr::MTextLine> broken = zr::LayoutMText("one\\Ntwo", zr::MTextFormat{2.5, 1, 30, 1, 1});
  EXPECT_NEAR(30, broken[1].x, 1e-9);
  EXPECT_NEAR(-2.5, broken[1].y, 1e-9);
}

// Codes cut short, repeated or out of range place every line at a finite
// point, with columns and without.
TEST(MTextLayout, RandomCodesPlaceEveryLineAtAFinitePoint) {
  const char* const pieces[] = {"a", " ", "\\S", "1/2;", "^", "#", ";", "\\pxi-3,l5,qc;", "\\pi1e308;",
                                "\\T9;", "\\H1e9x;", "\\N", "\\P", "\\L", "\\o", "{", "}", "\\fA|b1;"};
  const size_t kPieces = sizeof(pieces) / sizeof(pieces[0]);
  std::mt19937 random(20261210);
  zr::MTextFormat dynamic{2, 1, 10, 1, 1};
  dynamic.columns = zr::MTextColumns::Dynamic;
  dynamic.columnWidth = 10;
  dynamic.columnHeight = 5;
  for (int n = 0; n < 2000; ++n) {
    std::string text;
    for (size_t k = random() % 24; k > 0; --k) text += pieces[random() % kPieces];
    for (const zr::MTextFormat& format : {zr::MTextFormat{2, 1, 10, 1, 4}, dynamic})
      for (const zr::MTextLine& line : zr::LayoutMText(text, format)) {
        ASSERT_TRUE(std::isfinite(line.x) && std::isfinite(line.y)) << text;
        for (const zr::MTextSpan& span : line.spans) ASSERT_TRUE(std::isfinite(span.advance)) << text;
      }
  }
}
