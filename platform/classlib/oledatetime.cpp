#include "platform/classlib/oledatetime.h"

#include <math.h>
#include <string.h>

namespace {

const int kMinYear = 100;
const int kMaxYear = 9999;
const int kSecondsPerDay = 24 * 60 * 60;

// Days since 1 March of year 0 in the proleptic Gregorian calendar, and
// back; from Howard Hinnant's civil-date algorithms.
long long DaysFromCivil(int year, int month, int day)
{
    year -= month <= 2;
    long long era = (year >= 0 ? year : year - 399) / 400;
    int yearOfEra = year - (int)(era * 400);
    int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra;
}

void CivilFromDays(long long days, int& year, int& month, int& day)
{
    long long era = (days >= 0 ? days : days - 146096) / 146097;
    int dayOfEra = (int)(days - era * 146097);
    int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    year = (int)(yearOfEra + era * 400) + (month <= 2);
}

long long OleEpoch()
{
    return DaysFromCivil(1899, 12, 30);
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// The fields of a DATE, the time rounded to the second.
struct DateFields {
    int year, month, day, hour, minute, second, dayOfWeek, dayOfYear;

    explicit DateFields(DATE date)
    {
        double wholeDays = trunc(date);
        long long days = (long long)wholeDays;
        long long seconds = llround(fabs(date - wholeDays) * kSecondsPerDay);
        if (seconds >= kSecondsPerDay) {
            seconds -= kSecondsPerDay;
            days += 1;
        }
        long long civil = days + OleEpoch();
        CivilFromDays(civil, year, month, day);
        hour = (int)(seconds / 3600);
        minute = (int)(seconds / 60 % 60);
        second = (int)(seconds % 60);
        // 1 March of year 0 was a Wednesday.
        dayOfWeek = (int)(((civil % 7) + 7 + 3) % 7);
        dayOfYear = (int)(civil - DaysFromCivil(year, 1, 1));
    }
};

const char* const kDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[12] = {"January", "February", "March",     "April",
                                     "May",     "June",     "July",      "August",
                                     "September", "October", "November", "December"};

CString Number(int value, int width)
{
    CString text;
    text.Format("%0*d", width, value);
    return text;
}

CString FormatFields(const DateFields& fields, const char* format);

// One directive in the C runtime's "C" locale, so the texts never depend
// on the process's C library locale. Unknown directives give nothing.
CString FormatDirective(const DateFields& f, char directive)
{
    switch (directive) {
    case 'a': return CString(kDayNames[f.dayOfWeek], 3);
    case 'A': return kDayNames[f.dayOfWeek];
    case 'b': return CString(kMonthNames[f.month - 1], 3);
    case 'B': return kMonthNames[f.month - 1];
    case 'c': return FormatFields(f, "%m/%d/%y %H:%M:%S");
    case 'd': return Number(f.day, 2);
    case 'H': return Number(f.hour, 2);
    case 'I': return Number(f.hour % 12 == 0 ? 12 : f.hour % 12, 2);
    case 'j': return Number(f.dayOfYear + 1, 3);
    case 'm': return Number(f.month, 2);
    case 'M': return Number(f.minute, 2);
    case 'p': return f.hour < 12 ? "AM" : "PM";
    case 'S': return Number(f.second, 2);
    case 'U': return Number((f.dayOfYear + 7 - f.dayOfWeek) / 7, 2);
    case 'w': return Number(f.dayOfWeek, 1);
    case 'W': return Number((f.dayOfYear + 7 - (f.dayOfWeek + 6) % 7) / 7, 2);
    case 'x': return FormatFields(f, "%m/%d/%y");
    case 'X': return FormatFields(f, "%H:%M:%S");
    case 'y': return Number(f.year % 100, 2);
    case 'Y': return Number(f.year, 1);
    case '%': return "%";
    default: return "";
    }
}

// With the '#' flag: %c and %x give the long date, numbers lose their
// leading zeros (one digit stays).
CString FormatAlternate(const DateFields& f, char directive)
{
    if (directive == 'c')
        return FormatFields(f, "%A, %B %d, %Y %H:%M:%S");
    if (directive == 'x')
        return FormatFields(f, "%A, %B %d, %Y");
    CString text = FormatDirective(f, directive);
    if (strchr("dHIjmMSUwWyY", directive)) {
        int zeros = 0;
        while (zeros < text.GetLength() - 1 && text[zeros] == '0')
            ++zeros;
        text = text.Mid(zeros);
    }
    return text;
}

CString FormatFields(const DateFields& fields, const char* format)
{
    CString text;
    int length = (int)strlen(format);
    for (int i = 0; i < length;) {
        int step = ClasslibCharLength(format, length, i);
        if (format[i] != '%' || step != 1) {
            text.Append(format + i, step);
            i += step;
            continue;
        }
        ++i;
        bool alternate = i < length && format[i] == '#';
        if (alternate)
            ++i;
        if (i >= length)
            break;
        text += alternate ? FormatAlternate(fields, format[i]) : FormatDirective(fields, format[i]);
        ++i;
    }
    return text;
}

}  // namespace

COleDateTime::COleDateTime() : m_dt(0), m_status(valid) {}

COleDateTime::COleDateTime(DATE date) : m_dt(date), m_status(valid)
{
    double lowest = (double)(DaysFromCivil(kMinYear, 1, 1) - OleEpoch());
    double highest = (double)(DaysFromCivil(kMaxYear, 12, 31) - OleEpoch()) + 1;
    if (!(date > lowest - 1 && date < highest))
        m_status = invalid;
}

COleDateTime::COleDateTime(const SYSTEMTIME& time) : m_dt(0), m_status(valid)
{
    SetDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
}

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second)
    : m_dt(0), m_status(valid)
{
    SetDateTime(year, month, day, hour, minute, second);
}

