// The symbol tables of a DWG save: control objects and their entries.
#include "platform/zrio/win32.h"

#include <math.h>
#include <string.h>

#include "platform/zrio/dwg_encoders.h"
#include "platform/zrio/dxf_model.h"

namespace zr {

namespace {

const double kDegree = M_PI / 180;

struct TableKind {
  const char* dxfName;
  DwgTable table;
  uint16_t controlType, entryType;
};

const TableKind kTableKinds[] = {
    {"BLOCK_RECORD", kTableBlock, kDwgBlockControl, kDwgBlockHeader},
    {"LAYER", kTableLayer, kDwgLayerControl, kDwgLayer},
    {"STYLE", kTableStyle, kDwgStyleControl, kDwgStyle},
    {"LTYPE", kTableLtype, kDwgLtypeControl, kDwgLtype},
    {"VIEW", kTableView, kDwgViewControl, kDwgView},
    {"UCS", kTableUcs, kDwgUcsControl, kDwgUcs},
    {"VPORT", kTableVport, kDwgVportControl, kDwgVport},
    {"APPID", kTableAppId, kDwgAppIdControl, kDwgAppId},
    {"DIMSTYLE", kTableDimStyle, kDwgDimStyleControl, kDwgDimStyle}};

const TableKind* KindOf(const std::string& dxfName) {
  for (const TableKind& k : kTableKinds)
    if (dxfName == k.dxfName) return &k;
  return nullptr;
}

uint64_t EntryHandle(const FormRecord& r) { return FormHandle(r.groups); }

// Runs `each` on every table (its TABLE record and entries).
template <typename Each>
void ForTables(const std::vector<FormRecord>& records, Each each) {
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].type != "TABLE") continue;
    size_t end = i + 1;
    while (end < records.size() && records[end].type != "ENDTAB") ++end;
    std::vector<const FormRecord*> entries;
    for (size_t k = i + 1; k < end; ++k) entries.push_back(&records[k]);
    each(records[i], entries);
    i = end;
  }
}

class TableEncoder {
 public:
  TableEncoder(DwgSave& save, const std::map<uint64_t, BlockContents>& blocks)
      : m_save(save), m_blocks(blocks) {}

  void control(const TableKind& kind, const FormRecord& table,
               const std::vector<const FormRecord*> entries) {
    RecordView r(table);
    DwgObject o(m_save, kind.controlType, m_save.controls[kind.table], r);
    o.objectCommon(0);
    std::vector<uint64_t> listed;
    for (const FormRecord* e : entries) {
      uint64_t h = EntryHandle(*e);
      bool implied = h == m_save.modelSpace || h == m_save.paperSpace ||
                     (kind.table == kTableLtype && (h == m_save.byLayer || h == m_save.byBlock));
      if (!implied) listed.push_back(h);
    }
    o.data.bs(uint16_t(listed.size()));
    if (kind.table == kTableDimStyle && m_save.since2000()) o.data.rc(0);
    for (uint64_t h : listed) o.refs.handle(kSoftOwner, h);
    if (kind.table == kTableBlock) {
      o.refs.handle(kHardOwner, m_save.modelSpace);
      o.refs.handle(kHardOwner, m_save.paperSpace);
    }
    if (kind.table == kTableLtype) {
      o.refs.handle(kHardOwner, m_save.byBlock);
      o.refs.handle(kHardOwner, m_save.byLayer);
    }
    o.finish();
  }

  void entry(const TableKind& kind, const FormRecord& record) {
    RecordView r(record);
    DwgObject o(m_save, kind.entryType, EntryHandle(record), r);
    o.entryCommon(m_save.controls[kind.table], m_save.encode(r.text(2)));
    switch (kind.table) {
      case kTableBlock: blockHeader(o, r, EntryHandle(record)); break;
      case kTableLayer: layer(o, r); break;
      case kTableStyle: style(o, r); break;
      case kTableLtype: linetype(o, r); break;
      case kTableView: view(o, r); break;
      case kTableUcs: ucs(o, r); break;
      case kTableVport: viewport(o, r); break;
      case kTableAppId: appId(o); break;
      case kTableDimStyle: dimStyle(o, r); break;
      default: break;
    }
    o.finish();
  }

