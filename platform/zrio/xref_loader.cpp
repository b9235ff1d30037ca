#include "platform/zrio/win32.h"
#include "platform/zrio/xref_loader.h"

#include <stdlib.h>

#include <cmath>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>

#include "platform/zrio/derived_graphics.h"
#include "platform/zrio/drawing_file.h"
#include "platform/zrio/dwg_preview.h"
#include "platform/zrio/dwg_reader.h"
#include "platform/zrio/library_globals.h"
#include "platform/zrio/search_paths.h"

namespace zr {

namespace {

// Block flags (group 70 of BLOCK).
enum : int16_t { kBlockXref = 4, kBlockOverlay = 8 };

// Deeper chains of references than this are not drawn anyway (the entity
// walker's block depth).
const int kMaxXrefDepth = 16;

bool IsXref(const Block& block) { return (block.flags & (kBlockXref | kBlockOverlay)) != 0; }

// The folder part of a path, without its last separator; empty for a bare
// name.
std::string FolderOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

enum class ReadOutcome { Read, Unreadable, Aborted };

ReadOutcome ReadReferencedDrawing(const std::string& path, bool thumbnail,
                                  const LoadControl& control, Database& db) {
  DrawingFile file(path.c_str());
  std::vector<char> data;
  bool dwg = false;
  if (!file.readKind(&data, &dwg)) return ReadOutcome::Unreadable;
  size_t size = data.size() - 1;
  if (dwg) {
    if (DwgVersionText(data.data(), size).empty() || IsPasswordProtectedDwg(data.data(), size))
      return ReadOutcome::Unreadable;
    DwgReadResult result = ReadDwg(data.data(), size, thumbnail, db, control);
    if (result == DwgReadResult::Aborted) return ReadOutcome::Aborted;
    return result == DwgReadResult::Ok ? ReadOutcome::Read : ReadOutcome::Unreadable;
  }
  LoadResult result = ReadDxfFile(file.dxfHandle(), db, control);
  if (result == LoadResult::Aborted) return ReadOutcome::Aborted;
  return result == LoadResult::Ok ? ReadOutcome::Read : ReadOutcome::Unreadable;
}

// $INSBASE of a drawing, when its header has one with finite coordinates.
void TakeInsertionBase(const Database& db, Vec3* base) {
  for (const auto& variable : db.header) {
    if (variable.first != "$INSBASE") continue;
    Vec3 read;
    for (const RawGroup& g : variable.second) {
      double value = atof(g.value.c_str());
      if (g.code == 10) read.x = value;
      if (g.code == 20) read.y = value;
      if (g.code == 30) read.z = value;
    }
    if (std::isfinite(read.x) && std::isfinite(read.y) && std::isfinite(read.z)) *base = read;
    return;
  }
}

// The names a referenced drawing's symbols take in the drawing that loads
// it, and the loading of one referenced drawing into it.
class XrefLoader {
 public:
  XrefLoader(Database& host, bool thumbnail, const LoadControl& control, std::string* problems)
      : m_host(host), m_thumbnail(thumbnail), m_problems(problems) {
    // The referenced drawings' progress would run back from 100 each time.
    m_control.aborted = control.aborted;
  }

  bool loadAll(const std::string& hostPath) {
    m_additions = std::make_shared<XrefAdditions>();
    m_additions->layers = m_host.layers.size();
    m_additions->linetypes = m_host.linetypes.size();
    m_additions->blocks = m_host.blocks.size();
    m_chain.push_back(UpperPath(FullPath(hostPath).c_str()));
    std::string folder = FolderOf(hostPath);
    for (size_t i = 0; i < m_additions->blocks && !m_aborted; ++i) {
      const Block& block = m_host.blocks[i];
      if (IsXref(block)) load(int32_t(i), block.xrefPath, folder, block.name, 1);
    }
    if (!m_additions->filled.empty()) m_host.xrefs = m_additions;
    return !m_aborted;
  }

 private:
  // A referenced drawing's tables mapped to the host's.
  struct Names {
    std::vector<int32_t> layers;
    std::vector<int16_t> linetypes;
    std::map<std::string, std::string> blocks;  // upper-case name -> name in the host
    std::string folder;                         // of the referenced drawing (ANSI)
  };
  struct Nested {
    int32_t block;  // in the host
    std::string path, name;
  };

  void load(int32_t target, const std::string& stored, const std::string& folder,
            const std::string& name, int depth) {
    if (depth > kMaxXrefDepth) return;
    std::string path = FindReferencedFile(Utf8ToAnsi(stored), {folder});
    if (path.empty()) {
      report("外部参照 " + Utf8ToAnsi(name) + " 未找到: " + Utf8ToAnsi(stored));
      return;
    }
    std::string key = UpperPath(path.c_str());
    if (std::find(m_chain.begin(), m_chain.end(), key) != m_chain.end()) return;
    auto loaded = m_loaded.find(key);
    if (loaded != m_loaded.end()) {
      fillWithInsert(target, loaded->second);
      return;
    }
    Database referenced;
    ReadOutcome outcome = ReadReferencedDrawing(path, m_thumbnail, m_control, referenced);
    if (outcome == ReadOutcome::Aborted) m_aborted = true;
    if (outcome == ReadOutcome::Unreadable)
      report("外部参照 " + Utf8ToAnsi(name) + " 不能读取: " + path);
    if (outcome != ReadOutcome::Read) return;
    m_chain.push_back(key);
    merge(referenced, target, name, FolderOf(path), depth);
    m_chain.pop_back();
    m_loaded[key] = target;
  }

