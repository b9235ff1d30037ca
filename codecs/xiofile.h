// A byte stream over an open C `FILE`. The stream never closes the `FILE`:
// whoever opened it wraps it, uses the stream and closes it afterwards.
#pragma once
#include <stdio.h>
#include "codecs/xfile.h"

class CxIOFile : public CxFile {
public:
    explicit CxIOFile(FILE* file = NULL) : m_file(file) {}

    bool Close() override;
    DWORD Read(void* buffer, DWORD size, DWORD count) override;
    DWORD Write(const void* buffer, DWORD size, DWORD count) override;
    bool Seek(int32_t offset, int origin) override;
    int32_t Tell() override;
    int32_t Size() override;
    bool Flush() override;
    bool Eof() override;
    int32_t Error() override;
    bool PutC(unsigned char byte) override;
    int32_t GetC() override;

private:
    FILE* m_file;
};
