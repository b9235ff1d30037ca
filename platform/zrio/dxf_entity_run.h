// The entities of one piece of a DXF file, parsed on a worker thread ahead
// of the section reader. The section reader takes one where it meets its
// "0" group, so that it gets what it would have parsed there itself: the
// parse of an entity depends only on the bytes from its "0" group on and
// on what RunContext copies of the drawing.
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/zrio/dxf_groups.h"
#include "platform/zrio/dxf_model.h"
#include "platform/zrio/page_allocator.h"

namespace zr {

// What parsing an entity reads of the drawing, copied from it when entity
// runs begin.
struct RunContext {
  DxfFormat format;
  std::string acadver;
  int codePage = 1252;
  bool utf8 = false;
  KnownNames names;

  // The context of the drawing as it is now.
  static std::shared_ptr<const RunContext> Of(const Database& db, const DxfFormat& format);
  // True when entities parsed in this context are parsed as in `db` now.
  bool fits(const Database& db) const;
};

struct ParsedEntity {
  uint64_t start = 0;  // file offset of its "0" group
  uint64_t end = 0;    // file offset after its last group (and its attached records)
  Entity entity;
  uint32_t firstUse = 0, endUse = 0;  // its name uses in the run's database
};

using ParsedEntities = std::vector<ParsedEntity, PageAllocator<ParsedEntity>>;

class EntityRun {
 public:
  // `storage` is reused when it holds room.
  explicit EntityRun(ParsedEntities storage = ParsedEntities());

  // Parses the entities whose "0" groups start in `piece` from file offset
  // `from` on, until the piece ends or `cancelled` is set. Records the
  // section reader reads itself (SECTION, BLOCK, ENDBLK ...) are passed
  // over. Nothing escapes it: a failure leaves no entities.
  void parse(const DxfPiece& piece, uint64_t from, std::shared_ptr<const RunContext> context,
             const std::atomic<bool>& cancelled);
  const RunContext& context() const { return *m_context; }
  // The entity parsed whose "0" group starts at file offset `start`; null
  // when there is none.
  ParsedEntity* at(uint64_t start);
  // The entity parsed right after `parsed`, with no other record between
  // them; null when there is none.
  ParsedEntity* following(const ParsedEntity& parsed);
  // Entities parsed from `parsed` on, and the file offset after the last.
  size_t countFrom(const ParsedEntity& parsed) const {
    return m_entities.size() - size_t(&parsed - m_entities.data());
  }
  uint64_t end() const { return m_entities.empty() ? 0 : m_entities.back().end; }
  // Gives the parsed entity the drawing's layer and line type indices,
  // adding the run's own names to `db` as its parse looked them up; the
  // entity is then the caller's to move away.
  Entity& adopt(ParsedEntity& parsed, Database& db);
  // The storage of the parsed entities, emptied, for another run to parse
  // into: its pages are there already.
  ParsedEntities takeStorage();

 private:
  void renumber(Entity& e) const;

  std::shared_ptr<const RunContext> m_context;
  Database m_names;  // the run's own names and their uses
  ParsedEntities m_entities;
  std::vector<int32_t> m_drawingLayer;     // of each own layer, -1 until added
  std::vector<int16_t> m_drawingLinetype;  // of each own line type, kNoLinetype until added
};

}  // namespace zr
