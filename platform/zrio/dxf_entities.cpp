// Entity parsing: one DXF entity's groups into an Entity.
#include "platform/zrio/win32.h"
#include <string.h>

#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/spline_points.h"

namespace zr {

namespace {

// Points a knot span of a spline edge of a hatch boundary, as many as a
// SPLINE is drawn with.
const int kSplinePointsPerSpan = 16;

// Groups every entity may carry, handled the same for all kinds.
bool ReadCommonGroup(const Group& g, Database& db, Entity& e, std::string* lastLayerName,
                     int32_t* lastLayer) {
  switch (g.code) {
    case 5:
      e.handle = g.asHandle();
      return true;
    case 8: {
      std::string name = DecodeText(g.view, db);
      if (name != *lastLayerName) {
        *lastLayerName = name;
        *lastLayer = db.addLayer(name);
      }
      e.layer = *lastLayer;
      return true;
    }
    case 62:
      e.color = int16_t(g.integer);
      return true;
    case 6:
      e.linetype = db.linetypeOf(DecodeText(g.view, db));
      return true;
    case 370:
      e.lineweight = int16_t(g.integer);
      return true;
    case 420:
      e.trueColor = int32_t(g.integer & 0xFFFFFF);
      return true;
    case 67:
      e.paperSpace = g.integer != 0;
      return true;
    case 60:  // kept as read, so that a save writes it back
      if (g.integer & 1) e.more().invisible = true;
      return false;
    case 210:
      e.more().extrusion.x = g.number;
      return true;
    case 220:
      e.more().extrusion.y = g.number;
      return true;
    case 230:
      e.more().extrusion.z = g.number;
      return true;
    case 100:  // subclass markers are written again from the kind
    case 330:  // owner handles are rebuilt by the writer
      return true;
  }
  return false;
}

void SetCoord(std::vector<Vec3>& pts, size_t index, int axis, double value) {
  if (pts.size() <= index) pts.resize(index + 1);
  if (axis == 0) pts[index].x = value;
  else if (axis == 1) pts[index].y = value;
  else pts[index].z = value;
}

// Point groups 10..18 (x), 20..28 (y), 30..38 (z): index = code % 10.
bool ReadPointGroup(const Group& g, std::vector<Vec3>& pts, int firstCode, int count) {
  int base = g.code % 10;
  int axis = g.code / 10 - 1;
  if (g.code < 10 || g.code > 38 || axis > 2) return false;
  if (base < firstCode || base >= firstCode + count) return false;
  SetCoord(pts, size_t(base - firstCode), axis, g.number);
  return true;
}

EntityKind KindOf(std::string_view type) {
  static const struct { const char* name; EntityKind kind; } kKinds[] = {
      {"LINE", EntityKind::Line},         {"POINT", EntityKind::Point},
      {"CIRCLE", EntityKind::Circle},     {"ARC", EntityKind::Arc},
      {"ELLIPSE", EntityKind::Ellipse},   {"LWPOLYLINE", EntityKind::LwPolyline},
      {"POLYLINE", EntityKind::Polyline}, {"SPLINE", EntityKind::Spline},
      {"TEXT", EntityKind::Text},         {"MTEXT", EntityKind::MText},
      {"ATTRIB", EntityKind::Attrib},     {"ATTDEF", EntityKind::AttDef},
      {"INSERT", EntityKind::Insert},     {"SOLID", EntityKind::Solid},
      {"TRACE", EntityKind::Trace},       {"3DFACE", EntityKind::Face3D},
      {"HATCH", EntityKind::Hatch},       {"DIMENSION", EntityKind::Dimension},
      {"LEADER", EntityKind::Leader},     {"RAY", EntityKind::Ray},
      {"XLINE", EntityKind::XLine},       {"VIEWPORT", EntityKind::Viewport},
      {"ACAD_TABLE", EntityKind::Table},
  };
  for (const auto& k : kKinds)
    if (type == k.name) return k.kind;
  return EntityKind::Unknown;
}

class EntityParser {
 public:
  EntityParser(Database& db, Entity& e) : m_db(db), e_(e) {}

