#include "platform/zrio/utf8.h"

namespace zr {

char32_t DecodeUtf8(const std::string& s, size_t* pos) {
  size_t i = *pos;
  unsigned char lead = (unsigned char)s[i];
  int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
  *pos = i + 1;
  if (extra == 0) return lead;
  if (extra < 0 || i + size_t(extra) >= s.size()) return kReplacementChar;
  char32_t c = lead & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    unsigned char b = (unsigned char)s[i + size_t(k)];
    if ((b & 0xC0) != 0x80) return kReplacementChar;
    c = (c << 6) | (b & 0x3F);
  }
  static const char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  *pos = i + size_t(extra) + 1;
  if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacementChar;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

}  // namespace zr
