#include "platform/zrio/win32.h"
#include "platform/zrio/proxy_graphics.h"

#include <string.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/base/byte_reader.h"
#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/proxy_lwpolyline.h"
#include "platform/zrio/text_measure.h"
#include "platform/zrio/utf8.h"
#include "platform/zrio/wide_polyline.h"

namespace zr {

namespace {

const size_t kHeaderBytes = 8;
const size_t kMaxTransforms = 64, kMaxClips = 64;
const uint32_t kMaxPoints = 1000000;

// Command types.
enum Command : uint32_t {
  kCircle = 2, kCircle3P = 3, kArc = 4, kArc3P = 5, kPolyline = 6, kPolygon = 7, kMesh = 8,
  kShell = 9, kText = 10, kText2 = 11, kXline = 12, kRay = 13, kColor = 14, kLayer = 16,
  kLinetype = 18, kFill = 20, kTrueColor = 22, kLineweight = 23, kPushClip = 27, kPopClip = 28,
  kPushTransform = 29, kPushTransform2 = 30, kPopTransform = 31, kPolylineWithNormals = 32,
  kLwpolyline = 33, kUnicodeText = 36, kUnicodeText2 = 38
};

// Arc types of kArc and kArc3P: the arc alone, closed through its centre
// (a sector), closed by its chord.
enum ArcType : int32_t { kArcOnly = 0, kSector = 1, kChord = 2 };

// Linetype indexes that stand for ByLayer and ByBlock.
const int32_t kLinetypeByLayer = 32767, kLinetypeByBlock = 32766;

bool Finite(const Vec3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// The fields of one command's data.
class Fields {
 public:
  Fields(const uint8_t* data, size_t size) : m_in(data, size) {}

  bool ok() const { return m_in.Ok(); }
  int32_t integer() { return m_in.I32LE(); }
  double number() {
    uint64_t bits = m_in.U64LE();
    double value;
    memcpy(&value, &bits, sizeof value);
    return std::isfinite(value) ? value : 0;
  }
  Vec3 point() {
    double x = number(), y = number();
    return Vec3(x, y, number());
  }
  // The bytes of the data not read yet.
  const uint8_t* rest(size_t* size) const {
    *size = m_in.Remaining();
    return m_in.Here();
  }
  // A count of points in a plane, each two doubles, that the data holds.
  bool planePoints(uint32_t count, std::vector<Vec3>* out) {
    if (count > kMaxPoints || !m_in.Has(size_t(count) * 16)) return false;
    out->resize(count);
    for (Vec3& p : *out) {
      double x = number();
      p = Vec3(x, number(), 0);
    }
    return true;
  }
  // A count of points, each three doubles, that the data holds.
  bool points(uint32_t count, std::vector<Vec3>* out) {
    if (count > kMaxPoints || !m_in.Has(size_t(count) * 24)) return false;
    out->resize(count);
    for (Vec3& p : *out) p = point();
    return true;
  }
  // A zero-ended string padded to 4 bytes, in the drawing's code page.
  std::string text(const Database& db) {
    size_t start = m_in.Position(), length = 0;
    while (m_in.Has(length + 1) && m_in.Here()[length] != 0) ++length;
    std::string value(reinterpret_cast<const char*>(m_in.Here()), length);
    m_in.Seek(start + ((length + 4) & ~size_t(3)));
    return DecodeText(value, db);
  }
  // A zero-ended UTF-16 string padded to 4 bytes, as UTF-8.
  std::string unicodeText() {
    size_t start = m_in.Position(), units = 0;
    std::string value;
    while (m_in.Has(units * 2 + 2)) {
      char16_t c = char16_t(GetU16LE(m_in.Here() + units * 2));
      if (c == 0) break;
      ++units;
      AppendUtf8(value, c >= 0xD800 && c <= 0xDFFF ? kReplacementChar : char32_t(c));
    }
    m_in.Seek(start + ((units * 2 + 2 + 3) & ~size_t(3)));
    return value;
  }

 private:
  CByteReader m_in;
};

// A 4 x 4 matrix stored by rows, the translation in its last column.
Transform MatrixOf(Fields& f) {
  double v[16];
  for (double& x : v) x = f.number();
  Transform m;
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column) m.m[row][column] = v[row * 4 + column];
  m.t = Vec3(v[3], v[7], v[11]);
  return m;
}

// The circle through three points: false when they lie on a line.
bool CircleThrough(const Vec3& p1, const Vec3& p2, const Vec3& p3, Vec3* center, Vec3* normal) {
  Vec3 a = p1 - p3, b = p2 - p3;
  Vec3 n = a.cross(b);
  double n2 = n.dot(n);
  if (!(n2 > 1e-24 * (a.dot(a) * b.dot(b))) || !(n2 > 0)) return false;
  *center = p3 + (b * a.dot(a) - a * b.dot(b)).cross(n) * (1.0 / (2 * n2));
  *normal = n.normalized();
  return Finite(*center);
}

class ProxyPainter {
 public:
  ProxyPainter(const Database& db, const Transform& t, const DrawStyle& style, PrimitiveSink& sink)
      : m_db(db), m_base(style), m_style(style), m_sink(sink), m_layerColor(style.aci),
        m_layerTrueColor(style.trueColor) {
    m_transforms.push_back(t);
  }

