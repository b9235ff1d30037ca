// The pixels of a raster file an IMAGE entity shows, as decoded.
#pragma once
#include <stdint.h>

#include <vector>

namespace zr {

struct RasterImage {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xAARRGGBB, the top row first
};

}  // namespace zr
