#include "platform/zrio/win32.h"
#include "platform/zrio/mtext_layout.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/zrio/text_measure.h"

namespace zr {

namespace {

const char kNoBreakSpace[] = "\xC2\xA0";  // U+00A0 in UTF-8

// Usual distance between baselines, in text heights, at spacing factor 1.
// "At least" and "exactly" line spacing agree here: with the formatting
// codes removed every character of an MTEXT has the entity's height.
const double kLineSpacing = 5.0 / 3.0;
const double kMinSpacingFactor = 0.25, kMaxSpacingFactor = 4.0;

// Characters that may not start a line (closing punctuation).
const char32_t kNoLineStart[] = {
    ',', '.', ';', ':', '!', '?', ')', ']', '}', '%',
    U'\u3001', U'\u3002', U'\uFF0C', U'\uFF0E', U'\uFF1A', U'\uFF1B', U'\uFF01', U'\uFF1F',
    U'\uFF09', U'\uFF3D', U'\uFF5D', U'\u300B', U'\u300D', U'\u300F', U'\u3011', U'\u3009',
    U'\u3015', U'\u201D', U'\u2019', U'\u2026'};
// Characters that may not end a line (opening punctuation).
const char32_t kNoLineEnd[] = {'(', '[', '{', U'\uFF08', U'\uFF3B', U'\uFF5B', U'\u300A',
                               U'\u300C', U'\u300E', U'\u3010', U'\u3008', U'\u3014',
                               U'\u201C', U'\u2018'};

template <size_t N>
bool OneOf(const char32_t (&set)[N], char32_t c) {
  return std::find(set, set + N, c) != set + N;
}

// One displayed character of a line and the bytes it came from.
struct Glyph {
  size_t begin, end;
  char32_t c;
  double advance;
};

std::vector<Glyph> Glyphs(const std::string& text) {
  std::vector<Glyph> glyphs;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t begin = pos;
    char32_t c = NextDisplayChar(text, &pos);
    glyphs.push_back({begin, pos, c, CharAdvance(c)});
  }
  return glyphs;
}

bool IsBreakingSpace(char32_t c) { return c == ' '; }

// Whether a line may end before glyph i (i > 0).
bool CanBreakBefore(const std::vector<Glyph>& g, size_t i) {
  char32_t prev = g[i - 1].c, c = g[i].c;
  if (IsBreakingSpace(c)) return false;
  if (IsBreakingSpace(prev)) return true;
  if (!IsWideChar(prev) && !IsWideChar(c)) return false;
  return !OneOf(kNoLineStart, c) && !OneOf(kNoLineEnd, prev);
}

// The line of glyphs [first, last) without its trailing spaces.
MTextLine MakeLine(const std::string& text, const std::vector<Glyph>& g, size_t first,
                   size_t last) {
  while (last > first && IsBreakingSpace(g[last - 1].c)) --last;
  MTextLine line;
  if (last == first) return line;
  line.text = text.substr(g[first].begin, g[last - 1].end - g[first].begin);
  for (size_t i = first; i < last; ++i) line.advance += g[i].advance;
  for (size_t at = line.text.find(kNoBreakSpace); at != std::string::npos;
       at = line.text.find(kNoBreakSpace, at))
    line.text.replace(at, 2, " ");
  return line;
}

// Appends the text of a formatting code that carries text, or skips the
// code; returns the index after it. text[i] is the backslash.
size_t FormattingCode(const std::string& text, size_t i, std::vector<std::string>& lines) {
  char code = text[i + 1];
  switch (code) {
    case 'P': case 'N': case 'X':
      lines.emplace_back();
      return i + 2;
    case '\\': case '{': case '}':
      lines.back() += code;
      return i + 2;
    case '~':
      lines.back() += kNoBreakSpace;
      return i + 2;
    case 'L': case 'l': case 'O': case 'o': case 'K': case 'k':
      return i + 2;
    case 'S': {
      // Stacked text "\Sa^b;" shown as "a/b".
      size_t end = text.find(';', i);
      std::string stack = text.substr(i + 2, end == std::string::npos ? std::string::npos : end - i - 2);
      for (char& s : stack)
        if (s == '^' || s == '#') s = '/';
      lines.back() += stack;
      return end == std::string::npos ? text.size() : end + 1;
    }
    default: {
      // Codes with an argument up to ';': \f \F \H \W \Q \T \A \C \c \p.
      size_t end = text.find(';', i);
      if (end == std::string::npos || code == '\0' || !strchr("fFHWQTACcp", code)) {
        lines.back() += '\\';
        return i + 1;
      }
      return end + 1;
    }
  }
}

}  // namespace

