// The entities of a DWG save, encoded from their DXF records.
#include "platform/zrio/win32.h"

#include <math.h>

#include "platform/zrio/dwg_encoders.h"
#include "platform/zrio/hatch_pattern.h"

namespace zr {

namespace {

const double kDegree = M_PI / 180;

class EntityEncoder {
 public:
  EntityEncoder(DwgSave& save, const RawRecord& record, const EntityLinks& links,
                const EntityParts& parts)
      : save_(save), r_(record), links_(links), parts_(parts) {}

  bool run() {
    const std::string& t = r_.type();
    if (t == "LINE") return line();
    if (t == "POINT") return point();
    if (t == "CIRCLE" || t == "ARC") return circle(t == "ARC");
    if (t == "ELLIPSE") return ellipse();
    if (t == "TEXT") return text(kDwgText);
    if (t == "ATTRIB") return text(kDwgAttrib);
    if (t == "ATTDEF") return text(kDwgAttDef);
    if (t == "MTEXT") return mtext();
    if (t == "INSERT") return insert();
    if (t == "SOLID" || t == "TRACE") return solid(t == "SOLID" ? kDwgSolid : kDwgTrace);
    if (t == "3DFACE") return face();
    if (t == "RAY" || t == "XLINE") return ray(t == "RAY" ? kDwgRay : kDwgXLine);
    if (t == "LWPOLYLINE") return lwPolyline();
    if (t == "POLYLINE") return polyline();
    if (t == "SPLINE") return spline();
    if (t == "HATCH") return hatch();
    if (t == "VIEWPORT") return viewport();
    if (t == "DIMENSION") return dimension();
    if (t == "LEADER") return leader();
    if (t == "BLOCK") return block();
    if (t == "ENDBLK" || t == "SEQEND") return plain(t == "ENDBLK" ? kDwgEndBlk : kDwgSeqEnd);
    return false;
  }

 private:
  DwgObject& begin(uint16_t type) {
    o_.reset(new DwgObject(save_, type, RecordHandle(r_.groups()), r_));
    o_->entityCommon(links_);
    return *o_;
  }
  bool end() {
    o_->finish();
    return true;
  }
  Vec3 extrusion() const { return r_.point(210, Vec3(0, 0, 1)); }
  // Extrusion and thickness: packed from 2000 on, plain before.
  void be(DwgObject& o) {
    Vec3 e = extrusion();
    if (save_.r2000()) o.data.be(e.x, e.y, e.z);
    else o.data.bd3(e.x, e.y, e.z);
  }
  void bt(DwgObject& o) {
    if (save_.r2000()) o.data.bt(r_.real(39));
    else o.data.bd(r_.real(39));
  }
  void bd3(DwgObject& o, const Vec3& p) { o.data.bd3(p.x, p.y, p.z); }

  bool plain(uint16_t type) {
    begin(type);
    return end();
  }

  bool block() {
    DwgObject& o = begin(kDwgBlock);
    o.data.tv(save_.encode(r_.text(2)));
    return end();
  }

  bool line() {
    DwgObject& o = begin(kDwgLine);
    Vec3 a = r_.point(10), b = r_.point(11);
    if (!save_.r2000()) {
      bd3(o, a);
      bd3(o, b);
      bt(o);
      be(o);
      return end();
    }
    bool flat = a.z == 0 && b.z == 0;
    o.data.bit(flat);
    o.data.rd(a.x);
    o.data.dd(b.x, a.x);
    o.data.rd(a.y);
    o.data.dd(b.y, a.y);
    if (!flat) {
      o.data.rd(a.z);
      o.data.dd(b.z, a.z);
    }
    bt(o);
    be(o);
    return end();
  }

  bool point() {
    DwgObject& o = begin(kDwgPoint);
    bd3(o, r_.point(10));
    bt(o);
    be(o);
    o.data.bd(r_.real(50) * kDegree);
    return end();
  }

  bool circle(bool arc) {
    DwgObject& o = begin(arc ? kDwgArc : kDwgCircle);
    bd3(o, r_.point(10));
    o.data.bd(r_.real(40));
    bt(o);
    be(o);
    if (arc) {
      o.data.bd(r_.real(50) * kDegree);
      o.data.bd(r_.real(51) * kDegree);
    }
    return end();
  }

