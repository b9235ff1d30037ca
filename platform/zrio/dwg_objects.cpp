// The objects of a DWG save (dictionaries, layouts, records, groups,
// multiline styles, plot settings, raster image definitions, filters) and
// the classes their kinds need.
#include "platform/zrio/win32.h"

#include <math.h>
#include <string.h>

#include <algorithm>
#include <memory>

#include "platform/zrio/dwg_encoders.h"
#include "platform/zrio/dwg_sections.h"
#include "platform/zrio/dxf_model.h"

namespace zr {

namespace {

const double kDegree = M_PI / 180;

// A Julian date as the format keeps it: the day and the milliseconds into it.
void JulianDate(DwgBitWriter& w, double date) {
  double day = floor(date);
  w.bl(uint32_t(day));
  w.bl(uint32_t((date - day) * 86400000.0));
}

class ObjectEncoder {
 public:
  ObjectEncoder(DwgSave& save, const FormRecord& record) : m_save(save), r_(record) {}

  bool run() {
    const std::string& t = r_.type();
    if (t == "DICTIONARY") return dictionary(kDwgDictionary, false);
    if (t == "ACDBDICTIONARYWDFLT") return dictionary(classed(), true);
    if (t == "LAYOUT" && m_save.since2000()) return layout();
    if (t == "PLOTSETTINGS" && m_save.since2000()) return plotSettingsObject();
    if (t == "XRECORD") return xrecord();
    if (t == "ACDBPLACEHOLDER") return placeholder();
    if (t == "DICTIONARYVAR") return dictionaryVariable();
    if (t == "GROUP") return group();
    if (t == "MLINESTYLE") return mlineStyle();
    if (t == "SORTENTSTABLE") return sortOrder();
    if (t == "RASTERVARIABLES") return rasterVariables();
    if (t == "IMAGEDEF") return imageDefinition();
    if (t == "IMAGEDEF_REACTOR") return versionOnly();
    if (t == "WIPEOUTVARIABLES") return wipeoutVariables();
    if (t == "IDBUFFER") return idBuffer();
    if (t == "LAYER_FILTER") return layerFilter();
    if (t == "SPATIAL_FILTER") return spatialFilter();
    if (t == "SPATIAL_INDEX" || t == "LAYER_INDEX") return index();
    return false;
  }

 private:
  uint16_t classed() { return m_save.knownClass(r_.type()); }

  DwgObject& begin(uint16_t type) {
    o_.reset(new DwgObject(m_save, type, FormHandle(r_.groups()), r_));
    o_->objectCommon(FormOwner(r_.groups()));
    return *o_;
  }
  bool end() {
    o_->finish();
    return true;
  }

  bool dictionary(uint16_t type, bool withDefault) {
    if (type == 0) return false;
    std::vector<std::pair<std::string, uint64_t>> entries;
    bool hardOwner = false;
    const FormGroups& g = r_.groups();
    for (size_t i = 0; i + 1 < g.size(); ++i)
      if (g[i].code == 3 && (g[i + 1].code == 350 || g[i + 1].code == 360)) {
        entries.push_back({g[i].text, g[i + 1].handle()});
        hardOwner = hardOwner || g[i + 1].code == 360;
      }
    DwgObject& o = begin(type);
    o.data.bl(uint32_t(entries.size()));
    if (m_save.since2000()) {
      o.data.bs(uint16_t(r_.integer(281, 1)));
      o.data.rc(uint8_t(r_.integer(280, hardOwner ? 1 : 0)));
    } else {
      o.data.rc(0);
    }
    for (const auto& e : entries) {
      o.data.tv(m_save.encode(e.first));
      o.refs.handle(kSoftOwner, e.second);
    }
    if (withDefault) o.refs.handle(kHardPointer, r_.handle(340));
    return end();
  }

