#include "platform/zrio/win32.h"
#include "platform/zrio/entity_walker.h"

#include "platform/zrio/derived_graphics.h"
#include "platform/zrio/dimension_shape.h"
#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/edge_curves.h"
#include "platform/zrio/hatch_pattern.h"
#include "platform/zrio/image_files.h"
#include "platform/zrio/image_placement.h"
#include "platform/zrio/mleader_shape.h"
#include "platform/zrio/mline_shape.h"
#include "platform/zrio/mtext_columns.h"
#include "platform/zrio/mtext_layout.h"
#include "platform/zrio/number_limits.h"
#include "platform/zrio/proxy_graphics.h"
#include "platform/zrio/raw_shapes.h"
#include "platform/zrio/shape_library.h"
#include "platform/zrio/spline_fit.h"
#include "platform/zrio/spline_points.h"
#include "platform/zrio/table_shape.h"
#include "platform/zrio/text_measure.h"
#include "platform/zrio/text_styles.h"
#include "platform/zrio/tolerance_shape.h"
#include "platform/zrio/wide_polyline.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zr {

namespace {

const int kMaxDepth = 16;
// Nested arrays of block references can multiply without bound: one
// top-level entity expands to at most this many entities.
const long kVisitBudget = 2000000;

double Radians(double degrees) { return degrees * kPi / 180.0; }

Transform OcsTransform(const Transform& t, const Entity& e) {
  if (!e.extra) return t;
  Vec3 x = e.extra->extrusion;
  if (x.x == 0 && x.y == 0 && x.z > 0) return t;
  return t * Transform::ocs(x);
}

// The first value of a group kept as read; fallback when there is none.
int RawInteger(const RawGroups& raw, int code, int fallback) {
  for (const RawGroup& g : raw)
    if (g.code == code) return atoi(g.value.c_str());
  return fallback;
}

// The handle of the first group of a code kept as read; 0 when there is none.
uint64_t RawHandle(const RawGroups& raw, int code) {
  for (const RawGroup& g : raw)
    if (g.code == code) return strtoull(g.value.c_str(), nullptr, 16);
  return 0;
}

// The point of groups code, code + 10 and code + 20 kept as read.
bool RawPoint(const RawGroups& raw, int code, Vec3* p) {
  bool found = false;
  for (const RawGroup& g : raw) {
    if (g.code == code) { p->x = atof(g.value.c_str()); found = true; }
    else if (g.code == code + 10) p->y = atof(g.value.c_str());
    else if (g.code == code + 20) p->z = atof(g.value.c_str());
  }
  return found;
}

// Horizontal alignments of TEXT, ATTRIB and ATTDEF (group 72).
enum TextAlignment { kTextAligned = 3, kTextMiddle = 4, kTextFit = 5 };

// Where a line of text goes, in the entity's own coordinates.
struct TextPlacement {
  Vec3 anchor;
  Vec3 direction{1, 0, 0};  // along the baseline, unit length
  double height = 1, widthFactor = 1;
  int halign = 0, valign = 0;  // as in TextRun
};

// Lays the text along the baseline from its insertion point to its
// alignment point, so that its measured width (`advance` text heights at
// width factor 1) spans the distance: "aligned" keeps the width factor and
// takes the height from it, "fit" keeps the height and takes the width
// factor. False when the points coincide or nothing has a width.
bool SpanBetweenPoints(const Entity& e, double advance, bool fit, TextPlacement* place) {
  if (!((e.flags >> 8) & 1) || !(advance > 0)) return false;
  double dx = e.pts[1].x - e.pts[0].x, dy = e.pts[1].y - e.pts[0].y;
  double distance = std::hypot(dx, dy);
  if (!(distance > 0) || !std::isfinite(distance)) return false;
  double kept = fit ? place->height : place->widthFactor;
  double taken = distance / (advance * kept);
  if (!(taken > 0) || !std::isfinite(taken)) return false;
  (fit ? place->widthFactor : place->height) = taken;
  place->anchor = e.pts[0];
  place->direction = Vec3(dx / distance, dy / distance, 0);
  return true;
}

// Placement of a TEXT, ATTRIB or ATTDEF from its points, height, rotation,
// width factor and alignment. An aligned or fit text that cannot span its
// points is drawn left-aligned at its insertion point. False when there is
// no height to draw with.
bool PlaceText(const Entity& e, double advance, TextPlacement* place) {
  double width = e.num(2, 1);
  place->widthFactor = width > 0 && std::isfinite(width) ? width : 1;
  place->height = e.num(0, 1);
  int h = int(e.flags & 0xF), v = int((e.flags >> 4) & 0xF);
  if (h == kTextAligned && SpanBetweenPoints(e, advance, false, place)) return true;
  if (!std::isfinite(place->height)) return false;
  if (h == kTextFit && SpanBetweenPoints(e, advance, true, place)) return true;
  double rotation = Radians(e.num(1));
  if (std::isfinite(rotation)) place->direction = Vec3(std::cos(rotation), std::sin(rotation), 0);
  place->anchor = e.pts[0];
  if (h == kTextMiddle) {
    place->halign = 1;
    place->valign = 2;
  } else if (h < kTextAligned) {
    place->halign = h;
    place->valign = v <= 3 ? v : 0;
  }
  bool useAlign = (e.flags >> 8) & 1;
  if (useAlign && (place->halign != 0 || place->valign != 0)) place->anchor = e.pts[1];
  return true;
}

// The colour of an MLINE's element or fill: by layer, by block (the
// MLINE's own), or its own.
void SetMlineColor(int16_t color, int32_t trueColor, const Layer* layer, DrawStyle* style) {
  if (trueColor >= 0) {
    style->trueColor = trueColor;
  } else if (color == 256 || color < 0 || color > 256) {
    style->aci = layer ? layer->color : 7;
    style->trueColor = layer ? layer->trueColor : -1;
  } else if (color != 0) {
    style->aci = color;
    style->trueColor = -1;
  }
}

}  // namespace

int ArcSegments(double radius, double sweep, double tolerance) {
  sweep = std::fabs(sweep);
  if (!(radius > 0) || !(tolerance > 0)) return 8;
  double ratio = 1 - tolerance / radius;
  double step = ratio <= -1 ? kPi : 2 * std::acos(std::max(ratio, -1.0));
  if (!(step > 1e-4)) step = 1e-4;
  double n = std::ceil(sweep / step);
  if (!(n >= 2)) n = 2;
  if (n > 720) n = 720;
  return int(n);
}

