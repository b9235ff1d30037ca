// Reading fixed-width fields out of bytes that came from a file: a reader
// with a position and bounds that never reads past the end, and plain field
// accessors for a pointer the caller has already bounds-checked.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include <string.h>

// Fields at a pointer; the caller guarantees the bytes are there.
inline uint16_t GetU16LE(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t GetU32LE(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint64_t GetU64LE(const uint8_t* p) { return uint64_t(GetU32LE(p)) | (uint64_t(GetU32LE(p + 4)) << 32); }
inline uint16_t GetU16BE(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
inline uint32_t GetU32BE(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
inline uint64_t GetU64BE(const uint8_t* p) { return (uint64_t(GetU32BE(p)) << 32) | GetU32BE(p + 4); }
// Three bytes, as the pixels of a 24-bit bitmap hold blue, green and red.
inline uint32_t GetU24LE(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
}

// Formats that name their own byte order (TIFF, EXIF) read through these.
enum class ByteOrder { LittleEndian, BigEndian };
inline uint16_t GetU16(const uint8_t* p, ByteOrder order)
{
    return order == ByteOrder::BigEndian ? GetU16BE(p) : GetU16LE(p);
}
inline uint32_t GetU32(const uint8_t* p, ByteOrder order)
{
    return order == ByteOrder::BigEndian ? GetU32BE(p) : GetU32LE(p);
}
inline uint64_t GetU64(const uint8_t* p, ByteOrder order)
{
    return order == ByteOrder::BigEndian ? GetU64BE(p) : GetU64LE(p);
}

inline void PutU16LE(uint8_t* p, uint16_t value)
{
    p[0] = uint8_t(value);
    p[1] = uint8_t(value >> 8);
}
inline void PutU32LE(uint8_t* p, uint32_t value)
{
    PutU16LE(p, uint16_t(value));
    PutU16LE(p + 2, uint16_t(value >> 16));
}
inline void PutU64LE(uint8_t* p, uint64_t value)
{
    PutU32LE(p, uint32_t(value));
    PutU32LE(p + 4, uint32_t(value >> 32));
}
inline void PutU16BE(uint8_t* p, uint16_t value)
{
    p[0] = uint8_t(value >> 8);
    p[1] = uint8_t(value);
}
inline void PutU32BE(uint8_t* p, uint32_t value)
{
    PutU16BE(p, uint16_t(value >> 16));
    PutU16BE(p + 2, uint16_t(value));
}
inline void PutU24LE(uint8_t* p, uint32_t value)
{
    PutU16LE(p, uint16_t(value));
    p[2] = uint8_t(value >> 16);
}
inline void PutU16(uint8_t* p, uint16_t value, ByteOrder order)
{
    if (order == ByteOrder::BigEndian)
        PutU16BE(p, value);
    else
        PutU16LE(p, value);
}

// A cursor over a block of bytes. A read that would pass the end reads
// nothing, returns 0 (or false / null), leaves the position where it was and
// clears Ok() for good, so a reader can read a whole record and check once.
class CByteReader {
public:
    CByteReader(const void* data, size_t size) : m_data((const uint8_t*)data), m_size(data ? size : 0) {}

    size_t Position() const { return m_position; }
    size_t Size() const { return m_size; }
    size_t Remaining() const { return m_size - m_position; }
    bool AtEnd() const { return m_position == m_size; }
    bool Ok() const { return m_ok; }
    // True when n more bytes are there (and nothing failed so far).
    bool Has(size_t n) const { return m_ok && n <= Remaining(); }

    bool Seek(size_t position)
    {
        if (!m_ok || position > m_size)
            return Fail();
        m_position = position;
        return true;
    }
    bool Skip(size_t n)
    {
        if (!Has(n))
            return Fail();
        m_position += n;
        return true;
    }

    uint8_t U8() { return Take(1) ? m_data[m_position - 1] : 0; }
    uint16_t U16LE() { return Take(2) ? GetU16LE(m_data + m_position - 2) : 0; }
    uint32_t U32LE() { return Take(4) ? GetU32LE(m_data + m_position - 4) : 0; }
    uint64_t U64LE() { return Take(8) ? GetU64LE(m_data + m_position - 8) : 0; }
    uint16_t U16BE() { return Take(2) ? GetU16BE(m_data + m_position - 2) : 0; }
    uint32_t U32BE() { return Take(4) ? GetU32BE(m_data + m_position - 4) : 0; }
    int16_t I16LE() { return int16_t(U16LE()); }
    int32_t I32LE() { return int32_t(U32LE()); }
    int16_t I16BE() { return int16_t(U16BE()); }
    int32_t I32BE() { return int32_t(U32BE()); }
    uint16_t U16(ByteOrder order) { return Take(2) ? GetU16(m_data + m_position - 2, order) : 0; }
    uint32_t U32(ByteOrder order) { return Take(4) ? GetU32(m_data + m_position - 4, order) : 0; }

    // Copies n bytes out; false (and nothing copied) when they are not there.
    bool Bytes(void* out, size_t n)
    {
        if (!Take(n))
            return false;
        memcpy(out, m_data + m_position - n, n);
        return true;
    }
    // The next n bytes in place, and moves past them; null when they are not there.
    const uint8_t* Span(size_t n) { return Take(n) ? m_data + m_position - n : nullptr; }
    // The bytes at the position, without moving.
    const uint8_t* Here() const { return m_data + m_position; }

private:
    bool Take(size_t n)
    {
        if (!Has(n))
            return Fail();
        m_position += n;
        return true;
    }
    bool Fail()
    {
        m_ok = false;
        return false;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
    bool m_ok = true;
};
