#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_writer.h"

#include <stdio.h>

#include <algorithm>
#include <set>

#include "platform/zrio/dxf_entity_writer.h"

namespace zr {

namespace {

class DocumentWriter {
 public:
  DocumentWriter(const Database& db, int version, std::string* out)
      : db_(db), w_(out, version), version_(version) {}

  void run() {
    modern_ = version_ != kSaveR12;
    nextHandle_ = maxEntityHandle() + 1;
    planHandles();
    header();
    if (modern_) classes();
    tables();
    blocks();
    entities();
    if (modern_) objects();
    w_.str(0, "EOF");
  }

 private:
  uint64_t maxEntityHandle() const {
    uint64_t top = 0;
    for (const Block& b : db_.blocks)
      for (const Entity& e : b.entities) {
        top = std::max(top, e.handle);
        if (e.extra)
          for (const Entity& c : e.extra->children) top = std::max(top, c.handle);
      }
    return top + 0x100;
  }

  uint64_t newHandle() { return nextHandle_++; }

  // Every block gets a record handle, every layout an object handle.
  void planHandles() {
    for (size_t i = 0; i < db_.blocks.size(); ++i) recordHandles_.push_back(newHandle());
    for (size_t i = 0; i < db_.layouts.size(); ++i) layoutHandles_.push_back(newHandle());
    rootDictionary_ = newHandle();
    groupDictionary_ = newHandle();
    layoutDictionary_ = newHandle();
    propsRecord_ = newHandle();
  }

  void section(const char* name) {
    w_.str(0, "SECTION");
    w_.str(2, name);
  }
  void endSection() { w_.str(0, "ENDSEC"); }

  void header() {
    static const char* kVersions[10] = {0, 0, 0, 0, 0, "AC1009", 0, "AC1014", "AC1015", "AC1018"};
    section("HEADER");
    w_.str(9, "$ACADVER");
    w_.str(1, kVersions[version_]);
    w_.str(9, "$DWGCODEPAGE");
    w_.str(3, "ANSI_1252");
    w_.str(9, "$INSBASE");
    w_.point(10, Vec3());
    Box3 ext;
    if (db_.hasExtents) {
      ext.add(db_.extMin);
      ext.add(db_.extMax);
    }
    w_.str(9, "$EXTMIN");
    w_.point(10, ext.valid() ? ext.lo : Vec3());
    w_.str(9, "$EXTMAX");
    w_.point(10, ext.valid() ? ext.hi : Vec3());
    w_.str(9, "$LIMMIN");
    w_.point2(10, db_.limMin);
    w_.str(9, "$LIMMAX");
    w_.point2(10, db_.limMax);
    w_.str(9, "$LUNITS");
    w_.integer(70, db_.lunits);
    w_.str(9, "$LUPREC");
    w_.integer(70, db_.luprec);
    w_.str(9, "$PDMODE");
    w_.integer(70, db_.pdmode);
    w_.str(9, "$PDSIZE");
    w_.real(40, db_.pdsize);
    if (modern_) {
      w_.str(9, "$HANDSEED");
      w_.handle(5, handSeed());
      w_.str(9, "$INSUNITS");
      w_.integer(70, db_.insunits);
    }
    if (version_ == kSave2004) {
      for (const Property& p : db_.properties) {
        if (p.id != 17) continue;
        size_t eq = p.text.find('=');
        w_.str(9, "$CUSTOMPROPERTYTAG");
        w_.text(1, p.text.substr(0, eq));
        w_.str(9, "$CUSTOMPROPERTY");
        w_.text(1, eq == std::string::npos ? std::string() : p.text.substr(eq + 1));
      }
    }
    endSection();
  }

  uint64_t handSeed() const { return nextHandle_ + 0x10000; }

  void classes() {
    section("CLASSES");
    endSection();
  }

  void tableStart(const char* name, int count) {
    w_.str(0, "TABLE");
    w_.str(2, name);
    if (modern_) {
      w_.handle(5, newHandle());
      w_.handle(330, 0);
      w_.str(100, "AcDbSymbolTable");
    }
    w_.integer(70, count);
  }

  void entryStart(const char* type, const char* subclass, uint64_t handle = 0) {
    w_.str(0, type);
    if (modern_) {
      w_.handle(5, handle ? handle : newHandle());
      w_.str(100, "AcDbSymbolTableRecord");
      w_.str(100, subclass);
    }
  }

  void tables() {
    section("TABLES");
    vportTable();
    linetypeTable();
    layerTable();
    styleTable();
    simpleTable("VIEW");
    simpleTable("UCS");
    appidTable();
    dimstyleTable();
    if (modern_) blockRecordTable();
    endSection();
  }

  void simpleTable(const char* name) {
    tableStart(name, 0);
    w_.str(0, "ENDTAB");
  }

