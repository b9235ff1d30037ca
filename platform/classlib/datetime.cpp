#include "platform/classlib/datetime.h"

namespace {

// 100-ns intervals between 1601-01-01 and 1970-01-01.
const LONGLONG kFileTimeOf1970 = 116444736000000000LL;
const LONGLONG kTicksPerSecond = 10000000LL;

LONGLONG SecondsFromFileTime(const FILETIME& fileTime)
{
    ULARGE_INTEGER ticks;
    ticks.LowPart = fileTime.dwLowDateTime;
    ticks.HighPart = fileTime.dwHighDateTime;
    return ((LONGLONG)ticks.QuadPart - kFileTimeOf1970) / kTicksPerSecond;
}

LONGLONG SecondsFromLocalSystemTime(const SYSTEMTIME& localTime)
{
    SYSTEMTIME utc;
    FILETIME fileTime;
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &utc)
        || !SystemTimeToFileTime(&utc, &fileTime))
        return -1;
    return SecondsFromFileTime(fileTime);
}

void TmFromSystemTime(const SYSTEMTIME& time, struct tm* ptm)
{
    static const int kDaysBeforeMonth[] = { 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334 };
    int year = time.wYear;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    *ptm = tm();
    ptm->tm_year = year - 1900;
    ptm->tm_mon = time.wMonth - 1;
    ptm->tm_mday = time.wDay;
    ptm->tm_hour = time.wHour;
    ptm->tm_min = time.wMinute;
    ptm->tm_sec = time.wSecond;
    ptm->tm_wday = time.wDayOfWeek;
    ptm->tm_yday = kDaysBeforeMonth[(time.wMonth - 1) % 12] + time.wDay - 1
                   + ((leap && time.wMonth > 2) ? 1 : 0);
    ptm->tm_isdst = -1;
}

CString FormatTm(const struct tm* ptm, LPCSTR format)
{
    CString text;
    if (ptm == nullptr || format == nullptr || format[0] == 0)
        return text;
    // strftime gives 0 both for a too-small buffer and for an empty result:
    // grow a few times, then give up.
    for (int size = 128; size <= 16384; size *= 4) {
        size_t length = strftime(text.GetBuffer(size), (size_t)size + 1, format, ptm);
        text.ReleaseBuffer((int)length);
        if (length > 0)
            break;
    }
    return text;
}

}  // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int)
{
    SYSTEMTIME local = {};
    local.wYear = (WORD)year;
    local.wMonth = (WORD)month;
    local.wDay = (WORD)day;
    local.wHour = (WORD)hour;
    local.wMinute = (WORD)minute;
    local.wSecond = (WORD)second;
    bool inRange = year >= 1601 && year <= 30827 && month >= 1 && month <= 12 && day >= 1
                   && hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
    m_time = inRange ? SecondsFromLocalSystemTime(local) : -1;
}

CTime::CTime(const SYSTEMTIME& localTime, int)
    : m_time(SecondsFromLocalSystemTime(localTime))
{
}

CTime::CTime(const FILETIME& fileTime, int)
    : m_time(SecondsFromFileTime(fileTime))
{
}

CTime CTime::GetCurrentTime()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return CTime(now);
}

BOOL CTime::GetAsFileTime(FILETIME& fileTime) const
{
    LONGLONG ticks = m_time * kTicksPerSecond + kFileTimeOf1970;
    if (ticks < 0)
        return FALSE;
    fileTime.dwLowDateTime = (DWORD)ticks;
    fileTime.dwHighDateTime = (DWORD)(ticks >> 32);
    return TRUE;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& localTime) const
{
    FILETIME fileTime;
    SYSTEMTIME utc;
    return GetAsFileTime(fileTime) && FileTimeToSystemTime(&fileTime, &utc)
           && SystemTimeToTzSpecificLocalTime(nullptr, &utc, &localTime);
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    SYSTEMTIME local;
    if (ptm == nullptr || !GetAsSystemTime(local))
        return nullptr;
    TmFromSystemTime(local, ptm);
    return ptm;
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    FILETIME fileTime;
    SYSTEMTIME utc;
    if (ptm == nullptr || !GetAsFileTime(fileTime) || !FileTimeToSystemTime(&fileTime, &utc))
        return nullptr;
    TmFromSystemTime(utc, ptm);
    ptm->tm_isdst = 0;
    return ptm;
}

int CTime::GetYear() const { struct tm t; return GetLocalTm(&t) ? t.tm_year + 1900 : 0; }
int CTime::GetMonth() const { struct tm t; return GetLocalTm(&t) ? t.tm_mon + 1 : 0; }
int CTime::GetDay() const { struct tm t; return GetLocalTm(&t) ? t.tm_mday : 0; }
int CTime::GetHour() const { struct tm t; return GetLocalTm(&t) ? t.tm_hour : 0; }
int CTime::GetMinute() const { struct tm t; return GetLocalTm(&t) ? t.tm_min : 0; }
int CTime::GetSecond() const { struct tm t; return GetLocalTm(&t) ? t.tm_sec : 0; }
int CTime::GetDayOfWeek() const { struct tm t; return GetLocalTm(&t) ? t.tm_wday + 1 : 0; }

CString CTime::Format(LPCSTR format) const
{
    struct tm local;
    return FormatTm(GetLocalTm(&local), format);
}

CString CTime::FormatGmt(LPCSTR format) const
{
    struct tm utc;
    return FormatTm(GetGmtTm(&utc), format);
}
