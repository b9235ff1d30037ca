#include "platform/zrio/win32.h"
#include "platform/zrio/shape_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/base/byte_reader.h"

namespace zr {

namespace {

const char kSignature[] = "AutoCAD-86 shapes 1.";
const size_t kHeaderLimit = 40;  // the signature's end-of-file mark is within these bytes
const int kMaxSubshapeDepth = 8;
const size_t kMaxStackDepth = 16;
const double kMinScale = 1e-9, kMaxScale = 1e9;
const double kOctant = kPi / 4;
const int kChordsPerCircle = 64;
// Subshapes can repeat each other without bound: one shape carries out at
// most this many commands.
const long kCommandBudget = 200000;

// Byte codes below 15; every other byte is a vector (length << 4 | direction).
enum ShapeCode : uint8_t {
  kEnd = 0, kPenDown, kPenUp, kDivide, kMultiply, kPush, kPop, kSubshape, kOffset, kOffsets,
  kOctantArc, kFractionArc, kBulgeArc, kBulgeArcs, kVerticalOnly
};

// The sixteen vector directions, anticlockwise from east, along the sides
// of a square: a length counts along the longer axis.
const double kDirections[16][2] = {
    {1, 0},   {1, 0.5},   {1, 1},   {0.5, 1},   {0, 1},  {-0.5, 1},  {-1, 1}, {-1, 0.5},
    {-1, 0},  {-1, -0.5}, {-1, -1}, {-0.5, -1}, {0, -1}, {0.5, -1},  {1, -1}, {1, -0.5}};

class ShapePen {
 public:
  ShapePen(const ShapeFile& file, std::vector<std::vector<Vec3>>* strokes)
      : m_file(file), m_strokes(strokes) {}

  void draw(const ShapeDefinition& shape, int depth) {
    const std::vector<uint8_t>& codes = shape.codes;
    m_down = true;
    size_t i = 0;
    while (i < codes.size() && codes[i] != kEnd && --m_budget > 0) {
      bool apply = true;
      if (codes[i] == kVerticalOnly) {
        // The next command is for vertical text only: read past it.
        ++i;
        apply = false;
      }
      if (!step(codes, &i, apply, depth)) break;
    }
    finishStroke();
  }

 private:
  // Reads (and with `apply` carries out) the command at *i; false when its
  // bytes are not all there.
  bool step(const std::vector<uint8_t>& codes, size_t* i, bool apply, int depth) {
    if (*i >= codes.size()) return false;
    uint8_t code = codes[(*i)++];
    auto byte = [&](int* value, bool sign) {
      if (*i >= codes.size()) return false;
      uint8_t b = codes[(*i)++];
      *value = sign ? int(int8_t(b)) : int(b);
      return true;
    };
    int a = 0, b = 0, c = 0, d = 0, e = 0;
    switch (code) {
      case kEnd: return false;
      case kPenDown: if (apply) m_down = true; return true;
      case kPenUp: if (apply) { m_down = false; finishStroke(); } return true;
      case kDivide: case kMultiply:
        if (!byte(&a, false)) return false;
        if (apply && a > 0) m_scale = std::max(kMinScale, std::min(kMaxScale, code == kDivide ? m_scale / a : m_scale * a));
        return true;
      case kPush: if (apply && m_stack.size() < kMaxStackDepth) m_stack.push_back(m_at); return true;
      case kPop:
        if (apply && !m_stack.empty()) {
          finishStroke();
          m_at = m_stack.back();
          m_stack.pop_back();
        }
        return true;
      case kSubshape: {
        if (!byte(&a, false)) return false;
        const ShapeDefinition* sub = m_file.find(uint16_t(a));
        if (apply && sub && depth < kMaxSubshapeDepth) {
          bool down = m_down;
          double scale = m_scale;
          draw(*sub, depth + 1);
          m_down = down;
          m_scale = scale;
        }
        return true;
      }
      case kOffset:
        if (!byte(&a, true) || !byte(&b, true)) return false;
        if (apply) moveBy(a, b);
        return true;
      case kOffsets:
        for (; m_budget > 0; --m_budget) {
          if (!byte(&a, true) || !byte(&b, true)) return false;
          if (a == 0 && b == 0) return true;
          if (apply) moveBy(a, b);
        }
        return false;
      case kOctantArc:
        if (!byte(&a, false) || !byte(&b, true)) return false;
        if (apply) octantArc(a, 0, 0, b);
        return true;
      case kFractionArc:
        if (!byte(&a, false) || !byte(&b, false) || !byte(&c, false) || !byte(&d, false) ||
            !byte(&e, true))
          return false;
        if (apply) octantArc(c * 256 + d, a, b, e);
        return true;
      case kBulgeArc:
        if (!byte(&a, true) || !byte(&b, true) || !byte(&c, true)) return false;
        if (apply) bulgeArc(a, b, c);
        return true;
      case kBulgeArcs:
        for (; m_budget > 0; --m_budget) {
          if (!byte(&a, true) || !byte(&b, true)) return false;
          if (a == 0 && b == 0) return true;
          if (!byte(&c, true)) return false;
          if (apply) bulgeArc(a, b, c);
        }
        return false;
      case kVerticalOnly:
        return true;
      default: {
        const double* direction = kDirections[code & 15];
        int length = code >> 4;
        if (apply) moveBy(direction[0] * length, direction[1] * length);
        return true;
      }
    }
  }

