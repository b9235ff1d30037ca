// A CFile over a byte string, for archive tests that need many small files.
#pragma once
#include "platform/classlib/file.h"

#include <string>

class MemoryFile : public CFile
{
public:
    MemoryFile() = default;
    explicit MemoryFile(const std::string& bytes) : bytes(bytes) {}

    UINT Read(void* lpBuf, UINT nCount) override
    {
        size_t left = position < bytes.size() ? bytes.size() - position : 0;
        size_t count = nCount < left ? nCount : left;
        memcpy(lpBuf, bytes.data() + position, count);
        position += count;
        return (UINT)count;
    }
    void Write(const void* lpBuf, UINT nCount) override
    {
        if (position + nCount > bytes.size())
            bytes.resize(position + nCount);
        memcpy(&bytes[position], lpBuf, nCount);
        position += nCount;
    }
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override
    {
        LONGLONG base = nFrom == begin ? 0 : (nFrom == current ? (LONGLONG)position : (LONGLONG)bytes.size());
        if (base + lOff < 0)
            AfxThrowFileException(CFileException::badSeek);
        position = (size_t)(base + lOff);
        return position;
    }
    ULONGLONG GetPosition() const override { return position; }
    ULONGLONG GetLength() const override { return bytes.size(); }
    void SetLength(ULONGLONG length) override { bytes.resize((size_t)length); }
    void Flush() override {}
    void Close() override {}
    void Abort() override {}

    std::string bytes;
    size_t position = 0;
};
