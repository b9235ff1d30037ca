// Damaged DXF files made of sound ones, seeded: cut short, bytes changed,
// lines replaced by troublesome values, chunks repeated or removed, zero
// bytes set or cleared, and bytes of a binary header overwritten with
// large numbers.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>

namespace zriotest {

// A small seeded generator, the same everywhere.
class Random {
 public:
  explicit Random(uint32_t seed) : m_state(seed) {}
  uint32_t next() {
    m_state = m_state * 1664525u + 1013904223u;
    return m_state >> 8;
  }
  size_t below(size_t n) { return n ? next() % n : 0; }

 private:
  uint32_t m_state;
};

// One damaged copy of `base`.
std::string Mutate(const std::string& base, Random& r);

}  // namespace zriotest
