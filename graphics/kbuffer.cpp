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
    m_position = 0;
    m_size = 0;
    m_capacity = 0;
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
    uint32_t start = src.m_position;
    uint32_t n = 0;
    if (!src.ReadUInt32(n))
        return false;
    if (n > src.GetRemaining()) {
        src.m_position = start;
        return false;
    }
    Free();
    if (n == 0)
        return true;
    if (!Alloc(n)) {
        src.m_position = start;
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
    return true;
}

bool KBuffer::ReadBytes(void* dest, uint32_t n)
{
    if (n > GetRemaining())
        return false;
    if (n > 0)
        memcpy(dest, m_data + m_position, n);
    m_position += n;
    return true;
}

bool KBuffer::ReadUInt8(uint8_t& value)
{
    return ReadBytes(&value, 1);
}

bool KBuffer::ReadUInt32(uint32_t& value)
{
    uint8_t bytes[4];
    if (!ReadBytes(bytes, 4))
        return false;
    value = GetU32LE(bytes);
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
    if (n > GetRemaining() || n > INT32_MAX)
        return false;
    if (!text.SetN((const char*)m_data + m_position, (int32_t)n))
        return false;
    m_position += n;
    return true;
}

bool KBuffer::Seek(uint32_t position)
{
    if (position > m_size)
        return false;
    m_position = position;
    return true;
}
