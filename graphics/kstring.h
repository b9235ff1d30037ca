// KString: an owned 8-bit text of the graphics kernel. An empty string
// holds no memory (GetText gives ""); every allocation failure leaves the
// string empty and is reported by a false or null result.
#pragma once
#include <stdarg.h>
#include <stdint.h>

class KString
{
public:
    KString();
    KString(const KString& other);
    KString& operator=(const KString& other);
    virtual ~KString();

    // The text, or "" when empty; never null.
    const char* GetText() const { return m_text ? m_text : ""; }
    int32_t GetLength() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }

    // A copy of text; null empties the string ("" allocates one byte).
    bool Set(const char* text);
    // The first n bytes of text; n < 1 empties the string.
    bool SetN(const char* text, int32_t n);
    // Makes room for n bytes (the first min(old length, n) kept, a NUL at
    // n) and returns the writable text; n < 1 changes nothing and returns
    // the old text. Null when the memory cannot be had (string emptied).
    char* Resize(int32_t n);
    // Appends text (null does nothing) or another string.
    bool Append(const char* text);
    bool Append(const KString& other);

    // printf formatting. Texts up to 511 bytes are built on the stack;
    // longer ones are formatted into the string itself, with room for up
    // to 8704 bytes. False when the text was truncated to that size or
    // the format failed (the string is then empty).
    bool Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    bool FormatV(const char* format, va_list args);

    void Empty();

private:
    bool AppendBytes(const char* text, int32_t n);

    char* m_text;       // null when empty
    int32_t m_length;   // bytes without the NUL
};