  bool ellipse() {
    DwgObject& o = begin(kDwgEllipse);
    bd3(o, r_.point(10));
    bd3(o, r_.point(11));
    bd3(o, extrusion());
    o.data.bd(r_.real(40, 1));
    o.data.bd(r_.real(41));
    o.data.bd(r_.real(42, 2 * M_PI));
    return end();
  }

  bool text(uint16_t type) {
    DwgObject& o = begin(type);
    Vec3 at = r_.point(10), align = r_.point(11, at);
    if (save_.r2000()) {
      o.data.rc(0);  // every value present
      o.data.rd(at.z);
      o.data.rd2(at.x, at.y);
      o.data.dd(align.x, at.x);
      o.data.dd(align.y, at.y);
      be(o);
      bt(o);
      o.data.rd(r_.real(51) * kDegree);
      o.data.rd(r_.real(50) * kDegree);
      o.data.rd(r_.real(40, 1));
      o.data.rd(r_.real(41, 1));
    } else {
      o.data.bd(at.z);
      o.data.rd2(at.x, at.y);
      o.data.rd2(align.x, align.y);
      be(o);
      bt(o);
      o.data.bd(r_.real(51) * kDegree);
      o.data.bd(r_.real(50) * kDegree);
      o.data.bd(r_.real(40, 1));
      o.data.bd(r_.real(41, 1));
    }
    o.data.tv(save_.encode(r_.text(1)));
    o.data.bs(uint16_t(r_.integer(71, 0)));
    o.data.bs(uint16_t(r_.integer(72, 0)));
    o.data.bs(uint16_t(r_.integer(type == kDwgText ? 73 : 74, 0)));
    if (type != kDwgText) {
      o.data.tv(save_.encode(r_.text(2)));
      o.data.bs(uint16_t(r_.integer(73, 0)));
      o.data.rc(uint8_t(r_.integer(70, 0)));
      if (type == kDwgAttDef) o.data.tv(save_.encode(r_.text(3)));
    }
    styleHandle(o, r_.text(7, "Standard"));
    return end();
  }

  void styleHandle(DwgObject& o, const std::string& name) {
    uint64_t style = save_.named(kTableStyle, name);
    if (!style) save_.fail("text style " + name);
    o.refs.handle(kHardPointer, style);
  }

  bool mtext() {
    DwgObject& o = begin(kDwgMText);
    bd3(o, r_.point(10));
    bd3(o, extrusion());
    Vec3 x = r_.point(11, Vec3(1, 0, 0));
    if (!r_.has(11) && r_.has(50)) {
      double a = r_.real(50) * kDegree;
      x = Vec3(cos(a), sin(a), 0);
    }
    bd3(o, x);
    o.data.bd(r_.real(41));
    o.data.bd(r_.real(40, 1));
    o.data.bs(uint16_t(r_.integer(71, 1)));
    o.data.bs(uint16_t(r_.integer(72, 1)));
    o.data.bd(r_.real(43));
    o.data.bd(r_.real(42));
    std::string content;
    for (const RawGroup& g : r_.groups())
      if (g.code == 3) content += g.value;
    content += r_.text(1);
    o.data.tv(save_.encode(content));
    if (save_.r2000()) {
      o.data.bs(uint16_t(r_.integer(73, 1)));
      o.data.bd(r_.real(44, 1));
      o.data.bit(false);
    }
    styleHandle(o, r_.text(7, "Standard"));
    return end();
  }

  bool insert() {
    long long columns = r_.integer(70, 1), rows = r_.integer(71, 1);
    bool multiple = columns > 1 || rows > 1;
    DwgObject& o = begin(multiple ? kDwgMInsert : kDwgInsert);
    bd3(o, r_.point(10));
    double sx = r_.real(41, 1), sy = r_.real(42, 1), sz = r_.real(43, 1);
    if (save_.r2000()) {
      o.data.bb(0);
      o.data.rd(sx);
      o.data.dd(sy, sx);
      o.data.dd(sz, sx);
    } else {
      o.data.bd3(sx, sy, sz);
    }
    o.data.bd(r_.real(50) * kDegree);
    bd3(o, extrusion());
    bool attributes = !parts_.records.empty();
    o.data.bit(attributes);
    if (multiple) {
      o.data.bs(uint16_t(columns));
      o.data.bs(uint16_t(rows));
      o.data.bd(r_.real(44));
      o.data.bd(r_.real(45));
    }
    std::string name = r_.text(2);
    uint64_t block = save_.named(kTableBlock, name);
    if (!block) save_.fail("block " + name);
    o.refs.handle(kHardPointer, block);
    partHandles(o, attributes);
    end();
    return encodeParts();
  }

