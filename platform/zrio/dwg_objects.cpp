// The objects of a DWG save (dictionaries, layouts, records, groups,
// multiline styles, plot settings) and the classes their kinds need.
#include "platform/zrio/win32.h"

#include <math.h>
#include <string.h>

#include "platform/zrio/dwg_encoders.h"
#include "platform/zrio/dwg_sections.h"

namespace zr {

namespace {

const double kDegree = M_PI / 180;

// Kinds that have no fixed type number and go through a class.
const DwgClass kKnownClasses[] = {
    {"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault", "ObjectDBX Classes", 0, false},
    {"DICTIONARYVAR", "AcDbDictionaryVar", "ObjectDBX Classes", 0, false},
    {"PLOTSETTINGS", "AcDbPlotSettings", "ObjectDBX Classes", 0, false},
    {"SORTENTSTABLE", "AcDbSortentsTable", "ObjectDBX Classes", 0, false},
    {"RASTERVARIABLES", "AcDbRasterVariables", "ISM", 0, false},
};

class ObjectEncoder {
 public:
  ObjectEncoder(DwgSave& save, const RawRecord& record) : save_(save), r_(record) {}

  bool run() {
    const std::string& t = r_.type();
    if (t == "DICTIONARY") return dictionary(kDwgDictionary, false);
    if (t == "ACDBDICTIONARYWDFLT") return dictionary(save_.classNumber(t), true);
    if (t == "LAYOUT" && save_.r2000()) return layout();
    if (t == "PLOTSETTINGS" && save_.r2000()) return plotSettingsObject();
    if (t == "XRECORD") return xrecord();
    if (t == "ACDBPLACEHOLDER") return placeholder();
    if (t == "DICTIONARYVAR") return dictionaryVariable();
    if (t == "GROUP") return group();
    if (t == "MLINESTYLE") return mlineStyle();
    if (t == "SORTENTSTABLE") return sortOrder();
    if (t == "RASTERVARIABLES") return rasterVariables();
    return false;
  }

 private:
  DwgObject& begin(uint16_t type) {
    o_.reset(new DwgObject(save_, type, RecordHandle(r_.groups()), r_));
    o_->objectCommon(RecordOwner(r_.groups()));
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
    const RawGroups& g = r_.groups();
    for (size_t i = 0; i + 1 < g.size(); ++i)
      if (g[i].code == 3 && (g[i + 1].code == 350 || g[i + 1].code == 360) &&
          !save_.leftOut.count(ParseHandle(g[i + 1].value))) {
        entries.push_back({g[i].value, ParseHandle(g[i + 1].value)});
        hardOwner = hardOwner || g[i + 1].code == 360;
      }
    DwgObject& o = begin(type);
    o.data.bl(uint32_t(entries.size()));
    if (save_.r2000()) {
      o.data.bs(uint16_t(r_.integer(281, 1)));
      o.data.rc(uint8_t(r_.integer(280, hardOwner ? 1 : 0)));
    } else {
      o.data.rc(0);
    }
    for (const auto& e : entries) {
      o.data.tv(save_.encode(e.first));
      o.refs.handle(kSoftOwner, e.second);
    }
    if (withDefault) o.refs.handle(kHardPointer, r_.handle(340));
    return end();
  }

  void plotSettings(DwgObject& o) {
    o.data.tv(save_.encode(r_.text(1)));
    o.data.tv(save_.encode(r_.text(2)));
    o.data.bs(uint16_t(r_.integer(70, 688)));
    for (int code = 40; code <= 45; ++code) o.data.bd(r_.real(code));
    o.data.tv(save_.encode(r_.text(4)));
    o.data.bd2(r_.real(46), r_.real(47));
    o.data.bs(uint16_t(r_.integer(72, 0)));
    o.data.bs(uint16_t(r_.integer(73, 0)));
    o.data.bs(uint16_t(r_.integer(74, 5)));
    o.data.bd2(r_.real(48), r_.real(49));
    o.data.bd2(r_.real(140), r_.real(141));
    o.data.tv(save_.encode(r_.text(6)));
    o.data.bd(r_.real(142, 1));
    o.data.bd(r_.real(143, 1));
    o.data.tv(save_.encode(r_.text(7)));
    o.data.bs(uint16_t(r_.integer(75, 16)));
    o.data.bd(r_.real(147, 1));
    o.data.bd2(r_.real(148), r_.real(149));
  }

