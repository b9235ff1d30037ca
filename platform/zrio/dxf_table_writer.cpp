#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_table_writer.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <set>

#include "platform/zrio/dxf_writer.h"

namespace zr {

namespace {

const char* const kStandardTables[] = {"VPORT", "LTYPE", "LAYER", "STYLE", "VIEW",
                                       "UCS", "APPID", "DIMSTYLE", "BLOCK_RECORD"};

const char* SubclassOf(const std::string& table) {
  static const struct { const char* table; const char* subclass; } kSubclasses[] = {
      {"VPORT", "AcDbViewportTableRecord"},  {"LTYPE", "AcDbLinetypeTableRecord"},
      {"LAYER", "AcDbLayerTableRecord"},     {"STYLE", "AcDbTextStyleTableRecord"},
      {"VIEW", "AcDbViewTableRecord"},       {"UCS", "AcDbUCSTableRecord"},
      {"APPID", "AcDbRegAppTableRecord"},    {"DIMSTYLE", "AcDbDimStyleTableRecord"},
      {"BLOCK_RECORD", "AcDbBlockTableRecord"}};
  for (const auto& s : kSubclasses)
    if (table == s.table) return s.subclass;
  return nullptr;
}

// The dimension variables an R12 DIMSTYLE entry holds (each once).
bool R12DimStyleKeeps(int code) {
  return code == 2 || code == 70 || (code >= 3 && code <= 7) || (code >= 40 && code <= 48) ||
         (code >= 140 && code <= 147) || (code >= 71 && code <= 78) || (code >= 170 && code <= 178);
}

// Groups of other R12 table entries: below 100 (no handles), and extended
// data without handles.
bool R12EntryKeeps(int code) {
  return (code > 0 && code < 100 && code != 5) || (code >= 1000 && code <= 1071 && code != 1005);
}

std::string RealText(double value) {
  char buffer[40];
  snprintf(buffer, sizeof(buffer), "%.17g", value);
  if (!strchr(buffer, '.') && !strchr(buffer, 'e') && !strchr(buffer, 'n')) strcat(buffer, ".0");
  return buffer;
}

bool NameIs(const RawGroups& groups, const char* name) {
  return UpperName(ValueOf(groups, 2, "")) == name;
}

// Extended data applications named by a group list.
void AddApps(const RawGroups& groups, std::set<std::string>& apps) {
  for (const RawGroup& g : groups)
    if (g.code == 1001) apps.insert(g.value);
}

bool IsLayerHandleGroup(int code) { return code == 5 || code == 390; }
bool IsBlockRecordGroup(int code) { return code == 2 || code == 340; }

void AddEntityApps(const Entity& e, std::set<std::string>& apps) {
  if (!e.extra) return;
  AddApps(e.extra->raw, apps);
  for (const Entity& child : e.extra->children) AddEntityApps(child, apps);
}

}  // namespace

TableWriter::TableWriter(SaveContext& context, EntityWriter& writer) : c_(context), w_(writer) {}

std::vector<TableWriter::Entry> TableWriter::keptEntries(const std::string& name,
                                                         uint64_t* tableHandle) const {
  std::vector<Entry> entries;
  int handleCode = name == "DIMSTYLE" ? 105 : 5;
  for (const RawTable& t : c_.db.otherTables) {
    if (t.name != name) continue;
    if (tableHandle && *tableHandle == 0) *tableHandle = RecordHandle(t.groups);
    for (RawRecord& record : SplitRecords(t.groups, &c_.db)) {
      Entry entry;
      bool inBrace = false, handleSeen = false, ownerSeen = false;
      for (RawGroup& g : record.groups) {
        if (g.code == 102) inBrace = !g.value.empty() && g.value[0] == '{';
        if (!inBrace && g.code == handleCode && !handleSeen) {
          entry.handle = ParseHandle(g.value);
          handleSeen = true;
        } else if (!inBrace && g.code == 330 && !ownerSeen) {
          ownerSeen = true;
        } else if (g.code != 100) {
          entry.groups.push_back(std::move(g));
        }
      }
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

TableWriter::Table& TableWriter::addTable(const std::string& name) {
  m_tables.emplace_back();
  m_tables.back().name = name;
  return m_tables.back();
}

void TableWriter::claim(Table& table) {
  table.handle = c_.handles.claim(table.handle);
  for (Entry& entry : table.entries) entry.handle = c_.handles.claim(entry.handle);
}

void TableWriter::plan() {
  planViewports();
  planLinetypes();
  planLayers();
  planWithStandard("STYLE", {{70, "0"}, {40, "0.0"}, {41, "1.0"}, {50, "0.0"}, {71, "0"},
                             {42, "2.5"}, {3, "txt"}, {4, ""}});
  for (const char* name : {"VIEW", "UCS"}) {
    Table& table = addTable(name);
    table.entries = keptEntries(name, &table.handle);
  }
  planAppIds();
  planWithStandard("DIMSTYLE", {{70, "0"}});
  // R12 has no block records, and no tables but its own.
  if (c_.modern) {
    planBlockRecords();
    planOtherTables();
  }
  for (Table& table : m_tables) claim(table);
  for (const Table& table : m_tables)
    if (table.name == "BLOCK_RECORD")
      for (const Entry& entry : table.entries) c_.recordHandles[entry.index] = entry.handle;
}

// The file's viewport configurations are kept, the active one and its
// tiles included; a file without an active viewport gets one around the
// drawing's extents.
void TableWriter::planViewports() {
  Table& table = addTable("VPORT");
  std::vector<Entry> kept = keptEntries("VPORT", &table.handle);
  bool hasActive = false;
  for (const Entry& entry : kept) hasActive = hasActive || NameIs(entry.groups, "*ACTIVE");
  if (!hasActive) {
    Entry active;
    active.source = Source::ActiveViewport;
    table.entries.push_back(active);
  }
  for (Entry& entry : kept) table.entries.push_back(std::move(entry));
}

// Modern versions keep the file's line types with all their groups (complex
// ones included); R12 gets the simple dash patterns of the drawing.
void TableWriter::planLinetypes() {
  Table& table = addTable("LTYPE");
  std::vector<Entry> kept = keptEntries("LTYPE", &table.handle);
  auto pattern = [&](const std::string& name, const std::string& description,
                     const std::vector<double>& dashes, double length) {
    Entry entry;
    entry.groups = {{2, name}, {70, "0"}, {3, description}, {72, "65"},
                    {73, std::to_string(dashes.size())}, {40, RealText(length)}};
    for (double d : dashes) {
      entry.groups.push_back({49, RealText(d)});
      if (c_.modern) entry.groups.push_back({74, "0"});
    }
    return entry;
  };
  auto find = [&](const std::string& name) -> Entry* {
    for (Entry& entry : kept)
      if (NameIs(entry.groups, UpperName(name).c_str())) return &entry;
    return nullptr;
  };
  const char* standard[] = {"ByBlock", "ByLayer", "Continuous"};
  for (const char* name : standard) {
    if (!c_.modern && strcmp(name, "Continuous") != 0) continue;
    Entry* entry = c_.modern ? find(name) : nullptr;
    std::string written = c_.modern ? name : UpperName(name);
    std::string description = strcmp(name, "Continuous") == 0 ? "Solid line" : "";
    if (entry) description = ValueOf(entry->groups, 3, description.c_str());
    table.entries.push_back(entry ? *entry : pattern(written, description, {}, 0));
  }
  if (c_.modern) {
    for (const Entry& entry : kept) {
      std::string upper = UpperName(ValueOf(entry.groups, 2, ""));
      if (upper.empty() || upper == "BYBLOCK" || upper == "BYLAYER" || upper == "CONTINUOUS") continue;
      // Each dash of a modern entry carries its element flags.
      Entry flagged = entry;
      flagged.groups.clear();
      for (size_t i = 0; i < entry.groups.size(); ++i) {
        flagged.groups.push_back(entry.groups[i]);
        bool hasFlags = i + 1 < entry.groups.size() && entry.groups[i + 1].code == 74;
        if (entry.groups[i].code == 49 && !hasFlags) flagged.groups.push_back({74, "0"});
      }
      table.entries.push_back(std::move(flagged));
    }
  }
  for (const LineType& type : c_.db.linetypes) {
    std::string upper = UpperName(type.name);
    if (type.name.empty() || upper == "BYBLOCK" || upper == "BYLAYER" || upper == "CONTINUOUS") continue;
    Entry* entry = find(type.name);
    if (c_.modern && entry) continue;
    std::string description = entry ? ValueOf(entry->groups, 3, "") : "";
    table.entries.push_back(pattern(type.name, description, type.dashes, type.length));
  }
}

// Layers come from the drawing (its on/off and frozen states are the
// truth), with the groups the file held beyond those.
void TableWriter::planLayers() {
  Table& table = addTable("LAYER");
  table.handle = c_.db.layerTableHandle;
  for (size_t i = 0; i < c_.db.layers.size(); ++i) {
    Entry entry;
    entry.source = Source::Layer;
    entry.index = i;
    entry.handle = ParseHandle(ValueOf(c_.db.layers[i].raw, 5, ""));
    table.entries.push_back(entry);
  }
}

// A table of the file's entries, with a "Standard" entry first when it
// has none.
void TableWriter::planWithStandard(const char* name, const RawGroups& standard) {
  Table& table = addTable(name);
  table.entries = keptEntries(name, &table.handle);
  for (const Entry& entry : table.entries)
    if (NameIs(entry.groups, "STANDARD")) return;
  Entry entry;
  entry.groups = {{2, c_.modern ? "Standard" : "STANDARD"}};
  entry.groups.insert(entry.groups.end(), standard.begin(), standard.end());
  table.entries.insert(table.entries.begin(), entry);
}

// Every application that extended data names is registered.
void TableWriter::planAppIds() {
  Table& table = addTable("APPID");
  table.entries = keptEntries("APPID", &table.handle);
  std::set<std::string> apps = {"ACAD"};
  for (const Block& b : c_.db.blocks) {
    AddApps(b.raw, apps);
    for (const Entity& e : b.entities) AddEntityApps(e, apps);
  }
  for (const Layer& layer : c_.db.layers) AddApps(layer.raw, apps);
  for (const RawTable& t : c_.db.otherTables) AddApps(t.groups, apps);
  if (c_.modern) AddApps(c_.db.objects, apps);
  for (const std::string& app : apps) {
    bool known = false;
    for (const Entry& entry : table.entries) known = known || NameIs(entry.groups, UpperName(app).c_str());
    if (known) continue;
    Entry entry;
    entry.groups = {{2, app}, {70, "0"}};
    table.entries.push_back(entry);
  }
}

// One record a block, with the groups the file's record held.
void TableWriter::planBlockRecords() {
  Table& table = addTable("BLOCK_RECORD");
  std::map<uint64_t, RawGroups> kept;
  for (Entry& entry : keptEntries("BLOCK_RECORD", &table.handle))
    if (entry.handle != 0) kept.insert({entry.handle, std::move(entry.groups)});
  c_.recordHandles.assign(c_.db.blocks.size(), 0);
  for (size_t i = 0; i < c_.db.blocks.size(); ++i) {
    Entry entry;
    entry.source = Source::BlockRecord;
    entry.index = i;
    entry.handle = c_.db.blocks[i].recordHandle;
    auto it = kept.find(entry.handle);
    if (it != kept.end()) entry.groups = it->second;
    table.entries.push_back(entry);
  }
}

void TableWriter::planOtherTables() {
  std::set<std::string> done(std::begin(kStandardTables), std::end(kStandardTables));
  for (const RawTable& t : c_.db.otherTables) {
    if (done.count(t.name)) continue;
    done.insert(t.name);
    Table& table = addTable(t.name);
    table.entries = keptEntries(t.name, &table.handle);
  }
}

void TableWriter::write() {
  w_.str(0, "SECTION");
  w_.str(2, "TABLES");
  for (const Table& table : m_tables) writeTable(table);
  w_.str(0, "ENDSEC");
}

void TableWriter::writeTable(const Table& table) {
  w_.str(0, "TABLE");
  w_.text(2, table.name);
  if (c_.modern) {
    w_.handle(5, table.handle);
    w_.handle(330, 0);
    w_.str(100, "AcDbSymbolTable");
  }
  w_.integer(70, (long long)(table.entries.size()));
  if (c_.modern && table.name == "DIMSTYLE") w_.str(100, "AcDbDimStyleTable");
  for (const Entry& entry : table.entries) writeEntry(table, entry);
  w_.str(0, "ENDTAB");
}

void TableWriter::writeEntry(const Table& table, const Entry& entry) {
  w_.text(0, table.name);
  if (c_.modern) {
    w_.handle(table.name == "DIMSTYLE" ? 105 : 5, entry.handle);
    if (entry.source == Source::Layer) w_.braces(c_.db.layers[entry.index].raw, true);
    else w_.braces(entry.groups, false);
    w_.handle(330, table.handle);
    w_.str(100, "AcDbSymbolTableRecord");
    const char* subclass = SubclassOf(table.name);
    if (subclass) w_.str(100, subclass);
  }
  switch (entry.source) {
    case Source::ActiveViewport: writeActiveViewport(); break;
    case Source::Layer: writeLayer(c_.db.layers[entry.index]); break;
    case Source::BlockRecord: writeBlockRecord(entry); break;
    case Source::Kept:
      if (c_.modern) w_.keptData(entry.groups, false);
      else writeR12Groups(table, entry.groups);
      break;
  }
}

void TableWriter::writeR12Groups(const Table& table, const RawGroups& groups) {
  bool dimstyle = table.name == "DIMSTYLE";
  std::set<int> seen;
  for (const RawGroup& g : groups) {
    if (dimstyle ? (!R12DimStyleKeeps(g.code) || !seen.insert(g.code).second) : !R12EntryKeeps(g.code))
      continue;
    w_.keptGroup(g, false);
  }
}

void TableWriter::writeActiveViewport() {
  const Database& db = c_.db;
  w_.str(2, c_.modern ? "*Active" : "*ACTIVE");
  w_.integer(70, 0);
  w_.point2(10, Vec3(0, 0));
  w_.point2(11, Vec3(1, 1));
  Box3 ext;
  if (db.hasExtents) {
    ext.add(db.extMin);
    ext.add(db.extMax);
  }
  Vec3 centre = ext.valid() ? (ext.lo + ext.hi) * 0.5 : Vec3();
  w_.point2(12, centre);
  w_.point2(13, Vec3());
  w_.point2(14, Vec3(0.5, 0.5));
  w_.point2(15, Vec3(0.5, 0.5));
  w_.point(16, Vec3(0, 0, 1));
  w_.point(17, Vec3());
  w_.real(40, ext.valid() ? std::max(1.0, ext.hi.y - ext.lo.y) : 10.0);
  w_.real(41, 1.5);
  w_.real(42, 50);
  w_.real(43, 0);
  w_.real(44, 0);
  w_.real(50, 0);
  w_.real(51, 0);
  w_.integer(71, 0);
  w_.integer(72, 1000);
  w_.integer(73, 1);
  w_.integer(74, 3);
  w_.integer(75, 0);
  w_.integer(76, 0);
  w_.integer(77, 0);
  w_.integer(78, 0);
}

void TableWriter::writeLayer(const Layer& l) {
  w_.text(2, l.name);
  w_.integer(70, (l.frozen ? 1 : 0) | (l.locked ? 4 : 0));
  w_.integer(62, l.on ? l.color : -l.color);
  w_.text(6, l.linetype.empty() ? std::string("Continuous") : l.linetype);
  if (c_.modern) {
    if (l.trueColor >= 0 && c_.version == kSave2004) w_.integer(420, l.trueColor);
    w_.integer(370, l.lineweight);
    std::string plotStyle = ValueOf(l.raw, 390, "0");
    w_.str(390, c_.handles.resolves(plotStyle) ? plotStyle.c_str() : "0");
  }
  w_.keptData(l.raw, true, false, IsLayerHandleGroup);
}

void TableWriter::writeBlockRecord(const Entry& entry) {
  w_.text(2, c_.blockName(entry.index));
  uint64_t layout = 0;
  for (size_t i = 0; i < c_.db.layouts.size(); ++i)
    if (c_.db.layouts[i].block == int32_t(entry.index) && i < c_.layoutHandles.size())
      layout = c_.layoutHandles[i];
  if (c_.layouts) w_.handle(340, layout);
  w_.keptData(entry.groups, false, false, IsBlockRecordGroup);
}

}  // namespace zr
