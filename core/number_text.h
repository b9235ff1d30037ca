// Numbers as texts in the user's locale: decimals with the locale's
// decimal separator, binary fractions, feet and inches, and the reverse.
#pragma once
#include "platform/classlib/cstring.h"

// The user locale's decimal separator ("." when the locale has none).
CString GetDecimalSeparator();

// value with that many decimals (0 to 17), the separator replaced.
CString FormatDecimal(double value, int decimals);
CString FormatDecimal(double value, int decimals, const char* separator);

// The whole part and a reduced binary fraction of 2^bits parts:
// "2 1/2", "3" (bits is taken as 0 to 30; 0 or less gives the whole part
// alone). A fraction that rounds up to a whole carries into the whole part.
CString FormatFraction(double value, int bits);

// Feet and fractional inches: 30.5 with 1 bit gives 2'-6 1/2".
CString FormatFeetInches(double inches, int bits);

// Feet and decimal inches: 30.5 with 2 decimals gives 2'-6.50".
CString FormatFeetDecimalInches(double inches, int decimals);

// True when the whole text is a number; the locale's decimal separator is
// accepted in place of the dot. value is set from the leading number even
// when the text goes on after it.
bool StringToDouble(const char* text, double& value);
bool StringToDouble(const char* text, double& value, const char* separator);
