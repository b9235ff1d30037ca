// Version texts of the form "1.0.10.0": dotted decimal numbers.
#pragma once

// True when offered names a later version than current, compared number
// by number ("1.0.10.0" is later than "1.0.9.0"; a missing number counts as
// 0). A text that is not dotted decimal numbers is never later, nor is
// anything compared with such a text.
bool IsLaterVersion(const char* offered, const char* current);
