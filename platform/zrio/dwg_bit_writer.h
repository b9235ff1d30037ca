// The bit stream of a DWG file: values packed most significant bit first in
// the bit codes of the format (B, BB, BS, BL, BD, RC, RS, RL, RD, MC, MS, H,
// TV, CMC, BE, BT, DD), and the CRC-16 that guards each section.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

namespace zr {

// CRC-16 (polynomial 0x8005, bits reflected) of the bytes, starting from
// `seed`: the check of every DWG section and object.
uint16_t DwgCrc16(const uint8_t* bytes, size_t size, uint16_t seed);

// Handle reference codes.
enum : uint8_t {
  kSoftOwner = 2, kHardOwner = 3, kSoftPointer = 4, kHardPointer = 5
};

class DwgBitWriter {
 public:
  size_t bitSize() const { return m_bits; }
  const std::vector<uint8_t>& bytes() const { return m_bytes; }

  void bit(bool value);
  void bits(uint32_t value, int count);  // the low `count` bits, high first
  void rc(uint8_t value) { bits(value, 8); }
  void rs(uint16_t value);
  void rl(uint32_t value);
  void rd(double value);
  void raw(const uint8_t* data, size_t size);
  void bb(uint8_t value) { bits(value, 2); }
  void bs(uint16_t value);
  void bl(uint32_t value);
  void bd(double value);
  void dd(double value, double previous);
  void rd2(double x, double y) { rd(x); rd(y); }
  void bd2(double x, double y) { bd(x); bd(y); }
  void bd3(double x, double y, double z) { bd(x); bd(y); bd(z); }
  void rd3(double x, double y, double z) { rd(x); rd(y); rd(z); }
  void be(double x, double y, double z);  // extrusion
  void bt(double thickness);
  void cmc(int16_t colorIndex) { bs(uint16_t(colorIndex)); }
  void tv(const std::string& bytes);  // text already in the file's code page
  void handle(uint8_t code, uint64_t value);
  // Modular char (signed, 7 bits a byte) and modular short (15 bits a word).
  void mc(int64_t value);
  void ms(uint32_t value);
  // Pads with zero bits to the next byte.
  void align();
  // Overwrites a 32-bit RL written earlier at a bit position.
  void patchRl(size_t bitPosition, uint32_t value);
  void append(const DwgBitWriter& other);

 private:
  std::vector<uint8_t> m_bytes;
  size_t m_bits = 0;
};

}  // namespace zr