  void vportTable() {
    tableStart("VPORT", 1);
    entryStart("VPORT", "AcDbViewportTableRecord");
    w_.str(2, "*ACTIVE");
    w_.integer(70, 0);
    w_.point2(10, Vec3(0, 0));
    w_.point2(11, Vec3(1, 1));
    Box3 ext;
    if (db_.hasExtents) {
      ext.add(db_.extMin);
      ext.add(db_.extMax);
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
    w_.str(0, "ENDTAB");
  }

  // Line types: the three standard ones and every one named by the LTYPE
  // table read, with their dash patterns.
  void linetypeTable() {
    struct Pattern {
      std::string name, description;
      std::vector<double> dashes;
      double length = 0;
    };
    // Every line type known (also those only named by entities), with the
    // description the file gave it.
    std::vector<Pattern> patterns;
    std::vector<RawGroups> entries = tableEntries("LTYPE");
    for (const LineType& type : db_.linetypes) {
      Pattern p;
      p.name = type.name;
      p.dashes = type.dashes;
      p.length = type.length;
      for (const RawGroups& entry : entries)
        if (UpperName(valueOf(entry, 2, "")) == UpperName(type.name)) p.description = valueOf(entry, 3, "");
      patterns.push_back(p);
    }
    std::vector<Pattern> out;
    for (const char* name : {"ByBlock", "ByLayer", "Continuous"}) {
      Pattern p;
      p.name = name;
      if (!modern_) p.name = UpperName(p.name);
      if (!modern_ && p.name != "CONTINUOUS") continue;
      p.description = p.name == "Continuous" || p.name == "CONTINUOUS" ? "Solid line" : "";
      out.push_back(p);
    }
    for (const Pattern& p : patterns) {
      std::string upper = UpperName(p.name);
      if (p.name.empty() || upper == "BYBLOCK" || upper == "BYLAYER" || upper == "CONTINUOUS")
        continue;
      out.push_back(p);
    }
    tableStart("LTYPE", int(out.size()));
    for (const Pattern& p : out) {
      entryStart("LTYPE", "AcDbLinetypeTableRecord");
      w_.text(2, p.name);
      w_.integer(70, 0);
      w_.text(3, p.description);
      w_.integer(72, 65);
      w_.integer(73, int(p.dashes.size()));
      w_.real(40, p.length);
      for (double d : p.dashes) {
        w_.real(49, d);
        if (modern_) w_.integer(74, 0);
      }
    }
    w_.str(0, "ENDTAB");
  }

  void layerTable() {
    tableStart("LAYER", int(db_.layers.size()));
    for (const Layer& l : db_.layers) {
      entryStart("LAYER", "AcDbLayerTableRecord");
      w_.text(2, l.name);
      w_.integer(70, (l.frozen ? 1 : 0) | (l.locked ? 4 : 0));
      w_.integer(62, l.on ? l.color : -l.color);
      w_.text(6, l.linetype.empty() ? std::string("Continuous") : l.linetype);
      if (modern_) {
        if (l.trueColor >= 0 && version_ == kSave2004) w_.integer(420, l.trueColor);
        w_.integer(370, l.lineweight);
        w_.handle(390, 0);
      }
    }
    w_.str(0, "ENDTAB");
  }

  // Entries of a table read from the file, each the groups after its "0".
  std::vector<RawGroups> tableEntries(const char* name) const {
    std::vector<RawGroups> entries;
    for (const RawTable& t : db_.otherTables) {
      if (t.name != name) continue;
      for (const RawGroup& g : t.groups) {
        if (g.code == 0) entries.emplace_back();
        else if (!entries.empty()) entries.back().push_back(g);
      }
    }
    return entries;
  }

  static std::string valueOf(const RawGroups& groups, int code, const char* fallback) {
    for (const RawGroup& g : groups)
      if (g.code == code) return g.value;
    return fallback;
  }

  // Text styles: "Standard" and every style of the file with its fonts.
  void styleTable() {
    std::vector<RawGroups> styles;
    bool hasStandard = false;
    for (RawGroups& entry : tableEntries("STYLE")) {
      std::string name = valueOf(entry, 2, "");
      if (name.empty()) continue;
      hasStandard = hasStandard || UpperName(name) == "STANDARD";
      styles.push_back(entry);
    }
    if (!hasStandard) styles.insert(styles.begin(), RawGroups{{2, modern_ ? "Standard" : "STANDARD"}});
    tableStart("STYLE", int(styles.size()));
    for (const RawGroups& style : styles) {
      entryStart("STYLE", "AcDbTextStyleTableRecord");
      w_.str(2, valueOf(style, 2, "Standard").c_str());
      w_.str(70, valueOf(style, 70, "0").c_str());
      w_.real(40, atof(valueOf(style, 40, "0").c_str()));
      w_.real(41, atof(valueOf(style, 41, "1").c_str()));
      w_.real(50, atof(valueOf(style, 50, "0").c_str()));
      w_.str(71, valueOf(style, 71, "0").c_str());
      w_.real(42, atof(valueOf(style, 42, "2.5").c_str()));
      w_.str(3, valueOf(style, 3, "txt").c_str());
      w_.str(4, valueOf(style, 4, "").c_str());
    }
    w_.str(0, "ENDTAB");
  }

  void appidTable() {
    std::set<std::string> apps = {"ACAD"};
    for (const Block& b : db_.blocks)
      for (const Entity& e : b.entities)
        if (e.extra)
          for (const RawGroup& g : e.extra->raw)
            if (g.code == 1001) apps.insert(g.value);
    tableStart("APPID", int(apps.size()));
    for (const std::string& app : apps) {
      entryStart("APPID", "AcDbRegAppTableRecord");
      w_.text(2, app);
      w_.integer(70, 0);
    }
    w_.str(0, "ENDTAB");
  }

  void dimstyleTable() {
    w_.str(0, "TABLE");
    w_.str(2, "DIMSTYLE");
    if (modern_) {
      w_.handle(5, newHandle());
      w_.handle(330, 0);
      w_.str(100, "AcDbSymbolTable");
    }
    w_.integer(70, 1);
    if (modern_) w_.str(100, "AcDbDimStyleTable");
    w_.str(0, "DIMSTYLE");
    if (modern_) {
      w_.handle(105, newHandle());
      w_.str(100, "AcDbSymbolTableRecord");
      w_.str(100, "AcDbDimStyleTableRecord");
    }
    w_.str(2, modern_ ? "Standard" : "STANDARD");
    w_.integer(70, 0);
    w_.str(0, "ENDTAB");
  }

  int layoutOfBlock(size_t block) const {
    for (size_t i = 0; i < db_.layouts.size(); ++i)
      if (db_.layouts[i].block == int32_t(block)) return int(i);
    return -1;
  }

  // Name a block is written with: layout blocks follow the version's rule.
  std::string blockName(size_t index) const {
    if (int32_t(index) == db_.modelBlock) return modern_ ? "*Model_Space" : "$MODEL_SPACE";
    if (int32_t(index) == db_.paperBlock) return modern_ ? "*Paper_Space" : "$PAPER_SPACE";
    return db_.blocks[index].name;
  }

  void blockRecordTable() {
    tableStart("BLOCK_RECORD", int(db_.blocks.size()));
    for (size_t i = 0; i < db_.blocks.size(); ++i) {
      entryStart("BLOCK_RECORD", "AcDbBlockTableRecord", recordHandles_[i]);
      w_.text(2, blockName(i));
      int layout = layoutOfBlock(i);
      w_.handle(340, layout >= 0 ? layoutHandles_[size_t(layout)] : 0);
    }
    w_.str(0, "ENDTAB");
  }

  void blocks() {
    section("BLOCKS");
    for (size_t i = 0; i < db_.blocks.size(); ++i) {
      const Block& b = db_.blocks[i];
      bool isSpace = int32_t(i) == db_.modelBlock || int32_t(i) == db_.paperBlock;
      w_.str(0, "BLOCK");
      if (modern_) {
        w_.handle(5, newHandle());
        w_.handle(330, recordHandles_[i]);
        w_.str(100, "AcDbEntity");
      }
      if (int32_t(i) == db_.paperBlock && modern_) w_.integer(67, 1);
      w_.text(8, layerName(b.layer));
      if (modern_) w_.str(100, "AcDbBlockBegin");
      w_.text(2, blockName(i));
      w_.integer(70, b.flags);
      w_.point(10, b.base);
      w_.text(3, blockName(i));
      w_.text(1, b.xrefPath);
      // The two layout spaces keep their entities in the ENTITIES section.
      if (!isSpace)
        for (const Entity& e : b.entities) w_.entity(e, db_, recordHandles_[i], nextHandle_);
      w_.str(0, "ENDBLK");
      if (modern_) {
        w_.handle(5, newHandle());
        w_.handle(330, recordHandles_[i]);
        w_.str(100, "AcDbEntity");
      }
      w_.text(8, layerName(b.layer));
      if (modern_) w_.str(100, "AcDbBlockEnd");
    }
    endSection();
  }

  std::string layerName(int32_t index) const {
    if (index >= 0 && size_t(index) < db_.layers.size()) return db_.layers[size_t(index)].name;
    return "0";
  }

  void entities() {
    section("ENTITIES");
    if (db_.modelBlock >= 0)
      for (const Entity& e : db_.blocks[size_t(db_.modelBlock)].entities)
        w_.entity(e, db_, recordHandles_[size_t(db_.modelBlock)], nextHandle_);
    if (db_.paperBlock >= 0)
      for (const Entity& e : db_.blocks[size_t(db_.paperBlock)].entities)
        w_.entity(e, db_, recordHandles_[size_t(db_.paperBlock)], nextHandle_, true);
    endSection();
  }

  void dictionary(uint64_t handle, uint64_t owner,
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

  void objects() {
    section("OBJECTS");
    std::vector<std::pair<std::string, uint64_t>> root = {{"ACAD_GROUP", groupDictionary_},
                                                          {"ACAD_LAYOUT", layoutDictionary_}};
    bool props = false;
    for (const Property& p : db_.properties) props = props || p.id != 17 || version_ != kSave2004;
    if (props) root.push_back({"DWGPROPS", propsRecord_});
    dictionary(rootDictionary_, 0, root);
    dictionary(groupDictionary_, rootDictionary_, {});
    std::vector<std::pair<std::string, uint64_t>> layouts;
    for (size_t i = 0; i < db_.layouts.size(); ++i)
      layouts.push_back({db_.layouts[i].name, layoutHandles_[i]});
    dictionary(layoutDictionary_, rootDictionary_, layouts);
    for (size_t i = 0; i < db_.layouts.size(); ++i) layout(i);
    if (props) dwgProps();
    endSection();
  }

  void layout(size_t i) {
    const Layout& l = db_.layouts[i];
    w_.str(0, "LAYOUT");
    w_.handle(5, layoutHandles_[i]);
    w_.handle(330, layoutDictionary_);
    w_.str(100, "AcDbPlotSettings");
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
    w_.str(100, "AcDbLayout");
    w_.text(1, l.name);
    w_.integer(70, 1);
    w_.integer(71, int(i));
    w_.point2(10, l.limMin);
    w_.point2(11, l.limMax);
    w_.point(12, Vec3());
    w_.point(14, Vec3());
    w_.point(15, Vec3());
    w_.real(146, 0);
    w_.point(13, Vec3());
    w_.point(16, Vec3(1, 0, 0));
    w_.point(17, Vec3(0, 1, 0));
    w_.integer(76, 0);
    int32_t block = l.block;
    w_.handle(330, block >= 0 && size_t(block) < recordHandles_.size() ? recordHandles_[size_t(block)] : 0);
  }

  void dwgProps() {
    w_.str(0, "XRECORD");
    w_.handle(5, propsRecord_);
    w_.handle(330, rootDictionary_);
    w_.str(100, "AcDbXrecord");
    w_.integer(280, 1);
    w_.str(1, "DWGPROPS COOKIE");
    static const struct { int id; int code; } kCodes[] = {{1, 2}, {2, 3}, {3, 4}, {5, 6}, {4, 7}, {6, 8}, {7, 9}};
    for (const auto& c : kCodes) {
      std::string text;
      for (const Property& p : db_.properties)
        if (p.id == c.id) text = p.text;
      w_.text(c.code, text);
    }
    // 2004 keeps custom properties in the header; earlier versions here.
    int custom = 0;
    for (const Property& p : db_.properties)
      if (p.id == 17 && custom < 10 && version_ != kSave2004) w_.text(300 + custom++, p.text);
    std::string hyperlink;
    for (const Property& p : db_.properties)
      if (p.id == 0) hyperlink = p.text;
    w_.text(1, hyperlink);
  }

  const Database& db_;
  EntityWriter w_;
  int version_;
  bool modern_ = true;
  uint64_t nextHandle_ = 1;
  std::vector<uint64_t> recordHandles_, layoutHandles_;
  uint64_t rootDictionary_ = 0, groupDictionary_ = 0, layoutDictionary_ = 0, propsRecord_ = 0;
};

}  // namespace

bool WriteDxf(const Database& db, int version, std::string* out) {
  if (version != kSaveR12 && version != kSaveR14 && version != kSave2000 && version != kSave2004)
    return false;
  out->clear();
  DocumentWriter(db, version, out).run();
  return true;
}

bool WriteDxfFile(const Database& db, const char* path, int version) {
  std::string text;
  if (!WriteDxf(db, version, &text)) return false;
  std::string temp = std::string(path) + ".tmp~";
  HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  size_t at = 0;
  while (ok && at < text.size()) {
    DWORD chunk = DWORD(std::min<size_t>(text.size() - at, 1 << 24)), done = 0;
    ok = WriteFile(file, text.data() + at, chunk, &done, nullptr) && done == chunk;
    at += done;
  }
  ok = CloseHandle(file) && ok;
  if (ok) ok = MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING) != 0;
  if (!ok) DeleteFileA(temp.c_str());
  return ok;
}

}  // namespace zr
