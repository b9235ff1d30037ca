#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_groups.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "platform/base/byte_reader.h"
#include "platform/zrio/number_limits.h"

namespace zr {

namespace {

const char kBinarySentinel[] = "AutoCAD Binary DXF\r\n\x1a";  // followed by a zero byte
const size_t kSentinelSize = 22;

bool InRange(int code, int lo, int hi) { return code >= lo && code <= hi; }

double Finite(double v) { return isfinite(v) ? v : 0.0; }

bool IsIntegerType(GroupType type) {
  return type == GroupType::Int16 || type == GroupType::Int32 || type == GroupType::Int64 ||
         type == GroupType::Bool;
}

}  // namespace

GroupType TypeOfGroup(int code) {
  if (InRange(code, 10, 59) || InRange(code, 110, 149) || InRange(code, 210, 239) ||
      InRange(code, 460, 469) || InRange(code, 1010, 1059))
    return GroupType::Double;
  if (InRange(code, 60, 79) || InRange(code, 170, 179) || InRange(code, 270, 289) ||
      InRange(code, 370, 389) || InRange(code, 400, 409) || InRange(code, 1060, 1070))
    return GroupType::Int16;
  if (InRange(code, 90, 99) || InRange(code, 420, 429) || InRange(code, 440, 459) ||
      code == 1071)
    return GroupType::Int32;
  if (InRange(code, 160, 169)) return GroupType::Int64;
  if (InRange(code, 290, 299)) return GroupType::Bool;
  if (InRange(code, 310, 319) || code == 1004) return GroupType::Binary;
  return GroupType::String;
}

bool IsBinaryDxf(const char* data, size_t size) {
  return size >= kSentinelSize && memcmp(data, kBinarySentinel, kSentinelSize) == 0;
}

DxfGroupReader::DxfGroupReader(const char* data, size_t size) : data_(data), size_(size) {
  binary_ = IsBinaryDxf(data, size);
  group_.binaryFile = binary_;
  if (binary_) {
    pos_ = kSentinelSize;
    // R13 and later use two-byte codes: the first group "0 SECTION" then
    // starts with two zero bytes; R12 starts with one zero byte and 'S'.
    shortCodes_ = !(pos_ + 1 < size_ && data_[pos_] == 0 && data_[pos_ + 1] == 0);
  } else if (size_ >= 3 && (unsigned char)data_[0] == 0xEF && (unsigned char)data_[1] == 0xBB &&
             (unsigned char)data_[2] == 0xBF) {
    pos_ = 3;  // UTF-8 byte order mark
  }
}

bool DxfGroupReader::next() {
  if (pushedBack_) {
    pushedBack_ = false;
    return !atEnd_;
  }
  if (atEnd_ || failed_) return false;
  bool ok = binary_ ? nextBinary() : nextAscii();
  if (!ok) atEnd_ = true;
  return ok;
}

bool DxfGroupReader::readLine(std::string_view* line) {
  if (pos_ >= size_) return false;
  const char* start = data_ + pos_;
  const char* end = static_cast<const char*>(memchr(start, '\n', size_ - pos_));
  size_t length = end ? size_t(end - start) : size_ - pos_;
  pos_ += length + (end ? 1 : 0);
  if (length > 0 && start[length - 1] == '\r') --length;
  *line = std::string_view(start, length);
  return true;
}

bool DxfGroupReader::nextAscii() {
  std::string_view codeLine;
  while (true) {
    if (!readLine(&codeLine)) return false;
    // Blank lines between groups are tolerated.
    size_t i = 0;
    while (i < codeLine.size() && (codeLine[i] == ' ' || codeLine[i] == '\t')) ++i;
    if (i < codeLine.size()) break;
  }
  char buffer[24];
  size_t n = codeLine.size() < sizeof(buffer) - 1 ? codeLine.size() : sizeof(buffer) - 1;
  memcpy(buffer, codeLine.data(), n);
  buffer[n] = 0;
  char* endPtr = nullptr;
  long code = strtol(buffer, &endPtr, 10);
  while (endPtr && (*endPtr == ' ' || *endPtr == '\t')) ++endPtr;
  if (endPtr == buffer || (endPtr && *endPtr) || code < -5 || code > 1071) {
    failed_ = true;
    return false;
  }
  if (!readLine(&group_.view)) {
    failed_ = true;
    return false;
  }
  group_.code = int(code);
  group_.type = TypeOfGroup(group_.code);
  // The value line ends with '\r' or '\n' (or the final zero byte), which
  // stops the conversion.
  const char* p = group_.view.data();
  if (group_.type == GroupType::Double) {
    group_.number = Finite(strtod(p, nullptr));
    group_.integer = SaturatedInt64(group_.number);
  } else if (IsIntegerType(group_.type)) {
    group_.integer = strtoll(p, nullptr, 10);
    group_.number = double(group_.integer);
  }
  return true;
}

bool DxfGroupReader::nextBinary() {
  CByteReader in(data_, size_);
  if (!in.Seek(pos_) || in.AtEnd()) return false;
  int code;
  if (shortCodes_) {
    code = in.U8();
    if (code == 255) code = in.U16LE();
  } else {
    code = in.I16LE();
  }
  if (!in.Ok()) return (failed_ = true, false);
  group_.code = code;
  group_.type = TypeOfGroup(code);
  switch (group_.type) {
    case GroupType::String: {
      const char* start = reinterpret_cast<const char*>(in.Here());
      const char* end = static_cast<const char*>(memchr(start, 0, in.Remaining()));
      if (!end) return (failed_ = true, false);
      group_.view = std::string_view(start, size_t(end - start));
      in.Skip(group_.view.size() + 1);
      break;
    }
    case GroupType::Double: {
      uint64_t bits = in.U64LE();
      double v;
      memcpy(&v, &bits, 8);
      group_.number = Finite(v);
      group_.integer = SaturatedInt64(group_.number);
      break;
    }
    // R12 binary writes 16-bit values for every integer code below 100.
    case GroupType::Int16: group_.integer = in.I16LE(); break;
    case GroupType::Int32: group_.integer = in.I32LE(); break;
    case GroupType::Int64: group_.integer = int64_t(in.U64LE()); break;
    case GroupType::Bool: group_.integer = in.U8(); break;
    case GroupType::Binary: {
      size_t length = in.U8();
      const uint8_t* bytes = in.Span(length);
      if (bytes) group_.view = std::string_view(reinterpret_cast<const char*>(bytes), length);
      break;
    }
  }
  if (!in.Ok()) return (failed_ = true, false);
  if (IsIntegerType(group_.type)) group_.number = double(group_.integer);
  pos_ = in.Position();
  return true;
}

std::string Group::text() const {
  if (!binaryFile || type == GroupType::String) return std::string(view);
  char buffer[40];
  switch (type) {
    case GroupType::Double:
      snprintf(buffer, sizeof(buffer), "%.17g", number);
      return buffer;
    case GroupType::Binary: {
      std::string hex;
      static const char digits[] = "0123456789ABCDEF";
      for (unsigned char c : view) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
      }
      return hex;
    }
    default:
      snprintf(buffer, sizeof(buffer), "%lld", (long long)integer);
      return buffer;
  }
}

double Group::asNumber() const {
  if (type == GroupType::String || type == GroupType::Binary) {
    std::string s(view);
    return Finite(strtod(s.c_str(), nullptr));
  }
  return number;
}

uint64_t Group::asHandle() const {
  if (type == GroupType::String) {
    std::string s(view.substr(0, 20));
    return strtoull(s.c_str(), nullptr, 16);
  }
  return uint64_t(integer);
}

bool Group::is(int c, const char* value) const {
  if (code != c) return false;
  // Names such as SECTION may carry blanks in hand-made files.
  std::string_view v = view;
  while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
  while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
  return v == value;
}

}  // namespace zr
