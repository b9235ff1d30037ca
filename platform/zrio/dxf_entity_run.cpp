#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_entity_run.h"

#include <algorithm>

#include "platform/zrio/dxf_reader.h"

namespace zr {

namespace {

// Not yet one of the drawing's line types (-1 and -2 are by layer and by block).
const int16_t kNoLinetype = -3;

// Bytes an entity takes in a file at least, but for the smallest ones.
const size_t kBytesPerEntity = 64;

// Records the section reader reads itself wherever they stand.
bool IsSectionRecord(const Group& g) {
  static const char* const kNames[] = {"SECTION", "ENDSEC", "EOF",   "BLOCK",
                                       "ENDBLK",  "TABLE",  "ENDTAB"};
  std::string_view name = TrimmedName(g.view);
  if (name.empty() || (name[0] != 'S' && name[0] != 'E' && name[0] != 'B' && name[0] != 'T'))
    return false;
  for (const char* section : kNames)
    if (name == section) return true;
  return false;
}

}  // namespace

std::shared_ptr<const RunContext> RunContext::Of(const Database& db, const DxfFormat& format) {
  std::shared_ptr<RunContext> context(new RunContext);
  context->format = format;
  context->acadver = db.acadver;
  context->codePage = db.codePage;
  context->utf8 = db.utf8;
  context->names.layers = db.layerIndex;
  context->names.linetypes = db.linetypeIndex;
  context->names.firstOwnLayer = std::max<int32_t>(int32_t(db.layers.size()), 1);
  context->names.firstOwnLinetype = int16_t(db.linetypes.size());
  return context;
}

bool RunContext::fits(const Database& db) const {
  return codePage == db.codePage && utf8 == db.utf8 && acadver == db.acadver;
}

EntityRun::EntityRun(ParsedEntities storage) : m_entities(std::move(storage)) { m_entities.clear(); }

ParsedEntities EntityRun::takeStorage() {
  m_entities.clear();
  return std::move(m_entities);
}

void EntityRun::parse(const DxfPiece& piece, uint64_t from,
                      std::shared_ptr<const RunContext> context,
                      const std::atomic<bool>& cancelled) {
  m_context = std::move(context);
  m_names.acadver = m_context->acadver;
  m_names.codePage = m_context->codePage;
  m_names.utf8 = m_context->utf8;
  m_names.known = &m_context->names;
  try {
    // Room for the entities of a piece of ordinary ones; more grow it.
    m_entities.reserve(size_t(piece.start + piece.size - from) / kBytesPerEntity + 1);
    DxfGroupReader r(piece, m_context->format, from);
    while (!cancelled.load(std::memory_order_relaxed) && r.next()) {
      if (r.code() != 0 || IsSectionRecord(r.group())) continue;
      ParsedEntity parsed;
      parsed.start = r.groupStart();
      parsed.firstUse = uint32_t(m_names.nameUses.size());
      // What the section reader would not have parsed the same way (the
      // piece ended inside the entity, its line types passed the most a
      // drawing holds) ends the run there.
      if (!ReadEntity(r, m_names, parsed.entity) || m_names.linetypesFull) break;
      parsed.end = r.resumePosition();
      parsed.endUse = uint32_t(m_names.nameUses.size());
      m_entities.push_back(std::move(parsed));
    }
    m_drawingLayer.assign(m_names.layers.size(), -1);
    m_drawingLinetype.assign(m_names.linetypes.size(), kNoLinetype);
  } catch (...) {
    m_entities.clear();
  }
}

ParsedEntity* EntityRun::at(uint64_t start) {
  auto it = std::lower_bound(m_entities.begin(), m_entities.end(), start,
                             [](const ParsedEntity& e, uint64_t s) { return e.start < s; });
  return it != m_entities.end() && it->start == start ? &*it : nullptr;
}

ParsedEntity* EntityRun::following(const ParsedEntity& parsed) {
  size_t index = size_t(&parsed - m_entities.data()) + 1;
  if (index >= m_entities.size() || m_entities[index].start != parsed.end) return nullptr;
  return &m_entities[index];
}

Entity& EntityRun::adopt(ParsedEntity& parsed, Database& db) {
  for (uint32_t i = parsed.firstUse; i < parsed.endUse; ++i) {
    const NameUse& use = m_names.nameUses[i];
    size_t own = size_t(use.index);
    if (use.layer && m_drawingLayer[own] < 0)
      m_drawingLayer[own] = db.addLayer(m_names.layers[own].name);
    else if (!use.layer && m_drawingLinetype[own] == kNoLinetype)
      m_drawingLinetype[own] = db.linetypeOf(m_names.linetypes[own].name);
  }
  renumber(parsed.entity);
  return parsed.entity;
}

void EntityRun::renumber(Entity& e) const {
  const KnownNames& known = m_context->names;
  if (e.layer >= known.firstOwnLayer)
    e.layer = m_drawingLayer[size_t(e.layer - known.firstOwnLayer)];
  if (e.linetype >= known.firstOwnLinetype)
    e.linetype = m_drawingLinetype[size_t(e.linetype - known.firstOwnLinetype)];
  if (e.extra)
    for (Entity& child : e.extra->children) renumber(child);
}

}  // namespace zr