void DrawEllipseArc(PrimitiveSink& sink, const Vec3& c, const Vec3& u, const Vec3& v, double t0,
                    double t1, const DrawStyle& style) {
  if (sink.wantsArcs()) {
    sink.ellipseArc(c, u, v, t0, t1, style);
    return;
  }
  double r = std::max(u.length(), v.length());
  int n = ArcSegments(r, t1 - t0, sink.chordTolerance());
  std::vector<Vec3> pts(size_t(n) + 1);
  for (int i = 0; i <= n; ++i) {
    double a = t0 + (t1 - t0) * i / n;
    pts[size_t(i)] = c + u * std::cos(a) + v * std::sin(a);
  }
  bool full = t1 - t0 >= 2 * kPi - 1e-9;
  sink.polyline(pts.data(), full ? pts.size() - 1 : pts.size(), full, style);
}

EntityWalker::EntityWalker(const Database& db, PrimitiveSink& sink, const WalkOptions& options)
    : m_db(db), m_sink(sink), m_options(options) {}

void EntityWalker::walk(const Entity& e) {
  m_top = &e;
  m_budget = kVisitBudget;
  Context ctx;
  walkEntity(e, ctx);
}

void EntityWalker::walkList(const std::vector<Entity>& list, const std::vector<Box3>* boxes) {
  for (size_t i = 0; i < list.size(); ++i) {
    if ((i & 63) == 0 && m_sink.cancelled()) return;
    if (boxes && i < boxes->size() && !m_sink.wantsBox((*boxes)[i])) continue;
    walk(list[i]);
  }
}

bool EntityWalker::resolve(const Entity& e, const Context& ctx, DrawStyle* style,
                           int32_t* layerOut) const {
  int32_t layer = e.layer;
  if (layer < 0 || size_t(layer) >= m_db.layers.size()) layer = 0;
  if (ctx.blockLayer >= 0 && m_db.layers.size() > size_t(layer) &&
      m_db.layers[size_t(layer)].name == "0")
    layer = ctx.blockLayer;
  const Layer* l = size_t(layer) < m_db.layers.size() ? &m_db.layers[size_t(layer)] : nullptr;
  if (m_options.respectLayers && l && (l->frozen || !l->on)) return false;
  if (m_options.respectLayers && frozenInViewport(layer)) return false;
  style->top = m_top;
  if (e.trueColor >= 0) {
    style->trueColor = e.trueColor;
  } else if (e.color == 0) {
    style->aci = ctx.blockColor;
    style->trueColor = ctx.blockTrueColor;
  } else if (e.color == 256 || e.color < 0 || e.color > 256) {
    style->aci = l ? l->color : 7;
    style->trueColor = l ? l->trueColor : -1;
  } else {
    style->aci = e.color;
  }
  if (e.linetype == -1)
    style->linetype = l && l->linetypeIndex >= 0 ? &m_db.linetypes[size_t(l->linetypeIndex)] : nullptr;
  else if (e.linetype == -2)
    style->linetype = ctx.blockLinetype;
  else if (size_t(e.linetype) < m_db.linetypes.size())
    style->linetype = &m_db.linetypes[size_t(e.linetype)];
  if (style->linetype && style->linetype->dashes.empty()) style->linetype = nullptr;
  if (e.lineweight == -1) style->lineweight = l ? l->lineweight : -3;
  else if (e.lineweight == -2) style->lineweight = ctx.blockLineweight;
  else style->lineweight = e.lineweight;
  *layerOut = layer;
  return true;
}

bool EntityWalker::frozenInViewport(int32_t layer) const {
  if (!m_viewportFrozen) return false;
  return std::binary_search(m_viewportFrozen->begin(), m_viewportFrozen->end(), layer);
}

