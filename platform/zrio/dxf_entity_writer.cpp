#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_entity_writer.h"

#include <stdlib.h>

#include <algorithm>
#include <cmath>

#include "platform/zrio/box_sink.h"
#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/dxf_writer.h"
#include "platform/zrio/entity_walker.h"
#include "platform/zrio/hatch_pattern.h"

namespace zr {

const char* EntityTypeName(const Entity& e) {
  switch (e.kind) {
    case EntityKind::Line: return "LINE";
    case EntityKind::Point: return "POINT";
    case EntityKind::Circle: return "CIRCLE";
    case EntityKind::Arc: return "ARC";
    case EntityKind::Ellipse: return "ELLIPSE";
    case EntityKind::LwPolyline: return "LWPOLYLINE";
    case EntityKind::Polyline: return "POLYLINE";
    case EntityKind::Spline: return "SPLINE";
    case EntityKind::Text: return "TEXT";
    case EntityKind::MText: return "MTEXT";
    case EntityKind::Attrib: return "ATTRIB";
    case EntityKind::AttDef: return "ATTDEF";
    case EntityKind::Insert: return "INSERT";
    case EntityKind::Solid: return "SOLID";
    case EntityKind::Trace: return "TRACE";
    case EntityKind::Face3D: return "3DFACE";
    case EntityKind::Hatch: return "HATCH";
    case EntityKind::Dimension: return "DIMENSION";
    case EntityKind::Leader: return "LEADER";
    case EntityKind::Ray: return "RAY";
    case EntityKind::XLine: return "XLINE";
    case EntityKind::Viewport: return "VIEWPORT";
    case EntityKind::Table: return "ACAD_TABLE";
    case EntityKind::Unknown: return e.extra ? e.extra->typeName.c_str() : "";
  }
  return "";
}

namespace {

const char* TypeName(const Entity& e) { return EntityTypeName(e); }

// Groups of the entity part of a record that stay with it when kept raw.
bool IsEntityPartCode(int code) {
  return code == 48 || code == 60 || code == 347 || code == 284 || code == 440 ||
         code == 390 || code == 380;
}

// Groups R12 can hold: no handles, subclass markers or later additions;
// extended data without its handle groups.
bool R12Keeps(int code) {
  return (code > 0 && code < 100 && code != 5) || (code >= 1000 && code <= 1071 && code != 1005);
}

Vec3 PointAt(const std::vector<Vec3>& pts, size_t i) { return i < pts.size() ? pts[i] : Vec3(); }

// Collects polylines and text runs in world coordinates for R12 stand-ins.
class CollectSink : public PrimitiveSink {
 public:
  explicit CollectSink(double tolerance) : m_tolerance(tolerance) {}
  double chordTolerance() const override { return m_tolerance; }
  void polyline(const Vec3* pts, size_t count, bool closed, const DrawStyle&) override {
    lines.push_back(std::vector<Vec3>(pts, pts + count));
    if (closed && count > 2) lines.back().push_back(pts[0]);
  }
  void fill(const Vec3* pts, const int* counts, int loops, const DrawStyle& style) override {
    size_t at = 0;
    for (int i = 0; i < loops; ++i) {
      polyline(pts + at, size_t(counts[i]), true, style);
      at += size_t(counts[i]);
    }
  }
  void point(const Vec3& p, const DrawStyle& style) override { polyline(&p, 1, false, style); }
  void text(const TextRun& run, const DrawStyle&) override { runs.push_back(run); }
  void infiniteLine(const Vec3&, const Vec3&, bool, const DrawStyle&) override {}

  std::vector<std::vector<Vec3>> lines;
  std::vector<TextRun> runs;

