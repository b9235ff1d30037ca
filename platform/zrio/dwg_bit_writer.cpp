#include "platform/zrio/dwg_bit_writer.h"

#include <string.h>

namespace zr {

namespace {

struct CrcTable {
  uint16_t entries[256];
  CrcTable() {
    for (unsigned i = 0; i < 256; ++i) {
      unsigned crc = i;
      for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
      entries[i] = uint16_t(crc);
    }
  }
};

uint64_t DoubleBits(double value) {
  uint64_t bits;
  memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace

uint16_t DwgCrc16(const uint8_t* bytes, size_t size, uint16_t seed) {
  static const CrcTable table;
  uint16_t crc = seed;
  for (size_t i = 0; i < size; ++i) crc = uint16_t((crc >> 8) ^ table.entries[(crc ^ bytes[i]) & 0xFF]);
  return crc;
}

void DwgBitWriter::bit(bool value) {
  if ((m_bits & 7) == 0) m_bytes.push_back(0);
  if (value) m_bytes.back() |= uint8_t(0x80 >> (m_bits & 7));
  ++m_bits;
}

// As many bits at once as the last byte has room for.
void DwgBitWriter::bits(uint32_t value, int count) {
  while (count > 0) {
    int used = int(m_bits & 7);
    if (used == 0) m_bytes.push_back(0);
    int room = 8 - used;
    int take = count < room ? count : room;
    uint32_t chunk = (value >> (count - take)) & ((1u << take) - 1);
    m_bytes.back() |= uint8_t(chunk << (room - take));
    m_bits += size_t(take);
    count -= take;
  }
}

void DwgBitWriter::rs(uint16_t value) {
  rc(uint8_t(value));
  rc(uint8_t(value >> 8));
}

void DwgBitWriter::rl(uint32_t value) {
  rs(uint16_t(value));
  rs(uint16_t(value >> 16));
}

void DwgBitWriter::rd(double value) {
  uint64_t b = DoubleBits(value);
  for (int i = 0; i < 8; ++i) rc(uint8_t(b >> (8 * i)));
}

void DwgBitWriter::raw(const uint8_t* data, size_t size) {
  if ((m_bits & 7) == 0) {
    m_bytes.insert(m_bytes.end(), data, data + size);
    m_bits += size * 8;
    return;
  }
  for (size_t i = 0; i < size; ++i) rc(data[i]);
}

void DwgBitWriter::bs(uint16_t value) {
  if (value == 0) {
    bb(2);
  } else if (value == 256) {
    bb(3);
  } else if (value < 256) {
    bb(1);
    rc(uint8_t(value));
  } else {
    bb(0);
    rs(value);
  }
}

void DwgBitWriter::bl(uint32_t value) {
  if (value == 0) {
    bb(2);
  } else if (value < 256) {
    bb(1);
    rc(uint8_t(value));
  } else {
    bb(0);
    rl(value);
  }
}

void DwgBitWriter::bd(double value) {
  if (DoubleBits(value) == DoubleBits(1.0)) {
    bb(1);
  } else if (DoubleBits(value) == 0) {
    bb(2);
  } else {
    bb(0);
    rd(value);
  }
}

void DwgBitWriter::dd(double value, double previous) {
  if (DoubleBits(value) == DoubleBits(previous)) {
    bb(0);
  } else {
    bb(3);
    rd(value);
  }
}

void DwgBitWriter::be(double x, double y, double z) {
  bool plain = x == 0 && y == 0 && z == 1;
  bit(plain);
  if (!plain) bd3(x, y, z);
}

void DwgBitWriter::bt(double thickness) {
  bit(thickness == 0);
  if (thickness != 0) bd(thickness);
}

void DwgBitWriter::tv(const std::string& text) {
  size_t n = text.size() < 0x7FFF ? text.size() : 0x7FFF;
  bs(uint16_t(n));
  raw(reinterpret_cast<const uint8_t*>(text.data()), n);
}

void DwgBitWriter::handle(uint8_t code, uint64_t value) {
  int counter = 0;
  for (uint64_t v = value; v; v >>= 8) ++counter;
  bits(uint32_t(code << 4 | counter), 8);
  for (int i = counter - 1; i >= 0; --i) rc(uint8_t(value >> (8 * i)));
}

void DwgBitWriter::mc(int64_t value) {
  bool negative = value < 0;
  uint64_t rest = negative ? uint64_t(-value) : uint64_t(value);
  // Seven bits a byte, low first; the last byte keeps its 0x40 bit for the sign.
  while (rest >= 0x40) {
    rc(uint8_t(0x80 | (rest & 0x7F)));
    rest >>= 7;
  }
  rc(uint8_t(rest | (negative ? 0x40 : 0)));
}

void DwgBitWriter::ms(uint32_t value) {
  while (value >= 0x8000) {
    rs(uint16_t(0x8000 | (value & 0x7FFF)));
    value >>= 15;
  }
  rs(uint16_t(value));
}

void DwgBitWriter::align() {
  while (m_bits & 7) bit(false);
}

void DwgBitWriter::patchRl(size_t bitPosition, uint32_t value) {
  for (int i = 0; i < 32; ++i) {
    // RL bytes are low first, each byte's bits high first.
    int byteIndex = i / 8, bitInByte = 7 - i % 8;
    bool on = (value >> (byteIndex * 8 + bitInByte)) & 1;
    size_t at = bitPosition + size_t(i);
    uint8_t mask = uint8_t(0x80 >> (at & 7));
    if (on) m_bytes[at >> 3] |= mask;
    else m_bytes[at >> 3] &= uint8_t(~mask);
  }
}

void DwgBitWriter::append(const DwgBitWriter& other) {
  if ((m_bits & 7) == 0) {
    m_bytes.insert(m_bytes.end(), other.m_bytes.begin(), other.m_bytes.end());
    m_bits += other.m_bits;
    return;
  }
  size_t whole = other.m_bits / 8;
  for (size_t i = 0; i < whole; ++i) rc(other.m_bytes[i]);
  int rest = int(other.m_bits & 7);
  if (rest) bits(uint32_t(other.m_bytes[whole] >> (8 - rest)), rest);
}

}  // namespace zr