  void partHandles(DwgObject& o, bool any) {
    if (!any) return;
    o.refs.handle(kSoftPointer, RecordHandle(parts_.records.front()->groups));
    o.refs.handle(kSoftPointer, RecordHandle(parts_.records.back()->groups));
    o.refs.handle(kHardOwner, parts_.seqend ? RecordHandle(parts_.seqend->groups) : 0);
    if (!parts_.seqend) save_.fail("sequence without its end");
  }

  // The vertices or attributes, linked to each other and owned by this entity.
  bool encodeParts() {
    uint64_t self = RecordHandle(r_.groups());
    const std::vector<const RawRecord*>& list = parts_.records;
    for (size_t i = 0; i < list.size(); ++i) {
      EntityLinks links;
      links.owner = self;
      if (i > 0) links.previous = RecordHandle(list[i - 1]->groups);
      if (i + 1 < list.size()) links.next = RecordHandle(list[i + 1]->groups);
      if (list[i]->type == "VERTEX") {
        if (!vertex(*list[i], links)) return false;
      } else if (!EncodeEntity(save_, *list[i], links, {})) {
        return false;
      }
    }
    if (parts_.seqend) {
      EntityLinks links;
      links.owner = self;
      if (!EncodeEntity(save_, *parts_.seqend, links, {})) return false;
    }
    return true;
  }

  bool vertex(const RawRecord& record, const EntityLinks& links) {
    RecordView v(record);
    long long polylineFlags = r_.integer(70, 0);
    long long flags = v.integer(70, 0);
    uint16_t type = (polylineFlags & 64) ? ((flags & 128) && !(flags & 64) ? kDwgVertexPFaceFace
                                                                            : kDwgVertexPFace)
                  : (polylineFlags & 16) ? kDwgVertexMesh
                  : (polylineFlags & 8) ? kDwgVertex3D : kDwgVertex2D;
    DwgObject o(save_, type, RecordHandle(record.groups), v);
    o.entityCommon(links);
    if (type == kDwgVertexPFaceFace) {
      for (int code = 71; code <= 74; ++code) o.data.bs(uint16_t(v.integer(code, 0)));
    } else {
      o.data.rc(uint8_t(flags));
      Vec3 p = v.point(10);
      o.data.bd3(p.x, p.y, p.z);
      if (type == kDwgVertex2D) {
        o.data.bd(v.real(40));
        o.data.bd(v.real(41));
        o.data.bd(v.real(42));
        o.data.bd(v.real(50) * kDegree);
      }
    }
    o.finish();
    return true;
  }

  bool polyline() {
    long long flags = r_.integer(70, 0);
    uint16_t type = (flags & 64) ? kDwgPolylinePFace : (flags & 16) ? kDwgPolylineMesh
                  : (flags & 8) ? kDwgPolyline3D : kDwgPolyline2D;
    DwgObject& o = begin(type);
    if (type == kDwgPolyline2D) {
      o.data.bs(uint16_t(flags));
      o.data.bs(uint16_t(r_.integer(75, 0)));
      o.data.bd(r_.real(40));
      o.data.bd(r_.real(41));
      bt(o);
      o.data.bd(r_.point(10).z);
      be(o);
    } else if (type == kDwgPolyline3D) {
      long long curve = r_.integer(75, 0);
      o.data.rc(uint8_t(curve == 5 ? 1 : curve == 6 ? 2 : 0));
      o.data.rc(uint8_t(flags & 1));
    } else if (type == kDwgPolylinePFace) {
      o.data.bs(uint16_t(r_.integer(71, 0)));
      o.data.bs(uint16_t(r_.integer(72, 0)));
    } else {
      o.data.bs(uint16_t(flags));
      o.data.bs(uint16_t(r_.integer(75, 0)));
      o.data.bs(uint16_t(r_.integer(71, 0)));
      o.data.bs(uint16_t(r_.integer(72, 0)));
      o.data.bs(uint16_t(r_.integer(73, 0)));
      o.data.bs(uint16_t(r_.integer(74, 0)));
    }
    partHandles(o, !parts_.records.empty());
    if (parts_.records.empty()) {
      o.refs.handle(kSoftPointer, 0);
      o.refs.handle(kSoftPointer, 0);
      o.refs.handle(kHardOwner, parts_.seqend ? RecordHandle(parts_.seqend->groups) : 0);
    }
    end();
    return encodeParts();
  }