void EntityWalker::walkEntity(const Entity& e, const Context& ctx) {
  if (--m_budget < 0 || ((m_budget & 1023) == 0 && m_sink.cancelled())) return;
  if (e.extra && e.extra->invisible) return;
  DrawStyle style;
  int32_t layer = 0;
  if (!resolve(e, ctx, &style, &layer)) return;
  const Transform& t = ctx.t;
  switch (e.kind) {
    case EntityKind::Line: {
      if (e.pts.size() < 2) return;
      Vec3 p[2] = {t.apply(e.pts[0]), t.apply(e.pts[1])};
      m_sink.polyline(p, 2, false, style);
      break;
    }
    case EntityKind::Point:
      if (!e.pts.empty()) m_sink.point(t.apply(e.pts[0]), style);
      break;
    case EntityKind::Circle:
    case EntityKind::Arc: {
      if (e.pts.empty() || e.nums.empty()) return;
      Transform o = OcsTransform(t, e);
      double r = e.nums[0];
      double t0 = 0, t1 = 2 * kPi;
      if (e.kind == EntityKind::Arc) {
        t0 = Radians(e.num(1));
        t1 = Radians(e.num(2));
        NormalizeAngleRange(&t0, &t1);
      }
      ellipse(o.apply(e.pts[0]), o.applyVector(Vec3(r, 0, 0)), o.applyVector(Vec3(0, r, 0)), t0,
              t1, style);
      break;
    }
    case EntityKind::Ellipse: {
      if (e.pts.size() < 2) return;
      Vec3 major = e.pts[1];
      Vec3 minor = e.extrusion().normalized().cross(major) * e.num(0, 1);
      double t0 = e.num(1), t1 = e.num(2, 2 * kPi);
      NormalizeAngleRange(&t0, &t1);
      ellipse(t.apply(e.pts[0]), t.applyVector(major), t.applyVector(minor), t0, t1, style);
      break;
    }
    case EntityKind::LwPolyline:
      if (e.extra && !e.extra->startWidths.empty()) widePolyline(e, OcsTransform(t, e), e.flags & kPolyClosed, style);
      else polylinePath(e, OcsTransform(t, e), e.flags & kPolyClosed, style);
      break;
    case EntityKind::Polyline:
      if (e.flags & kPolyFace) polyface(e, t, style);
      else if (e.flags & kPolyMesh) mesh(e, t, style);
      else if (e.flags & kPoly3D) polylinePath(e, t, e.flags & kPolyClosed, style);
      else if (e.extra && !e.extra->startWidths.empty()) widePolyline(e, OcsTransform(t, e), e.flags & kPolyClosed, style);
      else polylinePath(e, OcsTransform(t, e), e.flags & kPolyClosed, style);
      break;
    case EntityKind::Spline:
      spline(e, t, style);
      break;
    case EntityKind::Text:
    case EntityKind::Attrib:
      if (e.kind == EntityKind::Attrib && ((e.flags >> 12) & 1)) return;  // invisible
      textEntity(e, OcsTransform(t, e), style);
      break;
    case EntityKind::AttDef:
      // Outside a block an attribute definition shows its tag.
      if (ctx.depth == 0 && m_options.showAttDefs) textEntity(e, OcsTransform(t, e), style);
      break;
    case EntityKind::MText:
      mtextEntity(e, t, style);
      break;
    case EntityKind::Insert:
      insert(e, ctx, style, layer);
      break;
    case EntityKind::Dimension: {
      int32_t block = m_db.findBlock(e.text);
      if (block >= 0) blockContents(block, t, ctx, style, layer);
      else if (e.extra) dimension(e.extra->raw, false, t, ctx, style, layer);
      break;
    }
    case EntityKind::Table:
      table(e, ctx, style, layer);
      break;
    case EntityKind::Solid:
    case EntityKind::Trace:
      quad(e, OcsTransform(t, e), style);
      break;
    case EntityKind::Face3D: {
      if (e.pts.size() < 4) return;
      Vec3 p[4];
      size_t n = 0;
      for (size_t i = 0; i < 4; ++i)
        if (i < 3 || e.pts[3].x != e.pts[2].x || e.pts[3].y != e.pts[2].y || e.pts[3].z != e.pts[2].z)
          p[n++] = t.apply(e.pts[i]);
      m_sink.polyline(p, n, true, style);
      break;
    }
    case EntityKind::Hatch:
      hatch(e, OcsTransform(t, e), style);
      break;
    case EntityKind::Leader:
      leader(e, t, ctx, style, layer);
      break;
    case EntityKind::Ray:
    case EntityKind::XLine:
      if (e.pts.size() >= 2)
        m_sink.infiniteLine(t.apply(e.pts[0]), t.applyVector(e.pts[1]),
                           e.kind == EntityKind::XLine, style);
      break;
    case EntityKind::Viewport:
      if (ctx.depth == 0) viewport(e, ctx, style);
      break;
    case EntityKind::Unknown:
      if (e.extra && e.extra->typeName == "TOLERANCE") tolerance(e, t, style);
      else if (e.extra) rawEntity(e, ctx, style, layer);
      break;
  }
}

void EntityWalker::ellipse(const Vec3& c, const Vec3& u, const Vec3& v, double t0, double t1,
                           const DrawStyle& style) {
  DrawEllipseArc(m_sink, c, u, v, t0, t1, style);
}

void EntityWalker::polylinePath(const Entity& e, const Transform& t, bool closed,
                                const DrawStyle& style) {
  size_t n = e.pts.size();
  if (n == 0) return;
  bool anyBulge = false;
  for (size_t i = 0; i < e.nums.size(); ++i)
    if (e.nums[i] != 0 && (closed || i + 1 < n)) anyBulge = true;
  if (!anyBulge) {
    m_scratch.resize(n);
    for (size_t i = 0; i < n; ++i) m_scratch[i] = t.apply(e.pts[i]);
    if (n == 1) m_sink.point(m_scratch[0], style);
    else m_sink.polyline(m_scratch.data(), n, closed, style);
    return;
  }
  std::vector<Vec3> run;
  size_t segments = closed ? n : n - 1;
  run.push_back(t.apply(e.pts[0]));
  for (size_t i = 0; i < segments; ++i) {
    const Vec3& a = e.pts[i];
    const Vec3& b = e.pts[(i + 1) % n];
    double bulge = i < e.nums.size() ? e.nums[i] : 0;
    Vec3 c;
    double r, sa, ea;
    if (bulge != 0 && BulgeArc(a, b, bulge, &c, &r, &sa, &ea)) {
      Vec3 u = t.applyVector(Vec3(r, 0, 0)), v = t.applyVector(Vec3(0, r, 0));
      Vec3 cw = t.apply(c);
      if (m_sink.wantsArcs()) {
        if (run.size() > 1) m_sink.polyline(run.data(), run.size(), false, style);
        m_sink.ellipseArc(cw, u, v, sa, ea, style);
        run.assign(1, t.apply(b));
        continue;
      }
      int steps = ArcSegments(std::max(u.length(), v.length()), ea - sa, m_sink.chordTolerance());
      for (int s = 1; s < steps; ++s) {
        double a2 = bulge > 0 ? sa + (ea - sa) * s / steps : ea - (ea - sa) * s / steps;
        run.push_back(cw + u * std::cos(a2) + v * std::sin(a2));
      }
    }
    run.push_back(t.apply(b));
  }
  if (closed && !m_sink.wantsArcs()) {
    run.pop_back();  // the closing vertex repeats the first
    m_sink.polyline(run.data(), run.size(), true, style);
  } else if (run.size() > 1) {
    m_sink.polyline(run.data(), run.size(), false, style);
  }
}

void EntityWalker::widePolyline(const Entity& e, const Transform& t, bool closed,
                                const DrawStyle& style) {
  WideOutline outline;
  WidePolylineOutline(e, closed, m_sink.chordTolerance(), &outline);
  for (std::vector<Vec3>& band : outline.bands) {
    for (Vec3& p : band) p = t.apply(p);
    int count = int(band.size());
    m_sink.fill(band.data(), &count, 1, style);
  }
  loops(outline.lines, t, false, style);
}

void EntityWalker::polyface(const Entity& e, const Transform& t, const DrawStyle& style) {
  if (!e.extra) return;
  const std::vector<int32_t>& f = e.extra->faces;
  for (size_t i = 0; i + 3 < f.size(); i += 4) {
    Vec3 p[4];
    size_t n = 0;
    for (size_t k = 0; k < 4; ++k) {
      uint64_t index = Magnitude(f[i + k]);
      if (index == 0 || index > e.pts.size()) continue;
      p[n++] = t.apply(e.pts[size_t(index - 1)]);
    }
    if (n >= 2) m_sink.polyline(p, n, n > 2, style);
  }
}

