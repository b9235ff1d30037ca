#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_model.h"

#include <cmath>

namespace zr {

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
  auto it = layerIndex.find(UpperName(name));
  return it == layerIndex.end() ? -1 : it->second;
}

int32_t Database::addLayer(const std::string& name) {
  int32_t i = findLayer(name);
  if (i >= 0) return i;
  Layer layer;
  layer.name = name;
  layers.push_back(layer);
  int32_t index = int32_t(layers.size() - 1);
  layerIndex[UpperName(name)] = index;
  return index;
}

int16_t Database::linetypeOf(const std::string& name) {
  std::string key = UpperName(name);
  if (key == "BYLAYER") return -1;
  if (key == "BYBLOCK") return -2;
  auto it = linetypeIndex.find(key);
  if (it != linetypeIndex.end()) return it->second;
  if (linetypes.size() >= 32000) return -1;
  LineType type;
  type.name = name;
  linetypes.push_back(type);
  int16_t index = int16_t(linetypes.size() - 1);
  linetypeIndex[key] = index;
  return index;
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
