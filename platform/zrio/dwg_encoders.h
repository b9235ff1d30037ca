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
  FormRecord begin;                  // its BLOCK record
  uint64_t block = 0, endBlock = 0;  // its BLOCK and ENDBLK entities
  uint64_t first = 0, last = 0;      // its first and last entity
  std::vector<uint64_t> owned;       // every entity, in order
};

// The records that follow a POLYLINE (vertices) or an INSERT (attributes),
// ended by a SEQEND.
struct EntityParts {
  std::vector<const FormRecord*> records;
  const FormRecord* seqend = nullptr;
};

using HeaderVariables = std::map<std::string, FormGroups>;

// Every table's entries get their handles by name (first pass), then are
// encoded with their control objects.
void NameTableEntries(DwgSave& save, const std::vector<FormRecord>& tables);
void EncodeTables(DwgSave& save, const std::vector<FormRecord>& tables,
                  const std::map<uint64_t, BlockContents>& blocks);

// An entity with its parts; false (and the save's failure set) when its
// kind cannot be written.
bool EncodeEntity(DwgSave& save, const FormRecord& record, const EntityLinks& links,
                  const EntityParts& parts);

// The dictionaries the header names, from the root dictionary (the first object).
void NameDictionaries(DwgSave& save, const FormRecord& root);
// An object of the OBJECTS section; false when its kind cannot be written.
bool EncodeObject(DwgSave& save, const FormRecord& record);
// A class of the CLASSES section, numbered from 500 in the order they come.
void AddClass(DwgSave& save, const FormRecord& record);
std::vector<uint8_t> ClassesSection(const DwgSave& save);

std::vector<uint8_t> HeaderSection(const DwgSave& save, const HeaderVariables& variables);

}  // namespace zr