  bool solid(uint16_t type) {
    DwgObject& o = begin(type);
    bt(o);
    o.data.bd(r_.point(10).z);
    for (int code = 10; code <= 13; ++code) {
      Vec3 p = r_.point(code);
      o.data.rd2(p.x, p.y);
    }
    be(o);
    return end();
  }

  bool face() {
    DwgObject& o = begin(kDwgFace3D);
    Vec3 c[4];
    for (int i = 0; i < 4; ++i) c[i] = r_.point(10 + i);
    long long invisible = r_.integer(70, 0);
    if (!save_.r2000()) {
      for (const Vec3& p : c) bd3(o, p);
      o.data.bs(uint16_t(invisible));
      return end();
    }
    bool flat = c[0].z == 0;
    o.data.bit(invisible == 0);
    o.data.bit(flat);
    o.data.rd(c[0].x);
    o.data.rd(c[0].y);
    if (!flat) o.data.rd(c[0].z);
    for (int i = 1; i < 4; ++i) {
      o.data.dd(c[i].x, c[i - 1].x);
      o.data.dd(c[i].y, c[i - 1].y);
      o.data.dd(c[i].z, c[i - 1].z);
    }
    if (invisible) o.data.bs(uint16_t(invisible));
    return end();
  }

  bool ray(uint16_t type) {
    DwgObject& o = begin(type);
    bd3(o, r_.point(10));
    bd3(o, r_.point(11, Vec3(1, 0, 0)));
    return end();
  }

  bool lwPolyline() {
    std::vector<Vec3> points;
    std::vector<double> bulges, starts, ends;
    for (const RawGroup& g : r_.groups()) {
      if (g.code == 10) {
        points.push_back(Vec3(RealValue(g.value), 0));
        bulges.push_back(0);
        starts.push_back(0);
        ends.push_back(0);
      } else if (points.empty()) {
        continue;
      } else if (g.code == 20) {
        points.back().y = RealValue(g.value);
      } else if (g.code == 42) {
        bulges.back() = RealValue(g.value);
      } else if (g.code == 40) {
        starts.back() = RealValue(g.value);
      } else if (g.code == 41) {
        ends.back() = RealValue(g.value);
      }
    }
    bool anyBulge = false, anyWidth = false;
    for (size_t i = 0; i < points.size(); ++i) {
      anyBulge = anyBulge || bulges[i] != 0;
      anyWidth = anyWidth || starts[i] != 0 || ends[i] != 0;
    }
    double width = r_.real(43), elevation = r_.real(38), thickness = r_.real(39);
    Vec3 e = extrusion();
    bool extruded = !(e.x == 0 && e.y == 0 && e.z == 1);
    uint16_t flags = uint16_t((width != 0 ? 4 : 0) | (elevation != 0 ? 8 : 0) |
                              (thickness != 0 ? 2 : 0) | (extruded ? 1 : 0) |
                              (anyBulge ? 16 : 0) | (anyWidth ? 32 : 0) |
                              ((r_.integer(70, 0) & 1) ? 512 : 0) |
                              ((r_.integer(70, 0) & 128) ? 256 : 0));
    DwgObject& o = begin(kDwgLwPolyline);
    o.data.bs(flags);
    if (flags & 4) o.data.bd(width);
    if (flags & 8) o.data.bd(elevation);
    if (flags & 2) o.data.bd(thickness);
    if (flags & 1) o.data.bd3(e.x, e.y, e.z);
    o.data.bl(uint32_t(points.size()));
    if (flags & 16) o.data.bl(uint32_t(points.size()));
    if (flags & 32) o.data.bl(uint32_t(points.size()));
    for (size_t i = 0; i < points.size(); ++i) {
      if (i == 0 || !save_.r2000()) {
        o.data.rd2(points[i].x, points[i].y);
      } else {
        o.data.dd(points[i].x, points[i - 1].x);
        o.data.dd(points[i].y, points[i - 1].y);
      }
    }
    if (flags & 16)
      for (double b : bulges) o.data.bd(b);
    if (flags & 32)
      for (size_t i = 0; i < points.size(); ++i) {
        o.data.bd(starts[i]);
        o.data.bd(ends[i]);
      }
    return end();
  }

