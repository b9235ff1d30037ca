// The abstract byte stream that every image decoder reads and every encoder
// writes, so that one codec serves disk files and memory buffers alike.
#pragma once
#include <windows.h>
#include <stdint.h>

class CxFile {
public:
    virtual ~CxFile() {}

    virtual bool Close() = 0;
    // Reads up to `count` items of `size` bytes; returns the whole items read.
    virtual DWORD Read(void* buffer, DWORD size, DWORD count) = 0;
    // Writes `count` items of `size` bytes; returns the items written.
    virtual DWORD Write(const void* buffer, DWORD size, DWORD count) = 0;
    // origin: SEEK_SET (0), SEEK_CUR (1) or SEEK_END (2).
    virtual bool Seek(int32_t offset, int origin) = 0;
    virtual int32_t Tell() = 0;
    virtual int32_t Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    virtual int32_t Error() = 0;
    virtual bool PutC(unsigned char byte) { return Write(&byte, 1, 1) == 1; }
    // The next byte as 0 to 255, or -1 at the end or on failure.
    virtual int32_t GetC() = 0;
};
