// Reads the group code/value pairs of a DXF file, ASCII or binary, from
// memory held whole or from the pieces a file is cut into.
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

// A name as records and sections are told by: without the blanks around
// it, which hand-made files may have.
std::string_view TrimmedName(std::string_view name);

// How a file writes its groups.
struct DxfFormat {
  bool binary = false;
  bool shortCodes = false;  // R12 binary: one-byte group codes
  size_t firstGroup = 0;    // offset of the first group, after a sentinel or byte order mark
};

// The format of the bytes at the start of a file.
DxfFormat DetectDxfFormat(const char* data, size_t size);

// True when the bytes start with the binary DXF sentinel.
bool IsBinaryDxf(const char* data, size_t size);

// Consecutive bytes of a file; pieces are cut before a "0" group.
struct DxfPiece {
  const char* bytes = nullptr;
  size_t size = 0;
  uint64_t start = 0;  // file offset of bytes[0]
  bool last = true;    // ends where the file ends
};

// Where a reader finds the pieces of a file after the one it reads.
class DxfPieceSource {
 public:
  virtual ~DxfPieceSource() = default;
  // The piece after `piece`; null when it could not be read.
  virtual const DxfPiece* after(const DxfPiece* piece) = 0;
  // A piece from file offset `from` in `piece` to the end of the piece
  // after it, for a group `piece` ends inside; null when it could not be read.
  virtual const DxfPiece* joined(const DxfPiece* piece, uint64_t from) = 0;
  // A "0" group was read in `piece`: the groups before the previous "0"
  // group are no longer looked at.
  virtual void recordStarted(const DxfPiece* piece) = 0;
};

class DxfGroupReader {
 public:
  // Reads `data` whole (no zero byte is needed after it).
  DxfGroupReader(const char* data, size_t size);
  // Reads one piece alone from file offset `from`: the groups end with it,
  // and a group it ends inside makes the reader fail with truncated() set.
  DxfGroupReader(const DxfPiece& piece, const DxfFormat& format, uint64_t from);
  // Reads `first` and the pieces after it from the source; `total` is the
  // file's size.
  DxfGroupReader(DxfPieceSource& source, const DxfPiece& first, const DxfFormat& format,
                 uint64_t total);

  bool binary() const { return m_format.binary; }
  // Moves to the next group; false at the end of the data or on malformed
  // input (then failed() is true).
  bool next();
  // Makes the next call of next() return the current group again.
  void pushBack() { m_pushedBack = true; }
  bool failed() const { return m_failed; }
  // A piece read alone ended inside a group.
  bool truncated() const { return m_truncated; }
  // File offsets: after the current group, and the size of the file.
  uint64_t position() const { return m_piece->start + m_pos; }
  uint64_t size() const { return m_total; }
  // File offset of the first byte of the current group.
  uint64_t groupStart() const { return m_groupStart; }
  // File offset next() reads from.
  uint64_t resumePosition() const { return m_pushedBack ? m_groupStart : position(); }
  const DxfPiece& piece() const { return *m_piece; }
  // Goes on reading at file offset `offset`, a group start in the current
  // piece (or its end), forgetting a pushed-back group.
  void skipTo(uint64_t offset);

  const Group& group() const { return m_group; }
  int code() const { return m_group.code; }
  bool is(int code, const char* value) const { return m_group.is(code, value); }

 private:
  enum class Step { Group, End, Malformed, Cut };  // Cut: the piece ends inside the group
  Step readGroup();
  Step readAscii();
  Step readBinary();
  Step readLine(std::string_view* line);
  bool enter(const DxfPiece* piece, size_t at);

  DxfPiece m_whole;  // the data of the first constructor
  DxfPieceSource* m_source = nullptr;
  const DxfPiece* m_piece;
  DxfFormat m_format;
  uint64_t m_total;
  size_t m_pos = 0;  // in the piece
  uint64_t m_groupStart = 0;
  bool m_failed = false;
  bool m_truncated = false;
  bool m_pushedBack = false;
  bool m_atEnd = false;
  Group m_group;
};

}  // namespace zr
