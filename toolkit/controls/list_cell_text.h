// The typed cell texts of the owner-drawn list: how a cell's text is
// written for its column type, and how two cells of a type compare.
//
// Column types: 0 (and any code above 9) text; 1 integer; 2 integer among
// other characters; 3 and 7 text with thousands grouping; 4 and 8 text as
// minutes:seconds; 5 number; 6 number among other characters; 9 date and
// time in the user's format.
#pragma once
#include "platform/classlib/classlib.h"

#include <vector>

// 1234567.5 becomes 1,234,567.5 (with the locale's signs); integer parts
// of fewer than 4 or more than 128 characters stay as they are.
void FormatThousandsText(CString& text, const CString& negativeSign, const CString& decimalSeparator,
                         const CString& thousandSeparator);
// A number of seconds becomes "minutes:seconds" without padding (65 gives
// 1:5); 0 stays as it is.
void FormatDurationText(CString& text, const CString& decimalSeparator);

// Below 0 when a sorts before b, 0 when equal, above 0 after.
int CompareCellTexts(int type, LPCSTR a, LPCSTR b);
// Types that compare by a number read from the text (1, 2, 5, 6, 9): the
// number, so that a sort reads each text once. Two texts compare as their
// numbers do.
bool CellTypeHasKey(int type);
double CellKey(int type, LPCSTR text);
// Appends the sort key of a text-compared cell (zero-terminated): two keys
// compare with strcmp as their texts do with CompareCellTexts.
void AppendTextSortKey(LPCSTR text, std::vector<char>& keys);

// A date and time in the user's format; parsing gives false for a text
// that is no date (an empty text is the zero date).
CString FormatDateTimeText(DATE date);
bool ParseDateTimeText(LPCSTR text, DATE& date);
// A number with up to 32 significant digits.
CString FormatDoubleText(double value);