  bool plotSettingsObject() {
    uint16_t type = save_.classNumber("PLOTSETTINGS");
    if (type == 0) return false;
    plotSettings(begin(type));
    return end();
  }

  bool layout() {
    DwgObject& o = begin(kDwgLayout);
    plotSettings(o);
    const char* own = "AcDbLayout";
    auto point = [&](int code, const Vec3& fallback) {
      if (!r_.find(code, own)) return fallback;
      const RawGroup* y = r_.find(code + 10, own);
      const RawGroup* z = r_.find(code + 20, own);
      return Vec3(RealValue(r_.find(code, own)->value), y ? RealValue(y->value) : 0,
                  z ? RealValue(z->value) : 0);
    };
    auto integer = [&](int code, long long fallback) {
      const RawGroup* g = r_.find(code, own);
      return g ? IntegerValue(g->value) : fallback;
    };
    const RawGroup* name = r_.find(1, own);
    o.data.tv(save_.encode(name ? name->value : ""));
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
    const RawGroup* elevation = r_.find(146, own);
    o.data.bd(elevation ? RealValue(elevation->value) : 0);
    o.data.bs(uint16_t(integer(76, 0)));
    Vec3 emin = point(14, Vec3()), emax = point(15, Vec3());
    o.data.bd3(emin.x, emin.y, emin.z);
    o.data.bd3(emax.x, emax.y, emax.z);
    auto reference = [&](int code) {
      const RawGroup* g = r_.find(code, own);
      return g ? ParseHandle(g->value) : 0;
    };
    o.refs.handle(kSoftPointer, reference(330));
    o.refs.handle(kSoftPointer, reference(331));
    o.refs.handle(kHardPointer, reference(346));
    o.refs.handle(kHardPointer, reference(345));
    return end();
  }

  // Record values by group code kind; handles inside records are not written.
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
    const RawGroups& g = r_.groups();
    bool data = false;
    for (size_t i = 0; i < g.size(); ++i) {
      int c = g[i].code;
      if (c == 100 && g[i].value == "AcDbXrecord") {
        data = true;
        continue;
      }
      if (!data || (c == 280 && bytes.empty()) || c >= 1000) continue;
      le(uint64_t(c), 2);
      if ((c >= 1 && c <= 9) || (c >= 300 && c <= 309) || (c >= 100 && c <= 102)) {
        std::string text = save_.encode(g[i].value);
        le(text.size(), 2);
        bytes += char(save_.codePage);
        bytes += text;
      } else if ((c >= 10 && c <= 18) || (c >= 110 && c <= 112)) {
        real(RealValue(g[i].value));
        double y = 0, z = 0;
        if (i + 1 < g.size() && g[i + 1].code == c + 10) y = RealValue(g[++i].value);
        if (i + 1 < g.size() && g[i + 1].code == c + 20) z = RealValue(g[++i].value);
        real(y);
        real(z);
      } else if ((c >= 40 && c <= 59) || (c >= 140 && c <= 149) || (c >= 210 && c <= 239)) {
        real(RealValue(g[i].value));
      } else if ((c >= 60 && c <= 79) || (c >= 170 && c <= 179) || (c >= 270 && c <= 279) ||
                 (c >= 370 && c <= 389) || (c >= 400 && c <= 409)) {
        le(uint64_t(IntegerValue(g[i].value)), 2);
      } else if ((c >= 90 && c <= 99) || (c >= 420 && c <= 429) || (c >= 440 && c <= 449)) {
        le(uint64_t(IntegerValue(g[i].value)), 4);
      } else if (c >= 280 && c <= 299) {
        bytes += char(IntegerValue(g[i].value));
      } else {
        return false;
      }
    }
    DwgObject& o = begin(kDwgXRecord);
    o.data.bl(uint32_t(bytes.size()));
    o.data.raw(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (save_.r2000()) o.data.bs(uint16_t(r_.integer(280, 1)));
    return end();
  }

