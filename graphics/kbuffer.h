// KBuffer: an owned byte block with a read cursor, used to read the
// kernel's binary records (the vector picture format, embedded images,
// zlib-packed records).
//
// Every read is checked against the bytes held: a read that would pass the
// end fails, reads nothing and leaves the cursor where it was.
#pragma once
#include <stdint.h>

#include "platform/base/byte_reader.h"

class KString;

class KBuffer
{
public:
    KBuffer();
    KBuffer(const KBuffer&) = delete;
    KBuffer& operator=(const KBuffer&) = delete;
    ~KBuffer();

    // Forgets the block without freeing it (all fields zero).
    void Init();
    // Frees the block (all fields zero).
    void Free();
    // A new block of size bytes, the cursor at its start. False for a size
    // of 0 or when the memory cannot be had (the buffer is then empty).
    bool Alloc(uint32_t size);
    // A copy of size bytes, the cursor at its start; false (and empty) for
    // a size of 0 or when the memory cannot be had.
    bool Assign(const void* data, uint32_t size);
    // Takes over other's block; other is left empty and no longer owns it.
    void Attach(KBuffer& other);
    // The whole file; false when it cannot be opened or read, is empty or
    // is 4 GB or larger.
    bool LoadFile(const char* path);

    // Reads a length-prefixed block (32-bit little-endian n, then n bytes)
    // at src's cursor into this buffer. A length of 0 leaves this buffer
    // empty. False when src holds fewer bytes than announced (src's cursor
    // then stays) or the memory cannot be had.
    bool ReadBlock(KBuffer& src);

    // The buffer holds a 32-bit little-endian unpacked length and a zlib
    // stream; on success the buffer holds the unpacked bytes. On failure
    // the packed bytes stay and false is returned.
    bool Uncompress();

    // Bounded little-endian reads at the cursor.
    bool ReadBytes(void* dest, uint32_t n);
    bool ReadUInt8(uint8_t& value);
    bool ReadUInt32(uint32_t& value);
    bool ReadFloat(float& value);
    // n bytes as a text (n = 0 gives the empty text).
    bool ReadString(KString& text, uint32_t n);

    const uint8_t* GetData() const { return m_data; }
    uint32_t GetSize() const { return m_size; }
    uint32_t GetCapacity() const { return m_capacity; }
    uint32_t GetPosition() const { return (uint32_t)m_reader.Position(); }
    uint32_t GetRemaining() const { return (uint32_t)m_reader.Remaining(); }
    // The cursor back at the start, or at a position within the data.
    bool Seek(uint32_t position);

private:
    // The cursor over the bytes now held.
    void ResetReader() { m_reader = CByteReader(m_data, m_size); }

    uint8_t* m_data;
    // Every read asks Has first, so that the reader never fails for good
    // and a refused read leaves the cursor usable.
    CByteReader m_reader{nullptr, 0};
    uint32_t m_size;
    uint32_t m_capacity;
};
