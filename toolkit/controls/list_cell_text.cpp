#include "toolkit/controls/list_cell_text.h"

#include <oleauto.h>
#include <stdlib.h>


namespace {

const int kShortestGrouped = 4;
const int kLongestGrouped = 128;

// The text with every character that is not in the kept set removed.
CString Keep(LPCSTR text, LPCSTR kept)
{
    CString result;
    for (LPCSTR p = text; *p; ++p) {
        if (strchr(kept, *p))
            result += *p;
    }
    return result;
}

int Sign(double difference)
{
    return difference > 0 ? 1 : difference < 0 ? -1 : 0;
}

DATE DateOrZero(LPCSTR text)
{
    DATE date = 0;
    if (!ParseDateTimeText(text, date))
        date = 0;
    return date;
}

}  // namespace

void FormatThousandsText(CString& text, const CString& negativeSign, const CString& decimalSeparator,
                         const CString& thousandSeparator)
{
    if (thousandSeparator.IsEmpty())
        return;
    CString prefix;
    CString integer = text;
    CString tail;
    int point = decimalSeparator.IsEmpty() ? -1 : text.Find(decimalSeparator);
    if (point >= 0) {
        integer = text.Left(point);
        tail = text.Mid(point);
    }
    // The sign stays in front, also before a decimal part.
    if (!negativeSign.IsEmpty() && integer.Find(negativeSign) == 0) {
        prefix = negativeSign;
        integer = integer.Mid(negativeSign.GetLength());
    }
    int length = integer.GetLength();
    if (length < kShortestGrouped || length > kLongestGrouped)
        return;
    CString grouped;
    for (int i = 0; i < length; ++i) {
        if (i > 0 && i % 3 == 0)
            grouped += thousandSeparator[0];
        grouped += integer[length - 1 - i];
    }
    grouped.MakeReverse();
    text = prefix + grouped + tail;
}

void FormatDurationText(CString& text, const CString& decimalSeparator)
{
    int value = 0;
    if (!decimalSeparator.IsEmpty() && text.Find(decimalSeparator) >= 0)
        value = (int)strtod(text, nullptr);
    else
        value = atoi(text);
    if (value == 0)
        return;
    int minutes = value / 60;
    int seconds = value - minutes * 60;
    text.Format("%u:%u", (unsigned)minutes, (unsigned)seconds);
}

bool CellTypeHasKey(int type)
{
    return type == 1 || type == 2 || type == 5 || type == 6 || type == 9;
}

double CellKey(int type, LPCSTR text)
{
    switch (type) {
    case 1:
        return atoi(text);
    case 2:
        return atoi(Keep(text, "0123456789-+"));
    case 5:
        return strtod(text, nullptr);
    case 6:
        return strtod(Keep(text, "0123456789-+."), nullptr);
    case 9:
        return DateOrZero(text);
    default:
        return 0;
    }
}

void AppendTextSortKey(LPCSTR text, std::vector<char>& keys)
{
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE | SORT_STRINGSORT;
    int size = ::LCMapStringA(LOCALE_USER_DEFAULT, flags, text, -1, nullptr, 0);
    size_t start = keys.size();
    if (size <= 0) {
        keys.push_back(0);
        return;
    }
    keys.resize(start + size);
    if (::LCMapStringA(LOCALE_USER_DEFAULT, flags, text, -1, &keys[start], size) <= 0)
        keys[start] = 0;
    keys.back() = 0;
}

int CompareCellTexts(int type, LPCSTR a, LPCSTR b)
{
    if (CellTypeHasKey(type))
        return Sign(CellKey(type, a) - CellKey(type, b));
    return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a, -1, b, -1) - 2;
}

CString FormatDateTimeText(DATE date)
{
    BSTR text = nullptr;
    if (FAILED(::VarBstrFromDate(date, LANG_USER_DEFAULT, 0, &text)) || !text)
        return CString();
    CString result(text);
    ::SysFreeString(text);
    return result;
}

bool ParseDateTimeText(LPCSTR text, DATE& date)
{
    if (!text || !*text) {
        date = 0;
        return true;
    }
    int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return false;
    std::vector<WCHAR> wide(length);
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    return SUCCEEDED(::VarDateFromStr(wide.data(), LANG_USER_DEFAULT, 0, &date));
}

CString FormatDoubleText(double value)
{
    CString text;
    text.Format("%.32g", value);
    return text;
}
