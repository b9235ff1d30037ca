#include "platform/classlib/cstring.h"

#include "platform/classlib/module_state.h"

#include <limits.h>
#include <new>
#include <utility>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

char g_emptyText[1] = { 0 };

int SafeLength(LPCSTR text)
{
    if (text == nullptr)
        return 0;
    size_t length = strlen(text);
    if (length > (size_t)(INT_MAX / 2))
        throw std::bad_alloc();
    return (int)length;
}

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

bool IsAsciiSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\v' || ch == '\f';
}

char AsciiUpper(char ch) { return (ch >= 'a' && ch <= 'z') ? (char)(ch - 'a' + 'A') : ch; }
char AsciiLower(char ch) { return (ch >= 'A' && ch <= 'Z') ? (char)(ch - 'A' + 'a') : ch; }

// True when the character of charLength bytes at ch is one of the set's
// characters (the set is walked character by character too).
bool SetContains(LPCSTR charSet, const char* ch, int charLength)
{
    if (charSet == nullptr)
        return false;
    int setLength = (int)strlen(charSet);
    for (int i = 0; i < setLength;) {
        int length = ClasslibCharLength(charSet, setLength, i);
        if (length == charLength && memcmp(charSet + i, ch, length) == 0)
            return true;
        i += length;
    }
    return false;
}

bool MatchesSet(const char* ch, int charLength, const void* context)
{
    return SetContains(static_cast<LPCSTR>(context), ch, charLength);
}

bool MatchesChar(const char* ch, int charLength, const void* context)
{
    return charLength == 1 && *ch == *static_cast<const char*>(context);
}

bool MatchesSpace(const char* ch, int charLength, const void*)
{
    return charLength == 1 && IsAsciiSpace(*ch);
}

// Lead-byte table of the ANSI code page, built once.
struct LeadByteTable
{
    bool lead[256];
    LeadByteTable()
    {
        for (int i = 0; i < 256; ++i)
            lead[i] = IsDBCSLeadByte((BYTE)i) != FALSE;
    }
};

}  // namespace

bool ClasslibIsLeadByte(char ch)
{
    static const LeadByteTable table;
    return table.lead[(BYTE)ch];
}

int ClasslibCharLength(const char* text, int length, int index)
{
    if (ClasslibIsLeadByte(text[index]) && index + 1 < length && text[index + 1] != 0)
        return 2;
    return 1;
}

CString::CString() : m_data(g_emptyText), m_length(0), m_capacity(0) {}

CString::CString(const CString& other) : CString()
{
    Assign(other.m_data, other.m_length);
}

CString::CString(CString&& other) noexcept
    : m_data(other.m_data), m_length(other.m_length), m_capacity(other.m_capacity)
{
    other.m_data = g_emptyText;
    other.m_length = 0;
    other.m_capacity = 0;
}

CString::CString(LPCSTR text) : CString()
{
    Assign(text, SafeLength(text));
}

CString::CString(LPCSTR text, int length) : CString()
{
    if (text != nullptr && length > 0)
        Assign(text, (int)strnlen(text, (size_t)length));
}

CString::CString(const WCHAR* text) : CString()
{
    *this = text;
}

CString::CString(char ch, int repeat) : CString()
{
    if (repeat <= 0)
        return;
    Reserve(repeat);
    memset(m_data, ch, (size_t)repeat);
    SetLength(repeat);
}

CString::~CString()
{
    if (m_capacity > 0)
        free(m_data);
}

CString& CString::operator=(const CString& other)
{
    if (this != &other)
        Assign(other.m_data, other.m_length);
    return *this;
}

CString& CString::operator=(CString&& other) noexcept
{
    if (this != &other) {
        if (m_capacity > 0)
            free(m_data);
        m_data = other.m_data;
        m_length = other.m_length;
        m_capacity = other.m_capacity;
        other.m_data = g_emptyText;
        other.m_length = 0;
        other.m_capacity = 0;
    }
    return *this;
}

CString& CString::operator=(LPCSTR text)
{
    Assign(text, SafeLength(text));
    return *this;
}

CString& CString::operator=(const WCHAR* text)
{
    Empty();
    if (text == nullptr || text[0] == 0)
        return *this;
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return *this;
    Reserve(bytes);
    WideCharToMultiByte(CP_ACP, 0, text, -1, m_data, bytes, nullptr, nullptr);
    SetLength(bytes - 1);
    return *this;
}

CString& CString::operator=(char ch)
{
    Assign(&ch, 1);
    return *this;
}

void CString::Empty()
{
    SetLength(0);
}

char CString::GetAt(int index) const
{
    return (index >= 0 && index < m_length) ? m_data[index] : 0;
}

