#include "platform/zrio/win32.h"
#include "platform/zrio/mtext_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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
  double advance;  // text heights, in the glyph's style
  MTextStyle style;
};

// The glyphs of the text; styles[i] is the style of byte i (none: plain).
std::vector<Glyph> Glyphs(const std::string& text, const std::vector<MTextStyle>& styles) {
  std::vector<Glyph> glyphs;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t begin = pos;
    char32_t c = NextDisplayChar(text, &pos);
    MTextStyle style = begin < styles.size() ? styles[begin] : MTextStyle();
    glyphs.push_back({begin, pos, c, CharAdvance(c) * style.height * style.width, style});
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

// The line of glyphs [first, last) without its trailing spaces, in spans
// of one style each.
MTextLine MakeLine(const std::string& text, const std::vector<Glyph>& g, size_t first,
                   size_t last) {
  while (last > first && IsBreakingSpace(g[last - 1].c)) --last;
  MTextLine line;
  for (size_t i = first; i < last; ++i) {
    if (line.spans.empty() || !(line.spans.back().style == g[i].style)) {
      MTextSpan span;
      span.begin = span.end = line.text.size();
      span.style = g[i].style;
      span.x = line.advance;
      line.spans.push_back(span);
    }
    bool noBreakSpace = text.compare(g[i].begin, g[i].end - g[i].begin, kNoBreakSpace) == 0;
    if (noBreakSpace) line.text += ' ';
    else line.text.append(text, g[i].begin, g[i].end - g[i].begin);
    line.spans.back().end = line.text.size();
    line.spans.back().advance += g[i].advance;
    line.advance += g[i].advance;
  }
  return line;
}

// Text split into lines as the codes say, each byte with its style.
struct StyledLines {
  std::vector<std::string> text{std::string()};
  std::vector<std::vector<MTextStyle>> styles{std::vector<MTextStyle>()};
  MTextStyle style;                // of what comes next
  std::vector<MTextStyle> groups;  // styles before each open brace
  double height = 1, widthFactor = 1;  // the entity's, for absolute values

  void add(const std::string& bytes) {
    text.back() += bytes;
    styles.back().insert(styles.back().end(), bytes.size(), style);
  }
  void add(char c) { add(std::string(1, c)); }
  void newLine() {
    text.emplace_back();
    styles.emplace_back();
  }
  // A code's value: "2x" is relative to the current one, "2" absolute
  // (over `unit`).
  static double Value(const std::string& value, double current, double unit) {
    double v = atof(value.c_str());
    if (!(v > 0) || !std::isfinite(v)) return current;
    if (!value.empty() && (value.back() == 'x' || value.back() == 'X')) return current * v;
    return unit > 0 ? v / unit : current;
  }
  void apply(char code, const std::string& value) {
    switch (code) {
      case 'H': style.height = std::min(100.0, Value(value, style.height, height)); break;
      case 'W': style.width = std::min(100.0, Value(value, style.width, widthFactor)); break;
      case 'Q': {
        double angle = atof(value.c_str());
        style.oblique = std::isfinite(angle) ? std::max(-85.0, std::min(85.0, angle)) : 0;
        break;
      }
      case 'C': style.aci = atoi(value.c_str()); style.trueColor = -1; break;
      case 'c': style.trueColor = int32_t(atol(value.c_str()) & 0xFFFFFF); break;
    }
  }
};

// Appends the text of a formatting code that carries text, or takes in the
// code's style; returns the index after it. text[i] is the backslash.
size_t FormattingCode(const std::string& text, size_t i, StyledLines& lines) {
  char code = text[i + 1];
  switch (code) {
    case 'P': case 'N': case 'X':
      lines.newLine();
      return i + 2;
    case '\\': case '{': case '}':
      lines.add(code);
      return i + 2;
    case '~':
      lines.add(kNoBreakSpace);
      return i + 2;
    case 'L': case 'l': case 'O': case 'o': case 'K': case 'k':
      return i + 2;
    case 'S': {
      // Stacked text "\Sa^b;" shown as "a/b".
      size_t end = text.find(';', i);
      std::string stack = text.substr(i + 2, end == std::string::npos ? std::string::npos : end - i - 2);
      for (char& s : stack)
        if (s == '^' || s == '#') s = '/';
      lines.add(stack);
      return end == std::string::npos ? text.size() : end + 1;
    }
    default: {
      // Codes with an argument up to ';': \f \F \H \W \Q \T \A \C \c \p.
      size_t end = text.find(';', i);
      if (end == std::string::npos || code == '\0' || !strchr("fFHWQTACcp", code)) {
        lines.add('\\');
        return i + 1;
      }
      lines.apply(code, text.substr(i + 2, end - i - 2));
      return end + 1;
    }
  }
}

StyledLines ParseMText(const std::string& contents, double height, double widthFactor) {
  StyledLines lines;
  lines.height = height;
  lines.widthFactor = widthFactor;
  size_t i = 0;
  while (i < contents.size()) {
    char c = contents[i];
    if (c == '\\' && i + 1 < contents.size()) {
      i = FormattingCode(contents, i, lines);
    } else if (c == '^' && i + 1 < contents.size()) {
      // Control characters written as a caret and a letter.
      char next = contents[i + 1];
      if (next == 'J') lines.newLine();
      else if (next == 'I') lines.add(' ');
      else if (next == ' ') lines.add('^');
      else if (next != 'M') lines.add(contents.substr(i, 2));
      i += 2;
    } else {
      if (c == '\n') {
        lines.newLine();
      } else if (c == '\t') {
        lines.add(' ');
      } else if (c == '{') {
        if (lines.groups.size() < 64) lines.groups.push_back(lines.style);
      } else if (c == '}') {
        if (!lines.groups.empty()) {
          lines.style = lines.groups.back();
          lines.groups.pop_back();
        }
      } else if (c != '\r') {
        lines.add(c);
      }
      ++i;
    }
  }
  return lines;
}

}  // namespace

