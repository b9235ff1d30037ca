// What one DXF save decides before its first group is written: the handle
// of every table, entry, block, entity and object it writes, so that kept
// references can be checked and nothing is defined twice.
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <map>
#include <string>
#include <utility>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/zrio/dxf_model.h"

namespace zr {

// Group codes whose values name another record by its handle.
bool IsHandleReference(int code);
// A hexadecimal handle value; 0 for a null or malformed one.
uint64_t ParseHandle(const std::string& value);
std::string HandleText(uint64_t handle);

// One record of a kept group list: its type (the value of its "0" group)
// and the groups after it.
struct RawRecord {
  std::string type;
  RawGroups groups;
};
// The records of a group list; groups before the first "0" group are
// skipped. With `decode`, string values are turned into UTF-8 first.
std::vector<RawRecord> SplitRecords(const RawGroups& groups, const Database* decode);
// A record's own handle: its first 5 group (105 in a DIMSTYLE entry).
uint64_t RecordHandle(const RawGroups& groups);
// A record's owner: the first 330 group outside brace groups, before its
// first subclass marker.
uint64_t RecordOwner(const RawGroups& groups);
// Value of the first group of a code, or `fallback`.
std::string ValueOf(const RawGroups& groups, int code, const char* fallback);

class HandlePlan {
 public:
  // Before the first claim: every handle the source used, so that new
  // handles start above them.
  void reserve(uint64_t handle);
  // The handle a kept record is written with: its own when it is free,
  // else a new one.
  uint64_t claim(uint64_t wanted);
  uint64_t fresh();
  bool defined(uint64_t handle) const { return m_defined.count(handle) != 0; }
  // True when a reference value is null or names a record the save writes.
  bool resolves(const std::string& value) const;
  // Entities keep their own handles (claimed in the order they are
  // written), and so do their vertices and sequence ends; those without
  // one get a new handle here, kept for the whole save.
  void claimEntity(const Entity& e);  // with its attributes
  // Objects (what a dictionary entry may name) are marked as such.
  void markObject(uint64_t handle) { m_objects.insert(handle); }
  bool isObject(const std::string& value) const { return m_objects.count(ParseHandle(value)) != 0; }
  uint64_t entityHandle(const Entity& e);
  // Handle of the part-th VERTEX record of a claimed entity, or (with
  // kSequenceEnd) of its SEQEND; a new one for parts the file did not hold.
  static constexpr size_t kSequenceEnd = ~size_t(0);
  uint64_t partHandle(const Entity& e, size_t part);
  // Above every handle used so far.
  uint64_t next() const { return m_next; }

 private:
  // Larger values are taken as damage and replaced.
  static const uint64_t kLargest = 0xFFFFFFFFFFFFull;
  uint64_t m_next = 1;
  std::unordered_set<uint64_t> m_defined, m_objects;
  std::unordered_map<const Entity*, uint64_t> m_renamed;
  std::map<std::pair<const Entity*, size_t>, uint64_t> m_renamedParts;
};

// DXF versions as numbers ("AC1015" -> 1015) of the save version codes.
int TargetVersionNumber(int version);

// Whether a save of a modern version writes an entity: a save to an
// earlier version than the file's (`downgrade`) leaves out the kinds this
// library does not know that the version cannot hold.
bool EntityInVersion(const Entity& e, int version, bool downgrade);

// What a save leaves out beyond the rules of the version (those of
// another file kind written from the same groups). An object left out goes
// with what it owns and every reference to it.
struct SaveLimits {
  // Entities and objects of kinds the version cannot hold go as in a save
  // to an earlier version than the file's, whatever the file's.
  bool versionKindsOnly = false;
  std::vector<std::string> objectKindsLeftOut;
};

struct SaveContext {
  SaveContext(const Database& db, int version, const SaveLimits& limits = SaveLimits());

  // Name a block is written with: layout blocks follow the version's rule.
  std::string blockName(size_t index) const;

  const Database& db;
  int version;
  bool modern;     // R14 and later: handles, subclass markers, objects
  // The source is of a later version than the one written, or the limits
  // take only the version's kinds: kinds the version cannot hold go.
  bool downgrade;
  bool layouts;    // 2000 and later: LAYOUT objects and their dictionary
  SaveLimits limits;
  HandlePlan handles;
  std::vector<uint64_t> recordHandles, beginHandles, endHandles;  // by block
  std::vector<uint64_t> layoutHandles;                            // by layout
};

}  // namespace zr