void CString::SetAt(int index, char ch)
{
    if (index >= 0 && index < m_length && ch != 0)
        m_data[index] = ch;
}

CString& CString::operator+=(const CString& text)
{
    Append(text.m_data, text.m_length);
    return *this;
}

CString& CString::operator+=(LPCSTR text)
{
    Append(text, SafeLength(text));
    return *this;
}

CString& CString::operator+=(char ch)
{
    Append(&ch, 1);
    return *this;
}

void CString::Append(LPCSTR text, int length)
{
    if (text == nullptr || length <= 0)
        return;
    Splice(m_length, 0, text, length);
}

int CString::Compare(LPCSTR text) const
{
    return strcmp(m_data, text != nullptr ? text : "");
}

int CString::CompareNoCase(LPCSTR text) const
{
    if (text == nullptr)
        text = "";
    int otherLength = (int)strlen(text);
    int i = 0;
    while (i < m_length && i < otherLength) {
        int length = ClasslibCharLength(m_data, m_length, i);
        for (int k = 0; k < length; ++k) {
            BYTE a = (BYTE)(length == 1 ? AsciiLower(m_data[i + k]) : m_data[i + k]);
            BYTE b = (BYTE)(length == 1 ? AsciiLower(text[i + k]) : text[i + k]);
            if (a != b)
                return a < b ? -1 : 1;
        }
        i += length;
    }
    if (i < m_length)
        return 1;
    return i < otherLength ? -1 : 0;
}

int CString::Collate(LPCSTR text) const
{
    return CompareStringA(LOCALE_USER_DEFAULT, 0, m_data, -1, text ? text : "", -1) - CSTR_EQUAL;
}

int CString::CollateNoCase(LPCSTR text) const
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, m_data, -1,
                          text ? text : "", -1) - CSTR_EQUAL;
}

CString CString::Left(int count) const
{
    return CString(m_data, Clamp(count, 0, m_length));
}

CString CString::Mid(int first) const
{
    return Mid(first, m_length);
}

CString CString::Mid(int first, int count) const
{
    first = Clamp(first, 0, m_length);
    count = Clamp(count, 0, m_length - first);
    return CString(m_data + first, count);
}

CString CString::Right(int count) const
{
    count = Clamp(count, 0, m_length);
    return CString(m_data + m_length - count, count);
}

CString CString::SpanIncluding(LPCSTR charSet) const
{
    int i = 0;
    while (i < m_length) {
        int length = ClasslibCharLength(m_data, m_length, i);
        if (!SetContains(charSet, m_data + i, length))
            break;
        i += length;
    }
    return Left(i);
}

CString CString::SpanExcluding(LPCSTR charSet) const
{
    int found = FindOneOf(charSet);
    return found < 0 ? *this : Left(found);
}

int CString::Find(char ch, int start) const
{
    if (start < 0)
        return -1;
    for (int i = 0; i < m_length;) {
        int length = ClasslibCharLength(m_data, m_length, i);
        if (i >= start && length == 1 && m_data[i] == ch)
            return i;
        i += length;
    }
    return -1;
}

int CString::Find(LPCSTR sub, int start) const
{
    if (sub == nullptr || start < 0 || start > m_length)
        return -1;
    int subLength = (int)strlen(sub);
    if (subLength == 0)
        return -1;
    // Walk from the start of the text so that start, if it falls on a trail
    // byte, still keeps matches on character boundaries.
    for (int i = 0; i + subLength <= m_length;) {
        if (i >= start && memcmp(m_data + i, sub, (size_t)subLength) == 0
            && EndsOnBoundary(i, i + subLength))
            return i;
        i += ClasslibCharLength(m_data, m_length, i);
    }
    return -1;
}

bool CString::EndsOnBoundary(int start, int end) const
{
    int i = start;
    while (i < end)
        i += ClasslibCharLength(m_data, m_length, i);
    return i == end;
}

int CString::ReverseFind(char ch) const
{
    int found = -1;
    for (int i = 0; i < m_length;) {
        int length = ClasslibCharLength(m_data, m_length, i);
        if (length == 1 && m_data[i] == ch)
            found = i;
        i += length;
    }
    return found;
}

int CString::FindOneOf(LPCSTR charSet) const
{
    for (int i = 0; i < m_length;) {
        int length = ClasslibCharLength(m_data, m_length, i);
        if (SetContains(charSet, m_data + i, length))
            return i;
        i += length;
    }
    return -1;
}

CString& CString::MakeUpper()
{
    for (int i = 0; i < m_length;) {
        int length = ClasslibCharLength(m_data, m_length, i);
        if (length == 1)
            m_data[i] = AsciiUpper(m_data[i]);
        i += length;
    }
    return *this;
}