void EntityWalker::mesh(const Entity& e, const Transform& t, const DrawStyle& style) {
  int m = e.extra ? e.extra->meshM : 0, n = e.extra ? e.extra->meshN : 0;
  if (m <= 0 || n <= 0 || size_t(m) * size_t(n) > e.pts.size()) {
    polylinePath(e, t, false, style);
    return;
  }
  std::vector<Vec3> line;
  for (int i = 0; i < m; ++i) {
    line.clear();
    for (int j = 0; j < n; ++j) line.push_back(t.apply(e.pts[size_t(i * n + j)]));
    m_sink.polyline(line.data(), line.size(), (e.flags & kPolyMeshClosedN) != 0, style);
  }
  for (int j = 0; j < n; ++j) {
    line.clear();
    for (int i = 0; i < m; ++i) line.push_back(t.apply(e.pts[size_t(i * n + j)]));
    m_sink.polyline(line.data(), line.size(), (e.flags & kPolyClosed) != 0, style);
  }
}

int EntityWalker::splinePointsPerSpan(const std::vector<Vec3>& control, int degree, const Transform& t) const {
  if (m_sink.wantsArcs()) return 64;
  // Enough points that a span's chords stay near the curve, judged by the
  // length of its control polygon on the output.
  double length = 0;
  for (size_t i = 1; i < control.size(); ++i) length += t.applyVector(control[i] - control[i - 1]).length();
  double spans = std::max(1.0, double(control.size()) - std::max(degree, 1));
  double wanted = std::ceil(std::sqrt(length / spans / m_sink.chordTolerance()));
  return std::isfinite(wanted) ? int(std::min(256.0, std::max(16.0, wanted))) : 16;
}

void EntityWalker::spline(const Entity& e, const Transform& t, const DrawStyle& style) {
  int degree = int((e.flags >> 8) & 0xFF);
  static const std::vector<double> kNoWeights;
  const std::vector<double>& weights = e.extra ? e.extra->startWidths : kNoWeights;
  m_scratch.clear();
  int perSpan = splinePointsPerSpan(e.pts, degree, t);
  if (!AppendSplinePoints(degree, e.pts, e.nums, weights, perSpan, &m_scratch) && e.extra) {
    // Stored with fit points only: the cubic through them.
    Vec3 start, end;
    bool hasStart = RawPoint(e.extra->raw, 12, &start), hasEnd = RawPoint(e.extra->raw, 13, &end);
    curveThrough(e.extra->fitPoints, hasStart ? &start : nullptr, hasEnd ? &end : nullptr, t);
  }
  for (Vec3& p : m_scratch) p = t.apply(p);
  if (m_scratch.size() >= 2) m_sink.polyline(m_scratch.data(), m_scratch.size(), false, style);
}

void EntityWalker::curveThrough(const std::vector<Vec3>& points, const Vec3* startTangent,
                                const Vec3* endTangent, const Transform& t) {
  std::vector<Vec3> control;
  std::vector<double> knots;
  m_scratch.clear();
  if (!FitPointsToControlPoints(points, startTangent, endTangent, &control, &knots) ||
      !AppendSplinePoints(3, control, knots, std::vector<double>(), splinePointsPerSpan(control, 3, t), &m_scratch))
    m_scratch = points;
}

void EntityWalker::leader(const Entity& e, const Transform& t, const Context& ctx, const DrawStyle& style,
                          int32_t layer) {
  if (e.pts.size() < 2) return;
  ArrowStyle arrow;
  if (e.extra && LeaderArrowStyle(e.extra->raw, m_db, &arrow))
    arrowhead({e.pts[0], (e.pts[0] - e.pts[1]).normalized(), arrow}, t, ctx, style, layer);
  if (e.extra && RawInteger(e.extra->raw, 72, 0) == 1) {
    // A spline leader leaves its ends along its first and last segments.
    size_t n = e.pts.size();
    Vec3 start = e.pts[1] - e.pts[0], end = e.pts[n - 1] - e.pts[n - 2];
    curveThrough(e.pts, &start, &end, t);
  } else {
    m_scratch = e.pts;
  }
  for (Vec3& p : m_scratch) p = t.apply(p);
  m_sink.polyline(m_scratch.data(), m_scratch.size(), false, style);
}

void EntityWalker::rawEntity(const Entity& e, const Context& ctx, const DrawStyle& style,
                             int32_t layer) {
  Transform t = OcsTransform(ctx.t, e);
  const std::string& type = e.extra->typeName;
  const RawGroups& raw = e.extra->raw;
  const DerivedGraphics* derived = e.extra->derived.get();
  if (derived && !derived->edges.empty()) {
    DrawEdgeCurves(derived->edges, t, style, m_sink);
    return;
  }
  std::vector<std::vector<Vec3>> lines(1);
  if (type == "MLINE") {
    mline(e, ctx, style, layer);
  } else if (type == "WIPEOUT") {
    // Hides what was drawn before it under its boundary.
    if (!ImageBoundary(raw, &lines[0])) return;
    for (Vec3& p : lines[0]) p = t.apply(p);
    DrawStyle hiding = style;
    hiding.background = true;
    int count = int(lines[0].size());
    m_sink.fill(lines[0].data(), &count, 1, hiding);
  } else if (type == "IMAGE") {
    image(e, t, style);
  } else if (type == "OLE2FRAME") {
    if (OleFrame(raw, &lines[0])) loops(lines, t, true, style);
  } else if (type == "MESH") {
    lines.clear();
    if (MeshFaces(raw, &lines)) loops(lines, t, true, style);
  } else if (type == "MULTILEADER") {
    multileader(e, t, ctx, style, layer);
  } else if (type == "ARC_DIMENSION" || type == "LARGE_RADIAL_DIMENSION") {
    // Drawn, as other dimensions are, by the block the file made for it.
    int32_t block = -1;
    for (const RawGroup& g : raw)
      if (g.code == 2 && block < 0) block = m_db.findBlock(DecodeText(g.value, m_db));
    if (block >= 0) blockContents(block, ctx.t, ctx, style, layer);
    else dimension(raw, type == "ARC_DIMENSION", ctx.t, ctx, style, layer);
  } else if (type == "SHAPE") {
    lines.clear();
    if (m_db.shapes && ShapeEntityStrokes(*m_db.shapes, raw, &lines)) loops(lines, t, false, style);
  } else if (type == "HELIX") {
    int degree = 3;
    std::vector<Vec3> control;
    std::vector<double> knots;
    if (!HelixSpline(raw, &degree, &control, &knots)) return;
    if (AppendSplinePoints(degree, control, knots, std::vector<double>(), 16, &lines[0]))
      loops(lines, t, false, style);
  } else if (derived && !derived->proxy.empty()) {
    DrawProxyGraphics(derived->proxy, m_db, t, style, m_sink);
  }
}