  bool spline() {
    std::vector<double> knots, weights;
    std::vector<Vec3> control, fit;
    for (size_t i = 0; i < r_.groups().size(); ++i) {
      const RawGroup& g = r_.groups()[i];
      auto triple = [&]() {
        Vec3 p(RealValue(g.value), 0);
        if (i + 1 < r_.groups().size() && r_.groups()[i + 1].code == g.code + 10) p.y = RealValue(r_.groups()[++i].value);
        if (i + 1 < r_.groups().size() && r_.groups()[i + 1].code == g.code + 20) p.z = RealValue(r_.groups()[++i].value);
        return p;
      };
      if (g.code == 40) knots.push_back(RealValue(g.value));
      else if (g.code == 41) weights.push_back(RealValue(g.value));
      else if (g.code == 10) control.push_back(triple());
      else if (g.code == 11) fit.push_back(triple());
    }
    long long flags = r_.integer(70, 0);
    DwgObject& o = begin(kDwgSpline);
    bool byControl = !control.empty();
    o.data.bs(byControl ? 1 : 2);
    o.data.bs(uint16_t(r_.integer(71, 3)));
    if (byControl) {
      bool weighted = weights.size() == control.size() && (flags & 4);
      o.data.bit(flags & 4);
      o.data.bit(flags & 1);
      o.data.bit(flags & 2);
      o.data.bd(r_.real(42, 1e-10));
      o.data.bd(r_.real(43, 1e-10));
      o.data.bl(uint32_t(knots.size()));
      o.data.bl(uint32_t(control.size()));
      o.data.bit(weighted);
      for (double k : knots) o.data.bd(k);
      for (size_t i = 0; i < control.size(); ++i) {
        bd3(o, control[i]);
        if (weighted) o.data.bd(weights[i]);
      }
    } else {
      o.data.bd(r_.real(44, 1e-10));
      bd3(o, r_.point(12));
      bd3(o, r_.point(13));
      o.data.bs(uint16_t(fit.size()));
      for (const Vec3& p : fit) bd3(o, p);
    }
    return end();
  }

  // Hatches of this library hold polyline boundaries only, and the pattern's
  // line families.
  bool hatch() {
    struct Path {
      long long flags = 0;
      bool bulges = false, closed = true;
      std::vector<Vec3> points;
      std::vector<double> bulgeValues;
    };
    std::vector<Path> paths;
    for (const RawGroup& g : r_.groups()) {
      if (g.code == 92) {
        paths.push_back(Path());
        paths.back().flags = IntegerValue(g.value);
        if (!(paths.back().flags & 2)) return false;
      } else if (paths.empty()) {
        continue;
      } else if (g.code == 72) {
        paths.back().bulges = IntegerValue(g.value) != 0;
      } else if (g.code == 73) {
        paths.back().closed = IntegerValue(g.value) != 0;
      } else if (g.code == 10) {
        paths.back().points.push_back(Vec3(RealValue(g.value), 0));
        paths.back().bulgeValues.push_back(0);
      } else if (g.code == 20 && !paths.back().points.empty()) {
        paths.back().points.back().y = RealValue(g.value);
      } else if (g.code == 42 && !paths.back().bulgeValues.empty()) {
        paths.back().bulgeValues.back() = RealValue(g.value);
      } else if (g.code == 97 && IntegerValue(g.value) != 0) {
        return false;
      } else if (g.code == 75) {
        break;
      }
    }
    bool solid = r_.integer(70, 0) != 0;
    RawGroups patternGroups;
    bool inPattern = false;
    for (const RawGroup& g : r_.groups()) {
      inPattern = inPattern || g.code == 78;
      if (inPattern && g.code != 98) patternGroups.push_back(g);
      if (g.code == 98) break;
    }
    std::vector<PatternLine> lines = HatchPatternLines(patternGroups);
    DwgObject& o = begin(kDwgHatch);
    o.data.bd(r_.point(10).z);
    bd3(o, extrusion());
    o.data.tv(save_.encode(r_.text(2, "SOLID")));
    o.data.bit(solid);
    o.data.bit(r_.integer(71, 0) != 0);
    o.data.bl(uint32_t(paths.size()));
    for (const Path& p : paths) {
      o.data.bl(uint32_t(p.flags));
      o.data.bit(p.bulges);
      o.data.bit(p.closed);
      o.data.bl(uint32_t(p.points.size()));
      for (size_t i = 0; i < p.points.size(); ++i) {
        o.data.rd2(p.points[i].x, p.points[i].y);
        if (p.bulges) o.data.bd(p.bulgeValues[i]);
      }
      o.data.bl(0);  // no boundary objects
    }
    o.data.bs(uint16_t(r_.integer(75, 1)));
    o.data.bs(uint16_t(r_.integer(76, 1)));
    if (!solid) {
      o.data.bd(r_.real(52) * kDegree);
      o.data.bd(r_.real(41, 1));
      o.data.bit(r_.integer(77, 0) != 0);
      o.data.bs(uint16_t(lines.size()));
      for (const PatternLine& line : lines) {
        o.data.bd(line.angle);
        o.data.bd2(line.base.x, line.base.y);
        o.data.bd2(line.offset.x, line.offset.y);
        o.data.bs(uint16_t(line.dashes.size()));
        for (double dash : line.dashes) o.data.bd(dash);
      }
    }
    o.data.bl(0);  // no seed points
    return end();
  }

