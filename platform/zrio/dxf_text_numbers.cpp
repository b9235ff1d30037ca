#include "platform/zrio/dxf_text_numbers.h"

#include <stdlib.h>
#include <string.h>

#include <charconv>
#include <limits>
#include <string>

namespace zr {

namespace {

// The blanks strtod and strtoll pass over (isspace in the C locale).
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view WithoutLeadingSpace(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  return s.substr(i);
}

// What strtod reads of the line, for the forms the fast reading leaves:
// hexadecimal numbers, infinities, NaNs and values beyond a double's range.
double LibraryDouble(std::string_view s) {
  std::string copy(s);
  return strtod(copy.c_str(), nullptr);
}

}  // namespace

double DoubleOfLine(std::string_view line) {
  std::string_view s = WithoutLeadingSpace(line);
  if (s.empty()) return 0;
  // from_chars takes no plus sign; strtod takes one before the digits.
  std::string_view number = s[0] == '+' ? s.substr(1) : s;
  std::string_view digits = !number.empty() && number[0] == '-' ? number.substr(1) : number;
  if (digits.empty() || !(IsDigit(digits[0]) || digits[0] == '.') ||
      (number.data() != s.data() && digits.data() != number.data()))
    return LibraryDouble(s);
  if (digits.size() > 1 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
    return LibraryDouble(s);
  double value = 0;
  std::from_chars_result r = std::from_chars(number.data(), number.data() + number.size(), value);
  if (r.ec != std::errc()) return LibraryDouble(s);
  return value;
}

int64_t IntegerOfLine(std::string_view line) {
  std::string_view s = WithoutLeadingSpace(line);
  bool negative = false;
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  // Accumulated as a negative number, whose range reaches INT64_MIN.
  int64_t value = 0;
  const int64_t lowest = std::numeric_limits<int64_t>::min();
  bool overflow = false;
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    int digit = s[i] - '0';
    if (value < (lowest + digit) / 10) overflow = true;
    if (!overflow) value = value * 10 - digit;
  }
  if (overflow) return negative ? lowest : std::numeric_limits<int64_t>::max();
  if (negative) return value;
  return value == lowest ? std::numeric_limits<int64_t>::max() : -value;
}

bool GroupCodeOfLine(std::string_view line, long* code) {
  std::string_view s = line.substr(0, 23);
  size_t nul = s.find('\0');
  if (nul != std::string_view::npos) s = s.substr(0, nul);
  s = WithoutLeadingSpace(s);
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  size_t firstDigit = i;
  long value = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i)
    if (value < 100000) value = value * 10 + (s[i] - '0');
  if (i == firstDigit) return false;
  for (; i < s.size(); ++i)
    if (s[i] != ' ' && s[i] != '\t') return false;
  *code = negative ? -value : value;
  return true;
}

uint64_t HandleOfLine(std::string_view line) {
  char buffer[21];
  std::string_view s = line.substr(0, 20);
  memcpy(buffer, s.data(), s.size());
  buffer[s.size()] = 0;
  return strtoull(buffer, nullptr, 16);
}

std::string ShortestNumberText(double value) {
  if (value == 0) return "0";
  // The shortest digits with their exponent, as "-d.ddde+x".
  char scientific[40];
  std::to_chars_result r = std::to_chars(scientific, scientific + sizeof scientific, value,
                                         std::chars_format::scientific);
  std::string_view written(scientific, size_t(r.ptr - scientific));
  size_t e = written.find('e');
  if (r.ec != std::errc() || e == std::string_view::npos) return std::string(written);
  std::string text = value < 0 ? "-" : "";
  std::string digits;
  for (char c : written.substr(0, e))
    if (IsDigit(c)) digits += c;
  // The number is 0.digits times ten to the `point`.
  int point = atoi(std::string(written.substr(e + 1)).c_str()) + 1;
  int count = int(digits.size());
  if (count <= point && point <= 21) {
    text += digits + std::string(size_t(point - count), '0');
  } else if (0 < point && point <= 21) {
    text += digits.substr(0, size_t(point)) + "." + digits.substr(size_t(point));
  } else if (-6 < point && point <= 0) {
    text += "0." + std::string(size_t(-point), '0') + digits;
  } else {
    int exponent = point - 1;
    text += digits.substr(0, 1);
    if (count > 1) text += "." + digits.substr(1);
    text += (exponent < 0 ? "e-" : "e+") + std::to_string(exponent < 0 ? -exponent : exponent);
  }
  return text;
}

}  // namespace zr
