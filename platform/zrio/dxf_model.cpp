#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_model.h"

#include <cmath>

namespace zr {

size_t RecordEnd(const RawGroups& groups, size_t start) {
  size_t end = start + 1;
  while (end < groups.size() && groups[end].code != 0) ++end;
  return end;
}

std::vector<GroupRange> RecordsOfType(const RawGroups& groups, const char* type) {
  std::vector<GroupRange> records;
  for (size_t i = 0; i < groups.size(); ++i) {
    if (groups[i].code != 0 || groups[i].value != type) continue;
    size_t end = RecordEnd(groups, i);
    records.push_back({i + 1, end});
    i = end - 1;
  }
  return records;
}

std::string UpperName(const std::string& name) {
  std::string r(name);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return r;
}

double TableRotation(const Entity& e) {
  if (e.pts.size() < 2) return 0;
  double x = e.pts[1].x, y = e.pts[1].y, z = e.pts[1].z;
  double length = std::sqrt(x * x + y * y + z * z);
  if (!std::isfinite(length) || std::fabs(length - 1) > 1e-6 || std::fabs(z) > 1e-6) return 0;
  return std::atan2(y, x);
}

int32_t Database::findBlock(const std::string& name) const {
  auto it = blockIndex.find(UpperName(name));
  return it == blockIndex.end() ? -1 : it->second;
}

int32_t Database::findLayer(const std::string& name) const {
  std::string key = UpperName(name);
  if (known) {
    auto found = known->layers.find(key);
    if (found != known->layers.end()) return found->second;
  }
  auto it = layerIndex.find(key);
  if (it == layerIndex.end()) return -1;
  return known ? known->firstOwnLayer + it->second : it->second;
}

int32_t Database::addLayer(const std::string& name) {
  int32_t i = findLayer(name);
  if (i < 0) {
    Layer layer;
    layer.name = name;
    layers.push_back(layer);
    i = int32_t(layers.size() - 1);
    layerIndex[UpperName(name)] = i;
    if (known) i += known->firstOwnLayer;
  }
  if (known && i >= known->firstOwnLayer) nameUses.push_back({true, i - known->firstOwnLayer});
  return i;
}

int16_t Database::linetypeOf(const std::string& name) {
  std::string key = UpperName(name);
  if (key == "BYLAYER") return -1;
  if (key == "BYBLOCK") return -2;
  int16_t first = 0;
  if (known) {
    auto found = known->linetypes.find(key);
    if (found != known->linetypes.end()) return found->second;
    first = known->firstOwnLinetype;
  }
  int16_t index;
  auto it = linetypeIndex.find(key);
  if (it != linetypeIndex.end()) {
    index = it->second;
  } else {
    if (first + linetypes.size() >= kMostLinetypes) {
      linetypesFull = known != nullptr;
      return -1;
    }
    LineType type;
    type.name = name;
    linetypes.push_back(type);
    index = int16_t(linetypes.size() - 1);
    linetypeIndex[key] = index;
  }
  if (known) nameUses.push_back({false, index});
  return int16_t(first + index);
}

int32_t Database::addBlock(Block&& block) {
  std::string key = UpperName(block.name);
  auto it = blockIndex.find(key);
  if (it != blockIndex.end()) {
    // A second definition of a name replaces the first's contents.
    blocks[it->second] = std::move(block);
    return it->second;
  }
  blocks.push_back(std::move(block));
  int32_t index = int32_t(blocks.size() - 1);
  blockIndex[key] = index;
  return index;
}

}  // namespace zr