CString& CString::MakeLower()
{
    for (int i = 0; i < m_length;) {
        int length = ClasslibCharLength(m_data, m_length, i);
        if (length == 1)
            m_data[i] = AsciiLower(m_data[i]);
        i += length;
    }
    return *this;
}

CString& CString::MakeReverse()
{
    if (m_length < 2)
        return *this;
    CString reversed;
    reversed.Reserve(m_length);
    int end = m_length;
    for (int i = 0; i < m_length;) {
        int length = ClasslibCharLength(m_data, m_length, i);
        end -= length;
        memcpy(reversed.m_data + end, m_data + i, (size_t)length);
        i += length;
    }
    reversed.SetLength(m_length);
    *this = std::move(reversed);
    return *this;
}

void CString::TrimLeftWhere(bool (*matches)(const char*, int, const void*), const void* context)
{
    int i = 0;
    while (i < m_length) {
        int length = ClasslibCharLength(m_data, m_length, i);
        if (!matches(m_data + i, length, context))
            break;
        i += length;
    }
    Delete(0, i);
}

void CString::TrimRightWhere(bool (*matches)(const char*, int, const void*), const void* context)
{
    int runStart = m_length;    // start of the trailing run of matches
    for (int i = 0; i < m_length;) {
        int length = ClasslibCharLength(m_data, m_length, i);
        if (!matches(m_data + i, length, context))
            runStart = m_length;
        else if (runStart == m_length)
            runStart = i;
        i += length;
    }
    SetLength(runStart);
}

CString& CString::Trim() { TrimRight(); return TrimLeft(); }
CString& CString::Trim(char ch) { TrimRight(ch); return TrimLeft(ch); }
CString& CString::Trim(LPCSTR charSet) { TrimRight(charSet); return TrimLeft(charSet); }

CString& CString::TrimLeft() { TrimLeftWhere(MatchesSpace, nullptr); return *this; }
CString& CString::TrimLeft(char ch) { TrimLeftWhere(MatchesChar, &ch); return *this; }
CString& CString::TrimLeft(LPCSTR charSet) { TrimLeftWhere(MatchesSet, charSet); return *this; }

CString& CString::TrimRight() { TrimRightWhere(MatchesSpace, nullptr); return *this; }
CString& CString::TrimRight(char ch) { TrimRightWhere(MatchesChar, &ch); return *this; }
CString& CString::TrimRight(LPCSTR charSet) { TrimRightWhere(MatchesSet, charSet); return *this; }

int CString::Replace(char oldCh, char newCh)
{
    if (oldCh == newCh || newCh == 0)
        return 0;
    int count = 0;
    for (int i = 0; i < m_length;) {
        int length = ClasslibCharLength(m_data, m_length, i);
        if (length == 1 && m_data[i] == oldCh) {
            m_data[i] = newCh;
            ++count;
        }
        i += length;
    }
    return count;
}

int CString::Replace(LPCSTR oldText, LPCSTR newText)
{
    int oldLength = SafeLength(oldText);
    if (oldLength == 0)
        return 0;
    int newLength = SafeLength(newText);
    CString result;
    int count = 0;
    int copiedUpTo = 0;
    for (int i = 0; i + oldLength <= m_length;) {
        if (memcmp(m_data + i, oldText, (size_t)oldLength) == 0
            && EndsOnBoundary(i, i + oldLength)) {
            result.Append(m_data + copiedUpTo, i - copiedUpTo);
            result.Append(newText, newLength);
            i += oldLength;
            copiedUpTo = i;
            ++count;
        } else {
            i += ClasslibCharLength(m_data, m_length, i);
        }
    }
    if (count > 0) {
        result.Append(m_data + copiedUpTo, m_length - copiedUpTo);
        *this = std::move(result);
    }
    return count;
}

int CString::Remove(char ch)
{
    int kept = 0;
    for (int i = 0; i < m_length;) {
        int length = ClasslibCharLength(m_data, m_length, i);
        if (length == 1 && m_data[i] == ch) {
            ++i;
            continue;
        }
        memmove(m_data + kept, m_data + i, (size_t)length);
        kept += length;
        i += length;
    }
    int removed = m_length - kept;
    SetLength(kept);
    return removed;
}

int CString::Insert(int index, char ch)
{
    if (ch != 0)
        Splice(Clamp(index, 0, m_length), 0, &ch, 1);
    return m_length;
}

int CString::Insert(int index, LPCSTR text)
{
    Splice(Clamp(index, 0, m_length), 0, text, SafeLength(text));
    return m_length;
}

int CString::Delete(int index, int count)
{
    index = Clamp(index, 0, m_length);
    count = Clamp(count, 0, m_length - index);
    if (count > 0)
        Splice(index, count, nullptr, 0);
    return m_length;
}

