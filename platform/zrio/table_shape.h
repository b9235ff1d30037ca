// What an ACAD_TABLE draws when the file stores no block for it, read from
// its cells: the grid of row heights and column widths, each cell's border
// (merged cells as one) and each cell's text, placed as its alignment says
// within the cell's margins. Text heights, alignments and margins come from
// the cell, else from the table's style (its data, title and header cell
// styles), else from defaults.
#pragma once
#include <string>
#include <vector>

#include "platform/zrio/dxf_model.h"

namespace zr {

struct TableCellText {
  std::string text;  // MTEXT contents, UTF-8
  Vec3 at;           // anchor, in the table's own coordinates
  int attachment = 1;  // as MTEXT's: 1 top left ... 9 bottom right
  double height = 0;
  double width = 0;    // reference width of the MTEXT
};

// In the table's own coordinates: x along its rows, y up, the insertion
// point (its top left corner) at the origin.
struct TableShape {
  std::vector<Vec3> borders;  // lines, two points each
  std::vector<TableCellText> texts;
};

// False when the groups give no rows or columns.
bool ReadTableShape(const Entity& table, const Database& db, TableShape* shape);

}  // namespace zr
