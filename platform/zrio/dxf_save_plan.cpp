#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_save_plan.h"

#include <stdio.h>
#include <stdlib.h>

#include "platform/zrio/dxf_reader.h"
#include "platform/zrio/dxf_writer.h"

namespace zr {

bool IsHandleReference(int code) {
  return (code >= 320 && code <= 369) || (code >= 390 && code <= 399) || code == 480 ||
         code == 481;
}

uint64_t ParseHandle(const std::string& value) {
  if (value.empty() || value.size() > 16) return 0;
  uint64_t h = 0;
  for (char c : value) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return 0;
    h = h * 16 + uint64_t(digit);
  }
  return h;
}

std::string HandleText(uint64_t handle) {
  char buffer[24];
  snprintf(buffer, sizeof(buffer), "%llX", (unsigned long long)handle);
  return buffer;
}

std::vector<RawRecord> SplitRecords(const RawGroups& groups, const Database* decode) {
  std::vector<RawRecord> records;
  for (const RawGroup& g : groups) {
    if (g.code == 0) {
      records.push_back({g.value, {}});
    } else if (!records.empty()) {
      bool text = TypeOfGroup(g.code) == GroupType::String;
      records.back().groups.push_back({g.code, decode && text ? DecodeText(g.value, *decode) : g.value});
    }
  }
  return records;
}

uint64_t RecordHandle(const RawGroups& groups) {
  for (const RawGroup& g : groups) {
    if (g.code == 5 || g.code == 105) return ParseHandle(g.value);
    if (g.code == 100) break;
  }
  return 0;
}

uint64_t RecordOwner(const RawGroups& groups) {
  bool inBrace = false;
  for (const RawGroup& g : groups) {
    if (g.code == 102) inBrace = !g.value.empty() && g.value[0] == '{';
    else if (g.code == 330 && !inBrace) return ParseHandle(g.value);
    else if (g.code == 100) break;
  }
  return 0;
}

std::string ValueOf(const RawGroups& groups, int code, const char* fallback) {
  for (const RawGroup& g : groups)
    if (g.code == code) return g.value;
  return fallback;
}

void HandlePlan::reserve(uint64_t handle) {
  if (handle <= kLargest && handle >= m_next) m_next = handle + 1;
}

uint64_t HandlePlan::claim(uint64_t wanted) {
  if (wanted == 0 || wanted > kLargest || defined(wanted)) return fresh();
  m_defined.insert(wanted);
  reserve(wanted);
  return wanted;
}

uint64_t HandlePlan::fresh() {
  while (defined(m_next)) ++m_next;
  m_defined.insert(m_next);
  return m_next++;
}

bool HandlePlan::resolves(const std::string& value) const {
  uint64_t h = ParseHandle(value);
  return h == 0 || defined(h);
}

void HandlePlan::claimEntity(const Entity& e) {
  uint64_t got = claim(e.handle);
  if (got != e.handle) m_renamed[&e] = got;
  if (!e.extra) return;
  const std::vector<uint64_t>& parts = e.extra->vertexHandles;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (parts[i] == 0) continue;
    uint64_t part = claim(parts[i]);
    if (part != parts[i]) m_renamedParts[{&e, i}] = part;
  }
  if (e.extra->seqendHandle != 0) {
    uint64_t end = claim(e.extra->seqendHandle);
    if (end != e.extra->seqendHandle) m_renamedParts[{&e, kSequenceEnd}] = end;
  }
  for (const Entity& child : e.extra->children) claimEntity(child);
}

uint64_t HandlePlan::entityHandle(const Entity& e) {
  auto it = m_renamed.find(&e);
  if (it != m_renamed.end()) return it->second;
  return e.handle != 0 ? e.handle : fresh();
}