  void parse(const std::vector<Group>& groups) {
    prepare();
    size_t i = 0;
    while (i < groups.size()) {
      const Group& g = groups[i];
      // Reactor and extension dictionary groups are kept whole, their
      // handles included.
      if (g.code == 102) m_inBrace = !g.view.empty() && g.view[0] == '{';
      if (g.code == 100) m_inTableData = e_.kind == EntityKind::Table && g.is(100, "AcDbTable");
      if (g.code == 100) m_inSubclasses = true;
      if (g.code == 100) m_inDefinitionPart = g.is(100, "AcDbAttributeDefinition");
      if (e_.kind == EntityKind::Hatch && g.code == 91) {
        i = parseHatchPaths(groups, i + 1);
        continue;
      }
      if (KeptVerbatim(e_.kind)) {
        // Written back as read: keep the subclass markers and everything
        // but the groups the writer makes anew.
        // A table's own data repeats codes such as 62 for its cells. A 330
        // after the subclass markers begin is a reference of the kind's own
        // (a multileader's attribute definitions), not the owner.
        if (g.code == 100 || g.code == 102 || m_inBrace || (g.code == 330 && m_inSubclasses)) {
          keep(g);
        } else if (m_inTableData || !ReadCommonGroup(g, m_db, e_, &m_lastLayerName, &m_lastLayer)) {
          readOwn(g);
          keep(g);
        }
      } else if (g.code >= 1000 || g.code == 102 || m_inBrace || m_inEmbedded) {
        keep(g);  // extended data, reactor and dictionary groups
      } else if (g.code == 101) {
        m_inEmbedded = true;
        keep(g);
      } else if (!ReadCommonGroup(g, m_db, e_, &m_lastLayerName, &m_lastLayer) && !readOwn(g)) {
        keep(g);
      }
      ++i;
    }
    finish();
  }

 private:
  void keep(const Group& g) { e_.more().raw.push_back({g.code, g.text()}); }

  void prepare() {
    switch (e_.kind) {
      case EntityKind::Line: e_.pts.resize(2); break;
      case EntityKind::Point: e_.pts.resize(1); break;
      case EntityKind::Circle: e_.pts.resize(1); e_.nums.assign(1, 0); break;
      case EntityKind::Arc: e_.pts.resize(1); e_.nums.assign(3, 0); break;
      case EntityKind::Ellipse:
        e_.pts.resize(2);
        e_.nums = {1, 0, 2 * kPi};
        break;
      case EntityKind::Text: case EntityKind::Attrib: case EntityKind::AttDef:
        e_.pts.resize(2);
        e_.nums = {1, 0, 1};
        break;
      case EntityKind::MText:
        e_.pts = {Vec3(), Vec3(1, 0, 0)};
        e_.nums = {1, 0, 0, 1};
        e_.flags = 1;
        break;
      case EntityKind::Insert:
        e_.pts.resize(1);
        e_.nums = {1, 1, 1, 0, 1, 1, 0, 0};
        break;
      case EntityKind::Solid: case EntityKind::Trace: case EntityKind::Face3D:
        e_.pts.resize(4);
        break;
      case EntityKind::Ray: case EntityKind::XLine: e_.pts.resize(2); break;
      case EntityKind::Dimension: e_.pts.resize(1); break;
      case EntityKind::Table: e_.pts = {Vec3(), Vec3(1, 0, 0)}; break;
      case EntityKind::Viewport:
        e_.pts = {Vec3(), Vec3(), Vec3(0, 0, 1), Vec3()};
        e_.nums = {0, 0, 1, 0, 0, 0};
        break;
      default: break;
    }
  }

