#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_writer.h"

#include <string.h>

#include <algorithm>
#include <map>

#include "platform/base/file_replace.h"
#include "platform/zrio/dwg_encoders.h"
#include "platform/zrio/dwg_file_2004.h"
#include "platform/zrio/dwg_sections.h"
#include "platform/zrio/dxf_writer.h"

namespace zr {

namespace {

bool IsPart(const std::string& type) {
  return type == "VERTEX" || type == "ATTRIB" || type == "SEQEND";
}

// Receives the drawing's DXF form from the DXF writer record by record and
// encodes it: entities as they come (each one as soon as the next one of its
// owner is known, for their links), tables, objects and the header at the
// end, when every handle they name is known.
class DwgForm : public GroupSink {
 public:
  DwgForm(DwgSave& save, const Database& db) : m_save(save), m_db(db) {}

  void str(int code, const char* ascii) override { add(code, ascii); }
  void text(int code, const std::string& utf8) override { add(code, utf8); }
  void integer(int code, long long value) override { number(code, double(value)); }
  void real(int code, double value) override { number(code, value); }
  void handle(int code, uint64_t value) override { number(code, double(value)); }

  // After the last group: what is left to encode.
  void finish(std::vector<uint8_t>* out) {
    endRecord();
    flushEntities();
    auto seed = m_header.find("$HANDSEED");
    if (seed != m_header.end() && !seed->second.empty())
      m_save.handSeed = std::max<uint64_t>(seed->second[0].handle(), 1);
    // The viewport entity header table has no DXF form: its control is new.
    for (uint64_t& control : m_save.controls)
      if (control == 0) control = m_save.handSeed++;
    for (auto& block : m_blocks) {
      if (block.second.owned.empty()) continue;
      block.second.first = block.second.owned.front();
      block.second.last = block.second.owned.back();
    }
    EncodeTables(m_save, m_tables, m_blocks);
    if (!m_objects.empty() && m_objects[0].type == "DICTIONARY") NameDictionaries(m_save, m_objects[0]);
    for (const FormRecord& r : m_objects)
      if (!EncodeObject(m_save, r))
        m_save.fail("不能保存的对象类型", r.type);
    if (!m_save.failure.empty()) return;
    DwgFileParts parts;
    parts.header = HeaderSection(m_save, m_header);
    parts.classes = ClassesSection(m_save);
    parts.thumbnail = m_db.thumbnail;
    auto measurement = m_header.find("$MEASUREMENT");
    if (measurement != m_header.end() && !measurement->second.empty())
      parts.measurement = uint16_t(measurement->second[0].integer());
    summary(parts);
    *out = m_save.since2004() ? AssembleDwg2004File(m_save, parts) : AssembleDwgFile(m_save, parts);
  }

 private:
  enum Section { kNone, kHeader, kClasses, kTables, kBlocks, kEntities, kObjects };

  void summary(DwgFileParts& parts) const {
    for (const Property& p : m_db.properties) {
      if (p.id != 17) {
        parts.summary.push_back({p.id, p.text});
        continue;
      }
      size_t eq = p.text.find('=');
      parts.customSummary.push_back(
          {p.text.substr(0, eq), eq == std::string::npos ? std::string() : p.text.substr(eq + 1)});
    }
  }

  // The header's groups go to their variables (each one's name is a 9 group).
  FormGroup& group(int code) {
    FormGroups& groups = m_section == kHeader && m_variable ? *m_variable : m_current.groups;
    groups.emplace_back();
    FormGroup& g = groups.back();
    g.code = code;
    return g;
  }
  void number(int code, double value) {
    if (code == 0) return;
    FormGroup& g = group(code);
    g.numeric = true;
    g.number = value;
  }
  void add(int code, const std::string& value) {
    if (code == 0) {
      endRecord();
      m_current.type = value;
      return;
    }
    if (m_current.type == "SECTION" && code == 2) {
      m_section = sectionNamed(value);
      m_variable = nullptr;
      return;
    }
    if (m_section == kHeader && code == 9) {
      m_variable = &m_header[value];
      return;
    }
    group(code).text = value;
  }

  // A record is complete when the next one starts.
  void endRecord() {
    const std::string& type = m_current.type;
    if (type == "SECTION" || type.empty()) {
      // The section's name was taken as it came.
    } else if (type == "ENDSEC") {
      if (m_section == kBlocks || m_section == kEntities) flushEntities();
      // The entities name the tables' entries.
      if (m_section == kTables) NameTableEntries(m_save, m_tables);
      m_section = kNone;
    } else if (m_section == kClasses && type == "CLASS") {
      AddClass(m_save, m_current);
    } else if (m_section == kTables) {
      m_tables.push_back(m_current);
    } else if (m_section == kBlocks || m_section == kEntities) {
      entityRecord();
    } else if (m_section == kObjects) {
      m_objects.push_back(m_current);
    }
    m_current.type.clear();
    m_current.groups.clear();
  }

