#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_object_writer.h"

#include <algorithm>
#include <set>

#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/dxf_writer.h"

namespace zr {

namespace {

// Object types a version holds. A save to an earlier version than the
// file's keeps only these: an object of a later kind (materials, visual
// styles, scales, multileader and table styles, ...) cannot be read there,
// so it goes, with every object it owns and every reference to it.
bool TypeInVersion(const std::string& type, int version) {
  static const char* const kR14[] = {"DICTIONARY", "XRECORD", "GROUP", "MLINESTYLE", "IDBUFFER",
                                     "IMAGEDEF", "IMAGEDEF_REACTOR", "RASTERVARIABLES",
                                     "SPATIAL_FILTER", "SPATIAL_INDEX", "LAYER_INDEX",
                                     "WIPEOUTVARIABLES"};
  static const char* const k2000[] = {"ACDBDICTIONARYWDFLT", "ACDBPLACEHOLDER", "DICTIONARYVAR",
                                      "PLOTSETTINGS", "LAYER_FILTER", "SORTENTSTABLE", "DIMASSOC"};
  for (const char* name : kR14)
    if (type == name) return true;
  if (version == kSaveR14) return false;
  for (const char* name : k2000)
    if (type == name) return true;
  return false;
}

bool IsDictionary(const RawGroups& groups) {
  for (const RawGroup& g : groups)
    if (g.code == 100 && g.value == "AcDbDictionary") return true;
  return false;
}

bool IsPropsRecord(const RawRecord& record) {
  if (record.type != "XRECORD") return false;
  for (const RawGroup& g : record.groups)
    if (g.code == 1 && g.value == "DWGPROPS COOKIE") return true;
  return false;
}

// The groups of a record between two subclass markers (`to` empty: to the end).
RawGroups Subclass(const RawGroups& groups, const char* from, const char* to) {
  RawGroups part;
  bool in = false;
  for (const RawGroup& g : groups) {
    if (g.code == 100) {
      if (in && to && g.value == to) break;
      in = g.value == from;
      continue;
    }
    if (in) part.push_back(g);
  }
  return part;
}

bool IsLayoutOwnGroup(int code) {
  return code == 1 || code == 70 || code == 71 || code == 10 || code == 20 || code == 11 ||
         code == 21 || code == 330;
}

// Kinds of entity whose class a downgraded file keeps.
void AddEntityTypes(const Entity& e, std::set<std::string>& types) {
  types.insert(EntityTypeName(e));
  if (e.extra)
    for (const Entity& child : e.extra->children) AddEntityTypes(child, types);
}

}  // namespace

ObjectWriter::ObjectWriter(SaveContext& context, EntityWriter& writer) : c_(context), w_(writer) {}

void ObjectWriter::plan() {
  HandlePlan& handles = c_.handles;
  std::vector<RawRecord> records = SplitRecords(c_.db.objects, &c_.db);
  size_t root = records.size();
  for (size_t i = 0; i < records.size() && root == records.size(); ++i)
    if (records[i].type == "DICTIONARY") root = i;
  uint64_t oldLayouts = 0, oldProps = 0, oldGroups = 0;
  if (root < records.size()) {
    m_rootGroups = records[root].groups;
    const RawGroups& g = m_rootGroups;
    for (size_t i = 0; i + 1 < g.size(); ++i) {
      if (g[i].code != 3 || (g[i + 1].code != 350 && g[i + 1].code != 360)) continue;
      uint64_t target = ParseHandle(g[i + 1].value);
      if (g[i].value == "ACAD_LAYOUT") oldLayouts = target;
      else if (g[i].value == "DWGPROPS") oldProps = target;
      else if (g[i].value == "ACAD_GROUP") oldGroups = target;
    }
  }
  for (const RawRecord& r : records) {
    if (r.type == "LAYOUT") m_layoutRecords.insert({RecordHandle(r.groups), r.groups});
    if (oldProps == 0 && IsPropsRecord(r)) oldProps = RecordHandle(r.groups);
  }
  // The objects made anew claim their handles first.
  m_root = handles.claim(root < records.size() ? RecordHandle(records[root].groups) : 0);
  c_.layoutHandles.clear();
  if (c_.layouts) {
    m_layoutDictionary = handles.claim(oldLayouts);
    for (const Layout& l : c_.db.layouts) c_.layoutHandles.push_back(handles.claim(l.handle));
  }
  bool props = false;
  for (const Property& p : c_.db.properties) props = props || p.id != 17 || c_.version != kSave2004;
  if (props) m_props = handles.claim(oldProps);
  std::vector<RawRecord> others;
  for (size_t i = 0; i < records.size(); ++i) {
    uint64_t h = RecordHandle(records[i].groups);
    bool remade = i == root || records[i].type == "LAYOUT" || IsPropsRecord(records[i]) ||
                  (h != 0 && (h == oldLayouts || h == oldProps));
    if (!remade) others.push_back(std::move(records[i]));
  }
  planKept(others);
  m_newGroupDictionary = true;
  for (const Kept& k : m_kept) m_newGroupDictionary = m_newGroupDictionary && k.handle != oldGroups;
  m_groupDictionary = m_newGroupDictionary ? handles.fresh() : oldGroups;
  for (uint64_t h : {m_root, m_layoutDictionary, m_props, m_groupDictionary})
    if (h) handles.markObject(h);
  for (uint64_t h : c_.layoutHandles) handles.markObject(h);
  for (const Kept& k : m_kept) handles.markObject(k.handle);
}

bool ObjectWriter::typeKept(const std::string& type) const {
  const std::vector<std::string>& leftOut = c_.limits.objectKindsLeftOut;
  if (std::find(leftOut.begin(), leftOut.end(), type) != leftOut.end()) return false;
  return !c_.downgrade || TypeInVersion(type, c_.version);
}

// Objects whose kind the version holds and whose owner is written.
void ObjectWriter::planKept(const std::vector<RawRecord>& records) {
  std::vector<bool> alive(records.size());
  std::set<uint64_t> candidates;
  for (size_t i = 0; i < records.size(); ++i) {
    alive[i] = typeKept(records[i].type);
    if (alive[i]) candidates.insert(RecordHandle(records[i].groups));
  }
  for (bool changed = true; changed;) {
    changed = false;
    for (size_t i = 0; i < records.size(); ++i) {
      if (!alive[i]) continue;
      uint64_t owner = RecordOwner(records[i].groups);
      if (owner == 0 || c_.handles.defined(owner) || candidates.count(owner)) continue;
      alive[i] = false;
      candidates.erase(RecordHandle(records[i].groups));
      changed = true;
    }
  }
  for (size_t i = 0; i < records.size(); ++i) {
    if (!alive[i]) continue;
    Kept k;
    k.type = records[i].type;
    k.handle = c_.handles.claim(RecordHandle(records[i].groups));
    bool own = true;
    for (const RawGroup& g : records[i].groups) {
      if (own && g.code == 5) {
        own = false;
        continue;
      }
      if (g.code == 100) own = false;
      k.groups.push_back(g);
    }
    if (k.type == "XRECORD") adaptXrecord(k.groups);
    m_kept.push_back(std::move(k));
  }
}

// From 2000 an XRECORD starts its data with a cloning flag (280): it goes
// for R14 and comes for a file of R14 or before saved as 2000 or later.
void ObjectWriter::adaptXrecord(RawGroups& groups) const {
  int source = AcadVersionNumber(c_.db.acadver);
  auto data = groups.begin();
  while (data != groups.end() && !(data->code == 100 && data->value == "AcDbXrecord")) ++data;
  if (data == groups.end()) return;
  ++data;
  bool flagged = data != groups.end() && data->code == 280;
  if (c_.version == kSaveR14 && source >= 1015 && flagged) groups.erase(data);
  else if (c_.version != kSaveR14 && source <= 1014) groups.insert(data, {280, "1"});
}

bool ObjectWriter::classKept(const std::string& name, const std::set<std::string>& types) const {
  if (!c_.downgrade) return true;
  for (const Kept& k : m_kept)
    if (k.type == name) return true;
  return types.count(name) != 0 || name == "LAYOUT";
}

// The file's class definitions in the group set of the version written:
// the instance count only from 2004, the proxy flags not for R14.
void ObjectWriter::writeClasses() {
  w_.str(0, "SECTION");
  w_.str(2, "CLASSES");
  std::set<std::string> entityTypes;
  if (c_.downgrade)
    for (const Block& b : c_.db.blocks)
      for (const Entity& e : b.entities)
        if (EntityInVersion(e, c_.version, true)) AddEntityTypes(e, entityTypes);
  for (const auto& section : c_.db.otherSections) {
    if (section.first != "CLASSES") continue;
    for (const RawRecord& r : SplitRecords(section.second, &c_.db)) {
      std::string name = ValueOf(r.groups, 1, "");
      if (r.type != "CLASS" || name.empty() || !classKept(name, entityTypes)) continue;
      w_.str(0, "CLASS");
      w_.text(1, name);
      w_.text(2, ValueOf(r.groups, 2, ""));
      w_.text(3, ValueOf(r.groups, 3, ""));
      if (c_.version != kSaveR14) w_.text(90, ValueOf(r.groups, 90, "0"));
      if (c_.version == kSave2004) w_.text(91, ValueOf(r.groups, 91, "0"));
      w_.text(280, ValueOf(r.groups, 280, "0"));
      w_.text(281, ValueOf(r.groups, 281, "0"));
    }
  }
  w_.str(0, "ENDSEC");
}

void ObjectWriter::writeObjects() {
  w_.str(0, "SECTION");
  w_.str(2, "OBJECTS");
  writeRoot();
  if (c_.layouts) {
    std::vector<std::pair<std::string, uint64_t>> layouts;
    for (size_t i = 0; i < c_.db.layouts.size(); ++i)
      layouts.push_back({c_.db.layouts[i].name, c_.layoutHandles[i]});
    dictionary(m_layoutDictionary, m_root, layouts);
    for (size_t i = 0; i < c_.db.layouts.size(); ++i) layout(i);
  }
  if (m_props) dwgProps();
  for (const Kept& k : m_kept) {
    w_.text(0, k.type);
    w_.handle(5, k.handle);
    w_.braces(k.groups, false);
    w_.keptData(k.groups, false, IsDictionary(k.groups));
  }
  // Last, where a save of this file finds it among the kept objects.
  if (m_newGroupDictionary) dictionary(m_groupDictionary, m_root, {});
  w_.str(0, "ENDSEC");
}

// The file's root dictionary with its entries (those whose object is
// written), the group and layout dictionaries and the properties record.
void ObjectWriter::writeRoot() {
  w_.str(0, "DICTIONARY");
  w_.handle(5, m_root);
  w_.braces(m_rootGroups, false);
  w_.handle(330, 0);
  w_.str(100, "AcDbDictionary");
  RawGroups body = Subclass(m_rootGroups, "AcDbDictionary", nullptr);
  bool flags = false;
  for (const RawGroup& g : body) {
    if (g.code != 280 && g.code != 281) continue;
    w_.keptGroup(g, false);
    flags = flags || g.code == 281;
  }
  if (!flags) w_.integer(281, 1);
  RawGroups entries;
  std::set<std::string> named;
  auto add = [&](const std::string& name, int code, const std::string& value) {
    entries.push_back({3, name});
    entries.push_back({code, value});
    named.insert(name);
  };
  for (size_t i = 0; i + 1 < body.size(); ++i) {
    const RawGroup& g = body[i];
    const RawGroup& target = body[i + 1];
    if (g.code != 3 || (target.code != 350 && target.code != 360)) continue;
    std::string value = target.value;
    if (g.value == "ACAD_LAYOUT" && !c_.layouts) continue;
    if (g.value == "ACAD_LAYOUT") value = HandleText(m_layoutDictionary);
    else if (g.value == "ACAD_GROUP") value = HandleText(m_groupDictionary);
    else if (g.value == "DWGPROPS" && m_props) value = HandleText(m_props);
    else if (g.value == "DWGPROPS") continue;
    add(g.value, target.code, value);
  }
  if (!named.count("ACAD_GROUP")) add("ACAD_GROUP", 350, HandleText(m_groupDictionary));
  if (c_.layouts && !named.count("ACAD_LAYOUT")) add("ACAD_LAYOUT", 350, HandleText(m_layoutDictionary));
  if (m_props && !named.count("DWGPROPS")) add("DWGPROPS", 350, HandleText(m_props));
  w_.keptData(entries, false, true);
}

void ObjectWriter::dictionary(uint64_t handle, uint64_t owner,
                              const std::vector<std::pair<std::string, uint64_t>>& entries) {
  w_.str(0, "DICTIONARY");
  w_.handle(5, handle);
  w_.handle(330, owner);
  w_.str(100, "AcDbDictionary");
  w_.integer(281, 1);
  for (const auto& e : entries) {
    w_.text(3, e.first);
    w_.handle(350, e.second);
  }
}

// A LAYOUT object: the drawing's name, tab order, limits and block; the
// plot settings and the rest of the layout as the file held them.
void ObjectWriter::layout(size_t i) {
  const Layout& l = c_.db.layouts[i];
  auto found = m_layoutRecords.find(l.handle);
  RawGroups none;
  const RawGroups& raw = l.handle != 0 && found != m_layoutRecords.end() ? found->second : none;
  w_.str(0, "LAYOUT");
  w_.handle(5, c_.layoutHandles[i]);
  w_.braces(raw, false);
  w_.handle(330, m_layoutDictionary);
  w_.str(100, "AcDbPlotSettings");
  RawGroups plot = Subclass(raw, "AcDbPlotSettings", "AcDbLayout");
  if (plot.empty()) plotSettingsDefaults(i);
  else w_.keptData(plot, false);
  w_.str(100, "AcDbLayout");
  RawGroups rest = Subclass(raw, "AcDbLayout", nullptr);
  w_.text(1, l.name);
  w_.text(70, ValueOf(rest, 70, "1"));
  w_.integer(71, int(i));
  w_.point2(10, l.limMin);
  w_.point2(11, l.limMax);
  // Before the kept groups, which end with the layout's extended data.
  int32_t block = l.block;
  w_.handle(330, block >= 0 && size_t(block) < c_.recordHandles.size() ? c_.recordHandles[size_t(block)] : 0);
  if (rest.empty()) layoutDefaults();
  else w_.keptData(rest, false, false, IsLayoutOwnGroup);
}

void ObjectWriter::plotSettingsDefaults(size_t i) {
  w_.str(1, "");
  w_.str(2, "none_device");
  w_.str(4, "");
  w_.str(6, "");
  for (int code = 40; code <= 49; ++code) w_.real(code, 0);
  w_.real(140, 0);
  w_.real(141, 0);
  w_.real(142, 1);
  w_.real(143, 1);
  w_.integer(70, i == 0 ? 1712 : 688);
  w_.integer(72, 0);
  w_.integer(73, 0);
  w_.integer(74, 5);
  w_.str(7, "");
  w_.integer(75, 16);
  w_.real(147, 1);
  w_.real(148, 0);
  w_.real(149, 0);
}

void ObjectWriter::layoutDefaults() {
  w_.point(12, Vec3());
  w_.point(14, Vec3());
  w_.point(15, Vec3());
  w_.real(146, 0);
  w_.point(13, Vec3());
  w_.point(16, Vec3(1, 0, 0));
  w_.point(17, Vec3(0, 1, 0));
  w_.integer(76, 0);
}

void ObjectWriter::dwgProps() {
  const std::vector<Property>& properties = c_.db.properties;
  w_.str(0, "XRECORD");
  w_.handle(5, m_props);
  w_.handle(330, m_root);
  w_.str(100, "AcDbXrecord");
  w_.integer(280, 1);
  w_.str(1, "DWGPROPS COOKIE");
  static const struct { int id; int code; } kCodes[] = {{1, 2}, {2, 3}, {3, 4}, {5, 6}, {4, 7}, {6, 8}, {7, 9}};
  for (const auto& c : kCodes) {
    std::string text;
    for (const Property& p : properties)
      if (p.id == c.id) text = p.text;
    w_.text(c.code, text);
  }
  // 2004 keeps custom properties in the header; earlier versions here.
  int custom = 0;
  for (const Property& p : properties)
    if (p.id == 17 && custom < 10 && c_.version != kSave2004) w_.text(300 + custom++, p.text);
  std::string hyperlink;
  for (const Property& p : properties)
    if (p.id == 0) hyperlink = p.text;
  w_.text(1, hyperlink);
}

}  // namespace zr
