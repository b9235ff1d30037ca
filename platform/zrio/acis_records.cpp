#include "platform/zrio/acis_records.h"

#include <stdlib.h>
#include <string.h>

#include "platform/base/byte_reader.h"

namespace zr {

namespace {

// Bounds the memory a hostile file can ask for: more tokens than this are
// not read (a real solid of a few megabytes holds far fewer).
const size_t kMaxTokens = size_t(8) << 20;
const size_t kMagicLength = 15;

bool IsEndOfData(const std::string& type) {
  return type == "End-of-ACIS-data" || type == "End-of-ASM-data" ||
         type == "Begin-of-ACIS-History-Data" || type == "Begin-of-ASM-History-Data";
}

bool IsSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

// A number token: digits with an optional sign, point and exponent, and
// nothing else ("I", "F", "inf" and "nan" are words).
bool ParseNumber(const std::string& s, double* value) {
  char c = s.empty() ? 0 : s[0];
  if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.')) return false;
  char* end = nullptr;
  *value = strtod(s.c_str(), &end);
  return end == s.c_str() + s.size();
}

// The words of SAT text after its three header lines.
class SatScanner {
 public:
  explicit SatScanner(const std::string& text) : m_text(text) {}

  // The first number of the first line; false when there is none.
  bool header(int* version) {
    double first = 0;
    std::string word;
    if (!next(&word) || !ParseNumber(word, &first)) return false;
    *version = first > 0 && first < 1e6 ? int(first) : 0;
    for (int line = 0; line < 3; ++line) {
      size_t end = m_text.find('\n', m_pos);
      if (end == std::string::npos) return false;
      m_pos = end + 1;
    }
    return true;
  }

  // The next word; "@n text" strings come as their n characters.
  bool next(std::string* word) {
    while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) ++m_pos;
    if (m_pos >= m_text.size()) return false;
    size_t start = m_pos;
    while (m_pos < m_text.size() && !IsSpace(m_text[m_pos])) ++m_pos;
    word->assign(m_text, start, m_pos - start);
    if (word->size() < 2 || (*word)[0] != '@') return true;
    char* end = nullptr;
    unsigned long length = strtoul(word->c_str() + 1, &end, 10);
    if (*end != 0 || m_pos >= m_text.size()) return true;
    size_t from = m_pos + 1;
    size_t take = length < m_text.size() - from ? size_t(length) : m_text.size() - from;
    word->assign(m_text, from, take);
    m_pos = from + take;
    return true;
  }

 private:
  const std::string& m_text;
  size_t m_pos = 0;
};

AcisToken TokenOfWord(const std::string& word) {
  AcisToken token;
  if (word.size() > 1 && word[0] == '$') {
    token.kind = AcisToken::Pointer;
    char* end = nullptr;
    long index = strtol(word.c_str() + 1, &end, 10);
    token.number = *end == 0 && index >= 0 ? double(index) : -1;
  } else if (word == "{") {
    token.kind = AcisToken::Open;
  } else if (word == "}") {
    token.kind = AcisToken::Close;
  } else if (!ParseNumber(word, &token.number)) {
    token.kind = AcisToken::Word;
    token.word = word;
  }
  return token;
}

// SAB value tags.
enum SabTag : uint8_t {
  kChar = 2, kShort = 3, kLong = 4, kFloat = 5, kDouble = 6, kString1 = 7, kString2 = 8,
  kString4 = 9, kTrue = 10, kFalse = 11, kPointer = 12, kIdentifier = 13, kIdentifierPart = 14,
  kSubtypeStart = 15, kSubtypeEnd = 16, kRecordEnd = 17, kLiteral4 = 18, kPosition = 19,
  kVector = 20, kEnum = 21
};

bool IsStringTag(uint8_t tag) {
  return tag == kString1 || tag == kString2 || tag == kString4 || tag == kLiteral4;
}

double ReadDouble(CByteReader& in) {
  uint64_t bits = in.U64LE();
  double value;
  memcpy(&value, &bits, sizeof value);
  return value;
}

// Reads the value of a tag; false on a tag this reader does not know or
// data cut short.
class SabScanner {
 public:
  SabScanner(const uint8_t* data, size_t size) : m_in(data, size) {}

  // Moves past the magic and the header numbers.
  bool header(int* version) {
    if (!m_in.Skip(kMagicLength)) return false;
    size_t start = m_in.Position();
    // The four header numbers are 32 bits wide, or 64 in some ASM files:
    // the product name's string tag follows them.
    for (size_t width : {size_t(4), size_t(8)}) {
      if (!m_in.Seek(start) || !m_in.Has(4 * width + 1)) return false;
      *version = int32_t(m_in.U32LE());
      m_in.Skip(4 * width - 4);
      if (IsStringTag(*m_in.Here())) return true;
    }
    return false;
  }

  bool atEnd() const { return !m_in.Ok() || m_in.AtEnd(); }

