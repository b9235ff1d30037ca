#include "platform/zrio/win32.h"
#include "platform/zrio/table_shape.h"

#include <stdlib.h>

#include <algorithm>
#include <cmath>

#include "platform/zrio/dxf_reader.h"

namespace zr {

namespace {

const long kMaxRowsOrColumns = 10000;
const size_t kMaxCells = 1000000;

// Cell styles of a table style, in the order its groups give them.
enum CellStyle { kDataCells = 0, kTitleCells = 1, kHeaderCells = 2 };

struct TableStyle {
  double horizontalMargin = -1, verticalMargin = -1;
  bool titleShown = true, headerShown = true;
  double heights[3] = {0, 0, 0};
  int alignments[3] = {1, 5, 5};
};

double Number(const RawGroup& g) {
  double v = atof(g.value.c_str());
  return std::isfinite(v) ? v : 0;
}
long Integer(const RawGroup& g) { return atol(g.value.c_str()); }

TableStyle StyleOf(const Database& db, uint64_t handle) {
  TableStyle style;
  const RawGroups& g = db.objects;
  for (const GroupRange& record : RecordsOfType(g, "TABLESTYLE")) {
    bool found = false;
    for (size_t k = record.from; k < record.to; ++k)
      if (g[k].code == 5) found = strtoull(g[k].value.c_str(), nullptr, 16) == handle;
    if (!found) continue;
    int cellStyle = -1;
    for (size_t k = record.from; k < record.to; ++k) {
      const RawGroup& x = g[k];
      if (x.code == 7) ++cellStyle;
      if (cellStyle < 0) {
        if (x.code == 40) style.horizontalMargin = Number(x);
        else if (x.code == 41) style.verticalMargin = Number(x);
        else if (x.code == 280) style.titleShown = Integer(x) == 0;
        else if (x.code == 281) style.headerShown = Integer(x) == 0;
      } else if (cellStyle < 3) {
        if (x.code == 140) style.heights[cellStyle] = Number(x);
        else if (x.code == 170) style.alignments[cellStyle] = int(Integer(x));
      }
    }
    break;
  }
  return style;
}

struct Cell {
  bool merged = false;  // part of a cell that spans it
  long columns = 1, rows = 1;
  double height = 0;
  int alignment = 0;
  std::string text, formatted;
};

}  // namespace

bool ReadTableShape(const Entity& table, const Database& db, TableShape* shape) {
  if (!table.extra) return false;
  const RawGroups& raw = table.extra->raw;
  size_t i = 0;
  while (i < raw.size() && !(raw[i].code == 100 && raw[i].value == "AcDbTable")) ++i;
  long rowCount = 0, columnCount = 0;
  uint64_t styleHandle = 0;
  std::vector<double> heights, widths;
  for (; i < raw.size() && raw[i].code != 171; ++i) {
    const RawGroup& g = raw[i];
    if (g.code == 91 && rowCount == 0) rowCount = Integer(g);
    else if (g.code == 92 && columnCount == 0) columnCount = Integer(g);
    else if (g.code == 141 && long(heights.size()) < kMaxRowsOrColumns) heights.push_back(Number(g));
    else if (g.code == 142 && long(widths.size()) < kMaxRowsOrColumns) widths.push_back(Number(g));
    else if (g.code == 342) styleHandle = strtoull(g.value.c_str(), nullptr, 16);
  }
  if (rowCount <= 0 || columnCount <= 0 || rowCount > kMaxRowsOrColumns || columnCount > kMaxRowsOrColumns)
    return false;
  heights.resize(size_t(rowCount), 0);
  widths.resize(size_t(columnCount), 0);
  std::vector<Cell> cells;
  for (; i < raw.size() && cells.size() <= kMaxCells; ++i) {
    const RawGroup& g = raw[i];
    if (g.code == 171) cells.emplace_back();
    if (cells.empty()) continue;
    Cell& cell = cells.back();
    switch (g.code) {
      case 173: cell.merged = Integer(g) != 0; break;
      case 175: cell.columns = std::max(1L, Integer(g)); break;
      case 176: cell.rows = std::max(1L, Integer(g)); break;
      case 140: cell.height = Number(g); break;
      case 170: cell.alignment = int(Integer(g)); break;
      case 1: if (cell.text.empty()) cell.text = DecodeText(g.value, db); break;
      case 302: if (cell.formatted.empty()) cell.formatted = DecodeText(g.value, db); break;
    }
  }
  TableStyle style = StyleOf(db, styleHandle);
  std::vector<double> x(size_t(columnCount) + 1, 0), y(size_t(rowCount) + 1, 0);
  for (long c = 0; c < columnCount; ++c) x[size_t(c) + 1] = x[size_t(c)] + widths[size_t(c)];
  for (long r = 0; r < rowCount; ++r) y[size_t(r) + 1] = y[size_t(r)] - heights[size_t(r)];
  for (size_t k = 0; k < cells.size() && k < size_t(rowCount * columnCount); ++k) {
    const Cell& cell = cells[k];
    if (cell.merged) continue;
    long row = long(k) / columnCount, column = long(k) % columnCount;
    double x0 = x[size_t(column)], x1 = x[size_t(std::min(columnCount, column + cell.columns))];
    double y0 = y[size_t(row)], y1 = y[size_t(std::min(rowCount, row + cell.rows))];
    Vec3 corners[4] = {Vec3(x0, y0), Vec3(x1, y0), Vec3(x1, y1), Vec3(x0, y1)};
    for (int side = 0; side < 4; ++side) {
      shape->borders.push_back(corners[side]);
      shape->borders.push_back(corners[(side + 1) % 4]);
    }
    const std::string& text = cell.formatted.empty() ? cell.text : cell.formatted;
    if (text.empty()) continue;
    long titleRows = style.titleShown ? 1 : 0;
    int kind = row < titleRows ? kTitleCells : row < titleRows + (style.headerShown ? 1 : 0) ? kHeaderCells
                                                                                            : kDataCells;
    TableCellText placed;
    placed.text = text;
    placed.height = cell.height > 0 ? cell.height : style.heights[kind] > 0 ? style.heights[kind] : 0.18;
    placed.attachment = cell.alignment >= 1 && cell.alignment <= 9 ? cell.alignment : style.alignments[kind];
    if (placed.attachment < 1 || placed.attachment > 9) placed.attachment = 1;
    double marginX = style.horizontalMargin >= 0 ? style.horizontalMargin : placed.height / 3;
    double marginY = style.verticalMargin >= 0 ? style.verticalMargin : placed.height / 3;
    int column3 = (placed.attachment - 1) % 3, row3 = (placed.attachment - 1) / 3;
    double ax = column3 == 0 ? x0 + marginX : column3 == 1 ? (x0 + x1) / 2 : x1 - marginX;
    double ay = row3 == 0 ? y0 - marginY : row3 == 1 ? (y0 + y1) / 2 : y1 + marginY;
    placed.at = Vec3(ax, ay);
    placed.width = std::max(0.0, x1 - x0 - 2 * marginX);
    shape->texts.push_back(std::move(placed));
  }
  return true;
}

}  // namespace zr