  Section sectionNamed(const std::string& name) {
    if (name == "HEADER") return kHeader;
    if (name == "CLASSES") return kClasses;
    if (name == "TABLES") return kTables;
    if (name == "BLOCKS") return kBlocks;
    if (name == "ENTITIES") return kEntities;
    if (name == "OBJECTS") return kObjects;
    return kNone;
  }

  void entityRecord() {
    const std::string& type = m_current.type;
    if (IsPart(type) && !m_item.empty()) {
      m_item.push_back(m_current);
      return;
    }
    flushItem();
    if (type == "BLOCK" || type == "ENDBLK") {
      blockBoundary();
      return;
    }
    m_item.push_back(m_current);
  }

  void blockBoundary() {
    flushEntities();
    uint64_t owner = FormOwner(m_current.groups);
    BlockContents& block = m_blocks[owner];
    EntityLinks links;
    links.owner = owner;
    if (m_current.type == "BLOCK") {
      block.begin = m_current;
      block.block = FormHandle(m_current.groups);
    } else {
      block.endBlock = FormHandle(m_current.groups);
    }
    EncodeEntity(m_save, m_current, links, {});
  }

  // The gathered entity waits for the next one of its owner.
  void flushItem() {
    if (m_item.empty()) return;
    uint64_t owner = FormOwner(m_item[0].groups);
    if (!m_pending.empty()) encodePending(m_pendingOwner == owner ? FormHandle(m_item[0].groups) : 0);
    m_pending.swap(m_item);
    m_pendingOwner = owner;
    m_item.clear();
  }

  void flushEntities() {
    flushItem();
    if (!m_pending.empty()) encodePending(0);
    m_pending.clear();
    m_previous = 0;
  }

  void encodePending(uint64_t next) {
    const FormRecord& head = m_pending[0];
    EntityParts parts;
    for (size_t i = 1; i < m_pending.size(); ++i) {
      if (m_pending[i].type == "SEQEND") parts.seqend = &m_pending[i];
      else parts.records.push_back(&m_pending[i]);
    }
    EntityLinks links;
    links.owner = m_pendingOwner;
    links.previous = m_previousOwner == m_pendingOwner ? m_previous : 0;
    links.next = next;
    EncodeEntity(m_save, head, links, parts);
    uint64_t handle = FormHandle(head.groups);
    m_blocks[m_pendingOwner].owned.push_back(handle);
    m_previous = handle;
    m_previousOwner = m_pendingOwner;
    m_pending.clear();
  }

  DwgSave& m_save;
  const Database& m_db;
  Section m_section = kNone;
  FormRecord m_current;
  HeaderVariables m_header;
  FormGroups* m_variable = nullptr;
  std::vector<FormRecord> m_tables, m_objects;
  std::map<uint64_t, BlockContents> m_blocks;
  std::vector<FormRecord> m_item, m_pending;  // an entity with its parts
  uint64_t m_pendingOwner = 0, m_previous = 0, m_previousOwner = 0;
};

}  // namespace

bool DwgVersionWritable(int version) {
  return version == kSave2004 || version == kSave2000 || version == kSaveR14;
}

// Kinds later than the version's go (files of earlier versions than theirs
// often hold some), and dimension associations too: the dimensions' own
// definition points keep what they measure.
SaveLimits DwgSaveLimits() {
  SaveLimits limits;
  limits.versionKindsOnly = true;
  limits.objectKindsLeftOut = {"DIMASSOC"};
  return limits;
}

bool WriteDwg(const Database& db, int version, std::vector<uint8_t>* out, std::string* failure) {
  failure->clear();
  if (version != kSave2004 && version != kSave2000 && version != kSaveR14) {
    *failure = "不能写入这个 DWG 版本";
    return false;
  }
  DwgSave save;
  save.version = version;
  save.useCodePage(db.codePage);
  save.shapes = db.shapes.get();
  DwgForm form(save, db);
  WriteDxfGroups(db, version, DwgSaveLimits(), form, form);
  form.finish(out);
  *failure = save.failure;
  return failure->empty();
}

bool WriteDwgFile(const Database& db, const char* path, int version, std::string* failure) {
  std::vector<uint8_t> bytes;
  if (!WriteDwg(db, version, &bytes, failure)) return false;
  CReplacingFile file;
  if (file.Open(path) != ReplaceFileDone) {
    *failure = "不能建立文件";
    return false;
  }
  for (size_t at = 0; at < bytes.size();) {
    DWORD chunk = DWORD(std::min<size_t>(bytes.size() - at, 1 << 24));
    if (!file.Write(bytes.data() + at, chunk)) break;
    at += chunk;
  }
  if (file.Commit() != ReplaceFileDone) {
    *failure = "不能写入文件";
    return false;
  }
  return true;
}

}  // namespace zr