  // One tag: adds to the record's type (the parts of its entity identifier
  // joined by '-') or its tokens, or sets *recordEnd.
  bool tag(AcisRecord* record, bool* recordEnd) {
    std::vector<AcisToken>* tokens = &record->tokens;
    uint8_t tag = m_in.U8();
    AcisToken token;
    switch (tag) {
      case kChar: token.number = int8_t(m_in.U8()); break;
      case kShort: token.number = m_in.I16LE(); break;
      case kLong: token.number = m_in.I32LE(); break;
      case kFloat: {
        uint32_t bits = m_in.U32LE();
        float value;
        memcpy(&value, &bits, sizeof value);
        token.number = value;
        break;
      }
      case kDouble: token.number = ReadDouble(m_in); break;
      case kString1: case kString2: case kString4: case kLiteral4:
        token.kind = AcisToken::Word;
        if (!string(tag, &token.word)) return false;
        break;
      case kIdentifier: case kIdentifierPart: {
        std::string part;
        if (!string(kString1, &part)) return false;
        if (m_typed) {  // a name within the record, such as a subtype's
          token.kind = AcisToken::Word;
          token.word = part;
          break;
        }
        if (!record->type.empty()) record->type += '-';
        record->type += part;
        m_typed = tag == kIdentifier;
        return true;
      }
      case kTrue: case kFalse:
        token.kind = AcisToken::Word;
        token.word = tag == kTrue ? "true" : "false";
        break;
      case kEnum:
        token.kind = AcisToken::Word;
        token.word = "enum" + std::to_string(m_in.I32LE());
        break;
      case kPointer: {
        token.kind = AcisToken::Pointer;
        int32_t index = m_in.I32LE();
        token.number = index >= 0 ? index : -1;
        break;
      }
      case kSubtypeStart: token.kind = AcisToken::Open; break;
      case kSubtypeEnd: token.kind = AcisToken::Close; break;
      case kRecordEnd:
        *recordEnd = true;
        m_typed = false;
        return true;
      case kPosition: case kVector:
        for (int i = 0; i < 3; ++i) {
          AcisToken coordinate;
          coordinate.number = ReadDouble(m_in);
          tokens->push_back(coordinate);
        }
        return m_in.Ok();
      default:
        return false;
    }
    if (!m_in.Ok()) return false;
    tokens->push_back(std::move(token));
    return true;
  }

 private:
  bool string(uint8_t tag, std::string* out) {
    size_t length = tag == kString1 ? m_in.U8() : tag == kString2 ? m_in.U16LE() : m_in.U32LE();
    const uint8_t* bytes = m_in.Span(length);
    if (!bytes) return false;
    out->assign(reinterpret_cast<const char*>(bytes), length);
    return true;
  }

  CByteReader m_in;
  bool m_typed = false;  // the current record's type is complete
};

}  // namespace

bool ReadSatText(const std::string& text, AcisFile* file) {
  SatScanner scan(text);
  if (!scan.header(&file->version)) return false;
  std::string word;
  AcisRecord record;
  bool inRecord = false;
  size_t tokens = 0;
  while (scan.next(&word) && tokens < kMaxTokens) {
    if (!inRecord) {
      double index;
      if (ParseNumber(word, &index)) continue;  // a record's own number ("-0 body ...")
      if (IsEndOfData(word)) break;
      record.type = word;
      record.tokens.clear();
      inRecord = true;
    } else if (word == "#") {
      file->records.push_back(std::move(record));
      inRecord = false;
    } else {
      record.tokens.push_back(TokenOfWord(word));
      ++tokens;
    }
  }
  return !file->records.empty();
}

bool ReadSabBytes(const uint8_t* data, size_t size, AcisFile* file) {
  if (size < kMagicLength || (memcmp(data, "ACIS BinaryFile", kMagicLength) != 0 &&
                              memcmp(data, "ASM BinaryFile4", kMagicLength) != 0))
    return false;
  SabScanner scan(data, size);
  if (!scan.header(&file->version)) return false;
  AcisRecord record;
  size_t tokens = 0;
  while (!scan.atEnd() && tokens < kMaxTokens) {
    bool recordEnd = false;
    size_t before = record.tokens.size();
    if (!scan.tag(&record, &recordEnd)) break;
    tokens += record.tokens.size() - before;
    if (record.type.empty()) {
      record.tokens.clear();  // the header's names and numbers, before the first record
      continue;
    }
    if (IsEndOfData(record.type)) break;
    if (recordEnd) {
      file->records.push_back(std::move(record));
      record = AcisRecord();
    }
  }
  return !file->records.empty();
}

std::string DecodeSatLine(const std::string& line) {
  std::string plain;
  plain.reserve(line.size());
  for (size_t i = 0; i < line.size(); ++i) {
    unsigned char c = (unsigned char)line[i];
    if (c == ' ' || c == '\t') {
      plain += ' ';
    } else if (c == '^' && i + 1 < line.size() && line[i + 1] == ' ') {
      plain += 'A';  // "^ " is how a DXF file writes the "^" that stands for it
      ++i;
    } else if (c < 159) {
      plain += char(159 - c);
    }
  }
  return plain;
}

}  // namespace zr
