// Reads a locale date or time picture ("yyyy/M/d", "H:mm:ss") as runs of
// separator characters and runs of token characters.
#pragma once
#include "platform/classlib/cstring.h"

class CPictureTokenizer
{
public:
    explicit CPictureTokenizer(const char* picture);

    bool AtEnd() const { return m_text[m_position] == '\0'; }
    bool AtSeparator() const;
    // The run of separators or of other characters at the current position
    // (at most kMaxRun bytes; a double-byte character is never split).
    CString ReadSeparators();
    CString ReadToken();

    static const int kMaxRun = 4096;

private:
    CString ReadRun(bool separators);

    CString m_text;
    int m_position;
};
