#include "platform/zrio/win32.h"
#include "platform/zrio/mtext_columns.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zr {

namespace {

const size_t kMaxColumns = 1000;

// Column values by their codes in the embedded object; the extended data
// has the same codes as 1070 and 1040 values behind code 1000 markers.
struct ColumnData {
  int type = 0, count = 0, autoHeight = 0;
  double width = 0, gutter = 0, height = 0;
  std::vector<double> heights;

  void take(int code, const std::string& value) {
    double v = atof(value.c_str());
    if (!std::isfinite(v)) return;
    switch (code) {
      case 71: case 75: type = int(v); break;
      case 72: case 76: count = int(v); break;
      case 73: case 79: autoHeight = int(v); break;
      case 44: case 48: width = v; break;
      case 45: case 49: gutter = v; break;
      case 41: height = v; break;
      case 46: case 50: if (heights.size() < kMaxColumns && v > 0) heights.push_back(v); break;
    }
  }
};

}  // namespace

void ReadMTextColumns(const RawGroups& raw, MTextFormat* format) {
  ColumnData data;
  bool embedded = false, info = false;
  int xdataCode = 0;  // the code the next value of the extended data is for
  size_t heightsLeft = 0;  // 1040 heights still to come after code 50's count
  double definedHeight = 0;
  for (const RawGroup& g : raw) {
    if (g.code == 101) {
      embedded = true;
    } else if (g.code == 1000) {
      if (g.value == "ACAD_MTEXT_COLUMN_INFO_BEGIN") info = true;
      else if (g.value == "ACAD_MTEXT_COLUMN_INFO_END") info = false;
    } else if (info && g.code == 1040 && heightsLeft > 0) {
      data.take(50, g.value);
      --heightsLeft;
    } else if (info && g.code == 1070 && xdataCode == 0) {
      xdataCode = atoi(g.value.c_str());
    } else if (info && (g.code == 1070 || g.code == 1040)) {
      // Code 50 counts the heights that follow.
      if (xdataCode == 50) heightsLeft = std::min(kMaxColumns, size_t(std::max(0, atoi(g.value.c_str()))));
      else data.take(xdataCode, g.value);
      xdataCode = 0;
    } else if (embedded && g.code < 1000) {
      data.take(g.code, g.value);
    } else if (!embedded && g.code == 46) {
      definedHeight = atof(g.value.c_str());
    }
  }
  if ((data.type != 1 && data.type != 2) || !(data.width > 0) || !std::isfinite(data.width)) return;
  format->columns = data.type == 1 ? MTextColumns::Static : MTextColumns::Dynamic;
  format->columnWidth = data.width;
  format->gutter = data.gutter >= 0 ? data.gutter : 0;
  format->columnHeight = data.height > 0 ? data.height : (definedHeight > 0 ? definedHeight : 0);
  if (data.type == 2 && !data.autoHeight) format->columnHeights = data.heights;
}

}  // namespace zr
