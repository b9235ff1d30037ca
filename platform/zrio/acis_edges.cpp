#include "platform/zrio/acis_edges.h"

#include <string.h>

#include <algorithm>
#include <cmath>

namespace zr {

namespace {

const size_t kMaxEdges = 1000000;
const size_t kMaxSplinePoints = 100000;
const int kMaxDegree = 25;

// A record of a kind or of a kind derived from it ("tedge-edge" is an edge).
bool IsKind(const std::string& type, const char* kind) {
  size_t n = strlen(kind);
  if (type.size() < n || type.compare(type.size() - n, n, kind) != 0) return false;
  return type.size() == n || type[type.size() - n - 1] == '-';
}

// A record whose most derived class is the kind ("straight-curve" is a
// straight line).
bool IsDerived(const std::string& type, const char* kind) {
  size_t n = strlen(kind);
  return type.compare(0, n, kind) == 0 && (type.size() == n || type[n] == '-');
}

bool IsTopology(const std::string& type) {
  for (const char* kind : {"lump", "shell", "subshell", "face", "loop", "coedge", "wire"})
    if (IsKind(type, kind)) return true;
  return false;
}

bool Finite(const Vec3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

bool Near(const Vec3& a, const Vec3& b, double tolerance) { return (a - b).length() <= tolerance; }

// The last `count` numbers of the first run of numbers after the record's
// pointers, before its first word: the fixed data of points, transforms
// and ellipses, whatever header fields the file's version writes first.
bool LeadingNumbers(const AcisRecord& r, size_t count, double* out) {
  std::vector<double> run;
  for (const AcisToken& token : r.tokens) {
    if (token.kind == AcisToken::Pointer) {
      run.clear();
    } else if (token.kind == AcisToken::Number) {
      run.push_back(token.number);
    } else {
      break;
    }
  }
  if (run.size() < count) return false;
  for (size_t i = 0; i < count; ++i) out[i] = run[run.size() - count + i];
  return true;
}

// A B-spline as the SAT stores it: "nubs" or "nurbs", the degree, "open"
// (or another closure), the number of distinct knots, each knot with its
// multiplicity (the end knots once less than a clamped curve needs), then
// the control points (with their weights for "nurbs").
class SplineData {
 public:
  SplineData(const std::vector<AcisToken>& tokens, size_t at) : m_tokens(tokens), m_at(at) {}

  bool read(EdgeSpline* spline) {
    bool rational = m_tokens[m_at++].word == "nurbs";
    double degree, knots;
    if (!number(&degree)) return false;
    if (m_at < m_tokens.size() && m_tokens[m_at].kind == AcisToken::Word) ++m_at;  // "open", ...
    if (!number(&knots) || !(degree >= 1 && degree <= kMaxDegree) || !(knots >= 2 && knots <= kMaxSplinePoints))
      return false;
    spline->degree = int(degree);
    for (long k = 0; k < long(knots); ++k) {
      double value, multiplicity;
      if (!number(&value) || !number(&multiplicity) || !(multiplicity >= 1 && multiplicity <= degree + 1))
        return false;
      if (spline->knots.size() + size_t(multiplicity) > kMaxSplinePoints) return false;
      if (!spline->knots.empty() && !(value >= spline->knots.back())) return false;
      spline->knots.insert(spline->knots.end(), size_t(multiplicity), value);
    }
    spline->knots.insert(spline->knots.begin(), spline->knots.front());
    spline->knots.push_back(spline->knots.back());
    if (spline->knots.size() < size_t(2 * degree + 2) || !(spline->knots.back() > spline->knots.front()))
      return false;
    size_t points = spline->knots.size() - size_t(degree) - 1;
    for (size_t i = 0; i < points; ++i) {
      Vec3 p;
      double w = 1;
      if (!number(&p.x) || !number(&p.y) || !number(&p.z) || (rational && !number(&w))) return false;
      spline->points.push_back(p);
      if (rational) spline->weights.push_back(w);
    }
    return true;
  }

 private:
  bool number(double* value) {
    if (m_at >= m_tokens.size() || m_tokens[m_at].kind != AcisToken::Number) return false;
    *value = m_tokens[m_at++].number;
    return std::isfinite(*value);
  }

  const std::vector<AcisToken>& m_tokens;
  size_t m_at;
};

// Whether an intcurve runs against its spline: the sense word before its
// data.
bool CurveReversed(const AcisRecord& curve) {
  for (const AcisToken& token : curve.tokens) {
    if (token.kind == AcisToken::Open) return false;
    if (token.kind == AcisToken::Word) return token.word == "reversed" || token.word == "false";
  }
  return false;
}

class EdgeReader {
 public:
  EdgeReader(const AcisFile& file, EdgeCurves* out) : m_records(file.records), m_out(out) {}

  bool run() {
    m_taken.assign(m_records.size(), false);
    for (size_t i = 0; i < m_records.size(); ++i) {
      if (m_records[i].type != "body") continue;
      Transform t = bodyTransform(m_records[i]);
      for (size_t edge : bodyEdges(i)) addEdge(m_records[edge], t);
    }
    // Edges no body reaches (files cut short) are drawn where they are.
    for (size_t i = 0; i < m_records.size(); ++i)
      if (!m_taken[i] && IsKind(m_records[i].type, "edge")) addEdge(m_records[i], Transform());
    return !m_out->empty();
  }

 private:
  const AcisRecord* target(const AcisToken& token) const {
    if (token.kind != AcisToken::Pointer || token.number < 0 || token.number >= double(m_records.size()))
      return nullptr;
    return &m_records[size_t(token.number)];
  }

  // The body's transform record: a 3 x 3 matrix whose rows are the images
  // of the axes, the translation and a scale factor.
  Transform bodyTransform(const AcisRecord& body) const {
    Transform t;
    for (const AcisToken& token : body.tokens) {
      const AcisRecord* r = target(token);
      double v[13];
      if (!r || r->type != "transform" || !LeadingNumbers(*r, 13, v)) continue;
      double scale = std::isfinite(v[12]) && v[12] != 0 ? v[12] : 1;
      for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) t.m[column][row] = v[row * 3 + column] * scale;
      t.t = Vec3(v[9], v[10], v[11]);
      break;
    }
    return t;
  }

  // The edges reached from a body through its lumps, shells, faces, loops,
  // wires and coedges (and back up through their owners, which stay in
  // the body).
  std::vector<size_t> bodyEdges(size_t body) {
    std::vector<size_t> edges, stack{body};
    std::vector<bool> seen(m_records.size(), false);
    seen[body] = true;
    while (!stack.empty() && edges.size() < kMaxEdges) {
      size_t at = stack.back();
      stack.pop_back();
      for (const AcisToken& token : m_records[at].tokens) {
        const AcisRecord* r = target(token);
        size_t index = r ? size_t(token.number) : 0;
        if (!r || seen[index]) continue;
        if (IsKind(r->type, "edge") && !m_taken[index]) {
          seen[index] = m_taken[index] = true;
          edges.push_back(index);
        } else if (IsTopology(r->type)) {
          seen[index] = true;
          stack.push_back(index);
        }
      }
    }
    return edges;
  }

  bool pointOf(const AcisRecord& vertex, Vec3* p) const {
    for (const AcisToken& token : vertex.tokens) {
      const AcisRecord* r = target(token);
      double v[3];
      if (r && r->type == "point" && LeadingNumbers(*r, 3, v)) {
        *p = Vec3(v[0], v[1], v[2]);
        return Finite(*p);
      }
    }
    return false;
  }

  void addEdge(const AcisRecord& edge, const Transform& t) {
    Vec3 ends[2];
    int vertices = 0;
    double params[2];
    int paramCount = 0;
    const AcisRecord* curve = nullptr;
    bool reversed = false;
    const std::vector<AcisToken>& tokens = edge.tokens;
    for (size_t i = 0; i < tokens.size(); ++i) {
      const AcisRecord* r = target(tokens[i]);
      if (r && IsKind(r->type, "vertex") && vertices < 2) {
        if (!pointOf(*r, &ends[vertices])) return;
        ++vertices;
        // Newer files follow each vertex with its parameter on the curve.
        if (i + 1 < tokens.size() && tokens[i + 1].kind == AcisToken::Number && paramCount < 2)
          params[paramCount++] = tokens[i + 1].number;
      } else if (r && !curve && IsKind(r->type, "curve")) {
        curve = r;
      } else if (curve && tokens[i].kind == AcisToken::Word) {
        reversed = tokens[i].word == "reversed" || tokens[i].word == "false";
        break;
      }
    }
    if (!curve) return;
    if (IsDerived(curve->type, "straight")) {
      Vec3 a = t.apply(ends[0]), b = t.apply(ends[1]);
      if (vertices == 2 && !Near(ends[0], ends[1], 0) && Finite(a) && Finite(b)) {
        m_out->segments.push_back(a);
        m_out->segments.push_back(b);
      }
    } else if (IsDerived(curve->type, "ellipse")) {
      EdgeArc arc;
      if (ellipseArc(*curve, vertices == 2 ? ends : nullptr, paramCount == 2 ? params : nullptr,
                     reversed, &arc)) {
        arc.center = t.apply(arc.center);
        arc.u = t.applyVector(arc.u);
        arc.v = t.applyVector(arc.v);
        if (Finite(arc.center) && Finite(arc.u) && Finite(arc.v)) m_out->arcs.push_back(arc);
      }
    } else if (IsDerived(curve->type, "intcurve")) {
      EdgeSpline spline;
      if (!splineOf(*curve, &spline)) return;
      trim(paramCount == 2 ? params : nullptr, reversed != CurveReversed(*curve), &spline);
      for (Vec3& p : spline.points) {
        p = t.apply(p);
        if (!Finite(p)) return;
      }
      m_out->splines.push_back(std::move(spline));
    }
  }

  // The arc an edge takes of its ellipse (centre, normal, major axis and
  // ratio), from its start vertex to its end vertex. Its sweep is the
  // length of the edge's parameter range; the way round is the one that
  // reaches the end vertex (or the edge's sense, when the file gives no
  // parameters). An edge from a vertex back to it is the whole ellipse.
  bool ellipseArc(const AcisRecord& curve, const Vec3* ends, const double* params, bool reversed,
                  EdgeArc* arc) const {
    double v[10];
    if (!LeadingNumbers(curve, 10, v)) return false;
    Vec3 normal(v[3], v[4], v[5]);
    arc->center = Vec3(v[0], v[1], v[2]);
    arc->u = Vec3(v[6], v[7], v[8]);
    arc->v = normal.normalized().cross(arc->u) * v[9];
    double major = arc->u.length(), minor = arc->v.length();
    if (!(major > 0) || !(minor > 0) || !std::isfinite(major + minor) || !Finite(arc->center))
      return false;
    double tolerance = major * 1e-6;
    double sweep = params ? params[1] - params[0] : 2 * kPi;
    if (!(sweep > 1e-12)) return false;
    sweep = std::min(sweep, 2 * kPi);
    if (!ends) {
      arc->t0 = reversed && params ? -params[1] : params ? params[0] : 0;
      arc->t1 = arc->t0 + sweep;
      return true;
    }
    auto parameterOf = [&](const Vec3& p) {
      Vec3 d = p - arc->center;
      return std::atan2(d.dot(arc->v) / (minor * minor), d.dot(arc->u) / (major * major));
    };
    auto pointAt = [&](double t) { return arc->center + arc->u * std::cos(t) + arc->v * std::sin(t); };
    double start = parameterOf(ends[0]), end = parameterOf(ends[1]);
    if (Near(ends[0], ends[1], tolerance)) {
      arc->t0 = start;
      arc->t1 = start + 2 * kPi;
      return true;
    }
    bool anticlockwise;
    if (params) {
      anticlockwise = Near(pointAt(start + sweep), ends[1], std::max(tolerance * 100, major * 1e-3));
    } else {
      anticlockwise = !reversed;
    }
    arc->t0 = anticlockwise ? start : end;
    arc->t1 = anticlockwise ? end : start;
    while (arc->t1 <= arc->t0) arc->t1 += 2 * kPi;
    return true;
  }

  // The part of the spline an edge runs over: its parameter range, which
  // runs against the spline's when the edge runs against its curve or the
  // curve against its spline; the whole spline when the file gives none.
  static void trim(const double* params, bool against, EdgeSpline* spline) {
    spline->from = spline->knots[size_t(spline->degree)];
    spline->to = spline->knots[spline->points.size()];
    if (!params) return;
    double a = against ? -params[1] : params[0], b = against ? -params[0] : params[1];
    a = std::max(a, spline->from);
    b = std::min(b, spline->to);
    if (b > a) {
      spline->from = a;
      spline->to = b;
    }
  }

  // The B-spline an intcurve holds first in its braces (an exact curve's,
  // or the approximation of a curve defined otherwise).
  bool splineOf(const AcisRecord& curve, EdgeSpline* spline) const {
    const std::vector<AcisToken>& tokens = curve.tokens;
    int depth = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
      if (tokens[i].kind == AcisToken::Open) ++depth;
      else if (tokens[i].kind == AcisToken::Close && --depth <= 0) break;
      else if (depth > 0 && tokens[i].kind == AcisToken::Word &&
               (tokens[i].word == "nubs" || tokens[i].word == "nurbs"))
        return SplineData(tokens, i).read(spline);
    }
    return false;
  }

  const std::vector<AcisRecord>& m_records;
  EdgeCurves* m_out;
  std::vector<bool> m_taken;  // edges already drawn
};

}  // namespace

bool AcisEdges(const AcisFile& file, EdgeCurves* curves) { return EdgeReader(file, curves).run(); }

}  // namespace zr