  // Clips the graphics leave pushed end with them.
  void run(const std::vector<uint8_t>& bytes) {
    commands(bytes);
    for (; m_clips > 0; --m_clips) m_sink.popEntityClip();
  }

 private:
  void commands(const std::vector<uint8_t>& bytes) {
    CByteReader in(bytes.data(), bytes.size());
    in.U32LE();  // total size: the commands' own sizes are checked instead
    uint32_t count = in.U32LE();
    for (uint32_t i = 0; i < count && in.Ok() && in.Remaining() >= kHeaderBytes; ++i) {
      if ((i & 255) == 0 && m_sink.cancelled()) return;
      size_t at = in.Position();
      uint32_t size = in.U32LE(), type = in.U32LE();
      if (size < kHeaderBytes || size - kHeaderBytes > in.Remaining()) return;
      Fields fields(in.Here(), size - kHeaderBytes);
      if (!command(type, fields)) return;
      in.Seek(at + size);
    }
  }

  const Transform& t() const { return m_transforms.back(); }

  bool command(uint32_t type, Fields& f) {
    switch (type) {
      case kCircle: {
        Vec3 c = f.point();
        double r = f.number();
        Transform o = t() * Transform::ocs(f.point());
        if (f.ok()) arc(o.apply(c), o.applyVector(Vec3(r, 0, 0)), o.applyVector(Vec3(0, r, 0)), 0, 2 * kPi, kArcOnly);
        break;
      }
      case kCircle3P: case kArc3P: {
        Vec3 p1 = f.point(), p2 = f.point(), p3 = f.point();
        int32_t arcType = type == kArc3P ? f.integer() : kArcOnly;
        if (f.ok()) arcThrough(p1, p2, p3, type == kCircle3P, arcType);
        break;
      }
      case kArc: {
        Vec3 c = f.point();
        double r = f.number();
        Vec3 normal = f.point().normalized(), start = f.point();
        double sweep = f.number();
        int32_t arcType = f.integer();
        Vec3 u = start.normalized() * r, v = normal.cross(start).normalized() * r;
        if (!f.ok() || !(std::fabs(sweep) > 0)) break;
        double t0 = sweep > 0 ? 0 : sweep, t1 = sweep > 0 ? sweep : 0;
        arc(t().apply(c), t().applyVector(u), t().applyVector(v), t0, std::min(t1, t0 + 2 * kPi), arcType);
        break;
      }
      case kPolyline: case kPolygon: case kPolylineWithNormals: {
        uint32_t n = uint32_t(f.integer());
        if (!f.points(n, &m_points)) return false;
        lines(type == kPolygon);
        break;
      }
      case kMesh: return mesh(f);
      case kShell: return shell(f);
      case kText: case kText2: case kUnicodeText: case kUnicodeText2: text(type, f); break;
      case kXline: case kRay: {
        Vec3 a = f.point(), b = f.point();
        if (f.ok() && visible())
          m_sink.infiniteLine(t().apply(a), t().applyVector(b - a), type == kXline, m_style);
        break;
      }
      case kColor: color(f.integer()); break;
      case kTrueColor: trueColor(uint32_t(f.integer())); break;
      case kLayer: layer(f.integer()); break;
      case kLinetype: linetype(f.integer()); break;
      case kLineweight: m_style.lineweight = int16_t(std::max(-3, std::min(f.integer(), 211))); break;
      case kFill: m_fill = f.integer() != 0; break;
      case kPushTransform: case kPushTransform2:
        if (m_transforms.size() >= kMaxTransforms) return false;
        m_transforms.push_back(t() * MatrixOf(f));
        break;
      case kPopTransform:
        if (m_transforms.size() > 1) m_transforms.pop_back();
        break;
      case kLwpolyline: lwpolyline(f); break;
      case kPushClip: return pushClip(f);
      case kPopClip:
        if (m_clips > 0) {
          m_sink.popEntityClip();
          --m_clips;
        }
        break;
    }
    return true;
  }