 private:
  void blockHeader(DwgObject& o, const RecordView& r, uint64_t handle) {
    auto it = m_blocks.find(handle);
    static const BlockContents kNone;
    const BlockContents& contents = it == m_blocks.end() ? kNone : it->second;
    RecordView begin(contents.begin);
    long long flags = begin.integer(70, 0);
    bool xref = (flags & 4) != 0, overlaid = (flags & 8) != 0;
    o.data.bit(flags & 1);
    o.data.bit(flags & 2);
    o.data.bit(xref);
    o.data.bit(overlaid);
    if (m_save.since2000()) o.data.bit((flags & 32) != 0);
    if (m_save.since2004()) o.data.bl(uint32_t(contents.owned.size()));
    Vec3 base = begin.point(10);
    o.data.bd3(base.x, base.y, base.z);
    o.data.tv(m_save.encode(begin.text(1)));
    if (m_save.since2000()) {
      o.data.rc(0);  // no insert handles listed
      o.data.tv(m_save.encode(begin.text(4)));
      o.data.bl(0);  // no preview
    }
    o.refs.handle(kHardPointer, 0);  // xref block
    o.refs.handle(kHardOwner, contents.block);
    if (m_save.since2004()) {
      for (uint64_t h : contents.owned) o.refs.handle(kHardOwner, h);
    } else if (!xref && !overlaid) {
      o.refs.handle(kSoftPointer, contents.first);
      o.refs.handle(kSoftPointer, contents.last);
    }
    o.refs.handle(kHardOwner, contents.endBlock);
    if (m_save.since2000()) o.refs.handle(kHardPointer, r.handle(340));
    if (!contents.block || !contents.endBlock) m_save.fail("图块表记录没有它的图块", r.text(2));
  }

  void layer(DwgObject& o, const RecordView& r) {
    long long flags = r.integer(70, 0);
    long long color = r.integer(62, 7);
    bool off = color < 0;
    if (m_save.since2000()) {
      uint16_t values = uint16_t((flags & 1) | (off ? 2 : 0) | ((flags & 2) ? 4 : 0) |
                                 ((flags & 4) ? 8 : 0) | (r.integer(290, 1) ? 16 : 0) |
                                 (LineweightIndex(r.integer(370, -3)) << 5));
      o.data.bs(values);
    } else {
      o.data.bit(flags & 1);
      o.data.bit(!off);
      o.data.bit(flags & 2);
      o.data.bit(flags & 4);
    }
    o.color(int16_t(color), int32_t(r.integer(420, -1)));
    o.refs.handle(kHardPointer, 0);  // xref block
    if (m_save.since2000()) o.refs.handle(kHardPointer, r.handle(390));
    std::string linetype = r.text(6, "Continuous");
    uint64_t h = m_save.named(kTableLtype, linetype);
    if (!h) m_save.fail("找不到线型", linetype);
    o.refs.handle(kHardPointer, h);
  }

  void style(DwgObject& o, const RecordView& r) {
    long long flags = r.integer(70, 0);
    o.data.bit(flags & 4);
    o.data.bit(flags & 1);
    o.data.bd(r.real(40));
    o.data.bd(r.real(41, 1));
    o.data.bd(r.real(50) * kDegree);
    o.data.rc(uint8_t(r.integer(71, 0)));
    o.data.bd(r.real(42, 0.2));
    o.data.tv(m_save.encode(r.text(3)));
    o.data.tv(m_save.encode(r.text(4)));
    o.refs.handle(kHardPointer, 0);
  }

