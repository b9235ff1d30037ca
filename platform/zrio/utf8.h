// UTF-8, the library's inner text encoding: one character read from a
// string, one character appended.
#pragma once
#include <stddef.h>

#include <string>

namespace zr {

const char32_t kReplacementChar = 0xFFFD;

// Decodes the character at *pos and moves *pos past it. A cut or malformed
// sequence gives kReplacementChar and moves one byte on; an overlong form,
// a surrogate or a value past U+10FFFF gives it and moves past the sequence.
char32_t DecodeUtf8(const std::string& s, size_t* pos);
void AppendUtf8(std::string& out, char32_t c);

}  // namespace zr
