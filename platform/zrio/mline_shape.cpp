#include "platform/zrio/mline_shape.h"

#include <stdlib.h>

#include <algorithm>
#include <cmath>

#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/entity_walker.h"
#include "platform/zrio/raw_shapes.h"

namespace zr {

namespace {

const size_t kMaxVertices = 1000000;
const long kMaxElements = 16;

// Style flags.
const uint32_t kFillOn = 1, kShowMiters = 2, kStartSquare = 16, kStartInnerArcs = 32,
               kStartRound = 64, kEndSquare = 256, kEndInnerArcs = 512, kEndRound = 1024;
// MLINE flags.
const long kClosed = 2, kNoStartCaps = 4, kNoEndCaps = 8;

double Number(const RawGroup& g) {
  double v = atof(g.value.c_str());
  return std::isfinite(v) ? v : 0;
}
long Integer(const RawGroup& g) { return atol(g.value.c_str()); }
uint64_t Handle(const RawGroup& g) { return strtoull(g.value.c_str(), nullptr, 16); }

bool Finite(const Vec3& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// One MLINESTYLE record's groups, [begin, end).
MlineStyle StyleOf(const RawGroups& g, size_t begin, size_t end, const Database& db) {
  MlineStyle style;
  bool inElements = false;
  for (size_t k = begin; k < end; ++k) {
    const RawGroup& x = g[k];
    if (x.code == 71) {
      inElements = true;
    } else if (!inElements) {
      if (x.code == 70)
        style.flags = uint32_t(Integer(x));
      else if (x.code == 62)
        style.fillColor = int16_t(Integer(x));
      else if (x.code == 420)
        style.fillTrueColor = int32_t(Integer(x) & 0xFFFFFF);
    } else if (x.code == 49) {
      if (style.elements.size() >= size_t(kMaxElements)) break;
      style.elements.emplace_back();
      style.elements.back().offset = Number(x);
    } else if (!style.elements.empty()) {
      MlineElement& element = style.elements.back();
      if (x.code == 62)
        element.color = int16_t(Integer(x));
      else if (x.code == 420)
        element.trueColor = int32_t(Integer(x) & 0xFFFFFF);
      else if (x.code == 6)
        element.linetype = UpperName(DecodeText(x.value, db));
    }
  }
  return style;
}

struct Vertex {
  Vec3 at, miter;
  std::vector<double> offsets;  // of each element, along the miter
};

// The vertices and the closed and caps flags of an MLINE's groups.
bool ReadVertices(const RawGroups& raw, std::vector<Vertex>* vertices, long* flags,
                  long* elements) {
  for (size_t i = 0; i < raw.size();) {
    const RawGroup& g = raw[i];
    if (g.code == 71)
      *flags = Integer(g);
    else if (g.code == 73)
      *elements = Integer(g);
    if (g.code == 11) {
      if (vertices->size() >= kMaxVertices) return false;
      vertices->emplace_back();
      i = RawPointAt(raw, i, &vertices->back().at);
      continue;
    }
    if (g.code == 13 && !vertices->empty()) {
      i = RawPointAt(raw, i, &vertices->back().miter);
      continue;
    }
    if (g.code == 74 && !vertices->empty()) {
      // The element's parameters: the first is its distance along the
      // miter from the vertex; the others (breaks) are not drawn.
      long count = Integer(g);
      ++i;
      double offset = 0;
      for (long k = 0; k < count && i < raw.size() && raw[i].code == 41; ++k, ++i)
        if (k == 0) offset = Number(raw[i]);
      vertices->back().offsets.push_back(offset);
      continue;
    }
    ++i;
  }
  return *elements > 0 && *elements <= kMaxElements && vertices->size() >= 2;
}

class ShapeMaker {
 public:
  ShapeMaker(const std::vector<Vertex>& vertices, long elements, const Vec3& normal,
             const MlineStyle* style, double tolerance, MlineShape* shape)
      : m_vertices(vertices),
        m_elements(int(elements)),
        m_normal(normal.normalized()),
        m_style(style),
        m_tolerance(tolerance),
        m_shape(*shape) {}

  void make(long flags) {
    bool closed = (flags & kClosed) != 0;
    uint32_t styleFlags = m_style ? m_style->flags : 0;
    // The elements from the highest offset to the lowest.
    for (int k = 0; k < m_elements; ++k) m_order.push_back(k);
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
      return offset(m_vertices[0], a) > offset(m_vertices[0], b);
    });
    if (styleFlags & kFillOn) fill(closed, styleFlags, flags);
    for (int k = 0; k < m_elements; ++k) elementLine(k, closed);
    if ((styleFlags & kShowMiters) && m_elements > 1) {
      size_t first = closed ? 0 : 1, last = closed ? m_vertices.size() : m_vertices.size() - 1;
      for (size_t i = first; i < last; ++i) across(m_vertices[i]);
    }
    if (closed) return;
    if (!(flags & kNoStartCaps))
      cap(m_vertices[0], m_vertices[1], styleFlags, kStartSquare, kStartRound, kStartInnerArcs);
    size_t n = m_vertices.size();
    if (!(flags & kNoEndCaps))
      cap(m_vertices[n - 1], m_vertices[n - 2], styleFlags, kEndSquare, kEndRound, kEndInnerArcs);
  }

