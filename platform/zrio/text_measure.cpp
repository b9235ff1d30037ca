#include "platform/zrio/win32.h"
#include "platform/zrio/text_measure.h"

#include <cstring>

#include "platform/zrio/utf8.h"

namespace zr {

namespace {

struct Range {
  char32_t first, last;
};

// East Asian wide and full-width blocks.
const Range kWideRanges[] = {
    {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
    {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x20000, 0x3FFFD},
};

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += char16_t(c);
    return;
  }
  c -= 0x10000;
  out += char16_t(0xD800 + (c >> 10));
  out += char16_t(0xDC00 + (c & 0x3FF));
}

}  // namespace

bool IsWideChar(char32_t c) {
  for (const Range& r : kWideRanges)
    if (c >= r.first && c <= r.last) return true;
  return false;
}

double CharAdvance(char32_t c) {
  if (c == 0xA0) c = ' ';  // a no-break space is as wide as a space
  if (c < 0x20 || (c >= 0x7F && c < 0xA0) || (c >= 0x300 && c <= 0x36F)) return 0;
  if (c >= 0x80) return IsWideChar(c) ? 1.0 : 0.7;
  if (strchr("il.,;:!|'`", int(c))) return 0.3;
  if (strchr("Ijf()[]{}\"", int(c))) return 0.45;
  if (strchr(" -/\\rt*", int(c))) return 0.5;
  if (strchr("mwMW@%", int(c))) return 0.95;
  return 0.7;
}

char32_t NextDisplayChar(const std::string& text, size_t* pos) {
  size_t i = *pos;
  if (text[i] == '%' && i + 2 < text.size() && text[i + 1] == '%') {
    char code = text[i + 2];
    char32_t symbol = 0;
    switch (code) {
      case 'd': case 'D': symbol = 0x00B0; break;
      case 'p': case 'P': symbol = 0x00B1; break;
      case 'c': case 'C': symbol = 0x00D8; break;  // the faces have no U+2300
      case '%': symbol = '%'; break;
      case 'u': case 'U': case 'o': case 'O': break;
      default: return DecodeUtf8(text, pos);
    }
    *pos = i + 3;
    return symbol;
  }
  return DecodeUtf8(text, pos);
}

std::u16string TextForDisplay(const std::string& utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t c = NextDisplayChar(utf8, &pos);
    if (c) AppendUtf16(out, c);
  }
  return out;
}

double TextAdvance(const std::string& utf8) {
  double width = 0;
  size_t pos = 0;
  while (pos < utf8.size()) width += CharAdvance(NextDisplayChar(utf8, &pos));
  return width;
}

std::vector<double> DisplayAdvances(const std::u16string& text, std::vector<bool>* wide) {
  std::vector<double> advances(text.size(), 0.0);
  if (wide) wide->assign(text.size(), false);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    size_t units = 1;
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      units = 2;
    }
    advances[i] = CharAdvance(c);
    if (wide && IsWideChar(c)) (*wide)[i] = (*wide)[i + units - 1] = true;
    i += units - 1;
  }
  return advances;
}

}  // namespace zr
