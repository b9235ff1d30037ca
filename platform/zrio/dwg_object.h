// One DWG object being encoded: its data stream and its handle stream, the
// common parts every entity, object and table entry starts with, its
// extended data, and the framing (size, bit size, CRC) it is stored with.
#pragma once
#include <stdint.h>

#include <string>

#include "platform/zrio/dwg_bit_writer.h"
#include "platform/zrio/dwg_record.h"
#include "platform/zrio/dwg_save.h"

namespace zr {

// Where an entity stands among its owner's entities.
struct EntityLinks {
  uint64_t owner = 0;
  uint64_t previous = 0, next = 0;
};

class DwgObject {
 public:
  // Starts the object: type, bit size (filled in by finish), handle and the
  // record's extended data.
  DwgObject(DwgSave& save, uint16_t type, uint64_t handle, const RecordView& source);

  // The common data of an entity (its handles go to the handle stream),
  // with the entity's own picture when it has one (a proxy's graphics).
  void entityCommon(const EntityLinks& links, const std::string& graphics = std::string());
  // The common data of an object other than an entity.
  void objectCommon(uint64_t owner);
  // The common data of a symbol table entry, named `name` (already in the
  // file's code page); flag 64 and the xref bits come from group 70.
  void entryCommon(uint64_t control, const std::string& name);

  // A colour of a table entry or object: the index, and from 2004 the
  // colour's true value (`trueColor` 0x00RRGGBB, or -1).
  void color(int16_t index, int32_t trueColor = -1);

  // Stores the framed object in the save.
  void finish();

  DwgBitWriter data, refs;

 private:
  void extendedData();
  void sizePlaceholder();
  void reactorsAndDictionary(uint64_t owner, bool ownerPresent);
  void entityColor();

  DwgSave& m_save;
  const RecordView& r_;
  uint64_t m_handle;
  size_t m_sizeAt = 0;
};

// The lineweight index (0 to 23, 29 by layer, 30 by block, 31 default) of
// a DXF lineweight in 1/100 mm.
uint8_t LineweightIndex(long long dxfLineweight);

}  // namespace zr