COleDateTime COleDateTime::GetCurrentTime()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return COleDateTime(now);
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second)
{
    bool inRange = year >= kMinYear && year <= kMaxYear && month >= 1 && month <= 12 && day >= 1 &&
                   day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
                   minute <= 59 && second >= 0 && second <= 59;
    if (!inRange) {
        m_dt = 0;
        m_status = invalid;
        return 1;
    }
    long long days = DaysFromCivil(year, month, day) - OleEpoch();
    double time = (hour * 3600 + minute * 60 + second) / (double)kSecondsPerDay;
    // Before the epoch the day counts down while the time still counts up.
    m_dt = days >= 0 ? days + time : days - time;
    m_status = valid;
    return 0;
}

int COleDateTime::GetYear() const
{
    return m_status == valid ? DateFields(m_dt).year : -1;
}

int COleDateTime::GetMonth() const
{
    return m_status == valid ? DateFields(m_dt).month : -1;
}

int COleDateTime::GetDay() const
{
    return m_status == valid ? DateFields(m_dt).day : -1;
}

int COleDateTime::GetHour() const
{
    return m_status == valid ? DateFields(m_dt).hour : -1;
}

int COleDateTime::GetMinute() const
{
    return m_status == valid ? DateFields(m_dt).minute : -1;
}

int COleDateTime::GetSecond() const
{
    return m_status == valid ? DateFields(m_dt).second : -1;
}

int COleDateTime::GetDayOfWeek() const
{
    return m_status == valid ? DateFields(m_dt).dayOfWeek + 1 : -1;
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& time) const
{
    if (m_status != valid)
        return false;
    DateFields fields(m_dt);
    time.wYear = (WORD)fields.year;
    time.wMonth = (WORD)fields.month;
    time.wDay = (WORD)fields.day;
    time.wDayOfWeek = (WORD)fields.dayOfWeek;
    time.wHour = (WORD)fields.hour;
    time.wMinute = (WORD)fields.minute;
    time.wSecond = (WORD)fields.second;
    time.wMilliseconds = 0;
    return true;
}

CString COleDateTime::Format(LPCSTR format) const
{
    if (m_status == invalid)
        return "Invalid DateTime";
    if (m_status == null || !format)
        return "";
    return FormatFields(DateFields(m_dt), format);
}
