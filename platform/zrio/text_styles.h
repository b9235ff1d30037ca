// The records of a drawing's STYLE table (kept as read) that drawing needs.
#pragma once
#include "platform/zrio/win32.h"

#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"

namespace zr {

struct TextStyleRecord {
  std::string name;  // UTF-8
  int flags = 0;     // 1: a shape file
  std::string font;  // the font or shape file's name, UTF-8
  double widthFactor = 1;
};

std::vector<TextStyleRecord> TextStyleRecords(const Database& db);

}  // namespace zr