  bool visible() const { return m_layerShown; }

  void arc(const Vec3& c, const Vec3& u, const Vec3& v, double t0, double t1, int32_t arcType) {
    if (!visible() || !Finite(c) || !Finite(u) || !Finite(v)) return;
    DrawEllipseArc(m_sink, c, u, v, t0, t1, m_style);
    Vec3 start = c + u * std::cos(t0) + v * std::sin(t0), end = c + u * std::cos(t1) + v * std::sin(t1);
    if (arcType == kChord) {
      Vec3 chord[2] = {end, start};
      m_sink.polyline(chord, 2, false, m_style);
    } else if (arcType == kSector) {
      Vec3 sector[3] = {end, c, start};
      m_sink.polyline(sector, 3, false, m_style);
    }
  }

  // A circle through three points, or the arc from the first through the
  // second to the third.
  void arcThrough(const Vec3& a, const Vec3& b, const Vec3& c, bool whole, int32_t arcType) {
    Vec3 p[3] = {t().apply(a), t().apply(b), t().apply(c)};
    Vec3 center, normal;
    if (!CircleThrough(p[0], p[1], p[2], &center, &normal)) {
      if (visible()) m_sink.polyline(p, 3, false, m_style);
      return;
    }
    Vec3 u = p[0] - center;
    Vec3 v = normal.cross(u);
    auto angle = [&](const Vec3& q) {
      Vec3 d = q - center;
      double r = std::atan2(d.dot(v), d.dot(u));
      return r < 0 ? r + 2 * kPi : r;
    };
    if (whole) {
      arc(center, u, v, 0, 2 * kPi, kArcOnly);
      return;
    }
    if (angle(p[1]) > angle(p[2])) v = v * -1.0;  // the arc runs clockwise
    arc(center, u, v, 0, angle(p[2]), arcType);
  }

  void lines(bool polygon) {
    if (!visible() || m_points.empty()) return;
    for (Vec3& p : m_points) p = t().apply(p);
    if (polygon && m_fill && m_points.size() >= 3) {
      int count = int(m_points.size());
      m_sink.fill(m_points.data(), &count, 1, m_style);
    } else {
      m_sink.polyline(m_points.data(), m_points.size(), polygon && m_points.size() > 2, m_style);
    }
  }

  // An LWPOLYLINE: its bands where it has widths, its lines where not.
  void lwpolyline(Fields& f) {
    size_t size = 0;
    const uint8_t* data = f.rest(&size);
    Entity polyline;
    if (!visible() || !ReadProxyLwpolyline(data, size, &polyline)) return;
    Transform place = t();
    Vec3 normal = polyline.extrusion();
    if (normal.x != 0 || normal.y != 0 || !(normal.z > 0)) place = place * Transform::ocs(normal);
    WideOutline outline;
    WidePolylineOutline(polyline, (polyline.flags & kPolyClosed) != 0, m_sink.chordTolerance(), &outline);
    for (std::vector<Vec3>& band : outline.bands) {
      for (Vec3& p : band) p = place.apply(p);
      int count = int(band.size());
      if (count >= 3) m_sink.fill(band.data(), &count, 1, m_style);
    }
    for (std::vector<Vec3>& line : outline.lines) {
      for (Vec3& p : line) p = place.apply(p);
      if (line.size() >= 2) m_sink.polyline(line.data(), line.size(), false, m_style);
    }
  }

