#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_writer.h"

#include <string.h>

#include <algorithm>

#include "platform/base/file_replace.h"
#include "platform/zrio/dwg_encoders.h"
#include "platform/zrio/dwg_sections.h"
#include "platform/zrio/dxf_writer.h"

namespace zr {

namespace {

// The sections of the drawing's DXF form, split into records.
struct DxfForm {
  HeaderVariables header;
  std::vector<RawRecord> classes, tables, blocks, entities, objects;
};

// The groups move into their records: a large drawing's form is not copied.
bool SplitForm(const std::string& text, DxfForm* form) {
  RawGroups groups;
  if (!ParseDxfGroups(text, &groups)) return false;
  std::vector<RawRecord>* records = nullptr;
  bool header = false;
  std::string variable;
  for (size_t i = 0; i < groups.size(); ++i) {
    RawGroup& g = groups[i];
    if (g.code == 0 && g.value == "SECTION" && i + 1 < groups.size()) {
      const std::string& name = groups[++i].value;
      header = name == "HEADER";
      records = name == "CLASSES" ? &form->classes : name == "TABLES" ? &form->tables
              : name == "BLOCKS" ? &form->blocks : name == "ENTITIES" ? &form->entities
              : name == "OBJECTS" ? &form->objects : nullptr;
    } else if (g.code == 0 && g.value == "ENDSEC") {
      records = nullptr;
      header = false;
    } else if (header) {
      if (g.code == 9) variable = g.value;
      else if (!variable.empty()) form->header[variable].push_back(std::move(g));
    } else if (records && g.code == 0) {
      records->push_back({std::move(g.value), {}});
    } else if (records && !records->empty()) {
      records->back().groups.push_back(std::move(g));
    }
  }
  return true;
}

struct EntityItem {
  const RawRecord* record;
  EntityParts parts;
};

// The entities of a record list with their vertices or attributes.
std::vector<EntityItem> GatherEntities(const std::vector<RawRecord>& records, size_t from,
                                       size_t to) {
  std::vector<EntityItem> items;
  for (size_t i = from; i < to; ++i) {
    const RawRecord& r = records[i];
    bool part = r.type == "VERTEX" || r.type == "ATTRIB" || r.type == "SEQEND";
    if (part && !items.empty()) {
      EntityParts& parts = items.back().parts;
      if (r.type == "SEQEND") parts.seqend = &r;
      else parts.records.push_back(&r);
      continue;
    }
    items.push_back({&r, {}});
  }
  return items;
}

uint64_t HandleOf(const RawRecord& r) { return RecordHandle(r.groups); }

class DwgDocument {
 public:
  DwgDocument(const Database& db, int version) : db_(db) {
    save_.version = version;
    if (db.codePage == 936) {
      save_.codePage = 39;
      save_.windowsCodePage = 936;
    }
  }

  bool run(std::vector<uint8_t>* out, std::string* failure) {
    std::string text;
    DxfForm form;
    if (!WriteDxf(db_, save_.version, &text) || !SplitForm(text, &form)) {
      *failure = "the drawing could not be put into form";
      return false;
    }
    text.clear();
    text.shrink_to_fit();
    headerHandles(form.header);
    NameTableEntries(save_, form.tables);
    PlanClasses(save_, form.classes, form.objects);
    std::map<uint64_t, BlockContents> contents;
    encodeBlocks(form.blocks, contents);
    encodeEntityList(form.entities, 0, form.entities.size());
    for (auto& entry : contents) {
      auto it = firstLast_.find(entry.first);
      if (it == firstLast_.end()) continue;
      entry.second.first = it->second.first;
      entry.second.last = it->second.second;
    }
    EncodeTables(save_, form.tables, contents);
    for (const RawRecord& r : form.objects)
      if (LaterObjectKind(r.type)) save_.leftOut.insert(HandleOf(r));
    for (const RawRecord& r : form.objects)
      if (!LaterObjectKind(r.type) && !EncodeObject(save_, r)) save_.fail("object " + r.type);
    if (!save_.failure.empty()) {
      *failure = save_.failure;
      return false;
    }
    DwgFileParts parts;
    parts.header = HeaderSection(save_, form.header);
    parts.classes = ClassesSection(save_);
    parts.thumbnail = db_.thumbnail;
    *out = AssembleDwgFile(save_, parts);
    return true;
  }