  bool placeholder() {
    begin(kDwgPlaceholder);
    return end();
  }

  bool dictionaryVariable() {
    uint16_t type = save_.classNumber("DICTIONARYVAR");
    if (type == 0) return false;
    DwgObject& o = begin(type);
    o.data.rc(uint8_t(r_.integer(280, 0)));
    o.data.tv(save_.encode(r_.text(1)));
    return end();
  }

  bool group() {
    std::vector<uint64_t> members;
    for (const RawGroup& g : r_.groups())
      if (g.code == 340) members.push_back(ParseHandle(g.value));
    DwgObject& o = begin(kDwgGroup);
    o.data.tv(save_.encode(r_.text(300)));
    o.data.bs(uint16_t(r_.integer(70, 0)));
    o.data.bs(uint16_t(r_.integer(71, 1)));
    o.data.bl(uint32_t(members.size()));
    for (uint64_t h : members) o.refs.handle(kHardPointer, h);
    return end();
  }

  bool mlineStyle() {
    struct Element {
      double offset = 0;
      int color = 256;
      std::string linetype;
    };
    std::vector<Element> elements;
    bool inElements = false;
    for (const RawGroup& g : r_.groups()) {
      if (g.code == 71) inElements = true;
      if (!inElements) continue;
      if (g.code == 49) elements.push_back(Element());
      else if (elements.empty()) continue;
      else if (g.code == 62) elements.back().color = int(IntegerValue(g.value));
      else if (g.code == 6) elements.back().linetype = UpperName(g.value);
    }
    for (size_t i = 0, k = 0; i < r_.groups().size(); ++i)
      if (r_.groups()[i].code == 49 && k < elements.size()) elements[k++].offset = RealValue(r_.groups()[i].value);
    DwgObject& o = begin(kDwgMLineStyle);
    o.data.tv(save_.encode(r_.text(2)));
    o.data.tv(save_.encode(r_.text(3)));
    o.data.bs(uint16_t(r_.integer(70, 0)));
    o.data.cmc(int16_t(r_.integer(62, 256)));
    o.data.bd(r_.real(51, 90) * kDegree);
    o.data.bd(r_.real(52, 90) * kDegree);
    o.data.rc(uint8_t(elements.size()));
    for (const Element& e : elements) {
      o.data.bd(e.offset);
      o.data.cmc(int16_t(e.color));
      uint16_t index = e.linetype == "BYBLOCK" ? 32766 : 32767;
      if (e.linetype != "BYLAYER" && e.linetype != "BYBLOCK" && !e.linetype.empty()) return false;
      o.data.bs(index);
    }
    return end();
  }

  // Draw order: pairs of an entity and the handle it sorts by.
  bool sortOrder() {
    uint16_t type = save_.classNumber("SORTENTSTABLE");
    if (type == 0) return false;
    std::vector<std::pair<uint64_t, uint64_t>> entries;
    const RawGroups& g = r_.groups();
    for (size_t i = 0; i + 1 < g.size(); ++i)
      if (g[i].code == 331 && g[i + 1].code == 5)
        entries.push_back({ParseHandle(g[i].value), ParseHandle(g[i + 1].value)});
    DwgObject& o = begin(type);
    o.data.bl(uint32_t(entries.size()));
    for (const auto& e : entries) o.data.handle(0, e.second);
    o.refs.handle(kSoftPointer, r_.handle(330, "AcDbSortentsTable"));
    for (const auto& e : entries) o.refs.handle(kSoftPointer, e.first);
    return end();
  }

