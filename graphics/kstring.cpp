#include "graphics/kstring.h"

#include <stdio.h>
#include <string.h>
#include <new>

namespace {

// The sizes FormatV tries in turn after its two stack buffers.
const int32_t kFirstHeapSize = 512 + 2048;
const int32_t kHeapSizeStep = 2048;
const int kHeapTries = 4;

// vsnprintf into a buffer of limit + 1 bytes, on a copy of args so that
// the list can be used again. Returns what vsnprintf returns: the length
// the whole text needs, or a negative value when the format failed.
int FormatInto(char* buffer, int32_t limit, const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int needed = vsnprintf(buffer, (size_t)limit + 1, format, copy);
    va_end(copy);
    return needed;
}

bool Fits(int needed, int32_t limit)
{
    return needed >= 0 && needed <= limit;
}

}  // namespace

KString::KString() : m_text(nullptr), m_length(0) {}

KString::KString(const KString& other) : KString()
{
    SetN(other.m_text, other.m_length);
}

KString& KString::operator=(const KString& other)
{
    if (&other != this)
        SetN(other.m_text, other.m_length);
    return *this;
}

KString::~KString()
{
    Empty();
}

void KString::Empty()
{
    delete[] m_text;
    m_text = nullptr;
    m_length = 0;
}

bool KString::Set(const char* text)
{
    if (!text) {
        Empty();
        return true;
    }
    size_t length = strlen(text);
    if (length > INT32_MAX - 1) {
        Empty();
        return false;
    }
    char* copy = new (std::nothrow) char[length + 1];
    if (copy)
        memcpy(copy, text, length + 1);
    Empty();
    if (!copy)
        return false;
    m_text = copy;
    m_length = (int32_t)length;
    return true;
}

bool KString::SetN(const char* text, int32_t n)
{
    if (n < 1 || !text) {
        Empty();
        return true;
    }
    char* copy = new (std::nothrow) char[(size_t)n + 1];
    if (copy) {
        memcpy(copy, text, (size_t)n);
        copy[n] = '\0';
    }
    Empty();
    if (!copy)
        return false;
    m_text = copy;
    m_length = n;
    return true;
}

char* KString::Resize(int32_t n)
{
    if (n < 1)
        return m_text;
    char* grown = new (std::nothrow) char[(size_t)n + 1];
    if (!grown) {
        Empty();
        return nullptr;
    }
    int32_t keep = m_length < n ? m_length : n;
    if (keep > 0)
        memcpy(grown, m_text, (size_t)keep);
    memset(grown + keep, 0, (size_t)(n - keep) + 1);
    Empty();
    m_text = grown;
    m_length = n;
    return m_text;
}

bool KString::Append(const char* text)
{
    if (!text)
        return true;
    size_t n = strlen(text);
    if (n > (size_t)(INT32_MAX - 1 - m_length))
        return false;
    return AppendBytes(text, (int32_t)n);
}

bool KString::Append(const KString& other)
{
    if (other.m_length == 0)
        return true;
    // Copy first: other may be this string.
    KString copy(other);
    if (copy.m_length != other.m_length)
        return false;
    return AppendBytes(copy.m_text, copy.m_length);
}

bool KString::AppendBytes(const char* text, int32_t n)
{
    if (n == 0)
        return true;
    int32_t oldLength = m_length;
    if (!Resize(oldLength + n))
        return false;
    memcpy(m_text + oldLength, text, (size_t)n);
    return true;
}

bool KString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    bool done = FormatV(format, args);
    va_end(args);
    return done;
}

bool KString::FormatV(const char* format, va_list args)
{
    char small[256];
    int needed = FormatInto(small, sizeof small - 1, format, args);
    if (Fits(needed, sizeof small - 1))
        return SetN(small, needed);

    char medium[512];
    needed = FormatInto(medium, sizeof medium - 1, format, args);
    if (Fits(needed, sizeof medium - 1))
        return SetN(medium, needed);

    // Longer texts are formatted into a new block that replaces the text
    // only afterwards, so an argument may be this string's own text.
    int32_t size = kFirstHeapSize;
    for (int attempt = 0; attempt < kHeapTries; ++attempt, size += kHeapSizeStep) {
        char* block = new (std::nothrow) char[(size_t)size + 1];
        if (!block) {
            Empty();
            return false;
        }
        needed = FormatInto(block, size, format, args);
        bool last = attempt == kHeapTries - 1;
        if (needed < 0 || (!Fits(needed, size) && !last)) {
            delete[] block;
            if (needed < 0) {
                Empty();
                return false;
            }
            continue;
        }
        Empty();
        m_text = block;
        m_length = (int32_t)strlen(block);
        return Fits(needed, size);
    }
    return false;
}
