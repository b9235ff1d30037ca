#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_groups.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "platform/base/byte_reader.h"
#include "platform/zrio/dxf_text_numbers.h"
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

bool IsBlank(std::string_view line) {
  for (char c : line)
    if (c != ' ' && c != '\t') return false;
  return true;
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

DxfFormat DetectDxfFormat(const char* data, size_t size) {
  DxfFormat format;
  format.binary = IsBinaryDxf(data, size);
  if (format.binary) {
    format.firstGroup = kSentinelSize;
    // R13 and later use two-byte codes: the first group "0 SECTION" then
    // starts with two zero bytes; R12 starts with one zero byte and 'S'.
    size_t at = kSentinelSize;
    format.shortCodes = !(at + 1 < size && data[at] == 0 && data[at + 1] == 0);
  } else if (size >= 3 && (unsigned char)data[0] == 0xEF && (unsigned char)data[1] == 0xBB &&
             (unsigned char)data[2] == 0xBF) {
    format.firstGroup = 3;  // UTF-8 byte order mark
  }
  return format;
}

DxfGroupReader::DxfGroupReader(const char* data, size_t size)
    : piece_(&whole_), format_(DetectDxfFormat(data, size)), total_(size) {
  whole_.bytes = data;
  whole_.size = size;
  pos_ = format_.firstGroup;
  group_.binaryFile = format_.binary;
}

DxfGroupReader::DxfGroupReader(const DxfPiece& piece, const DxfFormat& format, uint64_t from)
    : piece_(&piece), format_(format), total_(piece.start + piece.size) {
  pos_ = size_t(from - piece.start);
  group_.binaryFile = format_.binary;
}

DxfGroupReader::DxfGroupReader(DxfPieceSource& source, const DxfPiece& first,
                               const DxfFormat& format, uint64_t total)
    : source_(&source), piece_(&first), format_(format), total_(total) {
  pos_ = first.start == 0 ? format.firstGroup : 0;
  group_.binaryFile = format_.binary;
}

bool DxfGroupReader::enter(const DxfPiece* piece, size_t at) {
  if (!piece) return false;
  piece_ = piece;
  pos_ = at;
  return true;
}

void DxfGroupReader::skipTo(uint64_t offset) {
  pushedBack_ = false;
  atEnd_ = false;
  pos_ = size_t(offset - piece_->start);
}

bool DxfGroupReader::next() {
  if (pushedBack_) {
    pushedBack_ = false;
    return !atEnd_;
  }
  if (atEnd_ || failed_) return false;
  while (true) {
    size_t start = pos_;
    Step step = readGroup();
    if (step == Step::Group) {
      if (group_.code == 0 && source_) source_->recordStarted(piece_);
      return true;
    }
    bool more = source_ && !piece_->last;
    if (step == Step::End && more && enter(source_->after(piece_), 0)) continue;
    if (step == Step::Cut && more && enter(source_->joined(piece_, piece_->start + start), 0))
      continue;
    atEnd_ = true;
    // A piece that could not be read ends the groups as malformed data does.
    failed_ = step != Step::End || more;
    truncated_ = step == Step::Cut && !more;
    return false;
  }
}

DxfGroupReader::Step DxfGroupReader::readGroup() {
  return format_.binary ? readBinary() : readAscii();
}

// A line ends with '\n'; the last piece of a file may end with a line
// without one.
DxfGroupReader::Step DxfGroupReader::readLine(std::string_view* line) {
  size_t size = piece_->size;
  if (pos_ >= size) return Step::End;
  const char* start = piece_->bytes + pos_;
  const char* end = static_cast<const char*>(memchr(start, '\n', size - pos_));
  if (!end && !piece_->last) return Step::Cut;
  size_t length = end ? size_t(end - start) : size - pos_;
  pos_ += length + (end ? 1 : 0);
  if (length > 0 && start[length - 1] == '\r') --length;
  *line = std::string_view(start, length);
  return Step::Group;
}

DxfGroupReader::Step DxfGroupReader::readAscii() {
  std::string_view codeLine;
  size_t codeStart;
  while (true) {
    codeStart = pos_;
    Step step = readLine(&codeLine);
    if (step != Step::Group) return step;
    // Blank lines between groups are tolerated.
    if (!IsBlank(codeLine)) break;
  }
  long code = 0;
  if (!GroupCodeOfLine(codeLine, &code) || code < -5 || code > 1071) return Step::Malformed;
  Step step = readLine(&group_.view);
  if (step == Step::End) return piece_->last ? Step::Malformed : Step::Cut;
  if (step != Step::Group) return step;
  groupStart_ = piece_->start + codeStart;
  group_.code = int(code);
  group_.type = TypeOfGroup(group_.code);
  if (group_.type == GroupType::Double) {
    group_.number = Finite(DoubleOfLine(group_.view));
    group_.integer = SaturatedInt64(group_.number);
  } else if (IsIntegerType(group_.type)) {
    group_.integer = IntegerOfLine(group_.view);
    group_.number = double(group_.integer);
  }
  return Step::Group;
}

DxfGroupReader::Step DxfGroupReader::readBinary() {
  CByteReader in(piece_->bytes + pos_, piece_->size - pos_);
  if (in.AtEnd()) return Step::End;
  const Step cut = piece_->last ? Step::Malformed : Step::Cut;
  int code;
  if (format_.shortCodes) {
    code = in.U8();
    if (code == 255) code = in.U16LE();
  } else {
    code = in.I16LE();
  }
  if (!in.Ok()) return cut;
  group_.code = code;
  group_.type = TypeOfGroup(code);
  switch (group_.type) {
    case GroupType::String: {
      const char* start = reinterpret_cast<const char*>(in.Here());
      const char* end = static_cast<const char*>(memchr(start, 0, in.Remaining()));
      if (!end) return cut;
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
  if (!in.Ok()) return cut;
  if (IsIntegerType(group_.type)) group_.number = double(group_.integer);
  groupStart_ = piece_->start + pos_;
  pos_ += in.Position();
  return Step::Group;
}

std::string Group::text() const {
  if (!binaryFile || type == GroupType::String) return std::string(view);
  char buffer[40];
  switch (type) {
    case GroupType::Double: return ShortestNumberText(number);
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
  if (type == GroupType::String || type == GroupType::Binary) return Finite(DoubleOfLine(view));
  return number;
}

uint64_t Group::asHandle() const {
  if (type == GroupType::String) return HandleOfLine(view);
  return uint64_t(integer);
}

std::string_view TrimmedName(std::string_view name) {
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
  while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
  return name;
}

bool Group::is(int c, const char* value) const {
  return code == c && TrimmedName(view) == value;
}

}  // namespace zr