  bool readOwn(const Group& g) {
    switch (e_.kind) {
      case EntityKind::Line: case EntityKind::Ray: case EntityKind::XLine:
        return ReadPointGroup(g, e_.pts, 0, 2);
      case EntityKind::Point:
        return ReadPointGroup(g, e_.pts, 0, 1);
      case EntityKind::Circle: case EntityKind::Arc:
        if (ReadPointGroup(g, e_.pts, 0, 1)) return true;
        if (g.code == 40) return (e_.nums[0] = g.number, true);
        if (e_.kind == EntityKind::Arc && g.code == 50) return (e_.nums[1] = g.number, true);
        if (e_.kind == EntityKind::Arc && g.code == 51) return (e_.nums[2] = g.number, true);
        return false;
      case EntityKind::Ellipse:
        if (ReadPointGroup(g, e_.pts, 0, 2)) return true;
        if (g.code >= 40 && g.code <= 42) return (e_.nums[size_t(g.code - 40)] = g.number, true);
        return false;
      case EntityKind::LwPolyline: return readLwPolyline(g);
      case EntityKind::Polyline: return readPolylineHeader(g);
      case EntityKind::Spline: return readSpline(g);
      case EntityKind::Text: case EntityKind::Attrib: case EntityKind::AttDef:
        return readText(g);
      case EntityKind::MText: return readMText(g);
      case EntityKind::Insert: return readInsert(g);
      case EntityKind::Solid: case EntityKind::Trace: case EntityKind::Face3D:
        return ReadPointGroup(g, e_.pts, 0, 4);
      case EntityKind::Hatch:
        if (g.code == 70) return (e_.flags = uint32_t(g.integer & 1), true);
        if (g.code == 30) return (m_elevation = g.number, true);
        return false;
      case EntityKind::Dimension:
        if (g.code == 2) return (e_.text = DecodeText(g.view, m_db), true);
        return false;
      case EntityKind::Viewport: return readViewport(g);
      case EntityKind::Table: return readTable(g);
      case EntityKind::Leader:
        if (g.code == 10) { e_.pts.push_back(Vec3(g.number, 0, 0)); return true; }
        if ((g.code == 20 || g.code == 30) && !e_.pts.empty()) {
          (g.code == 20 ? e_.pts.back().y : e_.pts.back().z) = g.number;
          return true;
        }
        return false;
      default:
        return false;
    }
  }

  bool readViewport(const Group& g) {
    if (ReadPointGroup(g, e_.pts, 0, 1)) return true;
    if (g.code == 12 || g.code == 22) return (SetCoord(e_.pts, 1, g.code / 10 - 1, g.number), true);
    if (g.code == 16 || g.code == 26 || g.code == 36)
      return (SetCoord(e_.pts, 2, g.code / 10 - 1, g.number), true);
    if (g.code == 17 || g.code == 27 || g.code == 37)
      return (SetCoord(e_.pts, 3, g.code / 10 - 1, g.number), true);
    switch (g.code) {
      case 40: e_.nums[0] = g.number; return true;
      case 41: e_.nums[1] = g.number; return true;
      case 45: e_.nums[2] = g.number; return true;
      case 51: e_.nums[3] = g.number; return true;
      case 68: e_.nums[4] = double(g.integer); return true;
      case 69: e_.nums[5] = double(g.integer); return true;
    }
    return false;
  }

  // The block reference part names the block and its insertion point; the
  // table part gives the direction of its rows.
  bool readTable(const Group& g) {
    if (m_inTableData) {
      if (g.code != 11 && g.code != 21 && g.code != 31) return false;
      SetCoord(e_.pts, 1, g.code / 10 - 1, g.number);
      return true;
    }
    if (g.code == 2) return (e_.text = DecodeText(g.view, m_db), true);
    return ReadPointGroup(g, e_.pts, 0, 1);
  }

  bool readLwPolyline(const Group& g) {
    switch (g.code) {
      case 10:
        e_.pts.push_back(Vec3(g.number, 0, m_elevation));
        e_.nums.push_back(0);
        if (m_constWidth != 0) {  // the constant width comes before the vertices
          e_.more().startWidths.resize(e_.pts.size(), m_constWidth);
          e_.more().endWidths.resize(e_.pts.size(), m_constWidth);
        }
        return true;
      case 20:
        if (!e_.pts.empty()) e_.pts.back().y = g.number;
        return true;
      case 38:
        m_elevation = g.number;
        for (Vec3& p : e_.pts) p.z = g.number;
        return true;
      case 42:
        if (!e_.nums.empty()) e_.nums.back() = g.number;
        return true;
      case 40: case 41: {
        if (e_.pts.empty()) return false;
        EntityExtra& x = e_.more();
        x.startWidths.resize(e_.pts.size(), m_constWidth);
        x.endWidths.resize(e_.pts.size(), m_constWidth);
        (g.code == 40 ? x.startWidths : x.endWidths).back() = g.number;
        return true;
      }
      case 43:
        m_constWidth = g.number;
        if (g.number != 0) {
          e_.more().startWidths.assign(e_.pts.size(), g.number);
          e_.more().endWidths.assign(e_.pts.size(), g.number);
        }
        return true;
      case 70:
        e_.flags = uint32_t(g.integer);
        return true;
      case 90: case 91:
        return true;  // the count is implied by the vertices
    }
    return false;
  }

