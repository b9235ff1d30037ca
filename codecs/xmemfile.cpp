#include "codecs/xmemfile.h"

#include <stdlib.h>
#include <string.h>

namespace {
const int64_t kGrowStep = 4096;
const int64_t kMaxLength = 0x7FFFFFFF;
}

CxMemFile::CxMemFile(BYTE* buffer, DWORD size)
    : m_buffer(buffer),
      m_size(buffer ? (int32_t)(size > (DWORD)kMaxLength ? kMaxLength : size) : 0),
      m_free(buffer == NULL),
      m_position(0),
      m_edge(m_size)
{
}

CxMemFile::~CxMemFile()
{
    Close();
}

bool CxMemFile::Open()
{
    if (m_buffer)
        return false;
    m_size = m_position = m_edge = 0;
    m_buffer = (BYTE*)malloc(1);
    m_free = true;
    return m_buffer != NULL;
}

BYTE* CxMemFile::GetBuffer(bool detach)
{
    m_free = !detach;
    return m_buffer;
}

bool CxMemFile::Close()
{
    if (m_buffer && m_free) {
        free(m_buffer);
        m_buffer = NULL;
        m_size = 0;
    }
    return true;
}

DWORD CxMemFile::Read(void* buffer, DWORD size, DWORD count)
{
    uint64_t wanted = (uint64_t)size * count;
    if (!buffer || !m_buffer || m_position >= m_size || wanted == 0)
        return 0;
    uint64_t left = (uint64_t)(m_size - m_position);
    uint64_t bytes = wanted < left ? wanted : left;
    memcpy(buffer, m_buffer + m_position, (size_t)bytes);
    m_position += (int32_t)bytes;
    return (DWORD)(bytes / size);
}

DWORD CxMemFile::Write(const void* buffer, DWORD size, DWORD count)
{
    int64_t bytes = (int64_t)size * count;
    if (!m_buffer || !buffer || bytes == 0)
        return 0;
    if (!Grow(m_position + bytes))
        return 0;
    memcpy(m_buffer + m_position, buffer, (size_t)bytes);
    m_position += (int32_t)bytes;
    if (m_position > m_size)
        m_size = m_position;
    return count;
}

bool CxMemFile::Seek(int32_t offset, int origin)
{
    if (!m_buffer)
        return false;
    int64_t position;
    switch (origin) {
    case SEEK_SET: position = offset; break;
    case SEEK_CUR: position = (int64_t)m_position + offset; break;
    case SEEK_END: position = (int64_t)m_size + offset; break;
    default: return false;
    }
    if (position < 0)
        position = 0;
    if (position > kMaxLength)
        return false;
    m_position = (int32_t)position;
    return true;
}

int32_t CxMemFile::Tell()
{
    return m_buffer ? m_position : -1;
}

int32_t CxMemFile::Size()
{
    return m_buffer ? m_size : -1;
}

bool CxMemFile::Flush()
{
    return m_buffer != NULL;
}

bool CxMemFile::Eof()
{
    return !m_buffer || m_position >= m_size;
}

int32_t CxMemFile::Error()
{
    if (!m_buffer)
        return -1;
    return m_position > m_size ? 1 : 0;
}

bool CxMemFile::PutC(unsigned char byte)
{
    if (!m_buffer || !Grow((int64_t)m_position + 1))
        return false;
    m_buffer[m_position++] = byte;
    if (m_position > m_size)
        m_size = m_position;
    return true;
}

int32_t CxMemFile::GetC()
{
    if (Eof())
        return -1;
    return m_buffer[m_position++];
}

// Makes room for `needed` bytes: the edge grows to the next 4096-byte step
// strictly above the need. A failed growth keeps the old buffer untouched.
bool CxMemFile::Grow(int64_t needed)
{
    if (needed <= m_edge)
        return true;
    int64_t edge = (needed / kGrowStep) * kGrowStep + kGrowStep;
    if (edge > kMaxLength)
        return false;
    BYTE* grown;
    if (!m_buffer || !m_free) {
        // A borrowed buffer may not come from the C allocator: copy it over.
        grown = (BYTE*)malloc((size_t)edge);
        if (grown && m_buffer)
            memcpy(grown, m_buffer, (size_t)m_size);
    } else {
        grown = (BYTE*)realloc(m_buffer, (size_t)edge);
    }
    if (!grown)
        return false;
    m_buffer = grown;
    m_edge = (int32_t)edge;
    m_free = true;
    return true;
}