  // A dash may carry a shape or a text; the texts stand in the entry's
  // strings area, each dash naming where its text starts.
  void linetype(DwgObject& o, const RecordView& r) {
    o.data.tv(m_save.encode(r.text(3)));
    o.data.bd(r.real(40));
    o.data.rc(uint8_t(r.integer(72, 65)));
    struct Dash {
      double length = 0, x = 0, y = 0, scale = 1, rotation = 0;
      int shape = 0, flags = 0;
      uint64_t style = 0;
      std::string text;
    };
    std::vector<Dash> dashes;
    const FormGroups& groups = r.groups();
    for (const FormGroup& g : groups) {
      if (g.code == 49) {
        dashes.push_back(Dash());
        dashes.back().length = g.real();
      }
      if (dashes.empty()) continue;
      Dash& d = dashes.back();
      switch (g.code) {
        case 74: d.flags = int(g.integer()); break;
        case 75: d.shape = int(g.integer()); break;
        case 340: d.style = g.handle(); break;
        case 46: d.scale = g.real(); break;
        case 50: d.rotation = g.real() * kDegree; break;
        case 44: d.x = g.real(); break;
        case 45: d.y = g.real(); break;
        case 9: d.text = m_save.encode(g.text); break;
      }
    }
    std::vector<uint8_t> strings(256, 0);
    size_t used = 0;
    for (Dash& d : dashes) {
      if (!(d.flags & 2)) continue;
      if (used + d.text.size() + 1 > strings.size()) {
        m_save.fail("线型的文字太长", r.text(2));
        break;
      }
      d.shape = int(used);
      memcpy(strings.data() + used, d.text.data(), d.text.size());
      used += d.text.size() + 1;
    }
    o.data.rc(uint8_t(dashes.size()));
    for (const Dash& d : dashes) {
      o.data.bd(d.length);
      o.data.bs(uint16_t(d.shape));
      o.data.rd(d.x);
      o.data.rd(d.y);
      o.data.bd(d.scale);
      o.data.bd(d.rotation);
      o.data.bs(uint16_t(d.flags));
    }
    o.data.raw(strings.data(), strings.size());
    o.refs.handle(kHardPointer, 0);
    for (const Dash& d : dashes) o.refs.handle(kHardPointer, d.style);
  }

  void viewMode(DwgObject& o, long long mode) {
    for (int bit = 0; bit < 4; ++bit) o.data.bit((mode >> bit) & 1);
  }

  // What a view and a viewport configuration share: size, centre, target,
  // direction, twist, lens, clipping and view mode, by their DXF codes.
  struct ViewCodes {
    int centre, target, direction, twist;
    double height;
  };
  void viewGeometry(DwgObject& o, const RecordView& r, const ViewCodes& c) {
    o.data.bd(r.real(40, c.height));
    o.data.bd(r.real(41, 1));
    Vec3 centre = r.point(c.centre);
    o.data.rd2(centre.x, centre.y);
    Vec3 target = r.point(c.target), direction = r.point(c.direction, Vec3(0, 0, 1));
    o.data.bd3(target.x, target.y, target.z);
    o.data.bd3(direction.x, direction.y, direction.z);
    o.data.bd(r.real(c.twist) * kDegree);
    o.data.bd(r.real(42, 50));
    o.data.bd(r.real(43));
    o.data.bd(r.real(44));
    viewMode(o, r.integer(71, 0));
  }

  void view(DwgObject& o, const RecordView& r) {
    viewGeometry(o, r, {10, 12, 11, 50, 1});
    bool ucs = r.integer(72, 0) != 0;
    if (m_save.since2000()) {
      o.data.rc(uint8_t(r.integer(281, 0)));
      o.data.bit(ucs);
      if (ucs) ucsFrame(o, r);
    }
    o.data.bit(r.integer(70, 0) & 1);
    o.refs.handle(kHardPointer, 0);
    if (m_save.since2000() && ucs) {
      o.refs.handle(kHardPointer, r.handle(346));
      o.refs.handle(kHardPointer, r.handle(345));
    }
  }

  void ucsFrame(DwgObject& o, const RecordView& r) {
    Vec3 origin = r.point(110), x = r.point(111, Vec3(1, 0, 0)), y = r.point(112, Vec3(0, 1, 0));
    o.data.bd3(origin.x, origin.y, origin.z);
    o.data.bd3(x.x, x.y, x.z);
    o.data.bd3(y.x, y.y, y.z);
    o.data.bd(r.real(146));
    o.data.bs(uint16_t(r.integer(79, 0)));
  }

  void ucs(DwgObject& o, const RecordView& r) {
    Vec3 origin = r.point(10), x = r.point(11, Vec3(1, 0, 0)), y = r.point(12, Vec3(0, 1, 0));
    o.data.bd3(origin.x, origin.y, origin.z);
    o.data.bd3(x.x, x.y, x.z);
    o.data.bd3(y.x, y.y, y.z);
    if (m_save.since2000()) {
      o.data.bd(r.real(146));
      o.data.bs(uint16_t(r.integer(79, 0)));
      o.data.bs(0);  // no orthographic origins
    }
    o.refs.handle(kHardPointer, 0);
    if (m_save.since2000()) o.refs.handle(kHardPointer, r.handle(346));
  }