  // Dimensions: the common part, then each kind's definition points.
  bool dimension() {
    long long flags = r_.integer(70, 0);
    static const uint16_t kTypes[7] = {kDwgDimLinear, kDwgDimAligned, kDwgDimAngular2Line,
                                       kDwgDimDiameter, kDwgDimRadius, kDwgDimAngular3Point,
                                       kDwgDimOrdinate};
    int kind = int(flags & 7);
    if (kind > 6) return false;
    DwgObject& o = begin(kTypes[kind]);
    bd3(o, extrusion());
    Vec3 middle = r_.point(11);
    o.data.rd2(middle.x, middle.y);
    o.data.bd(middle.z);
    o.data.rc(uint8_t(((flags & 128) ? 0 : 1) | ((flags & 64) ? 2 : 0)));
    o.data.tv(save_.encode(r_.text(1)));
    o.data.bd(r_.real(53) * kDegree);
    o.data.bd(r_.real(51) * kDegree);
    o.data.bd3(1, 1, 1);
    o.data.bd(0);
    if (save_.r2000()) {
      o.data.bs(uint16_t(r_.integer(71, 5)));
      o.data.bs(uint16_t(r_.integer(72, 1)));
      o.data.bd(r_.real(41, 1));
      o.data.bd(r_.real(42));
    }
    Vec3 clone = r_.point(12);
    o.data.rd2(clone.x, clone.y);
    switch (kTypes[kind]) {
      case kDwgDimOrdinate:
        for (int code : {10, 13, 14}) bd3(o, r_.point(code));
        o.data.rc((flags & 64) ? 1 : 0);
        break;
      case kDwgDimLinear:
      case kDwgDimAligned:
        for (int code : {13, 14, 10}) bd3(o, r_.point(code));
        o.data.bd(r_.real(52) * kDegree);
        if (kTypes[kind] == kDwgDimLinear) o.data.bd(r_.real(50) * kDegree);
        break;
      case kDwgDimAngular3Point:
        for (int code : {10, 13, 14, 15}) bd3(o, r_.point(code));
        break;
      case kDwgDimAngular2Line: {
        Vec3 arc = r_.point(16);
        o.data.rd2(arc.x, arc.y);
        for (int code : {13, 14, 15, 10}) bd3(o, r_.point(code));
        break;
      }
      default:
        bd3(o, r_.point(10));
        bd3(o, r_.point(15));
        o.data.bd(r_.real(40));
        break;
    }
    std::string style = r_.text(3, "Standard");
    uint64_t styleHandle = save_.named(kTableDimStyle, style);
    if (!styleHandle) save_.fail("dimension style " + style);
    o.refs.handle(kHardPointer, styleHandle);
    o.refs.handle(kHardPointer, save_.named(kTableBlock, r_.text(2)));
    return end();
  }

