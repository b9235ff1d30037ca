#include "platform/zrio/win32.h"
#include "platform/zrio/library_globals.h"

#include <vector>

#include "platform/zrio/dxf_reader.h"

namespace zr {

LibraryGlobals& Globals() {
  static LibraryGlobals globals;
  return globals;
}

short VersionCodeOf(const std::string& acadver) {
  static const struct { int number; short code; } kCodes[] = {
      {1002, 5},  {1003, 10}, {1004, 11}, {1006, 13}, {1009, 16}, {1012, 19}, {1014, 21},
      {1015, 23}, {1018, 25}, {1021, 27}, {1024, 29}, {1027, 31}, {1032, 33}};
  int number = AcadVersionNumber(acadver);
  for (const auto& c : kCodes)
    if (c.number == number) return c.code;
  return -1;
}

namespace {

std::string Convert(const std::string& text, UINT from, UINT to) {
  if (text.empty()) return text;
  int n = MultiByteToWideChar(from, 0, text.data(), int(text.size()), nullptr, 0);
  if (n <= 0) return text;
  std::vector<WCHAR> wide(static_cast<size_t>(n));
  MultiByteToWideChar(from, 0, text.data(), int(text.size()), wide.data(), n);
  int m = WideCharToMultiByte(to, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  if (m <= 0) return text;
  std::string out(size_t(m), '\0');
  WideCharToMultiByte(to, 0, wide.data(), n, &out[0], m, nullptr, nullptr);
  return out;
}

}  // namespace

std::string AnsiToUtf8(const std::string& ansi) { return Convert(ansi, CP_ACP, CP_UTF8); }
std::string Utf8ToAnsi(const std::string& utf8) { return Convert(utf8, CP_UTF8, CP_ACP); }

}  // namespace zr
