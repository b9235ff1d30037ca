#include "graphics/kbuffer.h"

#include <windows.h>
#include <string.h>

#include <new>

#include "graphics/kstring.h"
#include "platform/base/byte_reader.h"
#include "platform/native/native_begin.h"
#include <zlib.h>
#include "platform/native/native_end.h"

namespace {

// Deflate cannot expand data by more than about 1032 to 1: a record that
// claims more is corrupt and is refused before anything is allocated.
const uint64_t kMaxInflateRatio = 1032;

}  // namespace

KBuffer::KBuffer()
{
    Init();
}

KBuffer::~KBuffer()
{
    Free();
}

void KBuffer::Init()
{
    m_data = nullptr;
    m_size = 0;
    m_capacity = 0;
    ResetReader();
}

void KBuffer::Free()
{
    delete[] m_data;
    Init();
}

bool KBuffer::Alloc(uint32_t size)
{
    Free();
    if (size == 0)
        return false;
    m_data = new (std::nothrow) uint8_t[size];
    if (!m_data)
        return false;
    m_size = size;
    ResetReader();
    return true;
}

bool KBuffer::Assign(const void* data, uint32_t size)
{
    if (!data || !Alloc(size))
        return false;
    memcpy(m_data, data, size);
    return true;
}

void KBuffer::Attach(KBuffer& other)
{
    if (&other == this)
        return;
    Free();
    m_data = other.m_data;
    m_size = other.m_size;
    m_capacity = other.m_size;
    ResetReader();
    other.Init();
}

bool KBuffer::LoadFile(const char* path)
{
    Free();
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool loaded = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= UINT32_MAX &&
                  Alloc((uint32_t)size.QuadPart);
    uint32_t done = 0;
    while (loaded && done < m_size) {
        DWORD got = 0;
        if (!ReadFile(file, m_data + done, m_size - done, &got, nullptr) || got == 0)
            loaded = false;
        done += got;
    }
    CloseHandle(file);
    if (!loaded)
        Free();
    return loaded;
}

bool KBuffer::ReadBlock(KBuffer& src)
{
    uint32_t start = src.GetPosition();
    uint32_t n = 0;
    if (!src.ReadUInt32(n))
        return false;
    if (n > src.GetRemaining()) {
        src.Seek(start);
        return false;
    }
    Free();
    if (n == 0)
        return true;
    if (!Alloc(n)) {
        src.Seek(start);
        return false;
    }
    return src.ReadBytes(m_data, n);
}

bool KBuffer::Uncompress()
{
    if (m_size < 4)
        return false;
    uint32_t unpackedLength = GetU32LE(m_data);
    uint32_t packedLength = m_size - 4;
    if (unpackedLength == 0 || unpackedLength > (uint64_t)packedLength * kMaxInflateRatio + 64)
        return false;
    uint8_t* unpacked = new (std::nothrow) uint8_t[unpackedLength];
    if (!unpacked)
        return false;
    uLongf length = unpackedLength;
    if (uncompress(unpacked, &length, m_data + 4, packedLength) != Z_OK) {
        delete[] unpacked;
        return false;
    }
    Free();
    m_data = unpacked;
    m_size = (uint32_t)length;
    m_capacity = (uint32_t)length;
    ResetReader();
    return true;
}

bool KBuffer::ReadBytes(void* dest, uint32_t n)
{
    if (!m_reader.Has(n))
        return false;
    return n == 0 || m_reader.Bytes(dest, n);
}

bool KBuffer::ReadUInt8(uint8_t& value)
{
    if (!m_reader.Has(1))
        return false;
    value = m_reader.U8();
    return true;
}

bool KBuffer::ReadUInt32(uint32_t& value)
{
    if (!m_reader.Has(4))
        return false;
    value = m_reader.U32LE();
    return true;
}

bool KBuffer::ReadFloat(float& value)
{
    uint32_t bits = 0;
    if (!ReadUInt32(bits))
        return false;
    memcpy(&value, &bits, sizeof value);
    return true;
}

bool KBuffer::ReadString(KString& text, uint32_t n)
{
    if (!m_reader.Has(n) || n > INT32_MAX)
        return false;
    if (!text.SetN((const char*)m_reader.Here(), (int32_t)n))
        return false;
    return m_reader.Skip(n);
}

bool KBuffer::Seek(uint32_t position)
{
    return position <= m_size && m_reader.Seek(position);
}
