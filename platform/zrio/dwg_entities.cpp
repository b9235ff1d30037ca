// The entities of a DWG save, encoded from their DXF records.
#include "platform/zrio/win32.h"

#include <math.h>
#include <stdlib.h>

#include <memory>

#include "platform/zrio/dwg_encoders.h"
#include "platform/zrio/dwg_viewport.h"
#include "platform/zrio/dxf_model.h"
#include "platform/zrio/hatch_pattern.h"
#include "platform/zrio/shape_library.h"

namespace zr {

namespace {

const double kDegree = M_PI / 180;

class EntityEncoder {
 public:
  EntityEncoder(DwgSave& save, const FormRecord& record, const EntityLinks& links,
                const EntityParts& parts)
      : m_save(save), r_(record), m_links(links), m_parts(parts) {}

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
    if (t == "TOLERANCE") return tolerance();
    if (t == "MLINE") return mline();
    if (t == "SHAPE") return shape();
    if (t == "IMAGE" || t == "WIPEOUT") return image();
    if (t == "OLEFRAME" || t == "OLE2FRAME") return oleFrame(t == "OLE2FRAME");
    if (t == "3DSOLID") return modeler(kDwgSolid3D);
    if (t == "REGION") return modeler(kDwgRegion);
    if (t == "BODY") return modeler(kDwgBody);
    if (t == "ACAD_PROXY_ENTITY") return proxy();
    if (t == "ACAD_TABLE") return tablePicture();
    if (t == "BLOCK") return block();
    if (t == "ENDBLK" || t == "SEQEND") return plain(t == "ENDBLK" ? kDwgEndBlk : kDwgSeqEnd);
    return refuse("不能保存的实体类型", t);
  }

 private:
  // An entity's own graphics (proxy graphics) stand in its AcDbEntity part.
  DwgObject& begin(uint16_t type) { return begin(type, entityGraphics()); }
  DwgObject& begin(uint16_t type, const std::string& graphics) {
    o_.reset(new DwgObject(m_save, type, FormHandle(r_.groups()), r_));
    o_->entityCommon(m_links, graphics);
    return *o_;
  }
  std::string entityGraphics() const {
    std::string bytes;
    bool inEntity = false, inGraphics = false;
    for (const FormGroup& g : r_.groups()) {
      if (g.code == 100) {
        if (inEntity) break;
        inEntity = g.is("AcDbEntity");
      } else if (inEntity && g.code == 92) {
        inGraphics = true;
      } else if (inGraphics && g.code == 310) {
        bytes += zr::HexBytes(g.text);
      } else {
        inGraphics = false;
      }
    }
    return bytes;
  }
  bool end() {
    o_->finish();
    return true;
  }
  bool refuse(const char* what, const std::string& name) {
    m_save.fail(what, name);
    return false;
  }
  bool r2000() const { return m_save.since2000(); }
  bool r2004() const { return m_save.since2004(); }
  Vec3 extrusion() const { return r_.point(210, Vec3(0, 0, 1)); }
  // Extrusion and thickness: packed from 2000 on, plain before.
  void be(DwgObject& o) {
    Vec3 e = extrusion();
    if (r2000()) o.data.be(e.x, e.y, e.z);
    else o.data.bd3(e.x, e.y, e.z);
  }
  void bt(DwgObject& o) {
    if (r2000()) o.data.bt(r_.real(39));
    else o.data.bd(r_.real(39));
  }
  void bd3(DwgObject& o, const Vec3& p) { o.data.bd3(p.x, p.y, p.z); }
  void tableHandle(DwgObject& o, DwgTable table, const std::string& name, const char* missing) {
    uint64_t h = m_save.named(table, name);
    if (!h) m_save.fail(missing, name);
    o.refs.handle(kHardPointer, h);
  }
  void styleHandle(DwgObject& o) { tableHandle(o, kTableStyle, r_.text(7, "Standard"), "找不到文字样式"); }
  void dimStyleHandle(DwgObject& o) { tableHandle(o, kTableDimStyle, r_.text(3, "Standard"), "找不到标注样式"); }