  void merge(Database& x, int32_t target, const std::string& prefix, const std::string& folder,
             int depth) {
    Names names;
    names.folder = folder;
    mapLinetypes(x, prefix, &names);
    mapLayers(x, prefix, &names);
    std::vector<Nested> nested = addBlocks(x, prefix, &names);
    std::vector<Entity> model;
    if (x.modelBlock >= 0) model = std::move(x.blocks[size_t(x.modelBlock)].entities);
    for (Entity& e : model) rename(e, names);
    Vec3 base = m_host.blocks[size_t(target)].base;
    TakeInsertionBase(x, &base);
    fill(target, base, std::move(model));
    for (const Nested& n : nested) load(n.block, n.path, folder, n.name, depth + 1);
  }

  void mapLinetypes(const Database& x, const std::string& prefix, Names* names) {
    for (const LineType& type : x.linetypes) {
      bool continuous = UpperName(type.name) == "CONTINUOUS";
      std::string name = continuous ? type.name : prefix + "|" + type.name;
      size_t before = m_host.linetypes.size();
      int16_t index = m_host.linetypeOf(name);
      if (index >= 0 && size_t(index) >= before) {
        m_host.linetypes[size_t(index)] = type;
        m_host.linetypes[size_t(index)].name = name;
      }
      names->linetypes.push_back(index);
    }
  }

  // Layers "0" and "Defpoints" are the host's own. A layer the host's file
  // already holds under the prefixed name (a CAD program keeps the states
  // it was given there) keeps its states.
  void mapLayers(const Database& x, const std::string& prefix, Names* names) {
    for (const Layer& layer : x.layers) {
      if (layer.name == "0" || UpperName(layer.name) == "DEFPOINTS") {
        names->layers.push_back(m_host.addLayer(layer.name));
        continue;
      }
      size_t before = m_host.layers.size();
      int32_t index = m_host.addLayer(prefix + "|" + layer.name);
      names->layers.push_back(index);
      if (size_t(index) < before) continue;
      Layer& added = m_host.layers[size_t(index)];
      std::string name = added.name;
      added = layer;
      added.name = name;
      added.linetypeIndex = -1;
      if (layer.linetypeIndex >= 0 && size_t(layer.linetypeIndex) < names->linetypes.size())
        added.linetypeIndex = std::max<int16_t>(names->linetypes[size_t(layer.linetypeIndex)], -1);
      if (added.linetypeIndex >= 0) added.linetype = m_host.linetypes[size_t(added.linetypeIndex)].name;
    }
  }

  // Adds the referenced drawing's blocks under their prefixed names (empty
  // ones for its own references, which load after it); the spaces stay out.
  std::vector<Nested> addBlocks(Database& x, const std::string& prefix, Names* names) {
    std::vector<size_t> kept;
    for (size_t i = 0; i < x.blocks.size(); ++i) {
      const std::string upper = UpperName(x.blocks[i].name);
      if (int32_t(i) == x.modelBlock || upper.compare(0, 12, "*PAPER_SPACE") == 0) continue;
      names->blocks[upper] = prefix + "|" + x.blocks[i].name;
      kept.push_back(i);
    }
    std::vector<Nested> nested;
    for (size_t i : kept) {
      Block& source = x.blocks[i];
      std::string name = names->blocks[UpperName(source.name)];
      if (m_host.findBlock(name) >= 0) continue;  // the host's own definition stays
      Block block;
      block.name = name;
      block.base = source.base;
      block.layer = mappedLayer(source.layer, *names);
      if (IsXref(source)) {
        int32_t index = m_host.addBlock(std::move(block));
        if (!(source.flags & kBlockOverlay)) nested.push_back({index, source.xrefPath, source.name});
        continue;
      }
      block.flags = source.flags;
      block.entities = std::move(source.entities);
      for (Entity& e : block.entities) rename(e, *names);
      m_host.addBlock(std::move(block));
    }
    return nested;
  }

  int32_t mappedLayer(int32_t layer, const Names& names) const {
    if (layer >= 0 && size_t(layer) < names.layers.size()) return names.layers[size_t(layer)];
    return m_host.findLayer("0");
  }