  bool readPolylineHeader(const Group& g) {
    switch (g.code) {
      case 10: case 20: return true;  // always zero
      case 30: m_elevation = g.number; return true;
      case 66: return true;
      case 70: e_.flags = uint32_t(g.integer); return true;
      case 71: e_.more().meshM = int32_t(g.integer); return true;
      case 72: e_.more().meshN = int32_t(g.integer); return true;
    }
    return false;
  }

  bool readSpline(const Group& g) {
    switch (g.code) {
      case 70: e_.flags = (e_.flags & ~0xFFu) | uint32_t(g.integer & 0xFF); return true;
      case 71: e_.flags = (e_.flags & 0xFFu) | (uint32_t(g.integer & 0xFF) << 8); return true;
      case 72: case 73: case 74: return true;
      case 40: e_.nums.push_back(g.number); return true;
      case 41: e_.more().startWidths.push_back(g.number); return true;  // weights
      case 10: e_.pts.push_back(Vec3(g.number, 0, 0)); return true;
      case 20: if (!e_.pts.empty()) e_.pts.back().y = g.number; return true;
      case 30: if (!e_.pts.empty()) e_.pts.back().z = g.number; return true;
      case 11: e_.more().fitPoints.push_back(Vec3(g.number, 0, 0)); return true;
      case 21: if (e_.extra && !e_.extra->fitPoints.empty()) e_.extra->fitPoints.back().y = g.number; return true;
      case 31: if (e_.extra && !e_.extra->fitPoints.empty()) e_.extra->fitPoints.back().z = g.number; return true;
    }
    return false;
  }

  bool readText(const Group& g) {
    if (ReadPointGroup(g, e_.pts, 0, 2)) {
      if (g.code % 10 == 1) e_.flags |= 1u << 8;
      return true;
    }
    switch (g.code) {
      case 1: e_.text = DecodeText(g.view, m_db); return true;
      case 40: e_.nums[0] = g.number; return true;
      case 50: e_.nums[1] = g.number; return true;
      case 41: e_.nums[2] = g.number; return true;
      case 7: e_.more().styleName = DecodeText(g.view, m_db); return true;
      case 72:
        // An attribute definition's alignment is its text part's; some
        // files write a 72 of another meaning in its definition part.
        if (m_inDefinitionPart) return false;
        e_.flags = (e_.flags & ~0xFu) | uint32_t(g.integer & 0xF);
        return true;
      case 2:
        if (e_.kind == EntityKind::Text) return false;
        e_.more().tag = DecodeText(g.view, m_db);
        return true;
      case 70:
        if (e_.kind == EntityKind::Text) return false;
        e_.flags = (e_.flags & 0xFFFu) | (uint32_t(g.integer & 0xF) << 12);
        return true;
      case 73: case 74: {
        // TEXT keeps its vertical alignment in 73, ATTRIB/ATTDEF in 74.
        bool valign = (e_.kind == EntityKind::Text) == (g.code == 73);
        if (!valign) return false;
        e_.flags = (e_.flags & ~0xF0u) | (uint32_t(g.integer & 0xF) << 4);
        return true;
      }
    }
    return false;
  }

  bool readMText(const Group& g) {
    if (g.code == 10 || g.code == 20 || g.code == 30) return ReadPointGroup(g, e_.pts, 0, 1);
    if (g.code == 11 || g.code == 21 || g.code == 31) {
      SetCoord(e_.pts, 1, g.code / 10 - 1, g.number);
      m_hasDirection = true;
      return true;
    }
    switch (g.code) {
      case 3: m_mtext += g.view; return true;
      case 1: m_mtextLast += g.view; return true;
      case 40: e_.nums[0] = g.number; return true;
      case 41: e_.nums[1] = g.number; return true;
      case 50: e_.nums[2] = g.number; return true;
      case 71: e_.flags = uint32_t(g.integer); return true;
      case 7: e_.more().styleName = DecodeText(g.view, m_db); return true;
      case 44:
        // The line spacing is also kept as read, so that a save writes it back.
        e_.nums[3] = g.number;
        return false;
    }
    return false;
  }