DrawStyle EntityWalker::mlineElementStyle(const MlineElement& element, const DrawStyle& own,
                                          int32_t layer) const {
  const Layer* l = size_t(layer) < m_db.layers.size() ? &m_db.layers[size_t(layer)] : nullptr;
  DrawStyle style = own;
  SetMlineColor(element.color, element.trueColor, l, &style);
  if (element.linetype.empty() || element.linetype == "BYLAYER") {
    style.linetype = l && l->linetypeIndex >= 0 ? &m_db.linetypes[size_t(l->linetypeIndex)] : nullptr;
  } else if (element.linetype != "BYBLOCK") {
    auto found = m_db.linetypeIndex.find(element.linetype);
    style.linetype = found != m_db.linetypeIndex.end() && found->second >= 0 &&
                             size_t(found->second) < m_db.linetypes.size()
                         ? &m_db.linetypes[size_t(found->second)]
                         : nullptr;
  }
  if (style.linetype && style.linetype->dashes.empty()) style.linetype = nullptr;
  return style;
}

void EntityWalker::mline(const Entity& e, const Context& ctx, const DrawStyle& style, int32_t layer) {
  const MlineStyle* mlineStyle = e.extra->derived ? e.extra->derived->mlineStyle.get() : nullptr;
  MlineShape shape;
  if (!ReadMlineShape(e.extra->raw, e.extrusion(), mlineStyle, m_sink.chordTolerance(), &shape)) return;
  // Its vertices are in world coordinates, whatever its extrusion.
  const Transform& t = ctx.t;
  if (!shape.fill.empty()) {
    for (Vec3& p : shape.fill) p = t.apply(p);
    DrawStyle fill = style;
    const Layer* l = size_t(layer) < m_db.layers.size() ? &m_db.layers[size_t(layer)] : nullptr;
    SetMlineColor(mlineStyle->fillColor, mlineStyle->fillTrueColor, l, &fill);
    m_sink.fill(shape.fill.data(), shape.fillCounts.data(), int(shape.fillCounts.size()), fill);
  }
  for (MlinePiece& piece : shape.pieces) {
    for (Vec3& p : piece.points) p = t.apply(p);
    DrawStyle look = style;
    if (piece.element >= 0) look = mlineElementStyle(mlineStyle->elements[size_t(piece.element)], style, layer);
    m_sink.polyline(piece.points.data(), piece.points.size(), piece.closed, look);
  }
}

void EntityWalker::tolerance(const Entity& e, const Transform& t, const DrawStyle& style) {
  ToleranceShape shape;
  Vec3 at, xdir;
  if (!ToleranceEntity(m_db, e.extra->raw, &shape, &at, &xdir)) return;
  // The frame's own axes: along its direction and up in its plane.
  Vec3 ydir = e.extrusion().normalized().cross(xdir).normalized();
  Transform frame;
  for (int row = 0; row < 3; ++row) {
    frame.m[row][0] = row == 0 ? xdir.x : row == 1 ? xdir.y : xdir.z;
    frame.m[row][1] = row == 0 ? ydir.x : row == 1 ? ydir.y : ydir.z;
  }
  frame.t = at;
  Transform place = t * frame;
  loops(shape.lines, place, false, style);
  for (const ToleranceText& text : shape.texts) {
    TextRun run;
    run.text = text.text;
    run.advance = TextAdvance(text.text);
    run.origin = place.apply(text.at);
    run.xAxis = place.applyVector(Vec3(text.height, 0, 0));
    run.yAxis = place.applyVector(Vec3(0, text.height, 0));
    m_sink.text(run, style);
  }
}

void EntityWalker::arrowhead(const DimensionArrow& arrow, const Transform& t, const Context& ctx,
                             const DrawStyle& style, int32_t layer) {
  const Vec3 &tip = arrow.tip, &along = arrow.direction;
  double size = arrow.style.size;
  if (arrow.style.kind == ArrowStyle::kNone || !(size > 0) || !(along.length() > 0)) return;
  if (arrow.style.block >= 0) {
    // Arrowhead blocks are drawn for a size of 1, pointing along x.
    Transform place = t * Transform::translation(tip) * Transform::rotationZ(std::atan2(along.y, along.x)) *
                      Transform::scaling(size, size, size) *
                      Transform::translation(m_db.blocks[size_t(arrow.style.block)].base * -1.0);
    blockContents(arrow.style.block, place, ctx, style, layer);
    return;
  }
  // A closed filled arrowhead is a third as wide as it is long.
  Vec3 side(-along.y, along.x, 0);
  if (arrow.style.kind == ArrowStyle::kTick) {
    Vec3 tick[2] = {t.apply(tip - (along + side) * (size / 2)), t.apply(tip + (along + side) * (size / 2))};
    m_sink.polyline(tick, 2, false, style);
    return;
  }
  Vec3 head[3] = {t.apply(tip), t.apply(tip - along * size + side * (size / 6)),
                  t.apply(tip - along * size - side * (size / 6))};
  int count = 3;
  m_sink.fill(head, &count, 1, style);
}

void EntityWalker::dimension(const RawGroups& raw, bool arc, const Transform& t, const Context& ctx,
                             const DrawStyle& style, int32_t layer) {
  DimensionShape shape;
  if (!ReadDimensionShape(raw, arc, m_db, &shape)) return;
  DrawEdgeCurves(shape.lines, t, style, m_sink);
  for (const DimensionArrow& arrow : shape.arrows) arrowhead(arrow, t, ctx, style, layer);
  if (shape.text.empty()) return;
  const uint32_t kMiddleCentre = 5;
  placedMText(shape.text, shape.textAt, shape.textDirection, shape.textHeight, 0, kMiddleCentre, t, style);
}