  bool leader() {
    std::vector<Vec3> points;
    const RawGroups& g = r_.groups();
    for (size_t i = 0; i < g.size(); ++i) {
      if (g[i].code != 10) continue;
      Vec3 p(RealValue(g[i].value), 0);
      if (i + 1 < g.size() && g[i + 1].code == 20) p.y = RealValue(g[++i].value);
      if (i + 1 < g.size() && g[i + 1].code == 30) p.z = RealValue(g[++i].value);
      points.push_back(p);
    }
    DwgObject& o = begin(kDwgLeader);
    o.data.bit(false);
    o.data.bs(uint16_t(r_.integer(73, 3)));
    o.data.bs(uint16_t(r_.integer(72, 0)));
    o.data.bl(uint32_t(points.size()));
    for (const Vec3& p : points) bd3(o, p);
    bd3(o, Vec3());  // end point projection
    bd3(o, extrusion());
    bd3(o, r_.point(211, Vec3(1, 0, 0)));
    bd3(o, r_.point(213));
    bd3(o, Vec3());
    if (save_.r2000()) {
      o.data.bd(r_.real(40));
      o.data.bd(r_.real(41));
      o.data.bit(r_.integer(74, 1) != 0);
      o.data.bit(r_.integer(71, 1) != 0);
      o.data.bs(0);
      o.data.bit(false);
      o.data.bit(false);
    } else {
      o.data.bd(0.09);  // text gap
      o.data.bs(0);
      o.data.bd(0.18);
      o.data.bit(false);
      o.data.bit(false);
      o.data.bs(0);
      o.data.bs(0);
      o.data.bit(false);
      o.data.bit(false);
    }
    o.refs.handle(kHardPointer, r_.handle(340));
    std::string style = r_.text(3, "Standard");
    o.refs.handle(kHardPointer, save_.named(kTableDimStyle, style));
    return end();
  }

  bool viewport() {
    DwgObject& o = begin(kDwgViewport);
    bd3(o, r_.point(10));
    o.data.bd(r_.real(40));
    o.data.bd(r_.real(41));
    std::vector<uint64_t> frozen;
    for (const RawGroup& g : r_.groups())
      if (g.code == 331) frozen.push_back(ParseHandle(g.value));
    if (save_.r2000()) {
      bd3(o, r_.point(17));
      bd3(o, r_.point(16, Vec3(0, 0, 1)));
      o.data.bd(r_.real(51) * kDegree);
      o.data.bd(r_.real(45));
      o.data.bd(r_.real(42, 50));
      o.data.bd(r_.real(43));
      o.data.bd(r_.real(44));
      o.data.bd(r_.real(50) * kDegree);
      for (int code : {12, 13, 14, 15}) {
        Vec3 p = r_.point(code);
        o.data.rd2(p.x, p.y);
      }
      o.data.bs(uint16_t(r_.integer(72, 1000)));
      o.data.bl(uint32_t(frozen.size()));
      o.data.bl(uint32_t(r_.integer(90, 0)));
      o.data.tv(save_.encode(r_.text(1)));
      o.data.rc(uint8_t(r_.integer(281, 0)));
      o.data.bit(r_.integer(74, 0) != 0);
      o.data.bit(r_.integer(71, 0) != 0);
      bd3(o, r_.point(110));
      bd3(o, r_.point(111, Vec3(1, 0, 0)));
      bd3(o, r_.point(112, Vec3(0, 1, 0)));
      o.data.bd(r_.real(146));
      o.data.bs(uint16_t(r_.integer(79, 0)));
      for (uint64_t h : frozen) o.refs.handle(kHardPointer, h);
      o.refs.handle(kHardPointer, r_.handle(340));
      o.refs.handle(kHardPointer, 0);  // viewport entity header
      o.refs.handle(kHardPointer, r_.handle(345));
      o.refs.handle(kHardPointer, r_.handle(346));
    } else {
      o.refs.handle(kHardPointer, 0);
    }
    return end();
  }

  DwgSave& save_;
  RecordView r_;
  const EntityLinks& links_;
  const EntityParts& parts_;
  std::unique_ptr<DwgObject> o_;
};

}  // namespace

bool EncodeEntity(DwgSave& save, const RawRecord& record, const EntityLinks& links,
                  const EntityParts& parts) {
  return EntityEncoder(save, record, links, parts).run();
}

}  // namespace zr