  bool readInsert(const Group& g) {
    if (ReadPointGroup(g, e_.pts, 0, 1)) return true;
    switch (g.code) {
      case 2: e_.text = DecodeText(g.view, m_db); return true;
      case 41: case 42: case 43: e_.nums[size_t(g.code - 41)] = g.number; return true;
      case 50: e_.nums[3] = g.number; return true;
      case 70: e_.nums[4] = double(g.integer); return true;
      case 71: e_.nums[5] = double(g.integer); return true;
      case 44: e_.nums[6] = g.number; return true;
      case 45: e_.nums[7] = g.number; return true;
      case 66: return true;  // whether attributes follow is seen from the data
    }
    return false;
  }

  // Boundary paths of a HATCH, from the group after "91 count"; returns the
  // index after the last path group.
  size_t parseHatchPaths(const std::vector<Group>& gs, size_t i) {
    EntityExtra& x = e_.more();
    auto at = [&](size_t k, int code) { return k < gs.size() && gs[k].code == code; };
    while (i < gs.size() && gs[i].code == 92) {
      int type = int(gs[i].integer);
      ++i;
      std::vector<Vec3> loop;
      if (type & 2) {
        bool bulges = at(i, 72) && gs[i].integer != 0;
        while (i < gs.size() && (gs[i].code == 72 || gs[i].code == 73 || gs[i].code == 93)) ++i;
        std::vector<Vec3> verts;
        std::vector<double> bs;
        while (at(i, 10)) {
          Vec3 p(gs[i].number, at(i + 1, 20) ? gs[i + 1].number : 0, m_elevation);
          i += at(i + 1, 20) ? 2 : 1;
          double b = 0;
          if (bulges && at(i, 42)) b = gs[i++].number;
          verts.push_back(p);
          bs.push_back(b);
        }
        for (size_t k = 0; k < verts.size(); ++k) {
          loop.push_back(verts[k]);
          if (bs[k] != 0) appendBulge(loop, verts[k], verts[(k + 1) % verts.size()], bs[k]);
        }
      } else {
        int edges = at(i, 93) ? int(gs[i++].integer) : 0;
        for (int k = 0; k < edges && at(i, 72); ++k) i = parseEdge(gs, i, loop);
      }
      // Source boundary objects.
      if (at(i, 97)) {
        ++i;
        while (at(i, 330)) ++i;
      }
      if (!loop.empty()) x.loops.push_back(std::move(loop));
    }
    return i;
  }

  void appendBulge(std::vector<Vec3>& loop, const Vec3& a, const Vec3& b, double bulge) {
    Vec3 c;
    double r, sa, ea;
    if (!BulgeArc(a, b, bulge, &c, &r, &sa, &ea)) return;
    const int steps = 16;
    for (int s = 1; s < steps; ++s) {
      double t = bulge > 0 ? sa + (ea - sa) * s / steps : ea - (ea - sa) * s / steps;
      loop.push_back(Vec3(c.x + r * std::cos(t), c.y + r * std::sin(t), a.z));
    }
  }

  size_t parseEdge(const std::vector<Group>& gs, size_t i, std::vector<Vec3>& loop) {
    int type = int(gs[i++].integer);
    if (type == 4) return parseSplineEdge(gs, i, loop);
    double v[16] = {0};
    int ccw = 1;
    // Gather the edge's groups until the next edge or the end of the path.
    while (i < gs.size()) {
      int c = gs[i].code;
      if (c == 72 || c == 92 || c == 97 || c == 75 || c == 76) break;
      if (c == 10) v[0] = gs[i].number;
      else if (c == 20) v[1] = gs[i].number;
      else if (c == 11) v[2] = gs[i].number;
      else if (c == 21) v[3] = gs[i].number;
      else if (c == 40) v[4] = gs[i].number;
      else if (c == 50) v[5] = gs[i].number;
      else if (c == 51) v[6] = gs[i].number;
      else if (c == 73) ccw = int(gs[i].integer);
      ++i;
    }
    double z = m_elevation;
    if (type == 1) {
      loop.push_back(Vec3(v[0], v[1], z));
      loop.push_back(Vec3(v[2], v[3], z));
    } else if (type == 2 || type == 3) {
      Vec3 c(v[0], v[1], z);
      Vec3 major = type == 2 ? Vec3(v[4], 0, 0) : Vec3(v[2], v[3], 0);
      double ratio = type == 2 ? 1.0 : v[4];
      Vec3 minor = Vec3(-major.y, major.x, 0) * ratio;
      // The edge's angles are true angles from the major axis.
      double sa = EllipseParameterAt(v[5] * kPi / 180, ratio);
      double ea = EllipseParameterAt(v[6] * kPi / 180, ratio);
      if (!ccw) { sa = -sa; ea = -ea; }
      // Clockwise edges keep their angles negated and run backwards.
      if (ccw) NormalizeAngleRange(&sa, &ea);
      else NormalizeAngleRange(&ea, &sa);
      double sweep = ea - sa;
      const int steps = 32;
      for (int s = 0; s <= steps; ++s) {
        double t = sa + sweep * s / steps;
        loop.push_back(c + major * std::cos(t) + minor * std::sin(t));
      }
    }
    return i;
  }

