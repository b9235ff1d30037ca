// Little-endian fields in byte buffers, and a writer that remembers whether
// every write reached the stream, for the hand-written codecs.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "codecs/xfile.h"

inline WORD CxGetU16(const BYTE* p)
{
    return (WORD)(p[0] | (p[1] << 8));
}

inline DWORD CxGetU32(const BYTE* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | ((DWORD)p[3] << 24);
}

inline void CxPutU16(BYTE* p, DWORD value)
{
    p[0] = (BYTE)value;
    p[1] = (BYTE)(value >> 8);
}

inline void CxPutU32(BYTE* p, DWORD value)
{
    CxPutU16(p, value & 0xFFFF);
    CxPutU16(p + 2, value >> 16);
}

// Writes to a stream and keeps going after a failed write, so that an
// encoder checks once, at its end, whether everything was written.
class CxCheckedWriter {
public:
    explicit CxCheckedWriter(CxFile* stream) : m_stream(stream), m_failed(false) {}

    void Put(const void* bytes, DWORD count)
    {
        if (count && !m_failed && m_stream->Write(bytes, 1, count) != count)
            m_failed = true;
    }
    void PutByte(BYTE value) { Put(&value, 1); }
    void PutU16(DWORD value)
    {
        BYTE bytes[2];
        CxPutU16(bytes, value);
        Put(bytes, 2);
    }
    // True when every write so far reached the stream.
    bool Ok() const { return !m_failed; }
    CxFile* Stream() const { return m_stream; }

private:
    CxFile* m_stream;
    bool m_failed;
};