void EntityWalker::image(const Entity& e, const Transform& t, const DrawStyle& style) {
  ImagePlacement placement;
  if (!ReadImagePlacement(e.extra->raw, &placement)) return;
  ImageRun& run = placement.run;
  const DerivedGraphics* derived = e.extra->derived.get();
  if (placement.shown && derived && !derived->imagePath.empty() && m_options.images) {
    std::shared_ptr<const RasterImage> picture =
        m_options.images->find(derived->imagePath, derived->imageFolder);
    if (picture) {
      ImageRun placed = run;
      placed.image = picture.get();
      placed.origin = t.apply(run.origin);
      placed.u = t.applyVector(run.u);
      placed.v = t.applyVector(run.v);
      m_sink.image(placed, style);
    }
  }
  // The frame, over the picture or for a picture that is missing.
  std::vector<std::vector<Vec3>> frame(1, ImageOutline(run));
  loops(frame, t, true, style);
}

void EntityWalker::multileader(const Entity& e, const Transform& t, const Context& ctx,
                               const DrawStyle& style, int32_t layer) {
  MLeaderShape shape;
  if (!ReadMLeader(e.extra->raw, &shape)) return;
  if (shape.blockRecord != 0) multileaderBlock(shape, t, ctx, style, layer);
  for (const std::vector<Vec3>& line : shape.lines) {
    size_t n = line.size();
    if (shape.spline && n > 2) {
      Vec3 start = line[1] - line[0], end = line[n - 1] - line[n - 2];
      curveThrough(line, &start, &end, t);
    } else {
      m_scratch = line;
    }
    for (Vec3& p : m_scratch) p = t.apply(p);
    m_sink.polyline(m_scratch.data(), m_scratch.size(), false, style);
    ArrowStyle arrow;
    arrow.size = shape.arrowSize;
    arrowhead({line[0], (line[0] - line[1]).normalized(), arrow}, t, ctx, style, layer);
  }
  loops(shape.landings, t, false, style);
  if (shape.text.empty()) return;
  const uint32_t kTopLeft = 1;
  placedMText(shape.text, shape.textAt, shape.textDirection, shape.textHeight, 0, kTopLeft, t, style);
}

void EntityWalker::multileaderBlock(const MLeaderShape& shape, const Transform& t, const Context& ctx,
                                    const DrawStyle& style, int32_t layer) {
  int32_t block = -1;
  for (size_t i = 0; i < m_db.blocks.size() && block < 0; ++i)
    if (m_db.blocks[i].recordHandle == shape.blockRecord) block = int32_t(i);
  if (block < 0) return;
  const Block& b = m_db.blocks[size_t(block)];
  const Vec3& s = shape.blockScale;
  Transform place = t * Transform::translation(shape.blockAt) * Transform::ocs(shape.blockNormal) *
                    Transform::rotationZ(shape.blockRotation) *
                    Transform::scaling(s.x == 0 ? 1 : s.x, s.y == 0 ? 1 : s.y, s.z == 0 ? 1 : s.z) *
                    Transform::translation(b.base * -1.0);
  blockContents(block, place, ctx, style, layer);
  // Each attribute's text, where its definition in the block stands.
  for (const MLeaderAttribute& attribute : shape.attributes) {
    for (const Entity& definition : b.entities) {
      if (definition.handle != attribute.definition || definition.kind != EntityKind::AttDef) continue;
      Entity text;
      text.kind = EntityKind::Attrib;
      text.pts = definition.pts;
      text.nums = definition.nums;
      text.flags = definition.flags & 0xFFF;
      text.text = attribute.text;
      textEntity(text, OcsTransform(place, definition), style);
      break;
    }
  }
}

void EntityWalker::loops(const std::vector<std::vector<Vec3>>& lines, const Transform& t, bool closed,
                         const DrawStyle& style) {
  for (const std::vector<Vec3>& line : lines) {
    m_scratch.resize(line.size());
    for (size_t i = 0; i < line.size(); ++i) m_scratch[i] = t.apply(line[i]);
    if (m_scratch.size() >= 2) m_sink.polyline(m_scratch.data(), m_scratch.size(), closed, style);
  }
}

void EntityWalker::insert(const Entity& e, const Context& ctx, const DrawStyle& style,
                          int32_t layer) {
  int32_t block = m_db.findBlock(e.text);
  if (block >= 0 && e.pts.size() >= 1 && e.nums.size() >= 8) {
    const Block& b = m_db.blocks[size_t(block)];
    // A dynamic block's entities of the visibility states the insert does
    // not show.
    const std::vector<uint64_t>* hidden =
        e.extra && e.extra->derived && !e.extra->derived->hiddenHandles.empty() ? &e.extra->derived->hiddenHandles
                                                                                : nullptr;
    double sx = e.nums[0] == 0 ? 1 : e.nums[0];
    double sy = e.nums[1] == 0 ? 1 : e.nums[1];
    double sz = e.nums[2] == 0 ? 1 : e.nums[2];
    int cols = ClampedInt(e.nums[4], 1, 1000);
    int rows = ClampedInt(e.nums[5], 1, 1000);
    if (cols * rows > 10000) cols = rows = 1;
    Transform base = OcsTransform(ctx.t, e) * Transform::translation(e.pts[0]) *
                     Transform::rotationZ(Radians(e.nums[3]));
    Transform local = Transform::scaling(sx, sy, sz) * Transform::translation(b.base * -1.0);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) {
        Transform cell = base * Transform::translation(Vec3(c * e.nums[6], r * e.nums[7], 0)) * local;
        blockContents(block, cell, ctx, style, layer, hidden);
      }
  }
  if (e.extra)
    for (const Entity& attrib : e.extra->children) walkEntity(attrib, ctx);
}

