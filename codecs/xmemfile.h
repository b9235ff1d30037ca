// A byte stream over a growable memory buffer. A buffer given at
// construction is borrowed; a buffer the stream allocates or grows (with the
// C allocator) belongs to the stream and is freed at Close, unless a caller
// detaches it with GetBuffer(true).
#pragma once
#include "codecs/xfile.h"

class CxMemFile : public CxFile {
public:
    CxMemFile(BYTE* buffer = NULL, DWORD size = 0);
    ~CxMemFile() override;

    // Starts an empty stream of its own; false when a buffer is already held.
    bool Open();
    // The buffer; with detach the caller takes it over and frees it (free()).
    BYTE* GetBuffer(bool detach = true);

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
    bool Grow(int64_t needed);

    BYTE* m_buffer;
    int32_t m_size;
    bool m_free;
    int32_t m_position;
    int32_t m_edge;
};