void CString::Format(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCSTR format, va_list args)
{
    Empty();
    AppendFormatV(format, args);
}

void CString::AppendFormat(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void CString::AppendFormatV(LPCSTR format, va_list args)
{
    if (format == nullptr)
        return;
    // Each pass consumes its own copy of the arguments: the first measures,
    // the second writes into a buffer of the measured size.
    va_list measure;
    va_copy(measure, args);
    int needed = vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (needed <= 0)
        return;
    if (needed > INT_MAX / 2 - m_length)
        throw std::bad_alloc();
    Reserve(m_length + needed);
    va_list write;
    va_copy(write, args);
    int written = vsnprintf(m_data + m_length, (size_t)needed + 1, format, write);
    va_end(write);
    SetLength(m_length + Clamp(written, 0, needed));
}

char* CString::GetBuffer(int minLength)
{
    int capacity = minLength > m_length ? minLength : m_length;
    Reserve(capacity > 0 ? capacity : 1);
    return m_data;
}

char* CString::GetBufferSetLength(int length)
{
    length = length < 0 ? 0 : length;
    Reserve(length > 0 ? length : 1);
    m_data[length] = 0;
    m_length = length;
    return m_data;
}

void CString::ReleaseBuffer(int newLength)
{
    if (m_capacity == 0)
        return;
    if (newLength < 0)
        newLength = (int)strnlen(m_data, (size_t)m_capacity);
    SetLength(Clamp(newLength, 0, m_capacity));
}

BOOL CString::LoadString(UINT id)
{
    // LoadStringA reports a cut text as filling the buffer: grow and retry.
    for (int size = 256; size <= 65536; size *= 4) {
        char* buffer = GetBuffer(size);
        int length = ::LoadStringA(AfxGetResourceHandle(), id, buffer, size + 1);
        ReleaseBuffer(length > 0 ? length : 0);
        if (length < size - 1)
            return length > 0;
    }
    return TRUE;
}

void CString::Reserve(int capacity)
{
    if (capacity <= m_capacity)
        return;
    if (capacity > INT_MAX / 2)
        throw std::bad_alloc();
    int grown = m_capacity + m_capacity / 2;
    int newCapacity = capacity > grown ? capacity : grown;
    if (newCapacity < 15)
        newCapacity = 15;
    char* data = static_cast<char*>(m_capacity > 0 ? realloc(m_data, (size_t)newCapacity + 1)
                                                   : malloc((size_t)newCapacity + 1));
    if (data == nullptr)
        throw std::bad_alloc();
    if (m_capacity == 0)
        data[0] = 0;
    m_data = data;
    m_capacity = newCapacity;
}

void CString::SetLength(int length)
{
    if (m_capacity == 0)
        return;
    m_length = length;
    m_data[length] = 0;
}

void CString::Assign(LPCSTR text, int length)
{
    if (text == nullptr || length <= 0) {
        Empty();
        return;
    }
    // text may point into this string: keep the old buffer until copied.
    if (text >= m_data && text <= m_data + m_length) {
        CString copy(text, length);
        *this = std::move(copy);
        return;
    }
    Reserve(length);
    memcpy(m_data, text, (size_t)length);
    SetLength(length);
}

void CString::Splice(int index, int removeCount, LPCSTR text, int length)
{
    if (text != nullptr && length > 0 && text >= m_data && text <= m_data + m_length) {
        CString copy(text, length);
        Splice(index, removeCount, copy.m_data, copy.m_length);
        return;
    }
    if (text == nullptr)
        length = 0;
    if (length > INT_MAX / 2 - m_length)
        throw std::bad_alloc();
    int newLength = m_length - removeCount + length;
    if (newLength == 0) {
        SetLength(0);
        return;
    }
    Reserve(newLength);
    memmove(m_data + index + length, m_data + index + removeCount,
            (size_t)(m_length - index - removeCount));
    if (length > 0)
        memcpy(m_data + index, text, (size_t)length);
    SetLength(newLength);
}

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, LPCSTR b) { CString r(a); r += b; return r; }
CString operator+(LPCSTR a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
CString operator+(char a, const CString& b) { CString r(a); r += b; return r; }

bool operator==(const CString& a, const CString& b)
{
    return a.GetLength() == b.GetLength() && a.Compare(b) == 0;
}
bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
bool operator!=(LPCSTR a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
bool operator>(LPCSTR a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, LPCSTR b) { return a.Compare(b) <= 0; }
bool operator<=(LPCSTR a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, LPCSTR b) { return a.Compare(b) >= 0; }
bool operator>=(LPCSTR a, const CString& b) { return b.Compare(a) <= 0; }