 private:
  void headerHandles(const HeaderVariables& header) {
    auto it = header.find("$HANDSEED");
    uint64_t seed = it == header.end() ? 0 : ParseHandle(ValueOf(it->second, 5, "0"));
    save_.handSeed = std::max<uint64_t>(seed, 1);
  }

  void encodeBlocks(const std::vector<RawRecord>& records,
                    std::map<uint64_t, BlockContents>& contents) {
    for (size_t i = 0; i < records.size(); ++i) {
      if (records[i].type != "BLOCK") continue;
      size_t end = i + 1;
      while (end < records.size() && records[end].type != "ENDBLK") ++end;
      if (end == records.size()) {
        save_.fail("block without its end");
        return;
      }
      uint64_t owner = RecordOwner(records[i].groups);
      BlockContents& block = contents[owner];
      block.begin = &records[i];
      block.block = HandleOf(records[i]);
      block.endBlock = HandleOf(records[end]);
      EntityLinks links;
      links.owner = owner;
      EncodeEntity(save_, records[i], links, {});
      EncodeEntity(save_, records[end], links, {});
      encodeEntityList(records, i + 1, end);
      i = end;
    }
  }

  // Entities of the same owner are linked in the order they come.
  void encodeEntityList(const std::vector<RawRecord>& records, size_t from, size_t to) {
    std::vector<EntityItem> items = GatherEntities(records, from, to);
    std::map<uint64_t, std::vector<size_t>> byOwner;
    for (size_t i = 0; i < items.size(); ++i)
      byOwner[RecordOwner(items[i].record->groups)].push_back(i);
    for (const auto& owner : byOwner) {
      const std::vector<size_t>& list = owner.second;
      for (size_t k = 0; k < list.size(); ++k) {
        EntityLinks links;
        links.owner = owner.first;
        if (k > 0) links.previous = HandleOf(*items[list[k - 1]].record);
        if (k + 1 < list.size()) links.next = HandleOf(*items[list[k + 1]].record);
        const EntityItem& item = items[list[k]];
        if (!EncodeEntity(save_, *item.record, links, item.parts))
          save_.fail("entity " + item.record->type);
      }
      auto& ends = firstLast_[owner.first];
      if (ends.first == 0) ends.first = HandleOf(*items[list.front()].record);
      ends.second = HandleOf(*items[list.back()].record);
    }
  }

  const Database& db_;
  DwgSave save_;
  std::map<uint64_t, std::pair<uint64_t, uint64_t>> firstLast_;
};

}  // namespace

bool DwgVersionWritable(int version) { return version == kSave2000; }

bool WriteDwg(const Database& db, int version, std::vector<uint8_t>* out, std::string* failure) {
  failure->clear();
  if (version != kSave2000 && version != kSaveR14) {
    *failure = "this DWG version is not written";
    return false;
  }
  return DwgDocument(db, version).run(out, failure);
}

bool WriteDwgFile(const Database& db, const char* path, int version, std::string* failure) {
  std::vector<uint8_t> bytes;
  if (!WriteDwg(db, version, &bytes, failure)) return false;
  CReplacingFile file;
  if (file.Open(path) != ReplaceFileDone) {
    *failure = "the file could not be made";
    return false;
  }
  for (size_t at = 0; at < bytes.size();) {
    DWORD chunk = DWORD(std::min<size_t>(bytes.size() - at, 1 << 24));
    if (!file.Write(bytes.data() + at, chunk)) break;
    at += chunk;
  }
  if (file.Commit() != ReplaceFileDone) {
    *failure = "the file could not be written";
    return false;
  }
  return true;
}

}  // namespace zr