uint64_t HandlePlan::partHandle(const Entity& e, size_t part) {
  auto it = m_renamedParts.find({&e, part});
  if (it != m_renamedParts.end()) return it->second;
  uint64_t kept = 0;
  if (e.extra && part == kSequenceEnd) kept = e.extra->seqendHandle;
  else if (e.extra && part < e.extra->vertexHandles.size()) kept = e.extra->vertexHandles[part];
  return kept != 0 ? kept : fresh();
}

int TargetVersionNumber(int version) {
  switch (version) {
    case kSaveR12: return 1009;
    case kSaveR14: return 1014;
    case kSave2000: return 1015;
    case kSave2004: return 1018;
  }
  return 0;
}

bool EntityInVersion(const Entity& e, int version, bool downgrade) {
  if (!downgrade) return true;
  // Tables are written in the file's own version or a later one only (the
  // entity writer leaves a reference to their picture in the others).
  if (e.kind == EntityKind::Table) return false;
  if (e.kind != EntityKind::Unknown || !e.extra) return true;
  // R14 files hold the wipeouts of its express tools.
  static const char* const kR14[] = {"3DSOLID", "BODY", "REGION", "IMAGE", "MLINE", "SHAPE",
                                     "TOLERANCE", "OLEFRAME", "OLE2FRAME", "ACAD_PROXY_ENTITY",
                                     "WIPEOUT"};
  static const char* const k2000[] = {"RTEXT", "ARCALIGNEDTEXT"};
  for (const char* name : kR14)
    if (e.extra->typeName == name) return true;
  if (version == kSaveR14) return false;
  for (const char* name : k2000)
    if (e.extra->typeName == name) return true;
  return false;
}

namespace {

void ReserveGroups(HandlePlan& plan, const RawGroups& groups) {
  for (const RawGroup& g : groups)
    if (g.code == 5 || g.code == 105) plan.reserve(ParseHandle(g.value));
}

void ReserveEntity(HandlePlan& plan, const Entity& e) {
  plan.reserve(e.handle);
  if (!e.extra) return;
  for (uint64_t part : e.extra->vertexHandles) plan.reserve(part);
  plan.reserve(e.extra->seqendHandle);
  for (const Entity& child : e.extra->children) ReserveEntity(plan, child);
}

// Every handle the source defined (and its $HANDSEED) is kept clear of
// the handles a save makes anew.
void ReserveSourceHandles(HandlePlan& plan, const Database& db) {
  for (const auto& variable : db.header)
    if (variable.first == "$HANDSEED") plan.reserve(ParseHandle(ValueOf(variable.second, 5, "0")) - 1);
  plan.reserve(db.layerTableHandle);
  for (const RawTable& table : db.otherTables) ReserveGroups(plan, table.groups);
  for (const Layer& layer : db.layers) ReserveGroups(plan, layer.raw);
  for (const Block& block : db.blocks) {
    plan.reserve(block.recordHandle);
    plan.reserve(block.beginHandle);
    plan.reserve(block.endHandle);
    for (const Entity& e : block.entities) ReserveEntity(plan, e);
  }
  for (const Layout& layout : db.layouts) plan.reserve(layout.handle);
  ReserveGroups(plan, db.objects);
}

}  // namespace

SaveContext::SaveContext(const Database& source, int saveVersion, const SaveLimits& saveLimits)
    : db(source),
      version(saveVersion),
      modern(saveVersion != kSaveR12),
      downgrade(saveLimits.versionKindsOnly ||
                AcadVersionNumber(source.acadver) > TargetVersionNumber(saveVersion)),
      layouts(saveVersion == kSave2000 || saveVersion == kSave2004),
      limits(saveLimits) {
  ReserveSourceHandles(handles, db);
}

std::string SaveContext::blockName(size_t index) const {
  if (int32_t(index) == db.modelBlock) return modern ? "*Model_Space" : "$MODEL_SPACE";
  if (int32_t(index) == db.paperBlock) return modern ? "*Paper_Space" : "$PAPER_SPACE";
  return db.blocks[index].name;
}

}  // namespace zr
