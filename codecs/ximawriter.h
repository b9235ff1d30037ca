// A writer that remembers whether every write reached the stream, for the
// hand-written codecs.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "codecs/xfile.h"
#include "platform/base/byte_reader.h"

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
    void PutU16LE(uint16_t value)
    {
        BYTE bytes[2];
        ::PutU16LE(bytes, value);
        Put(bytes, 2);
    }
    // True when every write so far reached the stream.
    bool Ok() const { return !m_failed; }
    CxFile* Stream() const { return m_stream; }

private:
    CxFile* m_stream;
    bool m_failed;
};
