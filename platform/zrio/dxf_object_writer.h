// The CLASSES and OBJECTS sections of a save (R14 and later): every object
// the file held, written back, with the objects this library owns made
// anew from the drawing: the root dictionary (the file's entries kept),
// the layout dictionary, the LAYOUT objects and the summary properties.
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/zrio/dxf_entity_writer.h"
#include "platform/zrio/dxf_save_plan.h"

namespace zr {

class ObjectWriter {
 public:
  ObjectWriter(SaveContext& context, EntityWriter& writer);

  // Decides which objects are written and claims their handles and those
  // of the layouts; call after tables, blocks and entities have claimed theirs.
  void plan();
  void writeClasses();
  void writeObjects();

 private:
  struct Kept {
    std::string type;
    uint64_t handle = 0;
    RawGroups groups;  // UTF-8, without the record's own handle
  };

  void planKept(const std::vector<RawRecord>& records);
  bool typeKept(const std::string& type) const;
  void adaptXrecord(RawGroups& groups) const;
  bool classKept(const std::string& name, const std::set<std::string>& entityTypes) const;

  void writeRoot();
  void dictionary(uint64_t handle, uint64_t owner,
                  const std::vector<std::pair<std::string, uint64_t>>& entries);
  void layout(size_t index);
  void plotSettingsDefaults(size_t index);
  void layoutDefaults();
  void dwgProps();

  SaveContext& c_;
  EntityWriter& w_;
  std::vector<Kept> m_kept;
  RawGroups m_rootGroups;                   // the file's root dictionary
  std::map<uint64_t, RawGroups> m_layoutRecords;  // the file's LAYOUT objects by handle
  uint64_t m_root = 0, m_groupDictionary = 0, m_layoutDictionary = 0, m_props = 0;
  bool m_newGroupDictionary = true;
};

}  // namespace zr
