// A memory stream that refuses writes past a limit, for encoders' handling
// of a full disk.
#pragma once
#include "codecs/xmemfile.h"

namespace codectest {

class ShortStream : public CxMemFile {
public:
    explicit ShortStream(DWORD limit) : m_limit(limit) { Open(); }
    DWORD Write(const void* buffer, DWORD size, DWORD count) override
    {
        if ((uint64_t)Tell() + (uint64_t)size * count > m_limit)
            return 0;
        return CxMemFile::Write(buffer, size, count);
    }
    bool PutC(unsigned char byte) override { return Write(&byte, 1, 1) == 1; }

private:
    DWORD m_limit;
};

}  // namespace codectest
