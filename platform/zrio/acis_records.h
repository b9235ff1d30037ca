// The records of an ACIS save file, read from either of its forms: the SAT
// text (records of words, numbers and "$n" pointers ending with "#") and the
// SAB binary (the same records as tagged values). Both become the same
// tokens, so that one reader interprets the records.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace zr {

struct AcisToken {
  enum Kind : uint8_t { Number, Pointer, Word, Open, Close };
  Kind kind = Number;
  double number = 0;  // Number; Pointer: the record index (-1 for none)
  std::string word;   // Word
};

struct AcisRecord {
  std::string type;  // "edge", "straight-curve", ...
  std::vector<AcisToken> tokens;  // what follows the type, up to the "#"
};

struct AcisFile {
  int version = 0;  // 400, 700, 21800, ...
  std::vector<AcisRecord> records;  // indexed by the pointers
};

// The records of SAT text, header lines included. False when no record
// could be read; a file cut short keeps the records before the cut.
bool ReadSatText(const std::string& text, AcisFile* file);

// The records of SAB bytes ("ACIS BinaryFile" or "ASM BinaryFile4" and
// what follows); false when they do not start so or hold no record.
bool ReadSabBytes(const uint8_t* data, size_t size, AcisFile* file);

// SAT text as R2000 to R2004 DXF files store it, each character but spaces
// turned into 159 minus itself ("^ " standing for "A"), back to plain text.
std::string DecodeSatLine(const std::string& line);

}  // namespace zr