std::vector<std::string> MTextParagraphs(const std::string& contents) {
  std::vector<std::string> lines(1);
  size_t i = 0;
  while (i < contents.size()) {
    char c = contents[i];
    if (c == '\\' && i + 1 < contents.size()) {
      i = FormattingCode(contents, i, lines);
    } else if (c == '^' && i + 1 < contents.size()) {
      // Control characters written as a caret and a letter.
      char next = contents[i + 1];
      if (next == 'J') lines.emplace_back();
      else if (next == 'I') lines.back() += ' ';
      else if (next == ' ') lines.back() += '^';
      else if (next != 'M') lines.back().append(contents, i, 2);
      i += 2;
    } else {
      if (c == '\n') lines.emplace_back();
      else if (c == '\t') lines.back() += ' ';
      else if (c != '{' && c != '}' && c != '\r') lines.back() += c;
      ++i;
    }
  }
  return lines;
}

std::vector<MTextLine> WrapMTextLine(const std::string& text, double limit) {
  std::vector<Glyph> g = Glyphs(text);
  if (!(limit > 0) || !std::isfinite(limit)) return {MakeLine(text, g, 0, g.size())};
  limit *= 1 + 1e-9;
  std::vector<MTextLine> lines;
  size_t start = 0;
  do {
    double width = 0;
    size_t lastBreak = start, end = g.size();
    bool visible = false;  // the line has a character other than spaces
    for (size_t i = start; i < g.size(); ++i) {
      if (i > start && CanBreakBefore(g, i)) lastBreak = i;
      if (!IsBreakingSpace(g[i].c)) {
        if (visible && width + g[i].advance > limit) {
          end = lastBreak > start ? lastBreak : i;
          break;
        }
        visible = true;
      }
      width += g[i].advance;
    }
    lines.push_back(MakeLine(text, g, start, end));
    start = end;
    while (start < g.size() && start > 0 && IsBreakingSpace(g[start].c)) ++start;
  } while (start < g.size());
  return lines;
}

std::vector<MTextLine> LayoutMText(const std::string& contents, const MTextFormat& format) {
  double unit = format.height * format.widthFactor;  // drawing units a text height
  double limit = unit > 0 && format.referenceWidth > 0 ? format.referenceWidth / unit : 0;
  std::vector<MTextLine> lines;
  for (const std::string& paragraph : MTextParagraphs(contents)) {
    std::vector<MTextLine> wrapped = WrapMTextLine(paragraph, limit);
    for (MTextLine& line : wrapped) lines.push_back(std::move(line));
  }
  double factor = format.lineSpacing;
  if (!(factor >= kMinSpacingFactor)) factor = factor > 0 ? kMinSpacingFactor : 1;
  factor = std::min(factor, kMaxSpacingFactor);
  double spacing = kLineSpacing * factor * format.height;
  int attachment = format.attachment >= 1 && format.attachment <= 9 ? format.attachment : 1;
  int column = (attachment - 1) % 3, row = (attachment - 1) / 3;
  // Top: the first line's characters hang from the insertion point; middle:
  // the block is centred on it; bottom: the last baseline runs through it.
  double total = format.height + spacing * double(lines.size() - 1);
  double firstBaseline = row == 0 ? -format.height : (row == 1 ? total / 2 - format.height : total - format.height);
  for (size_t i = 0; i < lines.size(); ++i) {
    // Each line is aligned within the block as the block is on the
    // insertion point, so its place does not depend on the block's width.
    lines[i].x = -lines[i].advance * unit * column / 2.0;
    lines[i].y = firstBaseline - spacing * double(i);
  }
  return lines;
}

}  // namespace zr
