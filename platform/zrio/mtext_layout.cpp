#include "platform/zrio/win32.h"
#include "platform/zrio/mtext_layout.h"

#include <algorithm>
#include <cctype>
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
const double kMinTracking = 0.75, kMaxTracking = 4.0;
const double kMaxIndent = 1000;  // text heights
// A stack over a bar: the upper baseline 1.4 text heights above the lower,
// the bar at 1.2; across a slash the upper stands one height up, the slash
// reaching 0.77 of a height from the corner between the two texts.
const double kStackRise = 1.4, kStackBar = 1.2, kSlashReach = 0.77;
// A stack stands in its line as this character (of the private use area).
const char kStackPlaceholder[] = "\xEE\x80\x80";  // U+E000

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

double StackAdvance(const MTextStack& stack) {
  double upper = TextAdvance(stack.upper), lower = TextAdvance(stack.lower);
  return stack.kind == '#' ? upper + lower : std::max(upper, lower);
}

// The glyphs of the text; styles[i] is the style of byte i (none: plain).
std::vector<Glyph> Glyphs(const std::string& text, const std::vector<MTextStyle>& styles,
                          const std::vector<MTextStack>* stacks) {
  std::vector<Glyph> glyphs;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t begin = pos;
    char32_t c = NextDisplayChar(text, &pos);
    MTextStyle style = begin < styles.size() ? styles[begin] : MTextStyle();
    bool stacked = stacks && style.stack >= 0 && size_t(style.stack) < stacks->size();
    double advance = stacked ? StackAdvance((*stacks)[size_t(style.stack)]) : CharAdvance(c) * style.tracking;
    glyphs.push_back({begin, pos, c, advance * style.height * style.width, style});
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
                   size_t last, const std::vector<MTextStack>* stacks) {
  while (last > first && IsBreakingSpace(g[last - 1].c)) --last;
  MTextLine line;
  for (size_t i = first; i < last; ++i) {
    if (line.spans.empty() || !(line.spans.back().style == g[i].style)) {
      MTextSpan span;
      span.begin = span.end = line.text.size();
      span.style = g[i].style;
      span.x = line.advance;
      if (stacks && span.style.stack >= 0 && size_t(span.style.stack) < stacks->size())
        span.stack = (*stacks)[size_t(span.style.stack)];
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

// Indents of a paragraph, in text heights, and whether it starts a column.
struct ParagraphFormat {
  double first = 0, left = 0, right = 0;
  char alignment = 'l';  // l, c or r
  bool columnBreak = false;
};

// Text split into lines as the codes say, each byte with its style.
struct StyledLines {
  std::vector<std::string> text{std::string()};
  std::vector<std::vector<MTextStyle>> styles{std::vector<MTextStyle>()};
  std::vector<ParagraphFormat> paragraphs{ParagraphFormat()};
  std::vector<MTextStack> stacks;
  bool stacksAsText = false;       // "a/b" in the text instead of a stack
  MTextStyle style;                // of what comes next
  std::vector<MTextStyle> groups;  // styles before each open brace
  double height = 1, widthFactor = 1;  // the entity's, for absolute values

  void add(const std::string& bytes) { add(bytes, style); }
  void add(const std::string& bytes, const MTextStyle& look) {
    text.back() += bytes;
    styles.back().insert(styles.back().end(), bytes.size(), look);
  }
  void add(char c) { add(std::string(1, c)); }
  void newLine(bool columnBreak = false) {
    text.emplace_back();
    styles.emplace_back();
    ParagraphFormat next = paragraphs.back();
    next.columnBreak = columnBreak;
    paragraphs.push_back(next);
  }
  void addStack(const MTextStack& stack) {
    if (stacksAsText) {
      add(stack.upper + "/" + stack.lower);
      return;
    }
    MTextStyle look = style;
    look.stack = int(stacks.size());
    stacks.push_back(stack);
    add(kStackPlaceholder, look);
  }
  // "\pxi-3,l5,qc,t8;": indents of the first line, the left and right
  // side, and the alignment (tab stops are not kept).
  void paragraphIndents(const std::string& value) {
    size_t start = !value.empty() && value[0] == 'x' ? 1 : 0;
    while (start < value.size()) {
      size_t end = value.find(',', start);
      if (end == std::string::npos) end = value.size();
      if (value[start] == 'q' && start + 1 < end) {
        char alignment = value[start + 1];
        paragraphs.back().alignment = alignment == 'c' || alignment == 'r' ? alignment : 'l';
      }
      double v = atof(value.substr(start + 1, end - start - 1).c_str());
      if (std::isfinite(v) && std::fabs(v) <= kMaxIndent) {
        if (value[start] == 'i') paragraphs.back().first = v;
        else if (value[start] == 'l') paragraphs.back().left = v;
        else if (value[start] == 'r') paragraphs.back().right = v;
      }
      start = end + 1;
    }
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
      case 'T': style.tracking = std::max(kMinTracking, std::min(kMaxTracking, Value(value, style.tracking, 1))); break;
      case 'p': paragraphIndents(value); break;
      case 'f': case 'F':
        style.bold = value.find("|b1") != std::string::npos;
        style.italic = value.find("|i1") != std::string::npos;
        break;
    }
  }
};

// Appends the text of a formatting code that carries text, or takes in the
// code's style; returns the index after it. text[i] is the backslash.
size_t FormattingCode(const std::string& text, size_t i, StyledLines& lines) {
  char code = text[i + 1];
  switch (code) {
    case 'P': case 'N': case 'X':
      lines.newLine(code == 'N');
      return i + 2;
    case '\\': case '{': case '}':
      lines.add(code);
      return i + 2;
    case '~':
      lines.add(kNoBreakSpace);
      return i + 2;
    case 'L': case 'l': case 'O': case 'o': case 'K': case 'k': {
      char lower = char(tolower(static_cast<unsigned char>(code)));
      uint8_t line = lower == 'l' ? kUnderline : lower == 'o' ? kOverline : kStrikeThrough;
      if (code != lower) lines.style.lines |= line;
      else lines.style.lines &= uint8_t(~line);
      return i + 2;
    }
    case 'S': {
      // "\Supper/lower;" (or ^ or #); a backslash takes the next character
      // as it is.
      MTextStack stack;
      size_t j = i + 2;
      for (; j < text.size() && text[j] != ';'; ++j) {
        char c = text[j];
        if (c == '\\' && j + 1 < text.size()) {
          c = text[++j];
        } else if (!stack.kind && (c == '/' || c == '^' || c == '#')) {
          stack.kind = c;
          continue;
        }
        (stack.kind ? stack.lower : stack.upper) += c;
      }
      if (!stack.kind) stack.kind = '/';
      lines.addStack(stack);
      return j < text.size() ? j + 1 : text.size();
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

StyledLines ParseMText(const std::string& contents, double height, double widthFactor,
                       bool stacksAsText) {
  StyledLines lines;
  lines.stacksAsText = stacksAsText;
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

namespace {

// The lines of glyphs g: the first no wider than firstLimit, the others
// than limit (text heights); as WrapStyledLine says.
std::vector<MTextLine> WrapGlyphs(const std::string& text, const std::vector<Glyph>& g, double firstLimit,
                                  double limit, const std::vector<MTextStack>* stacks) {
  if (!(limit > 0) || !std::isfinite(limit)) return {MakeLine(text, g, 0, g.size(), stacks)};
  std::vector<MTextLine> lines;
  size_t start = 0;
  do {
    double width = 0, lineLimit = (lines.empty() ? firstLimit : limit) * (1 + 1e-9);
    size_t lastBreak = start, end = g.size();
    bool visible = false;  // the line has a character other than spaces
    for (size_t i = start; i < g.size(); ++i) {
      if (i > start && CanBreakBefore(g, i)) lastBreak = i;
      if (!IsBreakingSpace(g[i].c)) {
        if (visible && width + g[i].advance > lineLimit) {
          end = lastBreak > start ? lastBreak : i;
          break;
        }
        visible = true;
      }
      width += g[i].advance;
    }
    lines.push_back(MakeLine(text, g, start, end, stacks));
    start = end;
    while (start < g.size() && start > 0 && IsBreakingSpace(g[start].c)) ++start;
  } while (start < g.size());
  return lines;
}

// Height of a line above its baseline, in the entity's text heights.
double LineHeight(const MTextLine& line) {
  double tallest = line.spans.empty() ? 1 : 0;
  for (const MTextSpan& span : line.spans) {
    double rise = span.stack.kind == '#' ? 2 : span.stack.kind ? 2.4 : 1;
    tallest = std::max(tallest, span.style.height * rise);
  }
  return tallest;
}

// The height of column `index` in drawing units; 0 when it has no limit.
double ColumnHeight(const MTextFormat& format, size_t index) {
  if (format.columns != MTextColumns::Dynamic) return 0;
  if (!format.columnHeights.empty())
    return format.columnHeights[std::min(index, format.columnHeights.size() - 1)];
  return format.columnHeight;
}

}  // namespace

MTextStackPlaces PlaceStack(const MTextStack& stack) {
  MTextStackPlaces at;
  double upper = TextAdvance(stack.upper), lower = TextAdvance(stack.lower);
  if (stack.kind == '#') {
    at.upperY = 1;
    at.lowerX = upper;
    at.fromX = upper - kSlashReach;
    at.fromY = 1 - kSlashReach;
    at.toX = upper + kSlashReach;
    at.toY = 1 + kSlashReach;
    return at;
  }
  at.upperY = kStackRise;
  if (stack.kind == '^') return at;
  double width = std::max(upper, lower);
  at.upperX = (width - upper) / 2;
  at.lowerX = (width - lower) / 2;
  at.fromY = at.toY = kStackBar;
  at.toX = width;
  return at;
}

std::vector<std::string> MTextParagraphs(const std::string& contents) {
  return ParseMText(contents, 1, 1, true).text;
}

std::vector<MTextLine> WrapMTextLine(const std::string& text, double limit) {
  return WrapStyledLine(text, std::vector<MTextStyle>(), limit);
}

std::vector<MTextLine> WrapStyledLine(const std::string& text, const std::vector<MTextStyle>& styles,
                                      double limit) {
  return WrapGlyphs(text, Glyphs(text, styles, nullptr), limit, limit, nullptr);
}

std::vector<MTextLine> LayoutMText(const std::string& contents, const MTextFormat& format) {
  double unit = format.height * format.widthFactor;  // drawing units a text height
  bool columns = format.columns != MTextColumns::None;
  double wrapWidth = columns ? format.columnWidth : format.referenceWidth;
  StyledLines paragraphs = ParseMText(contents, format.height, format.widthFactor, false);
  int attachment = format.attachment >= 1 && format.attachment <= 9 ? format.attachment : 1;
  int alignment = (attachment - 1) % 3, row = (attachment - 1) / 3;
  std::vector<MTextLine> lines;
  std::vector<bool> breaks;  // the line starts a column
  for (size_t p = 0; p < paragraphs.text.size(); ++p) {
    const ParagraphFormat& indents = paragraphs.paragraphs[p];
    double first = indents.first + indents.left, left = indents.left;
    double firstLimit = 0, limit = 0;
    if (unit > 0 && wrapWidth > 0) {
      // Indents are in text heights, at the entity's width factor 1.
      double width = wrapWidth / unit, right = indents.right / format.widthFactor;
      firstLimit = std::max(1e-6, width - first / format.widthFactor - right);
      limit = std::max(1e-6, width - left / format.widthFactor - right);
    }
    std::vector<Glyph> g = Glyphs(paragraphs.text[p], paragraphs.styles[p], &paragraphs.stacks);
    std::vector<MTextLine> wrapped = WrapGlyphs(paragraphs.text[p], g, firstLimit, limit, &paragraphs.stacks);
    for (size_t k = 0; k < wrapped.size(); ++k) {
      wrapped[k].x = (k == 0 ? first : left) * format.height;
      if (indents.alignment != 'l' && wrapWidth > 0 && alignment == 0) {
        double room = wrapWidth - wrapped[k].x - indents.right * format.height - wrapped[k].advance * unit;
        wrapped[k].x += indents.alignment == 'c' ? room / 2 : room;
      }
      breaks.push_back(k == 0 && indents.columnBreak);
      lines.push_back(std::move(wrapped[k]));
    }
  }
  double factor = format.lineSpacing;
  if (!(factor >= kMinSpacingFactor)) factor = factor > 0 ? kMinSpacingFactor : 1;
  factor = std::min(factor, kMaxSpacingFactor);
  double pitch = columns ? format.columnWidth + format.gutter : format.referenceWidth;
  // Each line's baseline below the top of its column, and its column.
  std::vector<double> depth(lines.size(), 0);
  std::vector<size_t> column(lines.size(), 0);
  std::vector<double> columnDepth(1, 0);  // deepest baseline of each column
  for (size_t i = 0; i < lines.size(); ++i) {
    double height = LineHeight(lines[i]) * format.height;
    if (i > 0) {
      column[i] = column[i - 1];
      double below = LineHeight(lines[i - 1]) * format.height * (kLineSpacing - 1);
      depth[i] = depth[i - 1] + factor * (below + height);
      double limit = ColumnHeight(format, column[i]);
      if ((breaks[i] && pitch > 0) || (limit > 0 && depth[i] > limit)) {
        ++column[i];
        columnDepth.push_back(0);
        depth[i] = height;
      }
    } else {
      depth[i] = height;
    }
    columnDepth[column[i]] = depth[i];
  }
  // Top: the first line's characters hang from the insertion point; middle:
  // a column is centred on it; bottom: its last baseline runs through it.
  for (size_t i = 0; i < lines.size(); ++i) {
    double total = columnDepth[column[i]];
    double shift = row == 0 ? 0 : (row == 1 ? total / 2 : total);
    // Each line is aligned within the block as the block is on the
    // insertion point, so its place does not depend on the block's width.
    lines[i].x += column[i] * pitch - lines[i].advance * unit * alignment / 2.0;
    lines[i].y = shift - depth[i];
  }
  return lines;
}

}  // namespace zr