void EntityWalker::table(const Entity& e, const Context& ctx, const DrawStyle& style,
                         int32_t layer) {
  // The table's block holds its picture with the rows along x, placed as
  // a block reference at the insertion point along the table's direction;
  // without one the table is drawn from its cells.
  if (e.pts.empty()) return;
  Transform place = OcsTransform(ctx.t, e) * Transform::translation(e.pts[0]) *
                    Transform::rotationZ(TableRotation(e));
  int32_t block = m_db.findBlock(e.text);
  // Without its name, the table's block by the handle of its block record.
  uint64_t record = e.text.empty() && e.extra ? RawHandle(e.extra->raw, 343) : 0;
  for (size_t i = 0; block < 0 && record != 0 && i < m_db.blocks.size(); ++i)
    if (m_db.blocks[i].recordHandle == record) block = int32_t(i);
  if (block >= 0) {
    blockContents(block, place * Transform::translation(m_db.blocks[size_t(block)].base * -1.0), ctx,
                  style, layer);
    return;
  }
  TableShape shape;
  if (!ReadTableShape(e, m_db, &shape)) return;
  for (size_t i = 0; i + 1 < shape.borders.size(); i += 2) {
    Vec3 line[2] = {place.apply(shape.borders[i]), place.apply(shape.borders[i + 1])};
    m_sink.polyline(line, 2, false, style);
  }
  for (const TableCellText& cell : shape.texts)
    placedMText(cell.text, cell.at, Vec3(1, 0, 0), cell.height, cell.width, uint32_t(cell.attachment), place,
                style);
}

void EntityWalker::placedMText(const std::string& text, const Vec3& at, const Vec3& direction, double height,
                               double width, uint32_t attachment, const Transform& t, const DrawStyle& style) {
  Entity mtext;
  mtext.kind = EntityKind::MText;
  mtext.pts = {at, direction};
  mtext.nums = {height, width, 0, 1};
  mtext.flags = attachment;
  mtext.text = text;
  mtextEntity(mtext, t, style);
}

void EntityWalker::blockContents(int32_t block, const Transform& t, const Context& ctx,
                                 const DrawStyle& style, int32_t layer,
                                 const std::vector<uint64_t>* hidden) {
  if (ctx.depth >= kMaxDepth) return;
  if (std::find(m_blockStack.begin(), m_blockStack.end(), block) != m_blockStack.end()) return;
  Context inner;
  inner.t = t;
  inner.blockLayer = layer;
  inner.blockColor = style.aci;
  inner.blockTrueColor = style.trueColor;
  inner.blockLineweight = style.lineweight;
  inner.blockLinetype = style.linetype;
  inner.depth = ctx.depth + 1;
  m_blockStack.push_back(block);
  for (const Entity& child : m_db.blocks[size_t(block)].entities)
    if (!hidden || !std::binary_search(hidden->begin(), hidden->end(), child.handle)) walkEntity(child, inner);
  m_blockStack.pop_back();
}

void EntityWalker::textEntity(const Entity& e, const Transform& t, const DrawStyle& style) {
  const std::string& text = e.kind == EntityKind::AttDef && e.extra ? e.extra->tag : e.text;
  if (text.empty() || e.pts.size() < 2) return;
  TextRun run;
  run.text = text;
  run.advance = TextAdvance(text);
  TextPlacement place;
  if (!PlaceText(e, run.advance, &place)) return;
  Vec3 up(-place.direction.y, place.direction.x, 0);
  run.origin = t.apply(place.anchor);
  // Generation flags: 2 writes the text backwards, 4 upside down.
  int generation = e.extra ? RawInteger(e.extra->raw, 71, 0) : 0;
  double backwards = (generation & 2) ? -1 : 1, upsideDown = (generation & 4) ? -1 : 1;
  run.xAxis = t.applyVector(place.direction * (place.height * place.widthFactor * backwards));
  run.yAxis = t.applyVector(up * (place.height * upsideDown));
  run.halign = place.halign;
  run.valign = place.valign;
  m_sink.text(run, style);
}

void EntityWalker::mtextEntity(const Entity& e, const Transform& t, const DrawStyle& style) {
  if (e.text.empty() || e.pts.size() < 2) return;
  MTextFormat format;
  format.height = e.num(0, 1);
  format.referenceWidth = e.num(1);
  format.lineSpacing = e.num(3, 1);
  format.attachment = int(e.flags);
  format.widthFactor = styleWidthFactor(e);
  if (!(format.height > 0) || !std::isfinite(format.height)) return;
  if (e.extra) ReadMTextColumns(e.extra->raw, &format);
  Vec3 xdir = e.pts[1].length() > 1e-12 ? e.pts[1].normalized() : Vec3(1, 0, 0);
  Vec3 ydir = e.extrusion().normalized().cross(xdir).normalized();
  for (const MTextLine& line : LayoutMText(e.text, format)) {
    Vec3 start = e.pts[0] + xdir * line.x + ydir * line.y;
    for (const MTextSpan& span : line.spans) {
      if (span.end <= span.begin) continue;
      const MTextStyle& look = span.style;
      double height = format.height * look.height, width = format.widthFactor * look.width;
      Vec3 spanStart = start + xdir * (span.x * format.height * format.widthFactor);
      TextRun run;
      run.bold = look.bold;
      run.italic = look.italic;
      run.xAxis = t.applyVector(xdir * (height * width));
      // A slant leans the characters' up along the baseline.
      double lean = std::tan(Radians(look.oblique));
      run.yAxis = t.applyVector((ydir + xdir * lean) * height);
      DrawStyle coloured = style;
      if (look.trueColor >= 0) {
        coloured.trueColor = look.trueColor;
      } else if (look.aci >= 1 && look.aci <= 255) {
        coloured.aci = int16_t(look.aci);
        coloured.trueColor = -1;
      }
      // Places in the span's text heights: x along the baseline, y up.
      auto at = [&](double x, double y) { return spanStart + xdir * (x * height * width) + ydir * (y * height); };
      if (span.stack.kind) {
        MTextStackPlaces places = PlaceStack(span.stack);
        for (int part = 0; part < 2; ++part) {
          run.text = part == 0 ? span.stack.upper : span.stack.lower;
          run.advance = TextAdvance(run.text);
          run.origin = t.apply(part == 0 ? at(places.upperX, places.upperY) : at(places.lowerX, places.lowerY));
          if (!run.text.empty()) m_sink.text(run, coloured);
        }
        if (places.fromX == places.toX && places.fromY == places.toY) continue;
        Vec3 bar[2] = {t.apply(at(places.fromX, places.fromY)), t.apply(at(places.toX, places.toY))};
        m_sink.polyline(bar, 2, false, coloured);
        continue;
      }
      for (uint8_t mark : {kUnderline, kOverline, kStrikeThrough}) {
        if (!(look.lines & mark)) continue;
        double y = mark == kUnderline ? kUnderlineAt : mark == kOverline ? kOverlineAt : kStrikeThroughAt;
        Vec3 along[2] = {t.apply(at(0, y)), t.apply(at(span.advance / (look.height * look.width), y))};
        m_sink.polyline(along, 2, false, coloured);
      }
      std::string text = line.text.substr(span.begin, span.end - span.begin);
      if (look.tracking == 1) {
        run.text = text;
        run.advance = span.advance / (look.height * look.width);
        run.origin = t.apply(spanStart);
        m_sink.text(run, coloured);
        continue;
      }
      // Tracked characters keep their width and stand further apart.
      double x = 0;
      for (size_t pos = 0; pos < text.size();) {
        size_t begin = pos;
        double advance = CharAdvance(NextDisplayChar(text, &pos));
        run.text = text.substr(begin, pos - begin);
        run.advance = advance;
        run.origin = t.apply(at(x, 0));
        m_sink.text(run, coloured);
        x += advance * look.tracking;
      }
    }
  }
}

