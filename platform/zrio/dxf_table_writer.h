// The TABLES section of a save: every table the file held, written back
// entry by entry in the form of the version written, with the drawing's
// own layers, line types and block records.
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/zrio/dxf_entity_writer.h"
#include "platform/zrio/dxf_save_plan.h"

namespace zr {

class TableWriter {
 public:
  TableWriter(SaveContext& context, EntityWriter& writer);

  // Decides the entries and claims their handles; block record handles go
  // to the context.
  void plan();
  void write();

 private:
  enum class Source { Kept, ActiveViewport, Layer, BlockRecord };
  struct Entry {
    Source source = Source::Kept;
    size_t index = 0;     // layer or block of a Layer/BlockRecord entry
    uint64_t handle = 0;
    RawGroups groups;     // UTF-8 data groups (brace groups included)
  };
  struct Table {
    std::string name;
    uint64_t handle = 0;
    std::vector<Entry> entries;
  };

  // The file's entries of a table (handle, owner and subclass markers
  // taken out) and the handle of the table itself.
  std::vector<Entry> keptEntries(const std::string& name, uint64_t* tableHandle) const;
  Table& addTable(const std::string& name);
  void claim(Table& table);

  void planViewports();
  void planLinetypes();
  void planLayers();
  void planWithStandard(const char* name, const RawGroups& standard);
  void planAppIds();
  void planBlockRecords();
  void planOtherTables();

  void writeTable(const Table& table);
  void writeEntry(const Table& table, const Entry& entry);
  void writeActiveViewport();
  void writeLayer(const Layer& layer);
  void writeBlockRecord(const Entry& entry);
  void writeR12Groups(const Table& table, const RawGroups& groups);

  SaveContext& c_;
  EntityWriter& w_;
  std::vector<Table> m_tables;
};

}  // namespace zr
