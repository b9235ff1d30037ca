#include "platform/zrio/win32.h"
#include "platform/zrio/text_styles.h"

#include <cstdlib>

#include "platform/zrio/dxf_reader.h"

namespace zr {

std::vector<TextStyleRecord> TextStyleRecords(const Database& db) {
  std::vector<TextStyleRecord> records;
  for (const RawTable& table : db.otherTables) {
    if (table.name != "STYLE") continue;
    TextStyleRecord record;
    for (size_t i = 0; i <= table.groups.size(); ++i) {
      if (i == table.groups.size() || table.groups[i].code == 0) {
        if (!record.name.empty() || !record.font.empty()) records.push_back(record);
        record = TextStyleRecord();
        continue;
      }
      const RawGroup& g = table.groups[i];
      if (g.code == 2) record.name = DecodeText(g.value, db);
      else if (g.code == 3) record.font = DecodeText(g.value, db);
      else if (g.code == 70) record.flags = atoi(g.value.c_str());
      else if (g.code == 41) record.widthFactor = atof(g.value.c_str());
    }
  }
  return records;
}

}  // namespace zr