  // A clip boundary: the plane's normal and a point of it, the boundary's
  // corners in the plane's own axes from that point (two corners: a
  // rectangle's opposite ones); the transforms and front and back clips
  // that follow are not drawn by.
  bool pushClip(Fields& f) {
    Vec3 normal = f.point(), origin = f.point();
    uint32_t count = uint32_t(f.integer());
    std::vector<Vec3> corners;
    if (!f.ok() || count < 2 || !f.planePoints(count, &corners) || m_clips >= kMaxClips) return false;
    if (!(normal.length() > 0)) normal = Vec3(0, 0, 1);
    if (count == 2) {
      Vec3 low = corners[0], high = corners[1];
      corners = {low, Vec3(high.x, low.y, 0), high, Vec3(low.x, high.y, 0)};
    }
    Transform plane = t() * Transform::translation(origin) * Transform::ocs(normal.normalized());
    for (Vec3& p : corners) p = plane.apply(p);
    m_sink.pushEntityClip(corners.data(), int(corners.size()));
    ++m_clips;
    return true;
  }

  // Rows x columns of vertices: the lines along the rows and the columns.
  bool mesh(Fields& f) {
    uint32_t rows = uint32_t(f.integer()), columns = uint32_t(f.integer());
    if (rows == 0 || columns == 0 || uint64_t(rows) * columns > kMaxPoints) return false;
    std::vector<Vec3> grid;
    if (!f.points(rows * columns, &grid)) return false;
    if (!visible()) return true;
    for (Vec3& p : grid) p = t().apply(p);
    for (uint32_t r = 0; r < rows && columns > 1; ++r) m_sink.polyline(&grid[r * columns], columns, false, m_style);
    for (uint32_t c = 0; c < columns && rows > 1; ++c) {
      m_points.clear();
      for (uint32_t r = 0; r < rows; ++r) m_points.push_back(grid[r * columns + c]);
      m_sink.polyline(m_points.data(), m_points.size(), false, m_style);
    }
    return true;
  }

  // Vertices, then a list of faces: each its count of vertices (negative
  // for a hole in the face before) and their indexes.
  bool shell(Fields& f) {
    uint32_t count = uint32_t(f.integer());
    std::vector<Vec3> vertices;
    if (!f.points(count, &vertices)) return false;
    uint32_t entries = uint32_t(f.integer());
    if (!f.ok() || entries > kMaxPoints * 4) return false;
    for (Vec3& p : vertices) p = t().apply(p);
    for (uint32_t i = 0; i < entries && f.ok();) {
      int32_t n = f.integer();
      ++i;
      uint32_t corners = uint32_t(n < 0 ? -int64_t(n) : n);
      if (corners > entries - i) return false;
      m_points.clear();
      for (uint32_t k = 0; k < corners; ++k, ++i) {
        uint32_t index = uint32_t(f.integer());
        if (index < vertices.size()) m_points.push_back(vertices[index]);
      }
      if (!visible() || m_points.size() < 2) continue;
      if (m_fill && m_points.size() >= 3) {
        int filled = int(m_points.size());
        m_sink.fill(m_points.data(), &filled, 1, m_style);
      } else {
        m_sink.polyline(m_points.data(), m_points.size(), m_points.size() > 2, m_style);
      }
    }
    return f.ok();
  }

