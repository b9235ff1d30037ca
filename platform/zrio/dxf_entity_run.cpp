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

EntityRun::EntityRun(ParsedEntities storage) : entities_(std::move(storage)) { entities_.clear(); }

ParsedEntities EntityRun::takeStorage() {
  entities_.clear();
  return std::move(entities_);
}

void EntityRun::parse(const DxfPiece& piece, uint64_t from,
                      std::shared_ptr<const RunContext> context,
                      const std::atomic<bool>& cancelled) {
  context_ = std::move(context);
  names_.acadver = context_->acadver;
  names_.codePage = context_->codePage;
  names_.utf8 = context_->utf8;
  names_.known = &context_->names;
  try {
    // Room for the entities of a piece of ordinary ones; more grow it.
    entities_.reserve(size_t(piece.start + piece.size - from) / kBytesPerEntity + 1);
    DxfGroupReader r(piece, context_->format, from);
    while (!cancelled.load(std::memory_order_relaxed) && r.next()) {
      if (r.code() != 0 || IsSectionRecord(r.group())) continue;
      ParsedEntity parsed;
      parsed.start = r.groupStart();
      parsed.firstUse = uint32_t(names_.nameUses.size());
      // What the section reader would not have parsed the same way (the
      // piece ended inside the entity, its line types passed the most a
      // drawing holds) ends the run there.
      if (!ReadEntity(r, names_, parsed.entity) || names_.linetypesFull) break;
      parsed.end = r.resumePosition();
      parsed.endUse = uint32_t(names_.nameUses.size());
      entities_.push_back(std::move(parsed));
    }
    drawingLayer_.assign(names_.layers.size(), -1);
    drawingLinetype_.assign(names_.linetypes.size(), kNoLinetype);
  } catch (...) {
    entities_.clear();
  }
}

ParsedEntity* EntityRun::at(uint64_t start) {
  auto it = std::lower_bound(entities_.begin(), entities_.end(), start,
                             [](const ParsedEntity& e, uint64_t s) { return e.start < s; });
  return it != entities_.end() && it->start == start ? &*it : nullptr;
}

ParsedEntity* EntityRun::following(const ParsedEntity& parsed) {
  size_t index = size_t(&parsed - entities_.data()) + 1;
  if (index >= entities_.size() || entities_[index].start != parsed.end) return nullptr;
  return &entities_[index];
}

Entity& EntityRun::adopt(ParsedEntity& parsed, Database& db) {
  for (uint32_t i = parsed.firstUse; i < parsed.endUse; ++i) {
    const NameUse& use = names_.nameUses[i];
    size_t own = size_t(use.index);
    if (use.layer && drawingLayer_[own] < 0)
      drawingLayer_[own] = db.addLayer(names_.layers[own].name);
    else if (!use.layer && drawingLinetype_[own] == kNoLinetype)
      drawingLinetype_[own] = db.linetypeOf(names_.linetypes[own].name);
  }
  renumber(parsed.entity);
  return parsed.entity;
}

void EntityRun::renumber(Entity& e) const {
  const KnownNames& known = context_->names;
  if (e.layer >= known.firstOwnLayer)
    e.layer = drawingLayer_[size_t(e.layer - known.firstOwnLayer)];
  if (e.linetype >= known.firstOwnLinetype)
    e.linetype = drawingLinetype_[size_t(e.linetype - known.firstOwnLinetype)];
  if (e.extra)
    for (Entity& child : e.extra->children) renumber(child);
}

}  // namespace zr