  // A spline edge: degree, knots, control points with their weights, then
  // (in newer files) a count of fit points, the fit points and the end
  // tangents. A count of fit points is told from the path's count of source
  // objects that may follow the edge by what comes after it: the source
  // objects' handles. The curve is flattened as SPLINE entities are; knots
  // that make no curve leave the fit points, or else the control points.
  size_t parseSplineEdge(const std::vector<Group>& gs, size_t i, std::vector<Vec3>& loop) {
    int degree = 0;
    std::vector<Vec3> controls, fits;
    std::vector<double> knots, weights;
    while (i < gs.size()) {
      int c = gs[i].code;
      if (c == 72 || c == 92 || c == 75 || c == 76) break;
      if (c == 97 && (i + 1 >= gs.size() || gs[i + 1].code == 330)) break;
      if (c == 94) degree = int(gs[i].integer);
      else if (c == 40) knots.push_back(gs[i].number);
      else if (c == 42) weights.push_back(gs[i].number);
      else if (c == 10) controls.push_back(Vec3(gs[i].number, 0, m_elevation));
      else if (c == 20 && !controls.empty()) controls.back().y = gs[i].number;
      else if (c == 11) fits.push_back(Vec3(gs[i].number, 0, m_elevation));
      else if (c == 21 && !fits.empty()) fits.back().y = gs[i].number;
      ++i;
    }
    if (!AppendSplinePoints(degree, controls, knots, weights, kSplinePointsPerSpan, &loop)) {
      const std::vector<Vec3>& corners = fits.size() >= 2 ? fits : controls;
      loop.insert(loop.end(), corners.begin(), corners.end());
    }
    return i;
  }

  void finish() {
    if (e_.kind == EntityKind::MText) {
      // The leading chunks (group 3) come before the last one (group 1).
      e_.text = DecodeText(m_mtext + m_mtextLast, m_db);
      // Without an x direction the rotation (in the object coordinate
      // system) gives it.
      if (!m_hasDirection || e_.pts[1].length() < 1e-12) {
        double r = e_.nums[2] * kPi / 180;
        e_.pts[1] = Transform::ocs(e_.extrusion()).applyVector(Vec3(std::cos(r), std::sin(r), 0));
      }
    }
  }

