// Numbers in the value lines of an ASCII DXF file, read as the C library's
// strtod and strtoll read them (leading blanks, a sign, as many characters
// as make a number), but never past the end of the line: a line of blanks
// reads as 0, not as the number on the line after it.
#pragma once
#include <stdint.h>

#include <string>
#include <string_view>

namespace zr {

double DoubleOfLine(std::string_view line);
int64_t IntegerOfLine(std::string_view line);
// A group code line: a decimal integer with blanks around it, as read from
// its first 23 characters; false when it is not one.
bool GroupCodeOfLine(std::string_view line, long* code);
// A handle: the hexadecimal number at the start of the first 20 characters.
uint64_t HandleOfLine(std::string_view line);

// The shortest text that reads back as the same number, in the form the
// DWG worker's JavaScript gives numbers: digits without an exponent for a
// size from 1e-6 up to below 1e21 ("0.000001", "100000"), else one digit
// before the point and a signed exponent ("1.5e-7", "1e+21"); zero of
// either sign as "0".
// A drawing the worker hands over as binary DXF then keeps the same texts
// of its numbers as one it hands over as DXF text.
std::string ShortestNumberText(double value);

}  // namespace zr