std::vector<std::string> MTextParagraphs(const std::string& contents) {
  return ParseMText(contents, 1, 1).text;
}

std::vector<MTextLine> WrapMTextLine(const std::string& text, double limit) {
  return WrapStyledLine(text, std::vector<MTextStyle>(), limit);
}

std::vector<MTextLine> WrapStyledLine(const std::string& text, const std::vector<MTextStyle>& styles,
                                      double limit) {
  std::vector<Glyph> g = Glyphs(text, styles);
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
  StyledLines paragraphs = ParseMText(contents, format.height, format.widthFactor);
  for (size_t p = 0; p < paragraphs.text.size(); ++p) {
    std::vector<MTextLine> wrapped = WrapStyledLine(paragraphs.text[p], paragraphs.styles[p], limit);
    for (MTextLine& line : wrapped) lines.push_back(std::move(line));
  }
  double factor = format.lineSpacing;
  if (!(factor >= kMinSpacingFactor)) factor = factor > 0 ? kMinSpacingFactor : 1;
  factor = std::min(factor, kMaxSpacingFactor);
  double spacing = kLineSpacing * factor * format.height;
  int attachment = format.attachment >= 1 && format.attachment <= 9 ? format.attachment : 1;
  int column = (attachment - 1) % 3, row = (attachment - 1) / 3;
  // A line with larger characters stands further from the one above it.
  std::vector<double> drop(lines.size(), 0);  // baseline below the first one's
  double firstHeight = 1;
  for (size_t i = 0; i < lines.size(); ++i) {
    double tallest = lines[i].spans.empty() ? 1 : 0;
    for (const MTextSpan& span : lines[i].spans) tallest = std::max(tallest, span.style.height);
    if (i == 0) firstHeight = tallest;
    else drop[i] = drop[i - 1] + spacing * tallest;
  }
  // Top: the first line's characters hang from the insertion point; middle:
  // the block is centred on it; bottom: the last baseline runs through it.
  double first = format.height * firstHeight;
  double total = first + (lines.empty() ? 0 : drop.back());
  double firstBaseline = row == 0 ? -first : (row == 1 ? total / 2 - first : total - first);
  for (size_t i = 0; i < lines.size(); ++i) {
    // Each line is aligned within the block as the block is on the
    // insertion point, so its place does not depend on the block's width.
    lines[i].x = -lines[i].advance * unit * column / 2.0;
    lines[i].y = firstBaseline - drop[i];
  }
  return lines;
}

}  // namespace zr
