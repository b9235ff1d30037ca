#include "platform/zrio/win32.h"
#include "platform/zrio/viewport_data.h"

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "platform/zrio/dxf_reader.h"

namespace zr {

namespace {

std::string Trimmed(const std::string& s) {
  size_t begin = s.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::string();
  size_t end = s.find_last_not_of(" \t");
  return s.substr(begin, end - begin + 1);
}

// A finite number written in the whole of a text (spaces around allowed).
bool ParseNumber(const std::string& text, double* value) {
  const char* start = text.c_str();
  char* end = nullptr;
  double v = strtod(start, &end);
  if (end == start) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != 0 || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

// Walks the groups of one application's extended data, checking each
// group's code as it is taken.
class XDataCursor {
 public:
  XDataCursor(const RawGroups& groups, size_t at, size_t end)
      : m_groups(groups), m_at(at), m_end(end) {}

  int code() const { return m_at < m_end ? m_groups[m_at].code : -1; }
  const std::string& value() const { return m_groups[m_at].value; }
  void advance() { ++m_at; }

  bool take(int code, const char* text) {
    if (this->code() != code || Trimmed(value()) != text) return false;
    advance();
    return true;
  }

  bool number(int code, double* v) {
    if (this->code() != code || !ParseNumber(value(), v)) return false;
    advance();
    return true;
  }

  // A point: x in `code`, y in code + 10, z (may be left out) in code + 20.
  bool point(int code, Vec3* p) {
    if (!number(code, &p->x) || !number(code + 10, &p->y)) return false;
    p->z = 0;
    return this->code() != code + 20 || number(code + 20, &p->z);
  }

 private:
  const RawGroups& m_groups;
  size_t m_at, m_end;
};

// Bounds of the "ACAD" application's extended data: from the group after
// its 1001 group up to the next application's.
bool FindAcadData(const RawGroups& groups, size_t* begin, size_t* end) {
  for (size_t i = 0; i < groups.size(); ++i) {
    if (groups[i].code != 1001 || Trimmed(groups[i].value) != "ACAD") continue;
    size_t j = i + 1;
    while (j < groups.size() && groups[j].code != 1001) ++j;
    *begin = i + 1;
    *end = j;
    return true;
  }
  return false;
}

// The 1040 and 1070 display values after the clip distances, then the
// list of frozen layer names and the end of the outer list.
bool ReadMViewTail(XDataCursor& c, MViewData* d) {
  while (c.code() == 1040 || c.code() == 1070) c.advance();
  if (c.take(1002, "{")) {
    while (c.code() == 1003) {
      d->frozenLayers.push_back(Trimmed(c.value()));
      c.advance();
    }
    if (!c.take(1002, "}")) return false;
  }
  return c.take(1002, "}");
}

class LayerHandles {
 public:
  explicit LayerHandles(const Database& db) : m_db(db) {}

  int32_t find(uint64_t handle) {
    if (!m_built) build();
    auto it = m_byHandle.find(handle);
    return it == m_byHandle.end() ? -1 : it->second;
  }

 private:
  void build() {
    m_built = true;
    for (size_t i = 0; i < m_db.layers.size(); ++i)
      for (const RawGroup& g : m_db.layers[i].raw)
        if (g.code == 5) m_byHandle.emplace(strtoull(g.value.c_str(), nullptr, 16), int32_t(i));
  }

  const Database& m_db;
  bool m_built = false;
  std::unordered_map<uint64_t, int32_t> m_byHandle;
};

bool HasGroup(const RawGroups& groups, int code) {
  for (const RawGroup& g : groups)
    if (g.code == code) return true;
  return false;
}

void AddFrozen(std::vector<int32_t>& frozen, int32_t layer) {
  if (layer >= 0) frozen.push_back(layer);
}

// R2000 and later: the view is already in place; frozen layers by handle.
void ResolveModernViewport(const RawGroups& raw, LayerHandles& handles,
                           std::vector<int32_t>& frozen) {
  for (const RawGroup& g : raw)
    if (g.code == 331) AddFrozen(frozen, handles.find(strtoull(g.value.c_str(), nullptr, 16)));
}

// R12: the view comes from the extended data.
void ResolveR12Viewport(Database& db, const RawGroups& raw, Entity& e,
                        std::vector<int32_t>& frozen) {
  MViewData d;
  if (!ReadMViewData(raw, &d)) {
    e.nums[2] = 0;
    return;
  }
  e.pts[1] = Vec3(d.centerX, d.centerY, 0);
  e.pts[2] = d.direction;
  e.pts[3] = d.target;
  e.nums[2] = d.height;
  e.nums[3] = d.twist;
  for (const std::string& name : d.frozenLayers) AddFrozen(frozen, db.findLayer(DecodeText(name, db)));
}

}  // namespace

bool ReadMViewData(const RawGroups& groups, MViewData* data) {
  size_t begin = 0, end = 0;
  if (!data || !FindAcadData(groups, &begin, &end)) return false;
  XDataCursor c(groups, begin, end);
  MViewData d;
  double version = 0, lens = 0, frontClip = 0, backClip = 0;
  if (!c.take(1000, "MVIEW") || !c.take(1002, "{")) return false;
  if (c.code() == 1070 && !c.number(1070, &version)) return false;
  if (!c.point(1010, &d.target) || !c.point(1010, &d.direction)) return false;
  if (!c.number(1040, &d.twist) || !c.number(1040, &d.height) || !c.number(1040, &d.centerX) ||
      !c.number(1040, &d.centerY) || !c.number(1040, &lens) || !c.number(1040, &frontClip) ||
      !c.number(1040, &backClip))
    return false;
  if (!(d.height > 0) || !ReadMViewTail(c, &d)) return false;
  *data = std::move(d);
  return true;
}

void ResolveViewports(Database& db) {
  static const RawGroups kNoGroups;
  LayerHandles handles(db);
  for (Block& block : db.blocks) {
    for (Entity& e : block.entities) {
      if (e.kind != EntityKind::Viewport || e.pts.size() < 4 || e.nums.size() < 6) continue;
      const RawGroups& raw = e.extra ? e.extra->raw : kNoGroups;
      std::vector<int32_t> frozen;
      // Files that give the view height as a group give the whole view so.
      if (HasGroup(raw, 45)) ResolveModernViewport(raw, handles, frozen);
      else ResolveR12Viewport(db, raw, e, frozen);
      if (frozen.empty()) continue;
      std::sort(frozen.begin(), frozen.end());
      frozen.erase(std::unique(frozen.begin(), frozen.end()), frozen.end());
      e.more().frozenLayers = std::move(frozen);
    }
  }
}

}  // namespace zr
