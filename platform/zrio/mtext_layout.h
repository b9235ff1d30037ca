// Paragraph layout of MTEXT: formatting codes removed, lines broken at
// paragraph and line breaks, paragraphs wrapped to the reference width, and
// the lines placed against the insertion point by the attachment point and
// the line spacing.
#pragma once
#include "platform/zrio/win32.h"

#include <string>
#include <vector>

namespace zr {

struct MTextFormat {
  double height = 1;          // text height, drawing units
  double widthFactor = 1;     // horizontal scale of the characters
  double referenceWidth = 0;  // wrapping width, drawing units; 0 does not wrap
  double lineSpacing = 1;     // factor of the usual 5/3 x height between baselines
  int attachment = 1;         // 1..9: top, middle, bottom x left, centre, right
};

struct MTextLine {
  std::string text;    // UTF-8, formatting removed
  double advance = 0;  // width, in text heights at width factor 1 (TextAdvance)
  double x = 0, y = 0; // start of the baseline from the insertion point, drawing
                       // units along the text's direction and up
};

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

// The lines of an MTEXT, wrapped and placed.
std::vector<MTextLine> LayoutMText(const std::string& contents, const MTextFormat& format);

}  // namespace zr