  void viewport(DwgObject& o, const RecordView& r) {
    viewGeometry(o, r, {12, 17, 16, 51, 10});
    if (m_save.since2000()) o.data.rc(uint8_t(r.integer(281, 0)));
    Vec3 low = r.point(10), high = r.point(11, Vec3(1, 1));
    o.data.rd2(low.x, low.y);
    o.data.rd2(high.x, high.y);
    o.data.bit((r.integer(71, 0) & 4) != 0);
    o.data.bs(uint16_t(r.integer(72, 1000)));
    o.data.bit(r.integer(73, 1) != 0);
    long long icon = r.integer(74, 3);
    o.data.bit(icon & 1);
    o.data.bit(icon & 2);
    o.data.bit(r.integer(76, 0) != 0);
    Vec3 grid = r.point(15, Vec3(0.5, 0.5));
    o.data.rd2(grid.x, grid.y);
    o.data.bit(r.integer(75, 0) != 0);
    o.data.bit(r.integer(77, 0) != 0);
    o.data.bs(uint16_t(r.integer(78, 0)));
    o.data.bd(r.real(50) * kDegree);
    Vec3 snapBase = r.point(13), snap = r.point(14, Vec3(0.5, 0.5));
    o.data.rd2(snapBase.x, snapBase.y);
    o.data.rd2(snap.x, snap.y);
    if (m_save.since2000()) {
      o.data.bit(false);
      o.data.bit(r.integer(65, 1) != 0);
      ucsFrame(o, r);
    }
    o.refs.handle(kHardPointer, 0);
    if (m_save.since2000()) {
      o.refs.handle(kHardPointer, r.handle(346));
      o.refs.handle(kHardPointer, r.handle(345));
    }
  }

  void appId(DwgObject& o) {
    o.data.rc(0);
    o.refs.handle(kHardPointer, 0);
  }

  void dimStyle(DwgObject& o, const RecordView& r);

  DwgSave& m_save;
  const std::map<uint64_t, BlockContents>& m_blocks;
};

void TableEncoder::dimStyle(DwgObject& o, const RecordView& r) {
  auto b = [&](int code, bool fallback) { o.data.bit(r.integer(code, fallback) != 0); };
  // DIMTOL, DIMLIM, DIMTIH, DIMTOH, DIMSE1 and DIMSE2, as both versions order them.
  auto toleranceAndExtensionSwitches = [&]() {
    const std::pair<int, bool> switches[] = {{71, false}, {72, false}, {73, true},
                                             {74, true},  {75, false}, {76, false}};
    for (const auto& s : switches) b(s.first, s.second);
  };
  auto bs = [&](int code, int fallback) { o.data.bs(uint16_t(r.integer(code, fallback))); };
  auto bd = [&](int code, double fallback) { o.data.bd(r.real(code, fallback)); };
  auto rc = [&](int code, int fallback) { o.data.rc(uint8_t(r.integer(code, fallback))); };
  if (m_save.since2000()) {
    o.data.tv(m_save.encode(r.text(3)));
    o.data.tv(m_save.encode(r.text(4)));
    const std::pair<int, double> reals1[] = {{40, 1}, {41, 0.18}, {42, 0.0625}, {43, 0.38}, {44, 0.18},
                                             {45, 0}, {46, 0},    {47, 0},      {48, 0}};
    for (const auto& v : reals1) bd(v.first, v.second);
    toleranceAndExtensionSwitches();
    bs(77, 0);
    bs(78, 0);
    bs(79, 0);
    const std::pair<int, double> reals2[] = {{140, 0.18}, {141, 0.09}, {142, 0}, {143, 25.4}, {144, 1},
                                             {145, 0},    {146, 1},    {147, 0.09}, {148, 0}};
    for (const auto& v : reals2) bd(v.first, v.second);
    b(170, false);
    bs(171, 2);
    b(172, false);
    b(173, false);
    b(174, false);
    b(175, false);
    for (int code : {176, 177, 178}) o.color(int16_t(r.integer(code, 0)));
    const std::pair<int, int> shorts[] = {{179, 0}, {271, 4},
                                          {272, 4}, {273, 2}, {274, 2}, {275, 0}, {276, 0},
                                          {277, 2}, {278, '.'}, {279, 0}, {280, 0}};
    for (const auto& v : shorts) bs(v.first, v.second);
    b(281, false);
    b(282, false);
    bs(283, 1);
    bs(284, 0);
    bs(285, 0);
    bs(286, 0);
    b(288, false);
    bs(289, 3);
    bs(371, -2);
    bs(372, -2);
  } else {
    toleranceAndExtensionSwitches();
    b(170, false);
    b(172, false);
    b(173, false);
    b(174, false);
    b(175, false);
    rc(171, 2);
    rc(78, 0);
    b(281, false);
    b(282, false);
    rc(283, 1);
    rc(280, 0);
    rc(287, 3);
    b(288, false);
    rc(284, 0);
    rc(285, 0);
    rc(286, 0);
    rc(77, 0);
    bs(270, 2);
    bs(275, 0);
    bs(271, 4);
    bs(272, 4);
    bs(273, 2);
    bs(274, 2);
    const std::pair<int, double> reals[] = {{40, 1},     {41, 0.18},  {42, 0.0625}, {43, 0.38},
                                            {44, 0.18},  {45, 0},     {46, 0},      {47, 0},
                                            {48, 0},     {140, 0.18}, {141, 0.09},  {142, 0},
                                            {143, 25.4}, {144, 1},    {145, 0},     {146, 1},
                                            {147, 0.09}};
    for (const auto& v : reals) bd(v.first, v.second);
    o.data.tv(m_save.encode(r.text(3)));
    o.data.tv(m_save.encode(r.text(4)));
    o.data.tv(m_save.encode(r.text(5)));
    o.data.tv(m_save.encode(r.text(6)));
    o.data.tv(m_save.encode(r.text(7)));
    bs(176, 0);
    bs(177, 0);
    bs(178, 0);
  }
  o.data.bit(false);  // not a dependent style
  o.refs.handle(kHardPointer, 0);
  o.refs.handle(kHardPointer, r.handle(340));
  if (m_save.since2000())
    for (int code = 341; code <= 344; ++code) o.refs.handle(kHardPointer, r.handle(code));
}

}  // namespace

