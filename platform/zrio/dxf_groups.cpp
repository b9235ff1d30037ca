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
    : m_piece(&m_whole), m_format(DetectDxfFormat(data, size)), m_total(size) {
  m_whole.bytes = data;
  m_whole.size = size;
  m_pos = m_format.firstGroup;
  m_group.binaryFile = m_format.binary;
}

DxfGroupReader::DxfGroupReader(const DxfPiece& piece, const DxfFormat& format, uint64_t from)
    : m_piece(&piece), m_format(format), m_total(piece.start + piece.size) {
  m_pos = size_t(from - piece.start);
  m_group.binaryFile = m_format.binary;
}

DxfGroupReader::DxfGroupReader(DxfPieceSource& source, const DxfPiece& first,
                               const DxfFormat& format, uint64_t total)
    : m_source(&source), m_piece(&first), m_format(format), m_total(total) {
  m_pos = first.start == 0 ? format.firstGroup : 0;
  m_group.binaryFile = m_format.binary;
}

bool DxfGroupReader::enter(const DxfPiece* piece, size_t at) {
  if (!piece) return false;
  m_piece = piece;
  m_pos = at;
  return true;
}

void DxfGroupReader::skipTo(uint64_t offset) {
  m_pushedBack = false;
  m_atEnd = false;
  m_pos = size_t(offset - m_piece->start);
}

bool DxfGroupReader::next() {
  if (m_pushedBack) {
    m_pushedBack = false;
    return !m_atEnd;
  }
  if (m_atEnd || m_failed) return false;
  while (true) {
    size_t start = m_pos;
    Step step = readGroup();
    if (step == Step::Group) {
      if (m_group.code == 0 && m_source) m_source->recordStarted(m_piece);
      return true;
    }
    bool more = m_source && !m_piece->last;
    if (step == Step::End && more && enter(m_source->after(m_piece), 0)) continue;
    if (step == Step::Cut && more && enter(m_source->joined(m_piece, m_piece->start + start), 0))
      continue;
    m_atEnd = true;
    // A piece that could not be read ends the groups as malformed data does.
    m_failed = step != Step::End || more;
    m_truncated = step == Step::Cut && !more;
    return false;
  }
}

DxfGroupReader::Step DxfGroupReader::readGroup() {
  return m_format.binary ? readBinary() : readAscii();
}

// A line ends with '\n'; the last piece of a file may end with a line
// without one.
DxfGroupReader::Step DxfGroupReader::readLine(std::string_view* line) {
  size_t size = m_piece->size;
  if (m_pos >= size) return Step::End;
  const char* start = m_piece->bytes + m_pos;
  const char* end = static_cast<const char*>(memchr(start, '\n', size - m_pos));
  if (!end && !m_piece->last) return Step::Cut;
  size_t length = end ? size_t(end - start) : size - m_pos;
  m_pos += length + (end ? 1 : 0);
  if (length > 0 && start[length - 1] == '\r') --length;
  *line = std::string_view(start, length);
  return Step::Group;
}

DxfGroupReader::Step DxfGroupReader::readAscii() {
  std::string_view codeLine;
  size_t codeStart;
  while (true) {
    codeStart = m_pos;
    Step step = readLine(&codeLine);
    if (step != Step::Group) return step;
    // Blank lines between groups are tolerated.
    if (!IsBlank(codeLine)) break;
  }
  long code = 0;
  if (!GroupCodeOfLine(codeLine, &code) || code < -5 || code > 1071) return Step::Malformed;
  Step step = readLine(&m_group.view);
  if (step == Step::End) return m_piece->last ? Step::Malformed : Step::Cut;
  if (step != Step::Group) return step;
  m_groupStart = m_piece->start + codeStart;
  m_group.code = int(code);
  m_group.type = TypeOfGroup(m_group.code);
  if (m_group.type == GroupType::Double) {
    m_group.number = Finite(DoubleOfLine(m_group.view));
    m_group.integer = SaturatedInt64(m_group.number);
  } else if (IsIntegerType(m_group.type)) {
    m_group.integer = IntegerOfLine(m_group.view);
    m_group.number = double(m_group.integer);
  }
  return Step::Group;
}

DxfGroupReader::Step DxfGroupReader::readBinary() {
  CByteReader in(m_piece->bytes + m_pos, m_piece->size - m_pos);
  if (in.AtEnd()) return Step::End;
  const Step cut = m_piece->last ? Step::Malformed : Step::Cut;
  int code;
  if (m_format.shortCodes) {
    code = in.U8();
    if (code == 255) code = in.U16LE();
  } else {
    code = in.I16LE();
  }
  if (!in.Ok()) return cut;
  m_group.code = code;
  m_group.type = TypeOfGroup(code);
  switch (m_group.type) {
    case GroupType::String: {
      const char* start = reinterpret_cast<const char*>(in.Here());
      const char* end = static_cast<const char*>(memchr(start, 0, in.Remaining()));
      if (!end) return cut;
      m_group.view = std::string_view(start, size_t(end - start));
      in.Skip(m_group.view.size() + 1);
      break;
    }
    case GroupType::Double: {
      uint64_t bits = in.U64LE();
      double v;
      memcpy(&v, &bits, 8);
      m_group.number = Finite(v);
      m_group.integer = SaturatedInt64(m_group.number);
      break;
    }
    // R12 binary writes 16-bit values for every integer code below 100.
    case GroupType::Int16: m_group.integer = in.I16LE(); break;
    case GroupType::Int32: m_group.integer = in.I32LE(); break;
    case GroupType::Int64: m_group.integer = int64_t(in.U64LE()); break;
    case GroupType::Bool: m_group.integer = in.U8(); break;
    case GroupType::Binary: {
      size_t length = in.U8();
      const uint8_t* bytes = in.Span(length);
      if (bytes) m_group.view = std::string_view(reinterpret_cast<const char*>(bytes), length);
      break;
    }
  }
  if (!in.Ok()) return cut;
  if (IsIntegerType(m_group.type)) m_group.number = double(m_group.integer);
  m_groupStart = m_piece->start + m_pos;
  m_pos += in.Position();
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
