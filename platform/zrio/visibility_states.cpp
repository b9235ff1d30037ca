#include "platform/zrio/visibility_states.h"

#include <stdlib.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>

#include "platform/zrio/derived_graphics.h"

namespace zr {

namespace {

// Bounds the search of an insert's extension data.
const size_t kMaxObjectsSearched = 256;
const int kMaxDepth = 6;

uint64_t HandleOf(const std::string& text) { return strtoull(text.c_str(), nullptr, 16); }

struct State {
  std::string name;
  std::vector<uint64_t> shown;
};

struct Parameter {
  std::vector<uint64_t> controlled;
  std::vector<State> states;
};

// Object ranges [first group, end) of the OBJECTS section by handle.
typedef std::unordered_map<uint64_t, std::pair<size_t, size_t>> ObjectIndex;

ObjectIndex IndexObjects(const RawGroups& g) {
  ObjectIndex index;
  for (size_t i = 0; i < g.size();) {
    size_t end = RecordEnd(g, i);
    for (size_t k = i + 1; k < end; ++k)
      if (g[k].code == 5) {
        index[HandleOf(g[k].value)] = {i, end};
        break;
      }
    i = end;
  }
  return index;
}

Parameter ReadParameter(const RawGroups& g, size_t from, size_t to) {
  Parameter p;
  bool own = false;
  for (size_t k = from; k < to; ++k) {
    if (g[k].code == 100) own = g[k].value == "AcDbBlockVisibilityParameter";
    if (!own) continue;
    if (g[k].code == 331) p.controlled.push_back(HandleOf(g[k].value));
    else if (g[k].code == 303) p.states.push_back({g[k].value, {}});
    else if (g[k].code == 332 && !p.states.empty()) p.states.back().shown.push_back(HandleOf(g[k].value));
  }
  return p;
}

class StateFinder {
 public:
  StateFinder(const RawGroups& objects, const ObjectIndex& index) : m_objects(objects), m_index(index) {}

  // The state named in the extension data of an insert; 0 when none is.
  size_t stateOf(const Entity& insert, const Parameter& parameter) {
    bool inDictionary = false;
    for (const RawGroup& g : insert.extra->raw) {
      if (g.code == 102) inDictionary = g.value == "{ACAD_XDICTIONARY";
      if (!inDictionary || g.code != 360) continue;
      std::set<uint64_t> seen;
      size_t found = search(HandleOf(g.value), parameter, 0, &seen);
      if (found < parameter.states.size()) return found;
    }
    return 0;
  }

 private:
  size_t search(uint64_t handle, const Parameter& parameter, int depth, std::set<uint64_t>* seen) {
    auto it = m_index.find(handle);
    if (it == m_index.end() || depth > kMaxDepth || seen->size() >= kMaxObjectsSearched ||
        !seen->insert(handle).second)
      return parameter.states.size();
    size_t from = it->second.first, to = it->second.second;
    if (m_objects[from].value == "XRECORD") {
      for (size_t k = from + 1; k < to; ++k) {
        int code = m_objects[k].code;
        if (!((code >= 1 && code <= 4) || (code >= 300 && code <= 309))) continue;
        for (size_t s = 0; s < parameter.states.size(); ++s)
          if (parameter.states[s].name == m_objects[k].value) return s;
      }
    }
    for (size_t k = from + 1; k < to; ++k) {
      if (m_objects[k].code != 350 && m_objects[k].code != 360) continue;
      size_t found = search(HandleOf(m_objects[k].value), parameter, depth + 1, seen);
      if (found < parameter.states.size()) return found;
    }
    return parameter.states.size();
  }

  const RawGroups& m_objects;
  const ObjectIndex& m_index;
};

}  // namespace

void ResolveVisibilityStates(Database& db) {
  const RawGroups& g = db.objects;
  std::vector<Parameter> parameters;
  for (const GroupRange& record : RecordsOfType(g, "BLOCKVISIBILITYPARAMETER")) {
    Parameter p = ReadParameter(g, record.from, record.to);
    if (!p.controlled.empty() && !p.states.empty()) parameters.push_back(std::move(p));
  }
  if (parameters.empty()) return;
  // The block of each parameter: the one holding the entities it controls.
  std::unordered_map<uint64_t, int32_t> blockOfEntity;
  for (size_t b = 0; b < db.blocks.size(); ++b)
    for (const Entity& e : db.blocks[b].entities)
      if (e.handle != 0) blockOfEntity[e.handle] = int32_t(b);
  std::map<int32_t, const Parameter*> parameterOfBlock;
  for (const Parameter& p : parameters) {
    auto it = blockOfEntity.find(p.controlled[0]);
    if (it != blockOfEntity.end()) parameterOfBlock[it->second] = &p;
  }
  ObjectIndex index = IndexObjects(g);
  StateFinder finder(g, index);
  std::map<std::pair<int32_t, size_t>, std::shared_ptr<DerivedGraphics>> hidden;
  for (Block& block : db.blocks) {
    for (Entity& e : block.entities) {
      if (e.kind != EntityKind::Insert) continue;
      auto found = parameterOfBlock.find(db.findBlock(e.text));
      if (found == parameterOfBlock.end()) continue;
      const Parameter& p = *found->second;
      size_t state = e.extra ? finder.stateOf(e, p) : 0;
      std::shared_ptr<DerivedGraphics>& shared = hidden[{found->first, state}];
      if (!shared) {
        shared = std::make_shared<DerivedGraphics>();
        std::vector<uint64_t> shown = p.states[state].shown;
        std::sort(shown.begin(), shown.end());
        for (uint64_t h : p.controlled)
          if (!std::binary_search(shown.begin(), shown.end(), h)) shared->hiddenHandles.push_back(h);
        std::sort(shared->hiddenHandles.begin(), shared->hiddenHandles.end());
      }
      e.more().derived = shared;
    }
  }
}

}  // namespace zr