  void rename(Entity& e, const Names& names) const {
    e.layer = mappedLayer(e.layer, names);
    if (e.linetype >= 0)
      e.linetype = size_t(e.linetype) < names.linetypes.size() ? names.linetypes[size_t(e.linetype)]
                                                               : int16_t(-1);
    if (e.kind == EntityKind::Insert || e.kind == EntityKind::Dimension ||
        e.kind == EntityKind::Table) {
      auto it = names.blocks.find(UpperName(e.text));
      // A block the drawing lacks must not be taken for a host block.
      e.text = it != names.blocks.end() ? it->second : std::string();
    }
    if (!e.extra) return;
    for (Entity& child : e.extra->children) rename(child, names);
    // Its images' files are looked for beside the drawing it came from.
    if (e.extra->derived && !e.extra->derived->imagePath.empty()) {
      auto moved = std::make_shared<DerivedGraphics>(*e.extra->derived);
      moved->imageFolder = names.folder;
      e.extra->derived = std::move(moved);
    }
  }

  // A drawing already loaded into another block: that block, placed so
  // that the two blocks' base points meet.
  void fillWithInsert(int32_t target, int32_t loaded) {
    const Block& source = m_host.blocks[size_t(loaded)];
    Entity insert;
    insert.kind = EntityKind::Insert;
    insert.layer = m_host.findLayer("0");
    insert.color = 0;
    insert.lineweight = -2;
    insert.linetype = -2;
    insert.text = source.name;
    insert.pts = {source.base};
    insert.nums = {1, 1, 1, 0, 1, 1, 0, 0};
    Vec3 base = source.base;
    std::vector<Entity> entities;
    entities.push_back(std::move(insert));
    fill(target, base, std::move(entities));
  }

  void fill(int32_t target, const Vec3& base, std::vector<Entity> entities) {
    Block& block = m_host.blocks[size_t(target)];
    if (size_t(target) < m_additions->blocks)
      m_additions->filled.push_back({target, block.base, std::move(block.entities)});
    block.base = base;
    block.entities = std::move(entities);
  }

  void report(const std::string& text) {
    OutputDebugStringA(("zrio: " + text + "\n").c_str());
    if (!m_problems->empty()) m_problems->push_back('\n');
    *m_problems += text;
  }

  Database& m_host;
  bool m_thumbnail;
  LoadControl m_control;
  std::string* m_problems;
  std::shared_ptr<XrefAdditions> m_additions;
  std::vector<std::string> m_chain;          // upper-case full paths being loaded, outermost first
  std::map<std::string, int32_t> m_loaded;  // upper-case full path -> host block holding it
  bool m_aborted = false;
};

// Moves the items from `keep` on into `aside`, with their names out of the
// index.
template <typename Item, typename Index>
void TakeTail(std::vector<Item>& items, Index& index, size_t keep, std::vector<Item>* aside) {
  if (items.size() <= keep) return;
  for (size_t i = keep; i < items.size(); ++i) {
    auto it = index.find(UpperName(items[i].name));
    if (it != index.end() && size_t(it->second) == i) index.erase(it);
  }
  aside->assign(std::make_move_iterator(items.begin() + long(keep)),
                std::make_move_iterator(items.end()));
  items.erase(items.begin() + long(keep), items.end());
}

template <typename Item, typename Index>
void PutTailBack(std::vector<Item>& items, Index& index, std::vector<Item>* aside) {
  for (Item& item : *aside) {
    index[UpperName(item.name)] = typename Index::mapped_type(items.size());
    items.push_back(std::move(item));
  }
  aside->clear();
}

// Exchanges the filled xref blocks' contents and base points with those
// kept as read.
void SwapFilledBlocks(Database* db) {
  for (XrefAdditions::Filled& filled : db->xrefs->filled) {
    Block& block = db->blocks[size_t(filled.block)];
    std::swap(block.base, filled.base);
    std::swap(block.entities, filled.entities);
  }
}

}  // namespace

bool LoadXrefs(Database& db, const std::string& path, bool thumbnail, const LoadControl& control,
               std::string* problems) {
  XrefLoader loader(db, thumbnail, control, problems);
  return loader.loadAll(path);
}

XrefsSetAside::XrefsSetAside(Database* db) : m_db(db && db->xrefs ? db : nullptr) {
  if (!m_db) return;
  XrefAdditions& added = *m_db->xrefs;
  TakeTail(m_db->layers, m_db->layerIndex, added.layers, &m_layers);
  TakeTail(m_db->linetypes, m_db->linetypeIndex, added.linetypes, &m_linetypes);
  TakeTail(m_db->blocks, m_db->blockIndex, added.blocks, &m_blocks);
  SwapFilledBlocks(m_db);
}

XrefsSetAside::~XrefsSetAside() {
  if (!m_db) return;
  SwapFilledBlocks(m_db);
  PutTailBack(m_db->blocks, m_db->blockIndex, &m_blocks);
  PutTailBack(m_db->linetypes, m_db->linetypeIndex, &m_linetypes);
  PutTailBack(m_db->layers, m_db->layerIndex, &m_layers);
}

}  // namespace zr
