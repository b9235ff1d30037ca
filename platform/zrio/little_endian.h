// Little-endian fields of the binary formats the library reads and writes.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace zr {

inline uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

inline uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline void PutLe16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
  v[at] = uint8_t(x);
  v[at + 1] = uint8_t(x >> 8);
}

inline void PutLe32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  v[at] = uint8_t(x);
  v[at + 1] = uint8_t(x >> 8);
  v[at + 2] = uint8_t(x >> 16);
  v[at + 3] = uint8_t(x >> 24);
}

}  // namespace zr
