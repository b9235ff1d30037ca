// CLocaleInfo: the user's locale formats (signs, separators, date and time
// pictures) and the date-and-time text of the file lists and the file
// information pages.
#pragma once
#include <windows.h>

#include "platform/classlib/classlib_core.h"

class CLocaleInfo
{
public:
    // The one instance, loaded on first use.
    static CLocaleInfo& Instance();

    CLocaleInfo();
    CLocaleInfo(const CLocaleInfo&) = delete;
    CLocaleInfo& operator=(const CLocaleInfo&) = delete;
    virtual ~CLocaleInfo() = default;

    // Reads every field from the user's default locale.
    void Load();

    // The strftime code of a locale picture token ("MM" the month, "mm" the
    // minutes); any other token or separator run comes back unchanged.
    static CString MapPictureToken(const CString& token);
    // The strftime format of a locale picture: "yyyy/M/d" gives
    // "%Y/%#m/%#d". Text that is no token stays literal.
    static CString ConvertPicture(const char* picture);

    // The short date, a blank and the time, in the locale's pictures.
    CString FormatDateTime(const COleDateTime& dateTime) const;
    // The same for a file time, shown as local time.
    CString FormatFileTime(const FILETIME& fileTime) const;

    const CString& GetNegativeSign() const { return m_negativeSign; }
    const CString& GetDecimalSeparator() const { return m_decimalSeparator; }
    const CString& GetThousandSeparator() const { return m_thousandSeparator; }
    const CString& GetLongDatePicture() const { return m_longDatePicture; }
    const CString& GetShortDatePicture() const { return m_shortDatePicture; }
    const CString& GetTimePicture() const { return m_timePicture; }
    const CString& GetShortTimePicture() const { return m_shortTimePicture; }
    const CString& GetDateSeparator() const { return m_dateSeparator; }
    const CString& GetTimeSeparator() const { return m_timeSeparator; }

private:
    CString m_negativeSign;
    CString m_decimalSeparator;
    CString m_thousandSeparator;
    CString m_longDatePicture;
    CString m_shortDatePicture;
    CString m_timePicture;
    CString m_shortTimePicture;
    CString m_dateSeparator;
    CString m_timeSeparator;
};
