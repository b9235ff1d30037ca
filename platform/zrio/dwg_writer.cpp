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
  DwgForm(DwgSave& save, const Database& db) : save_(save), db_(db) {}

  void str(int code, const char* ascii) override { add(code, ascii); }
  void text(int code, const std::string& utf8) override { add(code, utf8); }
  void integer(int code, long long value) override { number(code, double(value)); }
  void real(int code, double value) override { number(code, value); }
  void handle(int code, uint64_t value) override { number(code, double(value)); }

  // After the last group: what is left to encode.
  void finish(std::vector<uint8_t>* out) {
    endRecord();
    flushEntities();
    auto seed = header_.find("$HANDSEED");
    if (seed != header_.end() && !seed->second.empty())
      save_.handSeed = std::max<uint64_t>(seed->second[0].handle(), 1);
    // The viewport entity header table has no DXF form: its control is new.
    for (uint64_t& control : save_.controls)
      if (control == 0) control = save_.handSeed++;
    for (auto& block : blocks_) {
      if (block.second.owned.empty()) continue;
      block.second.first = block.second.owned.front();
      block.second.last = block.second.owned.back();
    }
    EncodeTables(save_, tables_, blocks_);
    if (!objects_.empty() && objects_[0].type == "DICTIONARY") NameDictionaries(save_, objects_[0]);
    for (const FormRecord& r : objects_)
      if (!EncodeObject(save_, r))
        save_.fail("不能保存的对象类型", r.type);
    if (!save_.failure.empty()) return;
    DwgFileParts parts;
    parts.header = HeaderSection(save_, header_);
    parts.classes = ClassesSection(save_);
    parts.thumbnail = db_.thumbnail;
    auto measurement = header_.find("$MEASUREMENT");
    if (measurement != header_.end() && !measurement->second.empty())
      parts.measurement = uint16_t(measurement->second[0].integer());
    summary(parts);
    *out = save_.since2004() ? AssembleDwg2004File(save_, parts) : AssembleDwgFile(save_, parts);
  }

 private:
  enum Section { kNone, kHeader, kClasses, kTables, kBlocks, kEntities, kObjects };

  void summary(DwgFileParts& parts) const {
    for (const Property& p : db_.properties) {
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
    FormGroups& groups = section_ == kHeader && variable_ ? *variable_ : current_.groups;
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
      current_.type = value;
      return;
    }
    if (current_.type == "SECTION" && code == 2) {
      section_ = sectionNamed(value);
      variable_ = nullptr;
      return;
    }
    if (section_ == kHeader && code == 9) {
      variable_ = &header_[value];
      return;
    }
    group(code).text = value;
  }

  // A record is complete when the next one starts.
  void endRecord() {
    const std::string& type = current_.type;
    if (type == "SECTION" || type.empty()) {
      // The section's name was taken as it came.
    } else if (type == "ENDSEC") {
      if (section_ == kBlocks || section_ == kEntities) flushEntities();
      // The entities name the tables' entries.
      if (section_ == kTables) NameTableEntries(save_, tables_);
      section_ = kNone;
    } else if (section_ == kClasses && type == "CLASS") {
      AddClass(save_, current_);
    } else if (section_ == kTables) {
      tables_.push_back(current_);
    } else if (section_ == kBlocks || section_ == kEntities) {
      entityRecord();
    } else if (section_ == kObjects) {
      objects_.push_back(current_);
    }
    current_.type.clear();
    current_.groups.clear();
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
    const std::string& type = current_.type;
    if (IsPart(type) && !item_.empty()) {
      item_.push_back(current_);
      return;
    }
    flushItem();
    if (type == "BLOCK" || type == "ENDBLK") {
      blockBoundary();
      return;
    }
    item_.push_back(current_);
  }

  void blockBoundary() {
    flushEntities();
    uint64_t owner = FormOwner(current_.groups);
    BlockContents& block = blocks_[owner];
    EntityLinks links;
    links.owner = owner;
    if (current_.type == "BLOCK") {
      block.begin = current_;
      block.block = FormHandle(current_.groups);
    } else {
      block.endBlock = FormHandle(current_.groups);
    }
    EncodeEntity(save_, current_, links, {});
  }

  // The gathered entity waits for the next one of its owner.
  void flushItem() {
    if (item_.empty()) return;
    uint64_t owner = FormOwner(item_[0].groups);
    if (!pending_.empty()) encodePending(pendingOwner_ == owner ? FormHandle(item_[0].groups) : 0);
    pending_.swap(item_);
    pendingOwner_ = owner;
    item_.clear();
  }

  void flushEntities() {
    flushItem();
    if (!pending_.empty()) encodePending(0);
    pending_.clear();
    previous_ = 0;
  }

  void encodePending(uint64_t next) {
    const FormRecord& head = pending_[0];
    EntityParts parts;
    for (size_t i = 1; i < pending_.size(); ++i) {
      if (pending_[i].type == "SEQEND") parts.seqend = &pending_[i];
      else parts.records.push_back(&pending_[i]);
    }
    EntityLinks links;
    links.owner = pendingOwner_;
    links.previous = previousOwner_ == pendingOwner_ ? previous_ : 0;
    links.next = next;
    EncodeEntity(save_, head, links, parts);
    uint64_t handle = FormHandle(head.groups);
    blocks_[pendingOwner_].owned.push_back(handle);
    previous_ = handle;
    previousOwner_ = pendingOwner_;
    pending_.clear();
  }

  DwgSave& save_;
  const Database& db_;
  Section section_ = kNone;
  FormRecord current_;
  HeaderVariables header_;
  FormGroups* variable_ = nullptr;
  std::vector<FormRecord> tables_, objects_;
  std::map<uint64_t, BlockContents> blocks_;
  std::vector<FormRecord> item_, pending_;  // an entity with its parts
  uint64_t pendingOwner_ = 0, previous_ = 0, previousOwner_ = 0;
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
