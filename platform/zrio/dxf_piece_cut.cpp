#include "platform/zrio/dxf_piece_cut.h"

#include <string.h>

#include <string_view>

#include "platform/zrio/dxf_text_numbers.h"

namespace zr {

namespace {

// Longest record name a binary cut accepts.
const size_t kLongestName = 64;

// The line as the group reader gives it: without its '\r'.
std::string_view LineAt(const char* start, const char* end) {
  size_t length = size_t(end - start);
  if (length > 0 && start[length - 1] == '\r') --length;
  return std::string_view(start, length);
}

bool BelongsToEntityBefore(std::string_view name) {
  return name == "VERTEX" || name == "ATTRIB" || name == "SEQEND";
}

bool IsNameByte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

size_t AsciiCut(const char* data, size_t size, size_t from, size_t* resume) {
  size_t at = from;
  if (at > 0 && at <= size) {
    const char* newline = static_cast<const char*>(memchr(data + at - 1, '\n', size - at + 1));
    at = newline ? size_t(newline - data) + 1 : size;
  }
  while (at < size) {
    *resume = at;
    const char* codeEnd = static_cast<const char*>(memchr(data + at, '\n', size - at));
    if (!codeEnd) return kNoCut;
    size_t valueStart = size_t(codeEnd - data) + 1;
    if (TrimmedName(LineAt(data + at, codeEnd)) == "0") {
      const char* valueEnd =
          static_cast<const char*>(memchr(data + valueStart, '\n', size - valueStart));
      if (!valueEnd) return kNoCut;
      std::string_view value = LineAt(data + valueStart, valueEnd);
      std::string_view name = TrimmedName(value);
      long code;
      if (!name.empty() && !GroupCodeOfLine(value, &code) && !BelongsToEntityBefore(name))
        return at;
    }
    at = valueStart;
  }
  *resume = size;
  return kNoCut;
}

size_t BinaryCut(const char* data, size_t size, size_t from, bool shortCodes, size_t* resume) {
  size_t codeBytes = shortCodes ? 1 : 2;
  for (size_t at = from; at + codeBytes < size; ++at) {
    *resume = at;
    if (data[at] != 0 || (!shortCodes && data[at + 1] != 0)) continue;
    size_t nameStart = at + codeBytes;
    size_t length = 0;
    while (nameStart + length < size && length <= kLongestName &&
           IsNameByte(data[nameStart + length]))
      ++length;
    if (nameStart + length >= size) return kNoCut;
    if (length == 0 || length > kLongestName || data[nameStart + length] != 0) continue;
    if (!BelongsToEntityBefore(std::string_view(data + nameStart, length))) return at;
  }
  *resume = size > codeBytes ? size - codeBytes : 0;
  if (*resume < from) *resume = from;
  return kNoCut;
}

}  // namespace

size_t NextCut(const char* data, size_t size, size_t from, const DxfFormat& format,
               size_t* resume) {
  if (format.binary) return BinaryCut(data, size, from, format.shortCodes, resume);
  return AsciiCut(data, size, from, resume);
}

}  // namespace zr
