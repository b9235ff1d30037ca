// Numbers in the value lines of an ASCII DXF file, read as the C library's
// strtod and strtoll read them (leading blanks, a sign, as many characters
// as make a number), but never past the end of the line: a line of blanks
// reads as 0, not as the number on the line after it.
#pragma once
#include <stdint.h>

#include <string_view>

namespace zr {

double DoubleOfLine(std::string_view line);
int64_t IntegerOfLine(std::string_view line);
// A group code line: a decimal integer with blanks around it, as read from
// its first 23 characters; false when it is not one.
bool GroupCodeOfLine(std::string_view line, long* code);
// A handle: the hexadecimal number at the start of the first 20 characters.
uint64_t HandleOfLine(std::string_view line);

}  // namespace zr
