// COleDateTime: a date and time held as an OLE DATE (days since
// 30 December 1899, the fraction being the time of day), with a status, and
// its text through strftime-style formats.
#pragma once
#include <windows.h>

#include "platform/classlib/cstring.h"

class COleDateTime
{
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    // Valid, at 30 December 1899 0:00.
    COleDateTime();
    explicit COleDateTime(DATE date);
    // Invalid when the fields are out of range.
    explicit COleDateTime(const SYSTEMTIME& time);
    COleDateTime(int year, int month, int day, int hour, int minute, int second);

    static COleDateTime GetCurrentTime();

    // Years 100 to 9999; anything else makes the value invalid. Returns 0
    // when the value was set.
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    DATE GetDate() const { return m_dt; }

    // The fields of a valid value (-1 when the value is not valid); the day
    // of the week runs from 1 (Sunday) to 7.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;
    bool GetAsSystemTime(SYSTEMTIME& time) const;

    // strftime-style formatting in the "C" locale (English names). The flag '#' drops leading zeros from numeric
    // fields ("%#m" gives "3" for March), and with %c and %x gives the long
    // date. "Invalid DateTime" for an invalid value, "" for a null one.
    CString Format(LPCSTR format) const;

private:
    DATE m_dt;
    DateTimeStatus m_status;
};
