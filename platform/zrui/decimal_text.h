// Numbers in the library's dialogs, written and read with the locale's
// decimal separator.
#pragma once
#include "platform/classlib/cstring.h"

namespace ZrUI {

// The value with at most `decimals` decimals, trailing zeros dropped.
CString DecimalText(double value, int decimals = 6);

// Reads a number typed by the user: optional blanks and sign, digits with
// the locale's separator or '.', nothing else. False leaves value as it was.
bool ParseDecimal(const char* text, double* value);

}  // namespace ZrUI