double EntityWalker::styleWidthFactor(const Entity& e) {
  if (!m_stylesRead) {
    m_stylesRead = true;
    for (const TextStyleRecord& record : TextStyleRecords(m_db)) {
      double width = record.widthFactor;
      if (!record.name.empty() && width > 0.01 && width <= 100) m_styleWidths[UpperName(record.name)] = width;
    }
  }
  std::string style = e.extra && !e.extra->styleName.empty() ? e.extra->styleName : "STANDARD";
  auto it = m_styleWidths.find(UpperName(style));
  return it == m_styleWidths.end() ? 1.0 : it->second;
}

void EntityWalker::hatch(const Entity& e, const Transform& t, const DrawStyle& style) {
  if (!e.extra || e.extra->loops.empty()) return;
  std::vector<Vec3> pts;
  std::vector<int> counts;
  for (const std::vector<Vec3>& loop : e.extra->loops) {
    if (loop.size() < 2) continue;
    for (const Vec3& p : loop) pts.push_back(t.apply(p));
    counts.push_back(int(loop.size()));
  }
  if (counts.empty()) return;
  if (e.flags & 1) {
    m_sink.fill(pts.data(), counts.data(), int(counts.size()), style);
    return;
  }
  // Pattern lines inside the boundary; the boundary itself when the
  // pattern is missing or too dense, and for extents.
  std::vector<PatternLine> lines = m_sink.wantsArcs() ? std::vector<PatternLine>()
                                                     : HatchPatternLines(e.extra->raw);
  std::vector<Vec3> segments;
  if (!lines.empty() && PatternSegments(lines, e.extra->loops, 20000, &segments)) {
    for (size_t i = 0; i + 1 < segments.size(); i += 2) {
      Vec3 seg[2] = {t.apply(segments[i]), t.apply(segments[i + 1])};
      m_sink.polyline(seg, 2, false, style);
    }
  } else {
    size_t at = 0;
    for (int c : counts) {
      m_sink.polyline(pts.data() + at, size_t(c), true, style);
      at += size_t(c);
    }
  }
}

void EntityWalker::viewport(const Entity& e, const Context& ctx, const DrawStyle& style) {
  // Status 0 is off; the layout's own viewport (id 1) frames the sheet.
  if (e.pts.size() < 4 || e.nums.size() < 6 || m_inViewport) return;
  double width = e.nums[0], height = e.nums[1], viewHeight = e.nums[2];
  if (e.nums[4] == 0 || e.nums[5] == 1 || !(width > 0) || !(height > 0)) return;
  const Vec3& c = e.pts[0];
  Vec3 corners[4] = {Vec3(c.x - width / 2, c.y - height / 2, 0), Vec3(c.x + width / 2, c.y - height / 2, 0),
                     Vec3(c.x + width / 2, c.y + height / 2, 0), Vec3(c.x - width / 2, c.y + height / 2, 0)};
  for (Vec3& corner : corners) corner = ctx.t.apply(corner);
  m_sink.polyline(corners, 4, true, style);
  if (m_db.modelBlock < 0 || !(viewHeight > 0)) return;
  // Model space seen through the viewport: its view direction and twist,
  // its view centre at the viewport's centre, view height onto its height.
  double scale = height / viewHeight;
  Transform toPaper = ctx.t * Transform::translation(c) *
                      Transform::scaling(scale, scale, scale) *
                      Transform::translation(Vec3(-e.pts[1].x, -e.pts[1].y, 0)) *
                      Transform::rotationZ(-Radians(e.nums[3])) * ViewRotationFor(e.pts[2]) *
                      Transform::translation(e.pts[3] * -1.0);
  m_sink.pushClip(corners, 4);
  m_inViewport = true;
  m_viewportFrozen = e.extra && !e.extra->frozenLayers.empty() ? &e.extra->frozenLayers : nullptr;
  Context inner;
  inner.t = toPaper;
  inner.depth = 1;
  const std::vector<Entity>& model = m_db.blocks[size_t(m_db.modelBlock)].entities;
  for (size_t i = 0; i < model.size(); ++i) {
    if ((i & 63) == 0 && m_sink.cancelled()) break;
    if (m_modelBoxes && i < m_modelBoxes->size() &&
        !m_sink.wantsBox((*m_modelBoxes)[i].transformed(toPaper)))
      continue;
    walkEntity(model[i], inner);
  }
  m_inViewport = false;
  m_viewportFrozen = nullptr;
  m_sink.popClip();
}

void EntityWalker::quad(const Entity& e, const Transform& t, const DrawStyle& style) {
  if (e.pts.size() < 4) return;
  // Corners are stored 1, 2, 3, 4 but go round as 1, 2, 4, 3.
  Vec3 p[4] = {t.apply(e.pts[0]), t.apply(e.pts[1]), t.apply(e.pts[3]), t.apply(e.pts[2])};
  int count = 4;
  m_sink.fill(p, &count, 1, style);
  m_sink.polyline(p, 4, true, style);
}

}  // namespace zr
