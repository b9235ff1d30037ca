// The encoders of a DWG save, one for each part of the drawing's DXF form:
// header variables, classes, symbol tables, entities and objects.
#pragma once
#include <stdint.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/zrio/dwg_bit_writer.h"
#include "platform/zrio/dwg_object.h"
#include "platform/zrio/dwg_record.h"
#include "platform/zrio/dwg_save.h"

namespace zr {

// What a block record holds besides its own groups.
struct BlockContents {
  const RawRecord* begin = nullptr;  // its BLOCK record
  uint64_t block = 0, endBlock = 0;  // its BLOCK and ENDBLK entities
  uint64_t first = 0, last = 0;      // its first and last entity
};

// The records that follow a POLYLINE (vertices) or an INSERT (attributes),
// ended by a SEQEND.
struct EntityParts {
  std::vector<const RawRecord*> records;
  const RawRecord* seqend = nullptr;
};

using HeaderVariables = std::map<std::string, RawGroups>;

// Every table's entries get their handles by name (first pass), then are
// encoded with their control objects.
void NameTableEntries(DwgSave& save, const std::vector<RawRecord>& tables);
void EncodeTables(DwgSave& save, const std::vector<RawRecord>& tables,
                  const std::map<uint64_t, BlockContents>& blocks);

// An entity with its parts; false when its kind cannot be written.
bool EncodeEntity(DwgSave& save, const RawRecord& record, const EntityLinks& links,
                  const EntityParts& parts);

// Objects of kinds later than DWG 2000 (materials, visual styles, ...),
// left out as a DXF save to an earlier version leaves them out.
bool LaterObjectKind(const std::string& type);
// An object of the OBJECTS section; false when its kind cannot be written.
bool EncodeObject(DwgSave& save, const RawRecord& record);
// The classes the objects' kinds need, numbered from 500.
void PlanClasses(DwgSave& save, const std::vector<RawRecord>& classes,
                 const std::vector<RawRecord>& objects);
std::vector<uint8_t> ClassesSection(const DwgSave& save);

std::vector<uint8_t> HeaderSection(const DwgSave& save, const HeaderVariables& variables);

}  // namespace zr
