#include "core/picture_tokenizer.h"

#include <string.h>

namespace {

const char kSeparators[] = " -/,.:";

}  // namespace

CPictureTokenizer::CPictureTokenizer(const char* picture) : m_text(picture), m_position(0) {}

bool CPictureTokenizer::AtSeparator() const
{
    char ch = m_text[m_position];
    return ch != '\0' && strchr(kSeparators, ch) != nullptr;
}

CString CPictureTokenizer::ReadSeparators()
{
    return ReadRun(true);
}

CString CPictureTokenizer::ReadToken()
{
    return ReadRun(false);
}

CString CPictureTokenizer::ReadRun(bool separators)
{
    int length = m_text.GetLength();
    int start = m_position;
    while (!AtEnd() && AtSeparator() == separators) {
        int step = ClasslibCharLength(m_text, length, m_position);
        if (m_position + step - start > kMaxRun)
            break;
        m_position += step;
    }
    return m_text.Mid(start, m_position - start);
}
