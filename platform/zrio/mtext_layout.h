// Paragraph layout of MTEXT: formatting codes removed, lines broken at
// paragraph and line breaks, paragraphs wrapped to the reference width, and
// the lines placed against the insertion point by the attachment point and
// the line spacing.
#pragma once
#include "platform/zrio/win32.h"

#include <stdint.h>

#include <string>
#include <vector>

namespace zr {

// Columns of an MTEXT: static ones break only at column breaks (\N),
// dynamic ones also where a line's baseline would pass the column's height.
enum class MTextColumns : uint8_t { None, Static, Dynamic };

struct MTextFormat {
  double height = 1;          // text height, drawing units
  double widthFactor = 1;     // horizontal scale of the characters
  double referenceWidth = 0;  // wrapping width, drawing units; 0 does not wrap
  double lineSpacing = 1;     // factor of the usual 5/3 x height between baselines
  int attachment = 1;         // 1..9: top, middle, bottom x left, centre, right
  MTextColumns columns = MTextColumns::None;
  double columnWidth = 0, gutter = 0;  // drawing units; columns wrap at their width
  double columnHeight = 0;             // of every column (static, dynamic auto height)
  std::vector<double> columnHeights;   // of each column (dynamic, manual heights)
};

// Stacked text (\S): `upper` over `lower` with a bar between them ('/'),
// over it left-aligned without one ('^', tolerances), or beside it across
// a slash ('#'). Kind 0: not a stack.
struct MTextStack {
  std::string upper, lower;
  char kind = 0;
};

// How inline codes change the characters of a stretch of text: factors of
// the entity's height (\H) and width factor (\W), the slant (\Q, degrees),
// the colour (\C index or \c true colour) and the tracking (\T, a factor
// of the space each character takes). A stack takes one character's place
// in its style (its index in the layout's stacks, -1 for text). A font
// (\f name|b1|i1;) makes the characters bold or italic; its face, like an
// SHX font's (\F), is drawn with the stand-in face. \L, \O and \K draw a
// line under, over or through the characters (MTextLines says where).
struct MTextStyle {
  double height = 1, width = 1, oblique = 0, tracking = 1;
  int aci = -1;            // -1: the entity's colour
  int32_t trueColor = -1;  // 0x00RRGGBB, -1 none
  int stack = -1;
  bool bold = false, italic = false;
  uint8_t lines = 0;  // MTextLines
  bool operator==(const MTextStyle& o) const {
    return height == o.height && width == o.width && oblique == o.oblique && tracking == o.tracking &&
           aci == o.aci && trueColor == o.trueColor && stack == o.stack && bold == o.bold &&
           italic == o.italic && lines == o.lines;
  }
};

// Lines along the characters and their height above the baseline, in text
// heights.
enum MTextLines : uint8_t { kUnderline = 1, kOverline = 2, kStrikeThrough = 4 };
const double kUnderlineAt = -0.2, kOverlineAt = 1.2, kStrikeThroughAt = 0.5;

// Characters of a line in one style.
struct MTextSpan {
  size_t begin = 0, end = 0;  // bytes of the line's text
  MTextStyle style;
  double x = 0;        // start from the line's start, in text heights
  double advance = 0;  // width, in text heights
  MTextStack stack;    // a stack's texts; then the span's text is a placeholder
};

struct MTextLine {
  std::string text;    // UTF-8, formatting removed
  double advance = 0;  // width, in text heights at width factor 1 (TextAdvance)
  double x = 0, y = 0; // start of the baseline from the insertion point, drawing
                       // units along the text's direction and up
  std::vector<MTextSpan> spans;  // the text in its styles (LayoutMText only)
};

// Where a stack's texts stand, in its text heights from the start of its
// span's baseline: the upper and the lower text's baseline starts, and the
// bar or slash (none when from equals to). Widths are the texts' advances.
struct MTextStackPlaces {
  double upperX = 0, upperY = 0, lowerX = 0, lowerY = 0;
  double fromX = 0, fromY = 0, toX = 0, toY = 0;
};
MTextStackPlaces PlaceStack(const MTextStack& stack);

// The text of an MTEXT with its formatting codes removed, one string per
// line: paragraph breaks (\P), line breaks (a line feed or ^J), column
// breaks (\N) and the dimension text break (\X) start a new line. A
// non-breaking space (\~) becomes U+00A0.
std::vector<std::string> MTextParagraphs(const std::string& contents);

// Wraps one line of text so that no line is wider than `limit` text heights
// (at width factor 1): breaks after spaces, and between two characters when
// one of them is wide (CJK), but not before closing or after opening
// punctuation. A word wider than the limit is broken between characters;
// every line keeps at least one character. The spaces at a break stay out of
// both lines; U+00A0 never breaks and comes out as a plain space. limit <= 0
// does not wrap.
std::vector<MTextLine> WrapMTextLine(const std::string& text, double limit);

// The same for a line whose bytes each have a style (styles[i] for byte i).
std::vector<MTextLine> WrapStyledLine(const std::string& text, const std::vector<MTextStyle>& styles,
                                      double limit);

// The lines of an MTEXT, wrapped and placed. Paragraph indents (\pi first
// line, \pl left, \pr right, in text heights) and alignments (\pxqc
// centred, \pxqr right, within the wrapping width of a text attached on the
// left) hold until changed. A line
// stands below the one before it by the spacing factor times 2/3 of that
// line's height plus its own height (a line's height: its tallest
// characters', or 2.4 of them with a stack over a bar, 2 with one across a
// slash). Column breaks without columns start the next column one
// reference width along.
std::vector<MTextLine> LayoutMText(const std::string& contents, const MTextFormat& format);

}  // namespace zr
