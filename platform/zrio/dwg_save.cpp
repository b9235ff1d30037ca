#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_save.h"

#include <stdlib.h>

#include "platform/zrio/dxf_model.h"
#include "platform/zrio/dxf_writer.h"

namespace zr {

bool DwgSave::r2000() const { return version == kSave2000; }

uint64_t DwgSave::named(DwgTable table, const std::string& name) const {
  auto it = names[table].find(UpperName(name));
  return it == names[table].end() ? 0 : it->second;
}

uint16_t DwgSave::classNumber(const std::string& dxfName) const {
  for (size_t i = 0; i < classes.size(); ++i)
    if (classes[i].dxfName == dxfName) return uint16_t(500 + i);
  return 0;
}

std::string DwgSave::encode(const std::string& text) const {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    bool escape = i + 7 <= text.size() && text.compare(i, 3, "\\U+") == 0;
    WCHAR wide = 0;
    if (escape) {
      char digits[5] = {text[i + 3], text[i + 4], text[i + 5], text[i + 6], 0};
      char* end = nullptr;
      wide = WCHAR(strtoul(digits, &end, 16));
      escape = end == digits + 4 && wide >= 0x80;
    }
    if (!escape) {
      out += text[i++];
      continue;
    }
    char bytes[8];
    BOOL lost = FALSE;
    int n = WideCharToMultiByte(windowsCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes,
                                sizeof bytes, nullptr, &lost);
    if (n > 0 && !lost) out.append(bytes, size_t(n));
    else out.append(text, i, 7);
    i += 7;
  }
  return out;
}

}  // namespace zr