 private:
  double m_tolerance;
};

}  // namespace

EntityWriter::EntityWriter(GroupSink* out, SaveContext& context)
    : m_out(out),
      m_version(context.version),
      m_modern(context.modern),
      m_downgrade(context.downgrade),
      m_db(context.db),
      m_handles(context.handles) {}

void EntityWriter::keptGroup(const RawGroup& g, bool raw) {
  bool decode = raw && TypeOfGroup(g.code) == GroupType::String;
  text(g.code, decode ? DecodeText(g.value, m_db) : g.value);
}

bool EntityWriter::dangling(const RawGroup& g) const {
  return IsHandleReference(g.code) && !m_handles.resolves(g.value);
}

void EntityWriter::keptData(const RawGroups& groups, bool raw, bool dictionary,
                            bool (*skip)(int code)) {
  bool inBrace = false;
  for (size_t i = 0; i < groups.size(); ++i) {
    const RawGroup& g = groups[i];
    if (g.code == 102) {
      inBrace = !g.value.empty() && g.value[0] == '{';
      continue;
    }
    if (inBrace || (skip && skip(g.code)) || (!m_modern && !R12Keeps(g.code))) continue;
    if (dangling(g)) {
      // A draw order entry goes with its sort handle.
      if (g.code == 331 && i + 1 < groups.size() && groups[i + 1].code == 5) ++i;
      continue;
    }
    bool entry = dictionary && g.code == 3 && i + 1 < groups.size() &&
                 (groups[i + 1].code == 350 || groups[i + 1].code == 360);
    if (entry && !m_handles.isObject(groups[i + 1].value)) {
      ++i;  // the name goes with the entry
      continue;
    }
    keptGroup(g, raw);
  }
}

void EntityWriter::braces(const RawGroups& groups, bool raw) {
  if (!m_modern) return;
  for (size_t i = 0; i < groups.size(); ++i) {
    const RawGroup& open = groups[i];
    if (open.code != 102 || open.value.empty() || open.value[0] != '{') continue;
    std::vector<const RawGroup*> inside;
    size_t end = i + 1;
    for (; end < groups.size() && groups[end].code != 102; ++end) {
      const RawGroup& g = groups[end];
      bool reference = IsHandleReference(g.code);
      if (!reference || (ParseHandle(g.value) != 0 && m_handles.resolves(g.value))) inside.push_back(&g);
    }
    if (!inside.empty()) {
      keptGroup(open, raw);
      for (const RawGroup* g : inside) keptGroup(*g, raw);
      str(102, "}");
    }
    i = end;
  }
}

void EntityWriter::point(int code, const Vec3& p) {
  real(code, p.x);
  real(code + 10, p.y);
  real(code + 20, p.z);
}

void EntityWriter::point2(int code, const Vec3& p) {
  real(code, p.x);
  real(code + 10, p.y);
}

void EntityWriter::common(const Entity& e, const char* type, const char* subclass,
                          const Database& db, uint64_t owner, bool paperSpace) {
  str(0, type);
  if (m_modern) {
    m_written = m_handles.entityHandle(e);
    handle(5, m_written);
    if (e.extra) braces(e.extra->raw, true);
    handle(330, owner);
    str(100, "AcDbEntity");
  }
  if (paperSpace) integer(67, 1);
  std::string layer = e.layer >= 0 && size_t(e.layer) < db.layers.size() ? db.layers[size_t(e.layer)].name : "0";
  text(8, layer);
  if (e.color != 256) integer(62, e.color);
  if (m_modern && e.lineweight != -1) integer(370, e.lineweight);
  if (m_version == kSave2004 && e.trueColor >= 0) integer(420, e.trueColor);
  if (e.extra && m_modern)
    for (const RawGroup& g : e.extra->raw)
      if (IsEntityPartCode(g.code) && !dangling(g)) keptGroup(g, true);
  linetype(e, db);
  if (m_modern && subclass) str(100, subclass);
}

Entity EntityWriter::partOf(const Entity& e, size_t part) {
  Entity record;
  record.layer = e.layer;
  if (m_modern) record.handle = m_handles.partHandle(e, part);
  return record;
}

void EntityWriter::linetype(const Entity& e, const Database& db) {
  if (e.linetype == -2) str(6, "BYBLOCK");
  else if (e.linetype >= 0 && size_t(e.linetype) < db.linetypes.size()) text(6, db.linetypes[size_t(e.linetype)].name);
}

// The entity part's kept groups were written with the common groups.
void EntityWriter::extras(const Entity& e) {
  if (e.extra) keptData(e.extra->raw, true, false, IsEntityPartCode);
}

void EntityWriter::extrusion(const Entity& e) {
  Vec3 x = e.extrusion();
  if (x.x != 0 || x.y != 0 || x.z != 1) point(210, x);
}

void EntityWriter::entity(const Entity& e, const Database& db, uint64_t owner,
                          bool paper) {
  switch (e.kind) {
    case EntityKind::Line:
      common(e, "LINE", "AcDbLine", db, owner, paper);
      point(10, PointAt(e.pts, 0));
      point(11, PointAt(e.pts, 1));
      extrusion(e);
      break;
    case EntityKind::Point:
      common(e, "POINT", "AcDbPoint", db, owner, paper);
      point(10, PointAt(e.pts, 0));
      extrusion(e);
      break;
    case EntityKind::Circle:
    case EntityKind::Arc:
      common(e, TypeName(e), "AcDbCircle", db, owner, paper);
      point(10, PointAt(e.pts, 0));
      real(40, e.num(0));
      extrusion(e);
      if (e.kind == EntityKind::Arc) {
        if (m_modern) str(100, "AcDbArc");
        real(50, e.num(1));
        real(51, e.num(2));
      }
      break;
    case EntityKind::Ellipse:
      if (!m_modern) return r12Fallback(e, db, owner, paper);
      common(e, "ELLIPSE", "AcDbEllipse", db, owner, paper);
      point(10, PointAt(e.pts, 0));
      point(11, PointAt(e.pts, 1));
      point(210, e.extrusion());
      real(40, e.num(0, 1));
      real(41, e.num(1));
      real(42, e.num(2, 2 * kPi));
      break;
    case EntityKind::LwPolyline:
      if (m_modern) lwPolyline(e, db, owner, paper);
      else polylineWithVertices(e, db, owner, paper);
      return;
    case EntityKind::Polyline:
      polylineWithVertices(e, db, owner, paper);
      return;
    case EntityKind::Spline: {
      if (!m_modern) return r12Fallback(e, db, owner, paper);
      common(e, "SPLINE", "AcDbSpline", db, owner, paper);
      extrusion(e);
      integer(70, e.flags & 0xFF);
      integer(71, (e.flags >> 8) & 0xFF);
      integer(72, (long long)(e.nums.size()));
      integer(73, (long long)(e.pts.size()));
      size_t fit = e.extra ? e.extra->fitPoints.size() : 0;
      integer(74, (long long)(fit));
      for (double k : e.nums) real(40, k);
      if (e.extra)
        for (double w : e.extra->startWidths) real(41, w);
      for (const Vec3& p : e.pts) point(10, p);
      if (e.extra)
        for (const Vec3& p : e.extra->fitPoints) point(11, p);
      break;
    }
    case EntityKind::Text:
    case EntityKind::Attrib:
    case EntityKind::AttDef:
      textEntity(e, db, owner, paper);
      return;
    case EntityKind::MText: {
      if (!m_modern) return r12Fallback(e, db, owner, paper);
      common(e, "MTEXT", "AcDbMText", db, owner, paper);
      point(10, PointAt(e.pts, 0));
      real(40, e.num(0, 1));
      real(41, e.num(1));
      integer(71, e.flags ? e.flags : 1);
      integer(72, 1);
      std::string value = e.text;
      // Long texts go in chunks: 3 for the leading ones, 1 for the last.
      while (value.size() > 240) {
        size_t cut = 240;
        while (cut > 0 && (value[cut] & 0xC0) == 0x80) --cut;
        text(3, value.substr(0, cut));
        value.erase(0, cut);
      }
      text(1, value);
      if (e.extra && !e.extra->styleName.empty()) text(7, e.extra->styleName);
      extrusion(e);
      point(11, PointAt(e.pts, 1));
      break;
    }
    case EntityKind::Insert: {
      bool attribs = e.extra && !e.extra->children.empty();
      common(e, "INSERT", "AcDbBlockReference", db, owner, paper);
      uint64_t self = m_written;
      if (attribs) integer(66, 1);
      text(2, e.text);
      point(10, PointAt(e.pts, 0));
      real(41, e.num(0, 1));
      real(42, e.num(1, 1));
      real(43, e.num(2, 1));
      real(50, e.num(3));
      if (e.num(4, 1) > 1) integer(70, (long long)(e.num(4)));
      if (e.num(5, 1) > 1) integer(71, (long long)(e.num(5)));
      if (e.num(6) != 0) real(44, e.num(6));
      if (e.num(7) != 0) real(45, e.num(7));
      extrusion(e);
      extras(e);
      if (attribs) {
        for (const Entity& a : e.extra->children) entity(a, db, self, paper);
        common(partOf(e, HandlePlan::kSequenceEnd), "SEQEND", nullptr, db, self, paper);
      }
      return;
    }
    case EntityKind::Solid:
    case EntityKind::Trace:
    case EntityKind::Face3D:
      common(e, TypeName(e), e.kind == EntityKind::Face3D ? "AcDbFace" : "AcDbTrace", db, owner,
             paper);
      for (int i = 0; i < 4; ++i) point(10 + i, PointAt(e.pts, size_t(i)));
      if (e.kind != EntityKind::Face3D) extrusion(e);
      break;
    case EntityKind::Hatch:
      if (!m_modern) return r12Fallback(e, db, owner, paper);
      common(e, "HATCH", "AcDbHatch", db, owner, paper);
      hatch(e);
      return;
    case EntityKind::Ray:
    case EntityKind::XLine:
      if (!m_modern) return;  // R12 has no infinite lines
      common(e, TypeName(e), e.kind == EntityKind::Ray ? "AcDbRay" : "AcDbXline", db, owner,
             paper);
      point(10, PointAt(e.pts, 0));
      point(11, PointAt(e.pts, 1));
      break;
    case EntityKind::Dimension:
    case EntityKind::Table:
      // Versions without the kind keep its picture as a reference to the
      // block that draws it (R12 for dimensions; tables also in older
      // versions than the file's).
      if (!m_modern || !EntityInVersion(e, m_version, m_downgrade))
        return pictureReference(e, db, owner, paper);
      unknown(e, db, owner, paper);
      return;
    case EntityKind::Leader:
      if (!m_modern) return r12Fallback(e, db, owner, paper);
      unknown(e, db, owner, paper);
      return;
    case EntityKind::Viewport:
    case EntityKind::Unknown:
      if (m_modern && EntityInVersion(e, m_version, m_downgrade)) unknown(e, db, owner, paper);
      return;
  }
  extras(e);
}

void EntityWriter::lwPolyline(const Entity& e, const Database& db, uint64_t owner,
                              bool paper) {
  const EntityExtra* x = e.extra.get();
  bool widths = x && !x->startWidths.empty();
  common(e, "LWPOLYLINE", "AcDbPolyline", db, owner, paper);
  integer(90, (long long)(e.pts.size()));
  integer(70, e.flags & 0x81);
  if (!e.pts.empty() && e.pts[0].z != 0) real(38, e.pts[0].z);
  for (size_t i = 0; i < e.pts.size(); ++i) {
    point2(10, e.pts[i]);
    if (widths) {
      real(40, i < x->startWidths.size() ? x->startWidths[i] : 0.0);
      real(41, i < x->endWidths.size() ? x->endWidths[i] : 0.0);
    }
    if (i < e.nums.size() && e.nums[i] != 0) real(42, e.nums[i]);
  }
  extrusion(e);
  extras(e);
}

// POLYLINE with its VERTEX records (face records of a polyface mesh too)
// and SEQEND; an LWPOLYLINE written for R12 takes this form as well.
void EntityWriter::polylineWithVertices(const Entity& e, const Database& db, uint64_t owner,
                                        bool paper) {
  const EntityExtra* x = e.extra.get();
  uint32_t flags = e.kind == EntityKind::LwPolyline ? (e.flags & kPolyClosed) : e.flags;
  const char* subclass = (flags & kPolyFace) ? "AcDbPolyFaceMesh"
                         : (flags & kPolyMesh) ? "AcDbPolygonMesh"
                         : (flags & kPoly3D) ? "AcDb3dPolyline" : "AcDb2dPolyline";
  const char* vertexClass = (flags & kPolyFace) ? "AcDbPolyFaceMeshVertex"
                            : (flags & kPolyMesh) ? "AcDbPolygonMeshVertex"
                            : (flags & kPoly3D) ? "AcDb3dPolylineVertex" : "AcDb2dVertex";
  int vertexFlags = (flags & kPolyFace) ? 192 : (flags & kPolyMesh) ? 64 : (flags & kPoly3D) ? 32 : 0;
  bool flat = !(flags & (kPolyFace | kPolyMesh | kPoly3D));
  bool widths = x && !x->startWidths.empty();
  common(e, "POLYLINE", subclass, db, owner, paper);
  uint64_t self = m_written;
  integer(66, 1);
  point(10, Vec3(0, 0, flat && !e.pts.empty() ? e.pts[0].z : 0));
  integer(70, flags);
  if (x && (flags & (kPolyMesh | kPolyFace))) {
    integer(71, (flags & kPolyFace) ? (long long)(e.pts.size()) : x->meshM);
    integer(72, (flags & kPolyFace) ? (long long)(x->faces.size() / 4) : x->meshN);
  }
  extrusion(e);
  extras(e);
  for (size_t i = 0; i < e.pts.size(); ++i) {
    common(partOf(e, i), "VERTEX", "AcDbVertex", db, self, paper);
    if (m_modern) str(100, vertexClass);
    point(10, e.pts[i]);
    if (widths) {
      real(40, i < x->startWidths.size() ? x->startWidths[i] : 0.0);
      real(41, i < x->endWidths.size() ? x->endWidths[i] : 0.0);
    }
    if (i < e.nums.size() && e.nums[i] != 0) real(42, e.nums[i]);
    integer(70, vertexFlags);
  }
  if (x && (flags & kPolyFace)) {
    for (size_t f = 0; f + 3 < x->faces.size(); f += 4) {
      common(partOf(e, e.pts.size() + f / 4), "VERTEX", "AcDbFaceRecord", db, self, paper);
      point(10, Vec3());
      integer(70, 128);
      for (int k = 0; k < 4; ++k)
        if (x->faces[f + size_t(k)] != 0) integer(71 + k, x->faces[f + size_t(k)]);
    }
  }
  common(partOf(e, HandlePlan::kSequenceEnd), "SEQEND", nullptr, db, self, paper);
}

void EntityWriter::textEntity(const Entity& e, const Database& db, uint64_t owner,
                              bool paper) {
  common(e, TypeName(e), "AcDbText", db, owner, paper);
  point(10, PointAt(e.pts, 0));
  real(40, e.num(0, 1));
  text(1, e.text);
  if (e.num(1) != 0) real(50, e.num(1));
  if (e.num(2, 1) != 1) real(41, e.num(2, 1));
  text(7, e.extra && !e.extra->styleName.empty() ? e.extra->styleName
                                                 : std::string(m_modern ? "Standard" : "STANDARD"));
  int h = int(e.flags & 0xF), v = int((e.flags >> 4) & 0xF);
  if (h) integer(72, h);
  if ((e.flags >> 8) & 1) point(11, PointAt(e.pts, 1));
  extrusion(e);
  if (e.kind == EntityKind::Text) {
    if (m_modern) str(100, "AcDbText");
    if (v) integer(73, v);
  } else {
    if (m_modern) str(100, e.kind == EntityKind::Attrib ? "AcDbAttribute" : "AcDbAttributeDefinition");
    if (e.kind == EntityKind::AttDef) str(3, "");
    text(2, e.extra ? e.extra->tag : std::string());
    integer(70, (e.flags >> 12) & 0xF);
    if (v) integer(74, v);
  }
  extras(e);
}

void EntityWriter::hatch(const Entity& e) {
  Vec3 elevation = e.extra && !e.extra->loops.empty() && !e.extra->loops[0].empty()
                       ? Vec3(0, 0, e.extra->loops[0][0].z) : Vec3();
  point(10, elevation);
  point(210, e.extrusion());
  std::string pattern = "SOLID";
  if (e.extra)
    for (const RawGroup& g : e.extra->raw)
      if (g.code == 2) pattern = g.value;
  bool solid = (e.flags & 1) != 0;
  text(2, solid ? std::string("SOLID") : pattern);
  integer(70, solid ? 1 : 0);
  integer(71, 0);
  size_t loops = e.extra ? e.extra->loops.size() : 0;
  integer(91, (long long)(loops));
  for (size_t l = 0; l < loops; ++l) {
    const std::vector<Vec3>& loop = e.extra->loops[l];
    integer(92, 2);
    integer(72, 0);
    integer(73, 1);
    integer(93, (long long)(loop.size()));
    for (const Vec3& p : loop) point2(10, p);
    integer(97, 0);
  }
  integer(75, 1);
  integer(76, 1);
  if (!solid) {
    // The pattern's angle, scale and line families, as the file held them.
    RawGroups none;
    const RawGroups& raw = e.extra ? e.extra->raw : none;
    real(52, atof(ValueOf(raw, 52, "0").c_str()));
    real(41, atof(ValueOf(raw, 41, "1").c_str()));
    integer(77, atoi(ValueOf(raw, 77, "0").c_str()));
    std::vector<PatternLine> lines = HatchPatternLines(raw);
    integer(78, (long long)(lines.size()));
    for (const PatternLine& line : lines) {
      real(53, line.angle * 180 / M_PI);
      real(43, line.base.x);
      real(44, line.base.y);
      real(45, line.offset.x);
      real(46, line.offset.y);
      integer(79, (long long)(line.dashes.size()));
      for (double dash : line.dashes) real(49, dash);
    }
  }
  integer(98, 0);
}

void EntityWriter::unknown(const Entity& e, const Database& db, uint64_t owner,
                           bool paper) {
  bool hasEntityClass = false;
  if (e.extra)
    for (const RawGroup& g : e.extra->raw)
      if (g.code == 100 && g.value == "AcDbEntity") hasEntityClass = true;
  str(0, TypeName(e));
  handle(5, m_handles.entityHandle(e));
  if (e.extra) braces(e.extra->raw, true);
  handle(330, owner);
  auto entityPart = [&]() {
    if (paper) integer(67, 1);
    std::string layer = e.layer >= 0 && size_t(e.layer) < db.layers.size() ? db.layers[size_t(e.layer)].name : "0";
    text(8, layer);
    if (e.color != 256) integer(62, e.color);
    if (e.lineweight != -1) integer(370, e.lineweight);
    if (m_version == kSave2004 && e.trueColor >= 0) integer(420, e.trueColor);
    linetype(e, db);
  };
  if (!hasEntityClass) {
    str(100, "AcDbEntity");
    entityPart();
  }
  bool inBrace = false;
  if (e.extra) {
    for (const RawGroup& g : e.extra->raw) {
      if (g.code == 102) {
        inBrace = !g.value.empty() && g.value[0] == '{';
        continue;
      }
      if (inBrace || dangling(g)) continue;
      keptGroup(g, true);
      if (g.code == 100 && g.value == "AcDbEntity") entityPart();
    }
  }
}

void EntityWriter::pictureReference(const Entity& e, const Database& db, uint64_t owner,
                                    bool paper) {
  Entity ref;
  ref.kind = EntityKind::Insert;
  ref.layer = e.layer;
  ref.color = e.color;
  ref.pts = {Vec3()};
  ref.nums = {1, 1, 1, 0, 1, 1, 0, 0};
  ref.text = e.text;
  if (e.kind == EntityKind::Table && e.pts.size() >= 2) {
    ref.pts[0] = e.pts[0];
    ref.nums[3] = TableRotation(e) * 180 / kPi;
  }
  entity(ref, db, owner, paper);
}

void EntityWriter::r12Fallback(const Entity& e, const Database& db, uint64_t owner,
                               bool paper) {
  BoxSink box;
  WalkOptions options;
  options.respectLayers = false;
  EntityWalker(db, box, options).walk(e);
  double size = box.box().valid() ? (box.box().hi - box.box().lo).length() : 1;
  CollectSink sink(std::max(size * 1e-4, 1e-9));
  EntityWalker(db, sink, options).walk(e);
  for (const std::vector<Vec3>& line : sink.lines) {
    Entity poly;
    poly.kind = EntityKind::Polyline;
    poly.layer = e.layer;
    poly.color = e.color;
    poly.flags = kPoly3D;
    poly.pts = line;
    polylineWithVertices(poly, db, owner, paper);
  }
  for (const TextRun& run : sink.runs) {
    Entity t;
    t.kind = EntityKind::Text;
    t.layer = e.layer;
    t.color = e.color;
    t.text = run.text;
    double height = run.yAxis.length();
    double angle = std::atan2(run.xAxis.y, run.xAxis.x) * 180 / kPi;
    t.pts = {run.origin, run.origin};
    t.nums = {height, angle, height > 0 ? run.xAxis.length() / height : 1};
    t.flags = uint32_t(run.halign) | (run.halign ? (1u << 8) : 0);
    textEntity(t, db, owner, paper);
  }
}

}  // namespace zr
