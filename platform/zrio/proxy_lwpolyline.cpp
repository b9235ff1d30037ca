#include "platform/zrio/proxy_lwpolyline.h"

#include <string.h>

#include <cmath>

namespace zr {

namespace {

const uint32_t kMaxPoints = 1000000;

// Flags of the DWG form of LWPOLYLINE.
const uint16_t kHasNormal = 1, kHasThickness = 2, kHasConstantWidth = 4, kHasElevation = 8,
               kHasBulges = 16, kHasWidths = 32, kClosed = 512, kHasVertexIds = 1024;

// A DWG bit stream: each byte's bits from the highest; a value of several
// bytes has its lowest byte first. Reading past the end fails it.
class BitStream {
 public:
  BitStream(const uint8_t* data, size_t size) : m_data(data), m_bits(size * 8) {}

  bool ok() const { return m_ok; }

  uint32_t bits(int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
      if (m_at >= m_bits) {
        m_ok = false;
        return 0;
      }
      value = value << 1 | ((m_data[m_at / 8] >> (7 - m_at % 8)) & 1);
      ++m_at;
    }
    return value;
  }
  uint64_t rawBytes(int count) {
    uint64_t value = 0;
    for (int i = 0; i < count; ++i) value |= uint64_t(bits(8)) << (8 * i);
    return value;
  }
  double rawDouble() { return DoubleOf(rawBytes(8)); }

  uint16_t bitShort() {
    switch (bits(2)) {
      case 0:
        return uint16_t(rawBytes(2));
      case 1:
        return uint16_t(bits(8));
      case 2:
        return 0;
      default:
        return 256;
    }
  }
  uint32_t bitLong() {
    switch (bits(2)) {
      case 0:
        return uint32_t(rawBytes(4));
      case 1:
        return bits(8);
      case 2:
        return 0;
      default:
        m_ok = false;
        return 0;
    }
  }
  double bitDouble() {
    switch (bits(2)) {
      case 0:
        return rawDouble();
      case 1:
        return 1;
      case 2:
        return 0;
      default:
        m_ok = false;
        return 0;
    }
  }
  // A double given as a change of a default: none, its four low bytes,
  // its six low bytes (the fifth and sixth first), or all of it.
  double defaultDouble(double fallback) {
    uint64_t value;
    memcpy(&value, &fallback, sizeof value);
    switch (bits(2)) {
      case 0:
        return fallback;
      case 1:
        value = (value & ~uint64_t(0xFFFFFFFF)) | rawBytes(4);
        break;
      case 2: {
        uint64_t high = rawBytes(2), low = rawBytes(4);
        value = (value & ~uint64_t(0xFFFFFFFFFFFF)) | high << 32 | low;
        break;
      }
      default:
        return rawDouble();
    }
    return DoubleOf(value);
  }

 private:
  static double DoubleOf(uint64_t bits) {
    double value;
    memcpy(&value, &bits, sizeof value);
    return std::isfinite(value) ? value : 0;
  }

  const uint8_t* m_data;
  size_t m_bits, m_at = 0;
  bool m_ok = true;
};

}  // namespace

bool ReadProxyLwpolyline(const uint8_t* data, size_t size, Entity* polyline) {
  if (size < 4) return false;
  // The count, when there is one, is what the command holds after it but
  // for the padding to four bytes; a stream's first four bytes are never
  // as small.
  uint32_t count = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                   uint32_t(data[3]) << 24;
  bool counted = count <= size - 4 && count + 4 > size - 4;
  if (counted) {
    data += 4;
    size = count;
  }
  BitStream in(data, size);
  uint16_t flags = in.bitShort();
  double constantWidth = flags & kHasConstantWidth ? in.bitDouble() : 0;
  double elevation = flags & kHasElevation ? in.bitDouble() : 0;
  if (flags & kHasThickness) in.bitDouble();
  Vec3 normal(0, 0, 1);
  if (flags & kHasNormal) {
    normal.x = in.bitDouble();
    normal.y = in.bitDouble();
    normal.z = in.bitDouble();
  }
  uint32_t points = in.bitLong();
  uint32_t bulges = flags & kHasBulges ? in.bitLong() : 0;
  uint32_t ids = flags & kHasVertexIds ? in.bitLong() : 0;
  uint32_t widths = flags & kHasWidths ? in.bitLong() : 0;
  // Each at least two bits: more than the stream holds cannot be there.
  uint64_t most = uint64_t(size) * 4;
  if (!in.ok() || points == 0 || points > kMaxPoints || bulges > most || ids > most ||
      widths > most)
    return false;
  Vec3 p(0, 0, elevation);
  for (uint32_t i = 0; i < points && in.ok(); ++i) {
    if (i == 0) {
      p.x = in.rawDouble();
      p.y = in.rawDouble();
    } else {
      p.x = in.defaultDouble(p.x);
      p.y = in.defaultDouble(p.y);
    }
    polyline->pts.push_back(p);
  }
  polyline->nums.assign(points, 0);
  for (uint32_t i = 0; i < bulges && in.ok(); ++i) {
    double bulge = in.bitDouble();
    if (i < points) polyline->nums[i] = bulge;
  }
  for (uint32_t i = 0; i < ids && in.ok(); ++i) in.bitLong();
  EntityExtra& extra = polyline->more();
  extra.startWidths.assign(points, constantWidth);
  extra.endWidths.assign(points, constantWidth);
  for (uint32_t i = 0; i < widths && in.ok(); ++i) {
    double start = in.bitDouble(), end = in.bitDouble();
    if (i < points) {
      extra.startWidths[i] = start;
      extra.endWidths[i] = end;
    }
  }
  if (!in.ok()) return false;
  polyline->kind = EntityKind::LwPolyline;
  polyline->flags = (flags & kClosed) ? int(kPolyClosed) : 0;
  extra.extrusion = normal;
  return true;
}

}  // namespace zr
