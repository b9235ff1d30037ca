// The LZW encoder of GIF image data: 8-bit pixels in, codes of 9 to 12 bits
// out, packed least significant bit first into sub-blocks of at most 254
// bytes, each preceded by its length byte.
#pragma once
#include <windows.h>
#include <cstdint>
#include <vector>

class GifLzwEncoder {
public:
    // Appends the encoded data of the pixels (not the minimum code size,
    // not the closing zero-length block) to output.
    void Encode(const BYTE* pixels, size_t count, std::vector<BYTE>& output);

private:
    static const int kHashSize = 5003;
    static const int kMaxBits = 12;
    static const int kCodeLimit = 4096;
    static const int kInitialBits = 9;
    static const int kClearCode = 256;
    static const int kEndCode = 257;

    void ClearHash();
    void EmitCode(int code);
    void AddByte(BYTE value);
    void FlushPacket();

    int32_t m_hash[kHashSize];
    uint16_t m_codes[kHashSize];
    uint32_t m_accumulator = 0;
    int m_bitCount = 0;
    int m_codeSize = kInitialBits;
    int m_maxCode = (1 << kInitialBits) - 1;
    int m_nextCode = kEndCode + 1;
    bool m_clearPending = false;
    BYTE m_packet[256];
    int m_packetCount = 0;
    std::vector<BYTE>* m_output = nullptr;
};