  void plotSettings(DwgObject& o) {
    o.data.tv(m_save.encode(r_.text(1)));
    o.data.tv(m_save.encode(r_.text(2)));
    o.data.bs(uint16_t(r_.integer(70, 688)));
    for (int code = 40; code <= 45; ++code) o.data.bd(r_.real(code));
    o.data.tv(m_save.encode(r_.text(4)));
    o.data.bd2(r_.real(46), r_.real(47));
    o.data.bs(uint16_t(r_.integer(72, 0)));
    o.data.bs(uint16_t(r_.integer(73, 0)));
    o.data.bs(uint16_t(r_.integer(74, 5)));
    o.data.bd2(r_.real(48), r_.real(49));
    o.data.bd2(r_.real(140), r_.real(141));
    // 2004 names the plot view by its handle (none written).
    if (!m_save.since2004()) o.data.tv(m_save.encode(r_.text(6)));
    o.data.bd(r_.real(142, 1));
    o.data.bd(r_.real(143, 1));
    o.data.tv(m_save.encode(r_.text(7)));
    o.data.bs(uint16_t(r_.integer(75, 16)));
    o.data.bd(r_.real(147, 1));
    o.data.bd2(r_.real(148), r_.real(149));
    if (m_save.since2004()) {
      o.data.bs(uint16_t(r_.integer(76, 0)));
      o.data.bs(uint16_t(r_.integer(77, 2)));
      o.data.bs(uint16_t(r_.integer(78, 300)));
    }
  }

  bool plotSettingsObject() {
    uint16_t type = classed();
    if (type == 0) return false;
    DwgObject& o = begin(type);
    plotSettings(o);
    if (m_save.since2004()) o.refs.handle(kHardPointer, 0);  // plot view
    return end();
  }

  // Layouts have a type number of their own, and their class is listed too
  // (with their count), as AutoCAD lists it.
  bool layout() {
    ++m_save.classes[m_save.knownClass("LAYOUT") - 500].count;
    DwgObject& o = begin(kDwgLayout);
    plotSettings(o);
    const char* own = "AcDbLayout";
    auto point = [&](int code, const Vec3& fallback) {
      const FormGroup* x = r_.find(code, own);
      if (!x) return fallback;
      const FormGroup* y = r_.find(code + 10, own);
      const FormGroup* z = r_.find(code + 20, own);
      return Vec3(x->real(), y ? y->real() : 0, z ? z->real() : 0);
    };
    auto integer = [&](int code, long long fallback) {
      const FormGroup* g = r_.find(code, own);
      return g ? g->integer() : fallback;
    };
    const FormGroup* name = r_.find(1, own);
    o.data.tv(m_save.encode(name ? name->text : ""));
    o.data.bs(uint16_t(integer(71, 0)));
    o.data.bs(uint16_t(integer(70, 1)));
    Vec3 ucs = point(13, Vec3());
    o.data.bd3(ucs.x, ucs.y, ucs.z);
    Vec3 lo = point(10, Vec3()), hi = point(11, Vec3(12, 9));
    o.data.rd2(lo.x, lo.y);
    o.data.rd2(hi.x, hi.y);
    Vec3 base = point(12, Vec3());
    o.data.bd3(base.x, base.y, base.z);
    Vec3 x = point(16, Vec3(1, 0, 0)), y = point(17, Vec3(0, 1, 0));
    o.data.bd3(x.x, x.y, x.z);
    o.data.bd3(y.x, y.y, y.z);
    const FormGroup* elevation = r_.find(146, own);
    o.data.bd(elevation ? elevation->real() : 0);
    o.data.bs(uint16_t(integer(76, 0)));
    Vec3 emin = point(14, Vec3()), emax = point(15, Vec3());
    o.data.bd3(emin.x, emin.y, emin.z);
    o.data.bd3(emax.x, emax.y, emax.z);
    if (m_save.since2004()) {
      o.data.bl(0);  // no viewports listed
      o.refs.handle(kHardPointer, 0);  // plot view
    }
    o.refs.handle(kSoftPointer, r_.handle(330, own));
    o.refs.handle(kSoftPointer, r_.handle(331, own));
    o.refs.handle(kHardPointer, r_.handle(346, own));
    o.refs.handle(kHardPointer, r_.handle(345, own));
    return end();
  }