  bool plain(uint16_t type) {
    begin(type);
    return end();
  }

  bool block() {
    DwgObject& o = begin(kDwgBlock);
    o.data.tv(m_save.encode(r_.text(2)));
    return end();
  }

  bool line() {
    DwgObject& o = begin(kDwgLine);
    Vec3 a = r_.point(10), b = r_.point(11);
    if (!r2000()) {
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
    if (r2000()) {
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
    o.data.tv(m_save.encode(r_.text(1)));
    o.data.bs(uint16_t(r_.integer(71, 0)));
    o.data.bs(uint16_t(r_.integer(72, 0)));
    o.data.bs(uint16_t(r_.integer(type == kDwgText ? 73 : 74, 0)));
    if (type != kDwgText) {
      o.data.tv(m_save.encode(r_.text(2)));
      o.data.bs(uint16_t(r_.integer(73, 0)));
      o.data.rc(uint8_t(r_.integer(70, 0)));
      if (type == kDwgAttDef) o.data.tv(m_save.encode(r_.text(3)));
    }
    styleHandle(o);
    return end();
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
    for (const FormGroup& g : r_.groups())
      if (g.code == 3) content += g.text;
    content += r_.text(1);
    o.data.tv(m_save.encode(content));
    if (r2000()) {
      o.data.bs(uint16_t(r_.integer(73, 1)));
      o.data.bd(r_.real(44, 1));
      o.data.bit(false);
    }
    if (r2004()) o.data.bl(0);  // no background fill
    styleHandle(o);
    return end();
  }

  bool insert() {
    long long columns = r_.integer(70, 1), rows = r_.integer(71, 1);
    bool multiple = columns > 1 || rows > 1;
    DwgObject& o = begin(multiple ? kDwgMInsert : kDwgInsert);
    bd3(o, r_.point(10));
    double sx = r_.real(41, 1), sy = r_.real(42, 1), sz = r_.real(43, 1);
    if (r2000()) {
      o.data.bb(0);
      o.data.rd(sx);
      o.data.dd(sy, sx);
      o.data.dd(sz, sx);
    } else {
      o.data.bd3(sx, sy, sz);
    }
    o.data.bd(r_.real(50) * kDegree);
    bd3(o, extrusion());
    bool attributes = !m_parts.records.empty();
    o.data.bit(attributes);
    if (attributes && r2004()) o.data.bl(uint32_t(m_parts.records.size()));
    if (multiple) {
      o.data.bs(uint16_t(columns));
      o.data.bs(uint16_t(rows));
      o.data.bd(r_.real(44));
      o.data.bd(r_.real(45));
    }
    tableHandle(o, kTableBlock, r_.text(2), "找不到图块");
    if (attributes) partHandles(o);
    end();
    return encodeParts();
  }

  // A table is written as what versions without tables keep of it: a
  // reference to the block that draws it.
  bool tablePicture() {
    DwgObject& o = begin(kDwgInsert);
    bd3(o, r_.point(10));
    if (r2000()) o.data.bb(3);  // scale 1
    else o.data.bd3(1, 1, 1);
    Vec3 x = r_.point(11, Vec3(1, 0, 0));
    o.data.bd(atan2(x.y, x.x));
    bd3(o, extrusion());
    o.data.bit(false);
    tableHandle(o, kTableBlock, r_.text(2), "找不到图块");
    return end();
  }

  // Before 2004 the first and last part, from 2004 every part; then the end.
  void partHandles(DwgObject& o) {
    if (r2004()) {
      for (const FormRecord* part : m_parts.records) o.refs.handle(kHardOwner, FormHandle(part->groups));
    } else {
      uint64_t first = m_parts.records.empty() ? 0 : FormHandle(m_parts.records.front()->groups);
      uint64_t last = m_parts.records.empty() ? 0 : FormHandle(m_parts.records.back()->groups);
      o.refs.handle(kSoftPointer, first);
      o.refs.handle(kSoftPointer, last);
    }
    o.refs.handle(kHardOwner, m_parts.seqend ? FormHandle(m_parts.seqend->groups) : 0);
    if (!m_parts.seqend) m_save.fail("序列没有结束记录", r_.type());
  }

  // The vertices or attributes, linked to each other and owned by this entity.
  bool encodeParts() {
    uint64_t self = FormHandle(r_.groups());
    const std::vector<const FormRecord*>& list = m_parts.records;
    for (size_t i = 0; i < list.size(); ++i) {
      EntityLinks links;
      links.owner = self;
      if (i > 0) links.previous = FormHandle(list[i - 1]->groups);
      if (i + 1 < list.size()) links.next = FormHandle(list[i + 1]->groups);
      if (list[i]->type == "VERTEX") {
        if (!vertex(*list[i], links)) return false;
      } else if (!EncodeEntity(m_save, *list[i], links, {})) {
        return false;
      }
    }
    if (m_parts.seqend) {
      EntityLinks links;
      links.owner = self;
      if (!EncodeEntity(m_save, *m_parts.seqend, links, {})) return false;
    }
    return true;
  }

  bool vertex(const FormRecord& record, const EntityLinks& links) {
    RecordView v(record);
    long long polylineFlags = r_.integer(70, 0);
    long long flags = v.integer(70, 0);
    uint16_t type = (polylineFlags & 64) ? ((flags & 128) && !(flags & 64) ? kDwgVertexPFaceFace
                                                                            : kDwgVertexPFace)
                  : (polylineFlags & 16) ? kDwgVertexMesh
                  : (polylineFlags & 8) ? kDwgVertex3D : kDwgVertex2D;
    DwgObject o(m_save, type, FormHandle(record.groups), v);
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
    if (r2004()) o.data.bl(uint32_t(m_parts.records.size()));
    partHandles(o);
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
    if (!r2000()) {
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
    for (const FormGroup& g : r_.groups()) {
      if (g.code == 10) {
        points.push_back(Vec3(g.real(), 0));
        bulges.push_back(0);
        starts.push_back(0);
        ends.push_back(0);
      } else if (points.empty()) {
        continue;
      } else if (g.code == 20) {
        points.back().y = g.real();
      } else if (g.code == 42) {
        bulges.back() = g.real();
      } else if (g.code == 40) {
        starts.back() = g.real();
      } else if (g.code == 41) {
        ends.back() = g.real();
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
    long long dxfFlags = r_.integer(70, 0);
    uint16_t flags = uint16_t((width != 0 ? 4 : 0) | (elevation != 0 ? 8 : 0) |
                              (thickness != 0 ? 2 : 0) | (extruded ? 1 : 0) |
                              (anyBulge ? 16 : 0) | (anyWidth ? 32 : 0) |
                              ((dxfFlags & 1) ? 512 : 0) | ((dxfFlags & 128) ? 256 : 0));
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
      if (i == 0 || !r2000()) {
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
    std::vector<double> knots = r_.reals(40), weights = r_.reals(41);
    std::vector<Vec3> control, fit;
    const FormGroups& groups = r_.groups();
    for (size_t i = 0; i < groups.size(); ++i) {
      if (groups[i].code == 10) control.push_back(GroupPoint(groups, &i));
      else if (groups[i].code == 11) fit.push_back(GroupPoint(groups, &i));
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
    for (const FormGroup& g : r_.groups()) {
      if (g.code == 92) {
        paths.push_back(Path());
        paths.back().flags = g.integer();
        if (!(paths.back().flags & 2)) return refuse("不能保存的填充边界", "");
      } else if (paths.empty()) {
        continue;
      } else if (g.code == 72) {
        paths.back().bulges = g.integer() != 0;
      } else if (g.code == 73) {
        paths.back().closed = g.integer() != 0;
      } else if (g.code == 10) {
        paths.back().points.push_back(Vec3(g.real(), 0));
        paths.back().bulgeValues.push_back(0);
      } else if (g.code == 20 && !paths.back().points.empty()) {
        paths.back().points.back().y = g.real();
      } else if (g.code == 42 && !paths.back().bulgeValues.empty()) {
        paths.back().bulgeValues.back() = g.real();
      } else if (g.code == 97 && g.integer() != 0) {
        return refuse("不能保存的填充边界", "");
      } else if (g.code == 75) {
        break;
      }
    }
    bool solid = r_.integer(70, 0) != 0;
    std::vector<PatternLine> lines = patternLines();
    DwgObject& o = begin(kDwgHatch);
    if (r2004()) {
      // No gradient.
      o.data.bl(0);
      o.data.bl(0);
      o.data.bd(0);
      o.data.bd(0);
      o.data.bl(0);
      o.data.bd(0);
      o.data.bl(0);
      o.data.tv("");
    }
    o.data.bd(r_.point(10).z);
    bd3(o, extrusion());
    o.data.tv(m_save.encode(r_.text(2, "SOLID")));
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

  // The pattern's line families as the DXF form lists them after its 78
  // group: angle, base point, offset and dashes of each.
  std::vector<PatternLine> patternLines() const {
    std::vector<PatternLine> lines;
    bool inPattern = false;
    for (const FormGroup& g : r_.groups()) {
      if (g.code == 98) break;
      inPattern = inPattern || g.code == 78;
      if (!inPattern) continue;
      if (g.code == 53) {
        lines.push_back(PatternLine());
        lines.back().angle = g.real() * kDegree;
      } else if (lines.empty()) {
        continue;
      } else if (g.code == 43) {
        lines.back().base.x = g.real();
      } else if (g.code == 44) {
        lines.back().base.y = g.real();
      } else if (g.code == 45) {
        lines.back().offset.x = g.real();
      } else if (g.code == 46) {
        lines.back().offset.y = g.real();
      } else if (g.code == 49) {
        lines.back().dashes.push_back(g.real());
      }
    }
    return lines;
  }

  // Dimensions: the common part, then each kind's definition points.
  bool dimension() {
    long long flags = r_.integer(70, 0);
    static const uint16_t kTypes[7] = {kDwgDimLinear, kDwgDimAligned, kDwgDimAngular2Line,
                                       kDwgDimDiameter, kDwgDimRadius, kDwgDimAngular3Point,
                                       kDwgDimOrdinate};
    int kind = int(flags & 7);
    if (kind > 6) return refuse("不能保存的标注类型", std::to_string(kind));
    DwgObject& o = begin(kTypes[kind]);
    bd3(o, extrusion());
    Vec3 middle = r_.point(11);
    o.data.rd2(middle.x, middle.y);
    o.data.bd(middle.z);
    o.data.rc(uint8_t(((flags & 128) ? 0 : 1) | ((flags & 64) ? 2 : 0)));
    o.data.tv(m_save.encode(r_.text(1)));
    o.data.bd(r_.real(53) * kDegree);
    o.data.bd(r_.real(51) * kDegree);
    o.data.bd3(1, 1, 1);
    o.data.bd(0);
    if (r2000()) {
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
      case kDwgDimDiameter:
        bd3(o, r_.point(15));
        bd3(o, r_.point(10));
        o.data.bd(r_.real(40));
        break;
      default:
        bd3(o, r_.point(10));
        bd3(o, r_.point(15));
        o.data.bd(r_.real(40));
        break;
    }
    dimStyleHandle(o);
    o.refs.handle(kHardPointer, m_save.named(kTableBlock, r_.text(2)));
    return end();
  }

  bool leader() {
    std::vector<Vec3> points;
    const FormGroups& g = r_.groups();
    for (size_t i = 0; i < g.size(); ++i)
      if (g[i].code == 10) points.push_back(GroupPoint(g, &i));
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
    if (r2000()) {
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
    dimStyleHandle(o);
    return end();
  }

  bool tolerance() {
    DwgObject& o = begin(kDwgTolerance);
    if (!r2000()) {
      o.data.bs(0);
      o.data.bd(0.18);  // text height and gap, held by the style from 2000
      o.data.bd(0.09);
    }
    bd3(o, r_.point(10));
    bd3(o, r_.point(11, Vec3(1, 0, 0)));
    bd3(o, extrusion());
    o.data.tv(m_save.encode(r_.text(1)));
    dimStyleHandle(o);
    return end();
  }

  // A multiline: its vertices with their directions, and the segment and
  // fill parameters of each of the style's lines at every vertex.
  bool mline() {
    struct Vertex {
      Vec3 at, direction, miter;
      std::vector<std::vector<double>> segments, fills;  // by line
    };
    std::vector<Vertex> vertices;
    long long lines = r_.integer(73, 0);
    const FormGroups& g = r_.groups();
    for (size_t i = 0; i < g.size(); ++i) {
      int code = g[i].code;
      if (code == 11) {
        vertices.push_back(Vertex());
        vertices.back().at = GroupPoint(g, &i);
      } else if (vertices.empty()) {
        continue;
      } else if (code == 12) {
        vertices.back().direction = GroupPoint(g, &i);
      } else if (code == 13) {
        vertices.back().miter = GroupPoint(g, &i);
      } else if (code == 74 || code == 75) {
        auto& list = code == 74 ? vertices.back().segments : vertices.back().fills;
        list.push_back({});
        long long n = g[i].integer();
        int valueCode = code == 74 ? 41 : 42;
        for (long long k = 0; k < n && i + 1 < g.size() && g[i + 1].code == valueCode; ++k)
          list.back().push_back(g[++i].real());
      }
    }
    DwgObject& o = begin(kDwgMLine);
    o.data.bd(r_.real(40, 1));
    o.data.rc(uint8_t(r_.integer(70, 0)));
    bd3(o, r_.point(10));
    bd3(o, extrusion());
    o.data.bs(uint16_t(r_.integer(71, 1)));
    o.data.rc(uint8_t(lines));
    o.data.bs(uint16_t(vertices.size()));
    for (const Vertex& v : vertices) {
      bd3(o, v.at);
      bd3(o, v.direction);
      bd3(o, v.miter);
      for (long long line = 0; line < lines; ++line) {
        for (const auto* list : {&v.segments, &v.fills}) {
          static const std::vector<double> kNone;
          const std::vector<double>& values = size_t(line) < list->size() ? (*list)[size_t(line)] : kNone;
          o.data.bs(uint16_t(values.size()));
          for (double value : values) o.data.bd(value);
        }
      }
    }
    uint64_t style = r_.handle(340);
    if (!style) return refuse("多线没有它的样式", r_.text(2));
    o.refs.handle(kHardPointer, style);
    return end();
  }

  // A shape is its number in the shape file of a text style; DXF names it,
  // and the shape files loaded with the drawing give the number and the
  // style. (The DWG reader's form holds the number and the style itself.)
  bool shape() {
    std::string name = r_.text(2), style = r_.text(7);
    long long shapeNumber = 0;
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos) {
      shapeNumber = atoll(name.c_str());
    } else if (m_save.shapes) {
      const ShapeLibrary& library = *m_save.shapes;
      for (const LoadedShapeFile& loaded : library.files)
        if (const ShapeDefinition* found = loaded.file.findByName(UpperName(name))) {
          shapeNumber = found->number;
          style = loaded.styleName;
          break;
        }
    }
    uint64_t file = m_save.named(kTableStyle, style);
    if (!shapeNumber || !file) return refuse("找不到形的形文件", name);
    DwgObject& o = begin(kDwgShape);
    bd3(o, r_.point(10));
    o.data.bd(r_.real(40, 1));
    o.data.bd(r_.real(50) * kDegree);
    o.data.bd(r_.real(41, 1));
    o.data.bd(r_.real(51) * kDegree);
    o.data.bd(r_.real(39));
    o.data.bs(uint16_t(shapeNumber));
    bd3(o, extrusion());
    o.refs.handle(kHardPointer, file);
    return end();
  }

  // Raster images and wipeouts: the frame in the image's pixel grid and its
  // clipping boundary.
  bool image() {
    uint16_t type = m_save.knownClass(r_.type());
    std::vector<Vec3> clip;
    const FormGroups& g = r_.groups();
    for (size_t i = 0; i < g.size(); ++i)
      if (g[i].code == 14) clip.push_back(GroupPoint(g, &i));
    long long clipType = r_.integer(71, 1);
    DwgObject& o = begin(type);
    o.data.bl(uint32_t(r_.integer(90, 0)));
    bd3(o, r_.point(10));
    bd3(o, r_.point(11, Vec3(1, 0, 0)));
    bd3(o, r_.point(12, Vec3(0, 1, 0)));
    Vec3 size = r_.point(13, Vec3(1, 1));
    o.data.rd2(size.x, size.y);
    o.data.bs(uint16_t(r_.integer(70, 7)));
    o.data.bit(r_.integer(280, 0) != 0);
    o.data.rc(uint8_t(r_.integer(281, 50)));
    o.data.rc(uint8_t(r_.integer(282, 50)));
    o.data.rc(uint8_t(r_.integer(283, 0)));
    if (clipType == 1 && clip.size() >= 2) {
      o.data.bs(1);
      o.data.rd2(clip[0].x, clip[0].y);
      o.data.rd2(clip[1].x, clip[1].y);
    } else {
      o.data.bs(2);
      o.data.bl(uint32_t(clip.size()));
      for (const Vec3& p : clip) o.data.rd2(p.x, p.y);
    }
    o.refs.handle(kHardPointer, r_.handle(340));
    o.refs.handle(kHardOwner, r_.handle(360));
    return end();
  }

  bool oleFrame(bool ole2) {
    std::string bytes = binary(310);
    DwgObject& o = begin(ole2 ? kDwgOle2Frame : kDwgOleFrame);
    o.data.bs(uint16_t(r_.integer(70, ole2 ? 2 : 1)));
    if (r2000()) o.data.bs(uint16_t(r_.integer(72, 0)));
    o.data.bl(uint32_t(bytes.size()));
    o.data.raw(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (r2000() && ole2) o.data.rc(uint8_t(r_.integer(73, 0)));
    return end();
  }

  // 3D solids, regions and bodies: the modeler's data as the DXF form holds
  // it (a line a 1 group, continued in 3 groups), no wires or silhouettes.
  bool modeler(uint16_t type) {
    std::string sat;
    for (const FormGroup& g : r_.groups()) {
      if (g.code == 1 && !sat.empty()) sat += '\n';
      if (g.code == 1 || g.code == 3) sat += m_save.encode(g.text);
    }
    if (!sat.empty()) sat += '\n';
    DwgObject& o = begin(type);
    o.data.bit(sat.empty());
    if (!sat.empty()) {
      o.data.bit(false);
      o.data.bs(1);
      o.data.bl(uint32_t(sat.size()));  // one block, then the empty one that ends them
      o.data.raw(reinterpret_cast<const uint8_t*>(sat.data()), sat.size());
      o.data.bl(0);
      o.data.bit(false);  // no wireframe
      o.data.bit(false);
    }
    return end();
  }

  // A proxy keeps its graphics as its picture and its data bits as they
  // were; the objects it names follow in the handle stream.
  bool proxy() {
    std::string graphics, data;
    long long dataBits = 0;
    bool inData = false;
    std::vector<std::pair<int, uint64_t>> ids;
    for (const FormGroup& g : r_.groups()) {
      if (g.code == 93) {
        dataBits = g.integer();
        inData = true;
      } else if (g.code == 310) {
        (inData ? data : graphics) += zr::HexBytes(g.text);
      } else if (g.code >= 330 && g.code <= 360 && inData) {
        ids.push_back({g.code, g.handle()});
      }
    }
    DwgObject& o = begin(kDwgProxyEntity, graphics.empty() ? entityGraphics() : graphics);
    o.data.bl(uint32_t(r_.integer(90, kDwgProxyEntity)));
    if (r2000()) o.data.bl(uint32_t(r_.integer(95, 0)));
    size_t whole = size_t(dataBits) / 8;
    if (whole > data.size()) whole = data.size();
    o.data.raw(reinterpret_cast<const uint8_t*>(data.data()), whole);
    for (long long bit = 0; bit < dataBits % 8 && whole < data.size(); ++bit)
      o.data.bit((uint8_t(data[whole]) >> (7 - bit)) & 1);
    for (const auto& id : ids) {
      uint8_t code = id.first == 330 ? kSoftPointer : id.first == 340 ? kHardPointer
                   : id.first == 350 ? kSoftOwner : kHardOwner;
      o.refs.handle(code, id.second);
    }
    return end();
  }

  // The bytes of every binary group of a code.
  std::string binary(int code) const {
    std::string bytes;
    for (const FormGroup& g : r_.groups())
      if (g.code == code) bytes += zr::HexBytes(g.text);
    return bytes;
  }

  // R14 keeps the view in the MVIEW list of the ACAD extended data; a
  // record of a later version's form gets one made from its own groups.
  bool viewport() {
    ViewportView view = ViewportViewOf(r_);
    if (r2000() || HasMViewList(r_)) return viewport(view);
    FormRecord withList = WithMViewList(r_.record(), view, m_save.layerNames);
    return EntityEncoder(m_save, withList, m_links, m_parts).viewport(view);
  }

  bool viewport(const ViewportView& view) {
    DwgObject& o = begin(kDwgViewport);
    bd3(o, r_.point(10));
    o.data.bd(r_.real(40));
    o.data.bd(r_.real(41));
    if (!r2000()) {
      o.refs.handle(kHardPointer, 0);
      return end();
    }
    std::vector<uint64_t> frozen = view.frozenLayers;
    for (const std::string& name : view.frozenNames)
      if (uint64_t h = m_save.named(kTableLayer, name)) frozen.push_back(h);
    bd3(o, view.target);
    bd3(o, view.direction);
    o.data.bd(view.twist * kDegree);
    o.data.bd(view.height);
    o.data.bd(view.lens);
    o.data.bd(view.frontClip);
    o.data.bd(view.backClip);
    o.data.bd(view.snapAngle * kDegree);
    for (const Vec3& p : {view.center, view.snapBase, view.snapSpacing, view.gridSpacing})
      o.data.rd2(p.x, p.y);
    o.data.bs(uint16_t(view.circleZoom));
    o.data.bl(uint32_t(frozen.size()));
    o.data.bl(view.flags);
    o.data.tv(m_save.encode(r_.text(1)));
    o.data.rc(uint8_t(r_.integer(281, 0)));
    o.data.bit(r_.integer(74, 0) != 0);
    o.data.bit(r_.integer(71, 0) != 0);
    bd3(o, r_.point(110));
    bd3(o, r_.point(111, Vec3(1, 0, 0)));
    bd3(o, r_.point(112, Vec3(0, 1, 0)));
    o.data.bd(r_.real(146));
    o.data.bs(uint16_t(r_.integer(79, 0)));
    if (r2004()) o.data.bs(uint16_t(r_.integer(170, 0)));
    for (uint64_t h : frozen) o.refs.handle(r2004() ? kSoftPointer : kHardPointer, h);
    o.refs.handle(kHardPointer, r_.handle(340));
    if (!r2004()) o.refs.handle(kHardPointer, 0);  // viewport entity header
    o.refs.handle(kHardPointer, r_.handle(345));
    o.refs.handle(kHardPointer, r_.handle(346));
    return end();
  }

  DwgSave& m_save;
  RecordView r_;
  const EntityLinks& m_links;
  const EntityParts& m_parts;
  std::unique_ptr<DwgObject> o_;
};

}  // namespace

bool EncodeEntity(DwgSave& save, const FormRecord& record, const EntityLinks& links,
                  const EntityParts& parts) {
  return EntityEncoder(save, record, links, parts).run();
}

}  // namespace zr