 private:
  double offset(const Vertex& v, int element) const {
    return size_t(element) < v.offsets.size() ? v.offsets[size_t(element)] : 0;
  }
  Vec3 pointOf(const Vertex& v, int element) const { return v.at + v.miter * offset(v, element); }
  int styleElement(int element) const {
    return m_style && size_t(element) < m_style->elements.size() ? element : -1;
  }
  int top() const { return m_order.front(); }
  int bottom() const { return m_order.back(); }

  void add(int element, std::vector<Vec3>&& points, bool closed = false) {
    for (const Vec3& p : points)
      if (!Finite(p)) return;
    if (points.size() < 2) return;
    m_shape.pieces.push_back(MlinePiece{styleElement(element), std::move(points), closed});
  }

  std::vector<Vec3> line(int element) const {
    std::vector<Vec3> points;
    for (const Vertex& v : m_vertices) points.push_back(pointOf(v, element));
    return points;
  }

  void elementLine(int element, bool closed) { add(element, line(element), closed); }

  // A line from the top element to the bottom one through the vertex, each
  // half in its element's look.
  void across(const Vertex& v) {
    Vec3 a = pointOf(v, top()), b = pointOf(v, bottom()), middle = (a + b) * 0.5;
    add(top(), {a, middle});
    add(bottom(), {middle, b});
  }

  // Points of the half circle from p to q bulging towards `outward`, from
  // parameter t0 to t1 of it (0 at p, pi at q).
  std::vector<Vec3> halfCircle(const Vec3& p, const Vec3& q, const Vec3& outward, double t0,
                               double t1) const {
    std::vector<Vec3> points;
    Vec3 center = (p + q) * 0.5, u = p - center;
    double radius = u.length();
    if (!(radius > 0)) return points;
    Vec3 v = m_normal.cross(u).normalized() * radius;
    if (v.dot(outward) < 0) v = v * -1.0;
    int segments = ArcSegments(radius, t1 - t0, m_tolerance);
    for (int i = 0; i <= segments; ++i) {
      double t = t0 + (t1 - t0) * i / segments;
      points.push_back(center + u * std::cos(t) + v * std::sin(t));
    }
    return points;
  }

  // The arc joining two elements at an end, each half in its element's look.
  void endArc(const Vertex& end, int first, int second, const Vec3& outward) {
    Vec3 p = pointOf(end, first), q = pointOf(end, second);
    add(first, halfCircle(p, q, outward, 0, kPi / 2));
    add(second, halfCircle(p, q, outward, kPi / 2, kPi));
  }

