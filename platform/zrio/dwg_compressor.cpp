#include "platform/zrio/dwg_compressor.h"

#include <string.h>

#include <algorithm>

namespace zr {

namespace {

// A copy's length and how far back it starts decide its opcode: up to 14
// bytes from at most 0x400 back take two bytes; up to 0x4000 back an
// opcode of 0x20 to 0x3F and a two-byte offset; further back (to 0x7FFF)
// an opcode of 0x10 or 0x12 to 0x17 (0x11 ends the data) and an offset
// less 0x3FFF, for copies of four bytes or more.
const size_t kMinLength = 3;
const size_t kMaxLength = 0x4000;
const size_t kNearDistance = 0x400, kNearLength = 14;
const size_t kShortDistance = 0x4000;
const size_t kFarDistance = 0x7FFF;
const int kHashBits = 14;
const int kChainDepth = 32;

struct Copy {
  size_t at, length, distance;
};

class Compressor {
 public:
  Compressor(const uint8_t* data, size_t size) : d_(data), m_size(size) {}

  std::vector<uint8_t> run() {
    std::vector<Copy> copies = findCopies();
    size_t firstCopy = copies.empty() ? m_size : copies[0].at;
    literalLength(firstCopy);
    literals(0, firstCopy);
    for (size_t i = 0; i < copies.size(); ++i) {
      const Copy& c = copies[i];
      size_t from = c.at + c.length, to = i + 1 < copies.size() ? copies[i + 1].at : m_size;
      copy(c, to - from);
      literals(from, to);
    }
    m_out.insert(m_out.end(), {0x11, 0x00, 0x00});
    return m_out;
  }

 private:
  static uint32_t Hash(const uint8_t* p) {
    return ((uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]) * 2654435761u) >> (32 - kHashBits);
  }

  // Greedy: the longest earlier match at each place, from the fourth byte
  // on (the data starts with a literal run of at least four).
  std::vector<Copy> findCopies() {
    std::vector<Copy> copies;
    std::vector<int32_t> head(size_t(1) << kHashBits, -1), previous(m_size, -1);
    auto insert = [&](size_t at) {
      if (at + kMinLength > m_size) return;
      uint32_t h = Hash(d_ + at);
      previous[at] = head[h];
      head[h] = int32_t(at);
    };
    for (size_t at = 0; at < m_size;) {
      Copy best{at, 0, 0};
      if (at >= 4 && at + kMinLength <= m_size) {
        int32_t candidate = head[Hash(d_ + at)];
        for (int depth = 0; candidate >= 0 && depth < kChainDepth; ++depth, candidate = previous[size_t(candidate)]) {
          size_t distance = at - size_t(candidate);
          if (distance > kFarDistance) break;
          size_t length = 0, longest = std::min(kMaxLength, m_size - at);
          while (length < longest && d_[size_t(candidate) + length] == d_[at + length]) ++length;
          bool usable = length >= kMinLength && (distance <= kShortDistance || length >= 4);
          if (usable && length > best.length) best = Copy{at, length, distance};
        }
      }
      if (best.length == 0) {
        insert(at++);
        continue;
      }
      copies.push_back(best);
      for (size_t k = 0; k < best.length; ++k) insert(at + k);
      at += best.length;
    }
    return copies;
  }

  void put(uint8_t b) { m_out.push_back(b); }

  // A count of at least 4 of the literals that follow.
  void literalLength(size_t n) {
    if (n <= 18) {
      put(uint8_t(n - 3));
      return;
    }
    put(0);
    size_t rest = n - 18;
    for (; rest > 0xFF; rest -= 0xFF) put(0);
    put(uint8_t(rest));
  }

  // A length beyond what the opcode holds (at least 1).
  void longValue(size_t v) {
    if (v <= 0xFF) {
      put(uint8_t(v));
      return;
    }
    put(0);
    size_t rest = v - 0xFF;
    for (; rest > 0xFF; rest -= 0xFF) put(0);
    put(uint8_t(rest));
  }

  void twoByteOffset(size_t offset, uint8_t literalBits) {
    put(uint8_t((offset & 0x3F) << 2 | literalBits));
    put(uint8_t(offset >> 6));
  }

  // The copy, with the count of the literals after it in its last byte's
  // two low bits when it is 1 to 3, else after it.
  void copy(const Copy& c, size_t literalsAfter) {
    uint8_t bits = literalsAfter <= 3 ? uint8_t(literalsAfter) : 0;
    size_t offset = c.distance - 1;
    if (c.distance <= kNearDistance && c.length <= kNearLength) {
      put(uint8_t((c.length + 1) << 4 | (offset & 3) << 2 | bits));
      put(uint8_t(offset >> 2));
    } else if (c.distance <= kShortDistance) {
      if (c.length <= 33) {
        put(uint8_t(c.length + 0x1E));
      } else {
        put(0x20);
        longValue(c.length - 0x21);
      }
      twoByteOffset(offset, bits);
    } else {
      if (c.length <= 9) {
        put(uint8_t(0x12 + c.length - 4));
      } else {
        put(0x10);
        longValue(c.length - 9);
      }
      twoByteOffset(c.distance - 0x4000, bits);
    }
    if (literalsAfter > 3) literalLength(literalsAfter);
  }

  void literals(size_t from, size_t to) { m_out.insert(m_out.end(), d_ + from, d_ + to); }

  const uint8_t* d_;
  size_t m_size;
  std::vector<uint8_t> m_out;
};

}  // namespace

std::vector<uint8_t> CompressDwgPage(const uint8_t* data, size_t size) {
  return Compressor(data, size).run();
}

}  // namespace zr