void NameTableEntries(DwgSave& save, const std::vector<FormRecord>& tables) {
  ForTables(tables, [&](const FormRecord& table, const std::vector<const FormRecord*>& entries) {
    const TableKind* kind = KindOf(RecordView(table).text(2));
    if (!kind) {
      save.fail("不能保存的符号表", RecordView(table).text(2));
      return;
    }
    save.controls[kind->table] = FormHandle(table.groups);
    for (const FormRecord* e : entries) {
      std::string name = UpperName(RecordView(*e).text(2));
      uint64_t h = EntryHandle(*e);
      save.names[kind->table][name] = h;
      if (kind->table == kTableLayer) save.layerNames[h] = RecordView(*e).text(2);
      if (kind->table == kTableBlock && name == "*MODEL_SPACE") save.modelSpace = h;
      if (kind->table == kTableBlock && name == "*PAPER_SPACE") save.paperSpace = h;
      if (kind->table == kTableLtype && name == "BYLAYER") save.byLayer = h;
      if (kind->table == kTableLtype && name == "BYBLOCK") save.byBlock = h;
      if (kind->table == kTableLtype && name == "CONTINUOUS") save.continuous = h;
    }
    if (kind->table == kTableLtype)
      for (const FormRecord* e : entries) {
        uint64_t h = EntryHandle(*e);
        if (h != save.byLayer && h != save.byBlock) save.linetypeOrder.push_back(h);
      }
  });
}

void EncodeTables(DwgSave& save, const std::vector<FormRecord>& tables,
                  const std::map<uint64_t, BlockContents>& blocks) {
  TableEncoder encoder(save, blocks);
  bool written[kTableCount] = {};
  ForTables(tables, [&](const FormRecord& table, const std::vector<const FormRecord*>& entries) {
    const TableKind* kind = KindOf(RecordView(table).text(2));
    if (!kind) return;
    written[kind->table] = true;
    encoder.control(*kind, table, entries);
    for (const FormRecord* e : entries) encoder.entry(*kind, *e);
  });
  // The viewport entity header table (before 2004) has no DXF form: an
  // empty one.
  if (!save.since2004()) {
    FormRecord empty;
    RecordView none(empty);
    DwgObject o(save, kDwgVpEntHdrControl, save.controls[kTableVpEntHdr], none);
    o.objectCommon(0);
    o.data.bs(0);
    o.finish();
  }
  for (int t = 0; t < kTableVpEntHdr; ++t)
    if (!written[t]) save.fail("图形缺少符号表");
}

}  // namespace zr
