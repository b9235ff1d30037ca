// Reads the group code/value pairs of a DXF file, ASCII or binary.
#pragma once
#include "platform/zrio/win32.h"
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>

namespace zr {

enum class GroupType { String, Double, Int16, Int32, Int64, Bool, Binary };

// One group as read; `view` points into the reader's data.
struct Group {
  int code = -1;
  GroupType type = GroupType::String;
  bool binaryFile = false;
  std::string_view view;  // string values; ASCII files: every value as written
  double number = 0;      // numeric values
  int64_t integer = 0;

  // The value as text: a string value itself, or a number in text form.
  std::string text() const;
  // String values parsed as numbers (handles are hexadecimal).
  double asNumber() const;
  uint64_t asHandle() const;
  bool is(int code, const char* value) const;
};

// The value type a group code carries.
GroupType TypeOfGroup(int code);

class DxfGroupReader {
 public:
  // `data` must stay valid and be followed by a zero byte at data[size].
  DxfGroupReader(const char* data, size_t size);

  bool binary() const { return binary_; }
  // Moves to the next group; false at the end of the data or on malformed
  // input (then failed() is true).
  bool next();
  // Makes the next call of next() return the current group again.
  void pushBack() { pushedBack_ = true; }
  bool failed() const { return failed_; }
  size_t position() const { return pos_; }
  size_t size() const { return size_; }

  const Group& group() const { return group_; }
  int code() const { return group_.code; }
  bool is(int code, const char* value) const { return group_.is(code, value); }

 private:
  bool nextAscii();
  bool nextBinary();
  bool readLine(std::string_view* line);

  const char* data_;
  size_t size_;
  size_t pos_ = 0;
  bool binary_ = false;
  bool shortCodes_ = false;  // R12 binary: one-byte group codes
  bool failed_ = false;
  bool pushedBack_ = false;
  bool atEnd_ = false;
  Group group_;
};

// True when the bytes start with the binary DXF sentinel.
bool IsBinaryDxf(const char* data, size_t size);

}  // namespace zr