  void cap(const Vertex& end, const Vertex& next, uint32_t flags, uint32_t square, uint32_t round,
           uint32_t inner) {
    Vec3 outward = end.at - next.at;
    if ((flags & square) && m_elements > 1) across(end);
    if ((flags & round) && m_elements > 1) endArc(end, top(), bottom(), outward);
    if (flags & inner)
      for (int i = 1; i < m_elements - 1 - i; ++i)
        endArc(end, m_order[size_t(i)], m_order[size_t(m_elements - 1 - i)], outward);
  }

  void loop(std::vector<Vec3>&& points) {
    for (const Vec3& p : points)
      if (!Finite(p)) return;
    if (points.size() < 3) return;
    m_shape.fill.insert(m_shape.fill.end(), points.begin(), points.end());
    m_shape.fillCounts.push_back(int(points.size()));
  }

  // Between the outermost elements, with the round caps; a closed MLINE's
  // between its two rings.
  void fill(bool closed, uint32_t styleFlags, long flags) {
    if (m_elements < 2) return;
    std::vector<Vec3> upper = line(top()), lower = line(bottom());
    if (closed) {
      loop(std::move(upper));
      loop(std::move(lower));
      return;
    }
    size_t n = m_vertices.size();
    std::vector<Vec3> outline = upper;
    if ((styleFlags & kEndRound) && !(flags & kNoEndCaps)) {
      std::vector<Vec3> arc =
          halfCircle(upper.back(), lower.back(), m_vertices[n - 1].at - m_vertices[n - 2].at, 0, kPi);
      outline.insert(outline.end(), arc.begin(), arc.end());
    }
    outline.insert(outline.end(), lower.rbegin(), lower.rend());
    if ((styleFlags & kStartRound) && !(flags & kNoStartCaps)) {
      std::vector<Vec3> arc =
          halfCircle(lower.front(), upper.front(), m_vertices[0].at - m_vertices[1].at, 0, kPi);
      outline.insert(outline.end(), arc.begin(), arc.end());
    }
    loop(std::move(outline));
  }

  const std::vector<Vertex>& m_vertices;
  int m_elements;
  Vec3 m_normal;
  const MlineStyle* m_style;
  double m_tolerance;
  MlineShape& m_shape;
  std::vector<int> m_order;
};

}  // namespace

MlineStyles ReadMlineStyles(const Database& db) {
  MlineStyles styles;
  const RawGroups& g = db.objects;
  for (const GroupRange& record : RecordsOfType(g, "MLINESTYLE")) {
    uint64_t handle = 0;
    std::string name;
    for (size_t k = record.from; k < record.to; ++k) {
      if (g[k].code == 5)
        handle = Handle(g[k]);
      else if (g[k].code == 2 && name.empty())
        name = UpperName(DecodeText(g[k].value, db));
    }
    auto style = std::make_shared<const MlineStyle>(StyleOf(g, record.from, record.to, db));
    if (handle != 0) styles.byHandle[handle] = style;
    if (!name.empty()) styles.byName.emplace(name, style);
  }
  return styles;
}

std::shared_ptr<const MlineStyle> StyleOfMline(const MlineStyles& styles, const RawGroups& raw,
                                               const Database& db) {
  std::string name = "STANDARD";
  for (const RawGroup& g : raw) {
    if (g.code == 340) {
      auto found = styles.byHandle.find(Handle(g));
      if (found != styles.byHandle.end()) return found->second;
    } else if (g.code == 2) {
      name = UpperName(DecodeText(g.value, db));
    }
  }
  auto found = styles.byName.find(name);
  return found != styles.byName.end() ? found->second : nullptr;
}

bool ReadMlineShape(const RawGroups& raw, const Vec3& normal, const MlineStyle* style,
                    double tolerance, MlineShape* shape) {
  std::vector<Vertex> vertices;
  long flags = 0, elements = 0;
  if (!ReadVertices(raw, &vertices, &flags, &elements)) return false;
  ShapeMaker(vertices, elements, normal, style, tolerance, shape).make(flags);
  return !shape->pieces.empty() || !shape->fill.empty();
}

}  // namespace zr