  void moveBy(double dx, double dy) { lineTo(m_at + Vec3(dx, dy, 0) * m_scale); }

  void lineTo(const Vec3& p) {
    if (m_down) {
      if (m_stroke.empty()) m_stroke.push_back(m_at);
      m_stroke.push_back(p);
    }
    m_at = p;
  }

  // An arc of `radius` units from the current point: octant byte as the
  // codes have it (sign: clockwise; bits 4-6: starting octant; bits 0-2:
  // octants, 0 for all eight), with start and end offsets in 256ths of an
  // octant for fractional arcs.
  void octantArc(int radius, int startOffset, int endOffset, int octants) {
    double turn = octants < 0 ? -1 : 1;
    int magnitude = octants < 0 ? -octants : octants;
    int first = (magnitude >> 4) & 7, count = magnitude & 7;
    if (count == 0) count = 8;
    double start = (first + turn * startOffset / 256.0) * kOctant;
    double end = endOffset == 0 ? (first + turn * count) * kOctant
                                : (first + turn * (count - 1) + turn * endOffset / 256.0) * kOctant;
    arc(radius * m_scale, start, end);
  }

  void arc(double radius, double start, double end) {
    if (!(radius > 0)) return;
    Vec3 centre = m_at - Vec3(std::cos(start), std::sin(start), 0) * radius;
    int chords = std::max(1, int(std::ceil(std::fabs(end - start) / (2 * kPi) * kChordsPerCircle)));
    for (int k = 1; k <= chords; ++k) {
      double angle = start + (end - start) * k / chords;
      lineTo(centre + Vec3(std::cos(angle), std::sin(angle), 0) * radius);
    }
  }

  // A bulge of 127 is a half circle; positive bulges turn anticlockwise.
  void bulgeArc(int dx, int dy, int bulge) {
    Vec3 end = m_at + Vec3(dx, dy, 0) * m_scale;
    Vec3 centre;
    double radius, start, stop;
    if (bulge == 0 || !BulgeArc(m_at, end, bulge / 127.0, &centre, &radius, &start, &stop)) {
      lineTo(end);
      return;
    }
    if (bulge > 0) arc(radius, start, stop);
    else arc(radius, stop, start);
    m_at = end;  // exactly, not as the chords' rounding leaves it
  }

  void finishStroke() {
    if (m_stroke.size() >= 2) m_strokes->push_back(std::move(m_stroke));
    m_stroke.clear();
  }

  const ShapeFile& m_file;
  std::vector<std::vector<Vec3>>* m_strokes;
  std::vector<Vec3> m_stroke;
  std::vector<Vec3> m_stack;
  Vec3 m_at;
  double m_scale = 1;
  bool m_down = true;
  long m_budget = kCommandBudget;
};

}  // namespace

const ShapeDefinition* ShapeFile::find(uint16_t number) const {
  for (const ShapeDefinition& s : shapes)
    if (s.number == number) return &s;
  return nullptr;
}

const ShapeDefinition* ShapeFile::findByName(const std::string& upperName) const {
  for (const ShapeDefinition& s : shapes)
    if (s.name == upperName) return &s;
  return nullptr;
}

bool ReadShapeFile(const uint8_t* data, size_t size, ShapeFile* file) {
  file->shapes.clear();
  size_t signature = sizeof kSignature - 1;
  if (!data || size < signature || memcmp(data, kSignature, signature) != 0) return false;
  const uint8_t* mark = static_cast<const uint8_t*>(memchr(data, 0x1A, std::min(size, kHeaderLimit)));
  if (!mark) return false;
  CByteReader reader(data, size);
  reader.Seek(size_t(mark - data) + 1);
  reader.Skip(4);  // the first and last shape numbers
  uint16_t count = reader.U16LE();
  if (!reader.Ok() || size_t(count) * 4 > reader.Remaining()) return false;
  std::vector<std::pair<uint16_t, uint16_t>> index(count);
  for (auto& entry : index) {
    entry.first = reader.U16LE();
    entry.second = reader.U16LE();
  }
  for (const auto& entry : index) {
    const uint8_t* bytes = reader.Span(entry.second);
    if (!bytes) break;
    ShapeDefinition shape;
    shape.number = entry.first;
    const uint8_t* nameEnd = static_cast<const uint8_t*>(memchr(bytes, 0, entry.second));
    size_t nameLength = nameEnd ? size_t(nameEnd - bytes) : entry.second;
    shape.name.assign(reinterpret_cast<const char*>(bytes), nameLength);
    if (nameEnd) shape.codes.assign(nameEnd + 1, bytes + entry.second);
    file->shapes.push_back(std::move(shape));
  }
  return true;
}

bool ShapeStrokes(const ShapeFile& file, uint16_t number, std::vector<std::vector<Vec3>>* strokes) {
  const ShapeDefinition* shape = file.find(number);
  if (!shape) return false;
  ShapePen pen(file, strokes);
  pen.draw(*shape, 0);
  return true;
}

}  // namespace zr
