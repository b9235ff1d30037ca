// CTime, a moment in whole seconds since 1970-01-01 UTC, shown in the
// user's local time; CTimeSpan, a signed number of seconds.
#pragma once
#include <windows.h>
#include <time.h>
#include "platform/classlib/cstring.h"

class CTimeSpan
{
public:
    CTimeSpan() : m_span(0) {}
    CTimeSpan(LONGLONG seconds) : m_span(seconds) {}
    CTimeSpan(LONG days, int hours, int minutes, int seconds)
        : m_span(((LONGLONG)days * 24 + hours) * 3600 + (LONGLONG)minutes * 60 + seconds) {}

    LONGLONG GetDays() const { return m_span / 86400; }
    LONGLONG GetTotalHours() const { return m_span / 3600; }
    LONG GetHours() const { return (LONG)(GetTotalHours() % 24); }
    LONGLONG GetTotalMinutes() const { return m_span / 60; }
    LONG GetMinutes() const { return (LONG)(GetTotalMinutes() % 60); }
    LONGLONG GetTotalSeconds() const { return m_span; }
    LONG GetSeconds() const { return (LONG)(m_span % 60); }

    CTimeSpan operator+(CTimeSpan other) const { return CTimeSpan(m_span + other.m_span); }
    CTimeSpan operator-(CTimeSpan other) const { return CTimeSpan(m_span - other.m_span); }
    CTimeSpan& operator+=(CTimeSpan other) { m_span += other.m_span; return *this; }
    CTimeSpan& operator-=(CTimeSpan other) { m_span -= other.m_span; return *this; }
    bool operator==(CTimeSpan other) const { return m_span == other.m_span; }
    bool operator!=(CTimeSpan other) const { return m_span != other.m_span; }
    bool operator<(CTimeSpan other) const { return m_span < other.m_span; }
    bool operator>(CTimeSpan other) const { return m_span > other.m_span; }
    bool operator<=(CTimeSpan other) const { return m_span <= other.m_span; }
    bool operator>=(CTimeSpan other) const { return m_span >= other.m_span; }

private:
    LONGLONG m_span;
};

class CTime
{
public:
    CTime() : m_time(0) {}
    CTime(LONGLONG time) : m_time(time) {}
    // Local date and time; a date that does not exist gives an invalid time
    // (-1). The daylight-saving flag is decided by the local time zone.
    CTime(int year, int month, int day, int hour, int minute, int second, int nDST = -1);
    CTime(const SYSTEMTIME& localTime, int nDST = -1);
    CTime(const FILETIME& fileTime, int nDST = -1);   // a UTC file time

    static CTime GetCurrentTime();

    LONGLONG GetTime() const { return m_time; }
    // The local date and time; FALSE for a time before 1601.
    BOOL GetAsSystemTime(SYSTEMTIME& localTime) const;
    BOOL GetAsFileTime(FILETIME& fileTime) const;   // UTC
    struct tm* GetLocalTm(struct tm* ptm) const;
    struct tm* GetGmtTm(struct tm* ptm) const;

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;   // 1 = Sunday

    // strftime codes (%Y, %m, %d, %H, %M, %S, %a, %b, %c, %x, ...).
    CString Format(LPCSTR format) const;
    CString FormatGmt(LPCSTR format) const;

    CTimeSpan operator-(CTime other) const { return CTimeSpan(m_time - other.m_time); }
    CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTotalSeconds()); }
    CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTotalSeconds()); }
    CTime& operator+=(CTimeSpan span) { m_time += span.GetTotalSeconds(); return *this; }
    CTime& operator-=(CTimeSpan span) { m_time -= span.GetTotalSeconds(); return *this; }
    bool operator==(CTime other) const { return m_time == other.m_time; }
    bool operator!=(CTime other) const { return m_time != other.m_time; }
    bool operator<(CTime other) const { return m_time < other.m_time; }
    bool operator>(CTime other) const { return m_time > other.m_time; }
    bool operator<=(CTime other) const { return m_time <= other.m_time; }
    bool operator>=(CTime other) const { return m_time >= other.m_time; }

private:
    LONGLONG m_time;
};