  bool rasterVariables() {
    uint16_t type = save_.classNumber("RASTERVARIABLES");
    if (type == 0) return false;
    DwgObject& o = begin(type);
    o.data.bl(uint32_t(r_.integer(90, 0)));
    o.data.bs(uint16_t(r_.integer(70, 1)));
    o.data.bs(uint16_t(r_.integer(71, 1)));
    o.data.bs(uint16_t(r_.integer(72, 0)));
    return end();
  }

  DwgSave& save_;
  RecordView r_;
  std::unique_ptr<DwgObject> o_;
};

// The root dictionary's entries name the dictionaries the header points at.
void NameDictionaries(DwgSave& save, const std::vector<RawRecord>& objects) {
  if (objects.empty() || objects[0].type != "DICTIONARY") return;
  save.namedObjects = RecordHandle(objects[0].groups);
  const RawGroups& g = objects[0].groups;
  for (size_t i = 0; i + 1 < g.size(); ++i) {
    if (g[i].code != 3) continue;
    uint64_t h = ParseHandle(g[i + 1].value);
    if (g[i].value == "ACAD_GROUP") save.groupDictionary = h;
    if (g[i].value == "ACAD_MLINESTYLE") save.mlineStyleDictionary = h;
    if (g[i].value == "ACAD_LAYOUT") save.layoutDictionary = h;
    if (g[i].value == "ACAD_PLOTSETTINGS") save.plotSettingsDictionary = h;
    if (g[i].value == "ACAD_PLOTSTYLENAME") save.plotStyleDictionary = h;
  }
}

}  // namespace

bool LaterObjectKind(const std::string& type) {
  static const char* const kLater[] = {
      "MATERIAL", "VISUALSTYLE", "MLEADERSTYLE", "TABLESTYLE", "SCALE", "CELLSTYLEMAP",
      "SUN", "TABLEGEOMETRY", "TABLECONTENT", "FIELD", "FIELDLIST", "DETAILVIEWSTYLE",
      "SECTIONVIEWSTYLE", "GEODATA", "ACAD_EVALUATION_GRAPH", "DBCOLOR", "LIGHTLIST",
      "RENDERENVIRONMENT", "RENDERGLOBAL", "MENTALRAYRENDERSETTINGS", "ACDBASSOCNETWORK"};
  for (const char* later : kLater)
    if (type == later) return true;
  return false;
}

bool EncodeObject(DwgSave& save, const RawRecord& record) {
  return ObjectEncoder(save, record).run();
}

void PlanClasses(DwgSave& save, const std::vector<RawRecord>& classes,
                 const std::vector<RawRecord>& objects) {
  NameDictionaries(save, objects);
  for (const RawRecord& r : classes) {
    RecordView v(r);
    DwgClass c;
    c.dxfName = v.text(1);
    c.cppName = v.text(2);
    c.appName = v.text(3);
    c.proxyFlags = uint16_t(v.integer(90, 0));
    c.entity = v.integer(281, 0) != 0;
    if (!c.dxfName.empty() && !save.classNumber(c.dxfName)) save.classes.push_back(c);
  }
  for (const DwgClass& known : kKnownClasses) {
    if (save.classNumber(known.dxfName)) continue;
    for (const RawRecord& r : objects)
      if (r.type == known.dxfName) {
        save.classes.push_back(known);
        break;
      }
  }
}

std::vector<uint8_t> ClassesSection(const DwgSave& save) {
  DwgBitWriter w;
  for (size_t i = 0; i < save.classes.size(); ++i) {
    const DwgClass& c = save.classes[i];
    w.bs(uint16_t(500 + i));
    w.bs(c.proxyFlags);
    w.tv(save.encode(c.appName));
    w.tv(save.encode(c.cppName));
    w.tv(save.encode(c.dxfName));
    w.bit(false);
    w.bs(c.entity ? 0x1F2 : 0x1F3);
  }
  w.align();
  return FramedSection(kClassesSentinel, w.bytes());
}

}  // namespace zr
