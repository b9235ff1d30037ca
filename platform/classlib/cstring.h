// CString: an 8-bit text in the ANSI code page (GBK), with value semantics.
// Searching, case changes, trimming and reversing step over double-byte
// characters whole, so a trail byte is never matched or altered alone.
#pragma once
#include <windows.h>
#include <stdarg.h>

class CString
{
public:
    CString();
    CString(const CString& other);
    CString(CString&& other) noexcept;
    CString(LPCSTR text);                    // null gives the empty text
    CString(LPCSTR text, int length);        // at most length bytes
    CString(const WCHAR* text);              // converted to the ANSI code page
    explicit CString(char ch, int repeat = 1);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(LPCSTR text);
    CString& operator=(const WCHAR* text);
    CString& operator=(char ch);

    int GetLength() const { return m_length; }
    BOOL IsEmpty() const { return m_length == 0; }
    void Empty();

    char GetAt(int index) const;
    void SetAt(int index, char ch);
    char operator[](int index) const { return GetAt(index); }
    operator LPCSTR() const { return m_data; }
    LPCSTR GetString() const { return m_data; }

    CString& operator+=(const CString& text);
    CString& operator+=(LPCSTR text);
    CString& operator+=(char ch);
    void Append(LPCSTR text, int length);

    // strcmp order; CompareNoCase folds ASCII letters only (double-byte
    // characters compare byte for byte); Collate uses the user's locale.
    int Compare(LPCSTR text) const;
    int CompareNoCase(LPCSTR text) const;
    int Collate(LPCSTR text) const;
    int CollateNoCase(LPCSTR text) const;

    // Byte positions and counts, clamped to the text.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;
    CString SpanIncluding(LPCSTR charSet) const;
    CString SpanExcluding(LPCSTR charSet) const;

    // Byte index of the first match at or after start, or -1.
    int Find(char ch, int start = 0) const;
    int Find(LPCSTR sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR charSet) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    // Without a set: white space (blank, tab, line ends, form feed).
    CString& Trim();
    CString& Trim(char ch);
    CString& Trim(LPCSTR charSet);
    CString& TrimLeft();
    CString& TrimLeft(char ch);
    CString& TrimLeft(LPCSTR charSet);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(LPCSTR charSet);

    // Each returns the number of replacements/removals.
    int Replace(char oldCh, char newCh);
    int Replace(LPCSTR oldText, LPCSTR newText);
    int Remove(char ch);
    // Each returns the new length.
    int Insert(int index, char ch);
    int Insert(int index, LPCSTR text);
    int Delete(int index, int count = 1);

    // printf formatting of the C library (so "%lld" for 64-bit values;
    // "%ld" is 64-bit here).
    void Format(LPCSTR format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(LPCSTR format, va_list args);
    void AppendFormat(LPCSTR format, ...) __attribute__((format(printf, 2, 3)));
    void AppendFormatV(LPCSTR format, va_list args);

    // A writable buffer of at least minLength bytes plus the terminator;
    // ReleaseBuffer(-1) takes the length up to the first zero byte.
    char* GetBuffer(int minLength = 0);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    // The string-table entry from the resource handle; FALSE when missing.
    BOOL LoadString(UINT id);

private:
    void Reserve(int capacity);
    void SetLength(int length);
    void Assign(LPCSTR text, int length);
    bool EndsOnBoundary(int start, int end) const;
    void Splice(int index, int removeCount, LPCSTR text, int length);
    void TrimLeftWhere(bool (*matches)(const char*, int, const void*), const void* context);
    void TrimRightWhere(bool (*matches)(const char*, int, const void*), const void* context);

    char* m_data;      // always terminated; the shared empty text when m_capacity is 0
    int m_length;
    int m_capacity;    // bytes available for characters, excluding the terminator
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCSTR b);
CString operator+(LPCSTR a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCSTR b);
bool operator==(LPCSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCSTR b);
bool operator!=(LPCSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCSTR b);
bool operator<(LPCSTR a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, LPCSTR b);
bool operator>(LPCSTR a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, LPCSTR b);
bool operator<=(LPCSTR a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, LPCSTR b);
bool operator>=(LPCSTR a, const CString& b);

// Double-byte helpers for the ANSI code page, shared by the class library.
bool ClasslibIsLeadByte(char ch);
// Bytes of the character at text[index]: 2 for a complete double-byte
// character, else 1.
int ClasslibCharLength(const char* text, int length, int index);
