// A growable byte buffer for downloads, with a limit on what it takes.
#pragma once
#include <stddef.h>

class CDownloadBuffer {
public:
    // Grows by what is needed plus reserve bytes at a time; never holds more
    // than limit bytes.
    CDownloadBuffer(size_t reserve, size_t limit);
    ~CDownloadBuffer();
    CDownloadBuffer(const CDownloadBuffer&) = delete;
    CDownloadBuffer& operator=(const CDownloadBuffer&) = delete;

    // False, with nothing appended, when the bytes would pass the limit or
    // no memory can be had.
    bool Append(const void* data, size_t length);
    // Puts one NUL byte after the data (not counted in the length), so that
    // the data reads as a C text; false when no memory can be had.
    bool Terminate();

    // The data; a C text after Terminate, null while nothing was appended.
    const char* GetData() const { return m_data; }
    size_t GetLength() const { return m_length; }
    size_t GetLimit() const { return m_limit; }

private:
    bool MakeRoom(size_t count);

    size_t m_reserve;
    size_t m_limit;
    size_t m_capacity;
    size_t m_length;
    char* m_data;
};