  Database& m_db;
  Entity& e_;
  std::string m_lastLayerName = "0";
  int32_t m_lastLayer = 0;
  double m_elevation = 0;
  double m_constWidth = 0;
  bool m_inEmbedded = false;
  bool m_inBrace = false;
  bool m_inTableData = false;  // within the AcDbTable part of an ACAD_TABLE
  bool m_inSubclasses = false;  // a subclass marker was read
  bool m_inDefinitionPart = false;  // within the AcDbAttributeDefinition part
  bool m_hasDirection = false;
  std::string m_mtext, m_mtextLast;
};

// Collects the groups of one entity (after its "0 TYPE" group).
void CollectGroups(DxfGroupReader& r, std::vector<Group>& groups) {
  groups.clear();
  while (r.next()) {
    if (r.code() == 0) {
      r.pushBack();
      return;
    }
    groups.push_back(r.group());
  }
}

// A vertex without widths takes the polyline's default widths.
struct VertexDefaults {
  double elevation = 0, startWidth = -1, endWidth = -1;
};

void ParseVertex(const std::vector<Group>& gs, const VertexDefaults& defaults, Entity& poly,
                 bool* isFace) {
  Vec3 p;
  double bulge = 0, sw = defaults.startWidth, ew = defaults.endWidth;
  int flags = 0;
  int32_t face[4] = {0, 0, 0, 0};
  for (const Group& g : gs) {
    switch (g.code) {
      case 10: p.x = g.number; break;
      case 20: p.y = g.number; break;
      case 30: p.z = g.number; break;
      case 42: bulge = g.number; break;
      case 40: sw = g.number; break;
      case 41: ew = g.number; break;
      case 70: flags = int(g.integer); break;
      case 71: case 72: case 73: case 74: face[g.code - 71] = int32_t(g.integer); break;
    }
  }
  // A polyface face record carries flag 128 without 64.
  *isFace = (flags & 128) && !(flags & 64);
  if (*isFace) {
    std::vector<int32_t>& faces = poly.more().faces;
    faces.insert(faces.end(), face, face + 4);
    return;
  }
  poly.pts.push_back(p);
  poly.nums.push_back(bulge);
  if (sw >= 0 || ew >= 0) {
    EntityExtra& x = poly.more();
    x.startWidths.resize(poly.pts.size() - 1, 0);
    x.endWidths.resize(poly.pts.size() - 1, 0);
    x.startWidths.push_back(sw < 0 ? 0 : sw);
    x.endWidths.push_back(ew < 0 ? 0 : ew);
  }
}

uint64_t HandleOf(const std::vector<Group>& groups) {
  for (const Group& g : groups)
    if (g.code == 5) return g.asHandle();
  return 0;
}

// The handle of the index-th VERTEX record, kept so that a save writes it
// back; files without handles (R12) allocate nothing.
void NoteVertexHandle(const std::vector<Group>& groups, size_t index, Entity& e) {
  uint64_t handle = HandleOf(groups);
  if (handle == 0) return;
  std::vector<uint64_t>& handles = e.more().vertexHandles;
  if (handles.size() <= index) handles.resize(index + 1, 0);
  handles[index] = handle;
}

}  // namespace

bool ReadEntity(DxfGroupReader& r, Database& db, Entity& e) {
  static thread_local std::vector<Group> groups;
  std::string type(r.group().view);
  while (!type.empty() && type.back() == ' ') type.pop_back();
  e.kind = KindOf(type);
  if (e.kind == EntityKind::Unknown) e.more().typeName = type;
  CollectGroups(r, groups);
  if (r.failed()) return false;
  EntityParser(db, e).parse(groups);
  VertexDefaults defaults;
  if (e.kind == EntityKind::Polyline) {
    for (const Group& g : groups) {
      if (g.code == 30) defaults.elevation = g.number;
      if (g.code == 40 && g.number > 0) defaults.startWidth = g.number;
      if (g.code == 41 && g.number > 0) defaults.endWidth = g.number;
    }
  }
  // Attached entities: POLYLINE vertices, INSERT attributes.
  if (e.kind != EntityKind::Polyline && e.kind != EntityKind::Insert) return true;
  size_t vertices = 0;
  while (r.next()) {
    if (r.code() != 0) continue;
    if (r.is(0, "VERTEX") && e.kind == EntityKind::Polyline) {
      CollectGroups(r, groups);
      NoteVertexHandle(groups, vertices++, e);
      bool isFace = false;
      ParseVertex(groups, defaults, e, &isFace);
      if (!isFace && !(e.flags & (kPoly3D | kPolyMesh | kPolyFace)))
        e.pts.back().z = defaults.elevation;
    } else if (r.is(0, "ATTRIB") && e.kind == EntityKind::Insert) {
      Entity attrib;
      if (!ReadEntity(r, db, attrib)) return false;
      e.more().children.push_back(std::move(attrib));
    } else if (r.is(0, "SEQEND")) {
      CollectGroups(r, groups);
      uint64_t seqend = HandleOf(groups);
      if (seqend != 0) e.more().seqendHandle = seqend;
      return !r.failed();
    } else {
      r.pushBack();  // no SEQEND: the next entity starts here
      return true;
    }
  }
  return !r.failed();
}

}  // namespace zr