  // Record values by the kind of their group code.
  bool xrecord() {
    std::string bytes;
    auto le = [&](uint64_t v, int n) {
      for (int i = 0; i < n; ++i) bytes += char(v >> (8 * i));
    };
    auto real = [&](double v) {
      uint64_t b;
      memcpy(&b, &v, 8);
      le(b, 8);
    };
    auto in = [](int c, int from, int to) { return c >= from && c <= to; };
    const FormGroups& g = r_.groups();
    bool data = false;
    for (size_t i = 0; i < g.size(); ++i) {
      int c = g[i].code;
      if (c == 100 && g[i].is("AcDbXrecord")) {
        data = true;
        continue;
      }
      if (!data || (c == 280 && bytes.empty()) || c >= 1000) continue;
      le(uint64_t(c), 2);
      if (in(c, 1, 9) || in(c, 100, 102) || in(c, 300, 309) || in(c, 410, 419) ||
          in(c, 430, 439) || in(c, 470, 479) || c == 999) {
        std::string text = m_save.encode(g[i].text);
        le(text.size(), 2);
        bytes += char(m_save.codePage);
        bytes += text;
      } else if (in(c, 10, 18) || in(c, 110, 112)) {
        Vec3 p = GroupPoint(g, &i);
        real(p.x);
        real(p.y);
        real(p.z);
      } else if (in(c, 40, 59) || in(c, 140, 149) || in(c, 210, 239) || in(c, 460, 469)) {
        real(g[i].real());
      } else if (in(c, 60, 79) || in(c, 170, 179) || in(c, 270, 279) || in(c, 370, 389) ||
                 in(c, 400, 409)) {
        le(uint64_t(g[i].integer()), 2);
      } else if (in(c, 90, 99) || in(c, 420, 429) || in(c, 440, 459)) {
        le(uint64_t(g[i].integer()), 4);
      } else if (in(c, 160, 169)) {
        le(uint64_t(g[i].integer()), 8);
      } else if (in(c, 280, 299)) {
        bytes += char(g[i].integer());
      } else if (in(c, 310, 319)) {
        std::string binary = HexBytes(g[i].text);
        bytes += char(binary.size() > 255 ? 255 : binary.size());
        bytes.append(binary, 0, 255);
      } else if (in(c, 320, 369) || in(c, 390, 399) || in(c, 480, 481)) {
        le(g[i].handle(), 8);
      } else {
        return false;
      }
    }
    DwgObject& o = begin(kDwgXRecord);
    o.data.bl(uint32_t(bytes.size()));
    o.data.raw(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (m_save.since2000()) o.data.bs(uint16_t(r_.integer(280, 1)));
    return end();
  }

  bool placeholder() {
    begin(kDwgPlaceholder);
    return end();
  }

  bool dictionaryVariable() {
    uint16_t type = classed();
    if (type == 0) return false;
    DwgObject& o = begin(type);
    o.data.rc(uint8_t(r_.integer(280, 0)));
    o.data.tv(m_save.encode(r_.text(1)));
    return end();
  }

  bool group() {
    std::vector<uint64_t> members;
    for (const FormGroup& g : r_.groups())
      if (g.code == 340) members.push_back(g.handle());
    DwgObject& o = begin(kDwgGroup);
    o.data.tv(m_save.encode(r_.text(300)));
    o.data.bs(uint16_t(r_.integer(70, 0)));
    o.data.bs(uint16_t(r_.integer(71, 1)));
    o.data.bl(uint32_t(members.size()));
    for (uint64_t h : members) o.refs.handle(kHardPointer, h);
    return end();
  }

  // An element's line type is its place in the line type table (by layer
  // and by block have numbers of their own).
  bool mlineStyle() {
    struct Element {
      double offset = 0;
      int color = 256;
      int32_t trueColor = -1;
      std::string linetype;
    };
    std::vector<Element> elements;
    bool inElements = false;
    for (const FormGroup& g : r_.groups()) {
      if (g.code == 71) inElements = true;
      if (!inElements) continue;
      if (g.code == 49) {
        elements.push_back(Element());
        elements.back().offset = g.real();
      } else if (elements.empty()) {
        continue;
      } else if (g.code == 62) {
        elements.back().color = int(g.integer());
      } else if (g.code == 420) {
        elements.back().trueColor = int32_t(g.integer());
      } else if (g.code == 6) {
        elements.back().linetype = UpperName(g.text);
      }
    }
    DwgObject& o = begin(kDwgMLineStyle);
    o.data.tv(m_save.encode(r_.text(2)));
    o.data.tv(m_save.encode(r_.text(3)));
    o.data.bs(uint16_t(r_.integer(70, 0)));
    o.color(int16_t(r_.integer(62, 256)), int32_t(r_.integer(420, -1)));
    o.data.bd(r_.real(51, 90) * kDegree);
    o.data.bd(r_.real(52, 90) * kDegree);
    o.data.rc(uint8_t(elements.size()));
    for (const Element& e : elements) {
      o.data.bd(e.offset);
      o.color(int16_t(e.color), e.trueColor);
      uint16_t index = 32767;
      if (e.linetype == "BYBLOCK") {
        index = 32766;
      } else if (e.linetype != "BYLAYER" && !e.linetype.empty()) {
        uint64_t h = m_save.named(kTableLtype, e.linetype);
        auto at = std::find(m_save.linetypeOrder.begin(), m_save.linetypeOrder.end(), h);
        if (!h || at == m_save.linetypeOrder.end()) {
          m_save.fail("找不到线型", e.linetype);
          return false;
        }
        index = uint16_t(at - m_save.linetypeOrder.begin());
      }
      o.data.bs(index);
    }
    return end();
  }

  // Draw order: pairs of an entity and the handle it sorts by.
  bool sortOrder() {
    uint16_t type = classed();
    if (type == 0) return false;
    std::vector<std::pair<uint64_t, uint64_t>> entries;
    const FormGroups& g = r_.groups();
    for (size_t i = 0; i + 1 < g.size(); ++i)
      if (g[i].code == 331 && g[i + 1].code == 5) entries.push_back({g[i].handle(), g[i + 1].handle()});
    DwgObject& o = begin(type);
    o.data.bl(uint32_t(entries.size()));
    for (const auto& e : entries) o.data.handle(0, e.second);
    o.refs.handle(kSoftPointer, r_.handle(330, "AcDbSortentsTable"));
    for (const auto& e : entries) o.refs.handle(kSoftPointer, e.first);
    return end();
  }

  bool rasterVariables() {
    uint16_t type = classed();
    if (type == 0) return false;
    DwgObject& o = begin(type);
    o.data.bl(uint32_t(r_.integer(90, 0)));
    o.data.bs(uint16_t(r_.integer(70, 1)));
    o.data.bs(uint16_t(r_.integer(71, 1)));
    o.data.bs(uint16_t(r_.integer(72, 0)));
    return end();
  }

  bool imageDefinition() {
    DwgObject& o = begin(classed());
    o.data.bl(uint32_t(r_.integer(90, 0)));
    Vec3 size = r_.point(10, Vec3(1, 1));
    o.data.rd2(size.x, size.y);
    o.data.tv(m_save.encode(r_.text(1)));
    o.data.bit(r_.integer(280, 1) != 0);
    o.data.rc(uint8_t(r_.integer(281, 0)));
    Vec3 pixel = r_.point(11, Vec3(1, 1));
    o.data.rd2(pixel.x, pixel.y);
    return end();
  }

  bool versionOnly() {
    DwgObject& o = begin(classed());
    o.data.bl(uint32_t(r_.integer(90, 2)));
    return end();
  }

  bool wipeoutVariables() {
    DwgObject& o = begin(classed());
    o.data.bs(uint16_t(r_.integer(70, 0)));
    return end();
  }

  bool idBuffer() {
    std::vector<uint64_t> ids;
    for (const FormGroup& g : r_.groups())
      if (g.code == 330 && &g != r_.find(330)) ids.push_back(g.handle());
    DwgObject& o = begin(classed());
    o.data.rc(0);
    o.data.bl(uint32_t(ids.size()));
    for (uint64_t h : ids) o.refs.handle(kSoftPointer, h);
    return end();
  }

  bool layerFilter() {
    std::vector<std::string> names;
    for (const FormGroup& g : r_.groups())
      if (g.code == 8) names.push_back(g.text);
    DwgObject& o = begin(classed());
    o.data.bl(uint32_t(names.size()));
    for (const std::string& name : names) o.data.tv(m_save.encode(name));
    return end();
  }

  // A clipping boundary: its points, the clipping planes, and the two
  // transforms (twelve 40 groups each) after them.
  bool spatialFilter() {
    std::vector<Vec3> points;
    std::vector<double> transforms;
    bool afterBack = false;
    const FormGroups& g = r_.groups();
    for (size_t i = 0; i < g.size(); ++i) {
      if (g[i].code == 10) points.push_back(GroupPoint(g, &i));
      else if (g[i].code == 73) afterBack = true;
      else if (g[i].code == 40 && afterBack) transforms.push_back(g[i].real());
    }
    bool front = r_.integer(72, 0) != 0, back = r_.integer(73, 0) != 0;
    if (back && !transforms.empty()) transforms.erase(transforms.begin());
    transforms.resize(24, 0);
    DwgObject& o = begin(classed());
    o.data.bs(uint16_t(points.size()));
    for (const Vec3& p : points) o.data.rd2(p.x, p.y);
    Vec3 e = r_.point(210, Vec3(0, 0, 1)), origin = r_.point(11);
    o.data.bd3(e.x, e.y, e.z);
    o.data.bd3(origin.x, origin.y, origin.z);
    o.data.bs(uint16_t(r_.integer(71, 0)));
    o.data.bs(front);
    if (front) o.data.bd(r_.real(40));
    o.data.bs(back);
    if (back) o.data.bd(r_.real(41));
    for (double value : transforms) o.data.bd(value);
    return end();
  }

  // Indexes are the program's own caches, rebuilt when they are found
  // stale: the time they were made, nothing of their contents.
  bool index() {
    std::vector<std::pair<std::string, uint64_t>> layers;
    std::vector<long long> counts;
    const FormGroups& g = r_.groups();
    for (size_t i = 0; i + 1 < g.size(); ++i)
      if (g[i].code == 8 && g[i + 1].code == 360) layers.push_back({g[i].text, g[i + 1].handle()});
      else if (g[i].code == 90) counts.push_back(g[i].integer());
    DwgObject& o = begin(classed());
    JulianDate(o.data, r_.real(40, 2451545));
    if (r_.type() == "LAYER_INDEX") {
      o.data.bl(uint32_t(layers.size()));
      for (size_t i = 0; i < layers.size(); ++i) {
        o.data.bl(uint32_t(i < counts.size() ? counts[i] : 0));
        o.data.tv(m_save.encode(layers[i].first));
        o.refs.handle(kHardOwner, layers[i].second);
      }
    }
    return end();
  }

  DwgSave& m_save;
  RecordView r_;
  std::unique_ptr<DwgObject> o_;
};

}  // namespace

void NameDictionaries(DwgSave& save, const FormRecord& root) {
  save.namedObjects = FormHandle(root.groups);
  const FormGroups& g = root.groups;
  for (size_t i = 0; i + 1 < g.size(); ++i) {
    if (g[i].code != 3) continue;
    uint64_t h = g[i + 1].handle();
    if (g[i].is("ACAD_GROUP")) save.groupDictionary = h;
    if (g[i].is("ACAD_MLINESTYLE")) save.mlineStyleDictionary = h;
    if (g[i].is("ACAD_LAYOUT")) save.layoutDictionary = h;
    if (g[i].is("ACAD_PLOTSETTINGS")) save.plotSettingsDictionary = h;
    if (g[i].is("ACAD_PLOTSTYLENAME")) save.plotStyleDictionary = h;
    if (g[i].is("ACAD_MATERIAL")) save.materialDictionary = h;
    if (g[i].is("ACAD_COLOR")) save.colorDictionary = h;
  }
}

bool EncodeObject(DwgSave& save, const FormRecord& record) {
  return ObjectEncoder(save, record).run();
}

void AddClass(DwgSave& save, const FormRecord& record) {
  RecordView v(record);
  DwgClass c;
  c.dxfName = v.text(1);
  c.cppName = v.text(2);
  c.appName = v.text(3);
  c.proxyFlags = uint16_t(v.integer(90, 0));
  c.entity = v.integer(281, 0) != 0;
  if (!c.dxfName.empty() && !save.classNumber(c.dxfName)) save.classes.push_back(c);
}

// 2004 starts with the last class number and gives each class its count
// of objects (and the version that made it, not known here).
std::vector<uint8_t> ClassesSection(const DwgSave& save) {
  DwgBitWriter w;
  if (save.since2004()) {
    w.bs(uint16_t(500 + save.classes.size() - 1));
    w.rc(0);
    w.rc(0);
    w.bit(true);
  }
  for (size_t i = 0; i < save.classes.size(); ++i) {
    const DwgClass& c = save.classes[i];
    w.bs(uint16_t(500 + i));
    w.bs(c.proxyFlags);
    w.tv(save.encode(c.appName));
    w.tv(save.encode(c.cppName));
    w.tv(save.encode(c.dxfName));
    w.bit(false);
    w.bs(c.entity ? 0x1F2 : 0x1F3);
    if (save.since2004()) {
      w.bl(c.count);
      w.bs(0);
      w.bs(0);
      w.bl(0);
      w.bl(0);
    }
  }
  w.align();
  return FramedSection(kClassesSentinel, w.bytes());
}

}  // namespace zr
