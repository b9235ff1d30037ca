#include "core/locale_info.h"

#include "core/picture_tokenizer.h"

namespace {

struct PictureToken {
    const char* token;
    const char* code;
};

const PictureToken kPictureTokens[] = {
    {"M", "%#m"},  {"MM", "%m"},  {"MMM", "%b"}, {"MMMM", "%B"}, {"d", "%#d"},  {"dd", "%d"},
    {"dddd", "%A"}, {"yy", "%y"}, {"yyyy", "%Y"}, {"H", "%#H"},  {"HH", "%H"},   {"h", "%#I"},
    {"hh", "%I"},  {"mm", "%M"},  {"ss", "%S"},  {"tt", "%p"},
};

const char kShortTimePicture[] = "H:mm";

// One locale text, or empty when the locale has none.
CString ReadLocaleText(LCTYPE type)
{
    int size = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, nullptr, 0);
    if (size <= 0)
        return CString();
    CString text;
    int got = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text.GetBuffer(size), size);
    text.ReleaseBuffer(got > 0 ? -1 : 0);
    return text;
}

}  // namespace

CLocaleInfo& CLocaleInfo::Instance()
{
    struct LoadedLocaleInfo : CLocaleInfo {
        LoadedLocaleInfo() { Load(); }
    };
    static LoadedLocaleInfo instance;
    return instance;
}

CLocaleInfo::CLocaleInfo() {}

void CLocaleInfo::Load()
{
    m_negativeSign = ReadLocaleText(LOCALE_SNEGATIVESIGN);
    m_decimalSeparator = ReadLocaleText(LOCALE_SDECIMAL);
    m_thousandSeparator = ReadLocaleText(LOCALE_STHOUSAND);
    m_longDatePicture = ReadLocaleText(LOCALE_SLONGDATE);
    m_shortDatePicture = ReadLocaleText(LOCALE_SSHORTDATE);
    m_timePicture = ReadLocaleText(LOCALE_STIMEFORMAT);
    m_shortTimePicture = kShortTimePicture;
    m_dateSeparator = ReadLocaleText(LOCALE_SDATE);
    m_timeSeparator = ReadLocaleText(LOCALE_STIME);
}

CString CLocaleInfo::MapPictureToken(const CString& token)
{
    for (const PictureToken& entry : kPictureTokens) {
        if (token == entry.token)
            return entry.code;
    }
    // Anything else is literal text; a '%' in it must not start a field.
    CString literal(token);
    literal.Replace("%", "%%");
    return literal;
}

CString CLocaleInfo::ConvertPicture(const char* picture)
{
    CString format;
    CPictureTokenizer tokenizer(picture);
    while (!tokenizer.AtEnd()) {
        CString run = tokenizer.AtSeparator() ? tokenizer.ReadSeparators() : tokenizer.ReadToken();
        format += MapPictureToken(run);
    }
    return format;
}

CString CLocaleInfo::FormatDateTime(const COleDateTime& dateTime) const
{
    return dateTime.Format(ConvertPicture(m_shortDatePicture)) + " " +
           dateTime.Format(ConvertPicture(m_timePicture));
}

CString CLocaleInfo::FormatFileTime(const FILETIME& fileTime) const
{
    FILETIME local;
    SYSTEMTIME system;
    COleDateTime dateTime;
    if (FileTimeToLocalFileTime(&fileTime, &local) && FileTimeToSystemTime(&local, &system))
        dateTime = COleDateTime(system);
    else
        dateTime.SetStatus(COleDateTime::invalid);
    return FormatDateTime(dateTime);
}
