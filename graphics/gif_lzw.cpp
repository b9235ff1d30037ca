#include "graphics/gif_lzw.h"

#include <cstring>

namespace {

// Doublings that take the hash size to 65536 or more, subtracted from 8.
int HashShift(int hashSize)
{
    int shift = 0;
    for (long size = hashSize; size < 65536L; size *= 2)
        ++shift;
    return 8 - shift;
}

}  // namespace

void GifLzwEncoder::ClearHash()
{
    for (int32_t& entry : m_hash)
        entry = -1;
}

void GifLzwEncoder::Encode(const BYTE* pixels, size_t count, std::vector<BYTE>& output)
{
    m_output = &output;
    m_accumulator = 0;
    m_bitCount = 0;
    m_codeSize = kInitialBits;
    m_maxCode = (1 << kInitialBits) - 1;
    m_nextCode = kEndCode + 1;
    m_clearPending = false;
    m_packetCount = 0;
    memset(m_codes, 0, sizeof(m_codes));
    ClearHash();
    const int shift = HashShift(kHashSize);

    EmitCode(kClearCode);
    if (count == 0) {
        EmitCode(kEndCode);
        return;
    }
    int prefix = pixels[0];
    for (size_t n = 1; n < count; ++n) {
        const int c = pixels[n];
        const int32_t key = (static_cast<int32_t>(c) << kMaxBits) + prefix;
        int i = (c << shift) ^ prefix;
        bool found = m_hash[i] == key;
        if (!found && m_hash[i] >= 0) {
            const int step = i == 0 ? 1 : kHashSize - i;
            do {
                i -= step;
                if (i < 0)
                    i += kHashSize;
                found = m_hash[i] == key;
            } while (!found && m_hash[i] > 0);
        }
        if (found) {
            prefix = m_codes[i];
            continue;
        }
        EmitCode(prefix);
        prefix = c;
        if (m_nextCode < kCodeLimit) {
            m_codes[i] = static_cast<uint16_t>(m_nextCode++);
            m_hash[i] = key;
        } else {
            ClearHash();
            m_nextCode = kEndCode + 1;
            m_clearPending = true;
            EmitCode(kClearCode);
        }
    }
    EmitCode(prefix);
    EmitCode(kEndCode);
}

void GifLzwEncoder::EmitCode(int code)
{
    m_accumulator &= (1u << m_bitCount) - 1;
    m_accumulator |= static_cast<uint32_t>(code) << m_bitCount;
    m_bitCount += m_codeSize;
    while (m_bitCount >= 8) {
        AddByte(static_cast<BYTE>(m_accumulator));
        m_accumulator >>= 8;
        m_bitCount -= 8;
    }
    if (m_nextCode > m_maxCode || m_clearPending) {
        if (m_clearPending) {
            m_codeSize = kInitialBits;
            m_maxCode = (1 << kInitialBits) - 1;
            m_clearPending = false;
        } else {
            ++m_codeSize;
            m_maxCode = m_codeSize == kMaxBits ? kCodeLimit : (1 << m_codeSize) - 1;
        }
    }
    if (code == kEndCode) {
        while (m_bitCount > 0) {
            AddByte(static_cast<BYTE>(m_accumulator));
            m_accumulator >>= 8;
            m_bitCount -= 8;
        }
        FlushPacket();
    }
}

void GifLzwEncoder::AddByte(BYTE value)
{
    m_packet[m_packetCount++] = value;
    if (m_packetCount >= 254)
        FlushPacket();
}

void GifLzwEncoder::FlushPacket()
{
    if (m_packetCount == 0)
        return;
    m_output->push_back(static_cast<BYTE>(m_packetCount));
    m_output->insert(m_output->end(), m_packet, m_packet + m_packetCount);
    m_packetCount = 0;
}