  // TEXT and its Unicode twin: position, normal, direction, then height,
  // width factor and slant before the text; TEXT2 and its twin put the
  // text first and then its length, a raw flag, the three numbers and the
  // tracking.
  void text(uint32_t type, Fields& f) {
    Vec3 at = f.point(), normal = f.point(), direction = f.point();
    bool unicode = type == kUnicodeText || type == kUnicodeText2;
    bool textFirst = type == kText2 || type == kUnicodeText2;
    std::string value;
    if (textFirst) {
      value = unicode ? f.unicodeText() : f.text(m_db);
      f.integer();
      f.integer();
    }
    double height = f.number(), width = f.number(), oblique = f.number();
    if (!textFirst) value = unicode ? f.unicodeText() : f.text(m_db);
    if (!f.ok() || value.empty() || !visible() || !(height > 0)) return;
    if (!(width > 0)) width = 1;
    Vec3 x = direction.normalized();
    Vec3 up = normal.normalized().cross(x).normalized();
    TextRun run;
    run.text = value;
    run.advance = TextAdvance(value);
    run.origin = t().apply(at);
    run.xAxis = t().applyVector(x * (height * width));
    run.yAxis = t().applyVector((up + x * std::tan(oblique)) * height);
    m_sink.text(run, m_style);
  }

  void color(int32_t index) {
    if (index == 0) {
      m_style.aci = m_base.aci;
      m_style.trueColor = m_base.trueColor;
    } else if (index == 256) {
      m_style.aci = m_layerColor;
      m_style.trueColor = m_layerTrueColor;
    } else if (index >= 1 && index <= 255) {
      m_style.aci = int16_t(index);
      m_style.trueColor = -1;
    }
  }

  // A colour whose top byte says how it is given: by layer, by block, as
  // red, green and blue, or as a colour index.
  void trueColor(uint32_t value) {
    switch (value >> 24) {
      case 0xC0: color(256); break;
      case 0xC1: color(0); break;
      case 0xC2: m_style.trueColor = int32_t(value & 0xFFFFFF); break;
      case 0xC3: color(int32_t(value & 0xFF)); break;
    }
  }

  // A layer by its place in the layer table: what follows takes its
  // colour where the colour is by layer, and is hidden when it is off.
  void layer(int32_t index) {
    if (index < 0 || size_t(index) >= m_db.layers.size()) return;
    const Layer& l = m_db.layers[size_t(index)];
    m_layerColor = l.color;
    m_layerTrueColor = l.trueColor;
    m_layerShown = l.on && !l.frozen;
  }

  // A linetype by its place in the linetype table.
  void linetype(int32_t index) {
    if (index == kLinetypeByBlock) {
      m_style.linetype = m_base.linetype;
      return;
    }
    if (index == kLinetypeByLayer || index < 0) return;
    const RawTable* table = nullptr;
    for (const RawTable& candidate : m_db.otherTables)
      if (candidate.name == "LTYPE") table = &candidate;
    if (!table) return;
    int32_t entry = -1;
    for (const RawGroup& g : table->groups) {
      if (g.code == 0) ++entry;
      if (g.code != 2 || entry != index) continue;
      auto it = m_db.linetypeIndex.find(UpperName(DecodeText(g.value, m_db)));
      const LineType* type = it != m_db.linetypeIndex.end() && it->second >= 0
                                 ? &m_db.linetypes[size_t(it->second)] : nullptr;
      m_style.linetype = type && !type->dashes.empty() ? type : nullptr;
      return;
    }
  }

  const Database& m_db;
  const DrawStyle m_base;
  DrawStyle m_style;
  PrimitiveSink& m_sink;
  std::vector<Transform> m_transforms;
  std::vector<Vec3> m_points;
  bool m_fill = false;
  bool m_layerShown = true;
  size_t m_clips = 0;  // pushed and not popped
  // The colour of the current layer; the entity's own until a layer is set.
  int16_t m_layerColor;
  int32_t m_layerTrueColor;
};

}  // namespace

void DrawProxyGraphics(const std::vector<uint8_t>& bytes, const Database& db, const Transform& t,
                       const DrawStyle& style, PrimitiveSink& sink) {
  ProxyPainter(db, t, style, sink).run(bytes);
}

}  // namespace zr
