#include "app/download_buffer.h"

#include <stdlib.h>
#include <string.h>

CDownloadBuffer::CDownloadBuffer(size_t reserve, size_t limit)
    : m_reserve(reserve),
      m_limit(limit),
      m_capacity(0),
      m_length(0),
      m_data(NULL)
{
}

CDownloadBuffer::~CDownloadBuffer()
{
    free(m_data);
}

bool CDownloadBuffer::MakeRoom(size_t count)
{
    if (m_capacity - m_length >= count)
        return true;
    size_t capacity = m_length + count + m_reserve;
    char* data = (char*)realloc(m_data, capacity);
    if (data == NULL)
        return false;
    m_data = data;
    m_capacity = capacity;
    return true;
}

bool CDownloadBuffer::Append(const void* data, size_t length)
{
    if (length > m_limit - m_length || !MakeRoom(length))
        return false;
    memcpy(m_data + m_length, data, length);
    m_length += length;
    return true;
}

bool CDownloadBuffer::Terminate()
{
    if (!MakeRoom(1))
        return false;
    m_data[m_length] = '\0';
    return true;
}
