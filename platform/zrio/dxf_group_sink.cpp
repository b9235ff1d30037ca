#include "platform/zrio/win32.h"
#include "platform/zrio/dxf_group_sink.h"

#include <stdio.h>
#include <string.h>

#include <cmath>

#include "platform/zrio/utf8.h"

namespace zr {

void DxfTextSink::str(int code, const char* value) {
  char buffer[16];
  snprintf(buffer, sizeof(buffer), "%3d\n", code);
  *m_out += buffer;
  *m_out += value;
  *m_out += '\n';
}

void DxfTextSink::text(int code, const std::string& utf8) {
  std::string ascii;
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = DecodeUtf8(utf8, &i);
    // Characters the escape cannot hold, and damaged bytes, become '?'.
    if (cp == kReplacementChar || cp > 0xFFFF) cp = '?';
    if (cp == '\n' || cp == '\r') continue;  // a value is one line
    if (cp < 0x80) {
      ascii += char(cp);
    } else {
      char buffer[16];
      snprintf(buffer, sizeof(buffer), "\\U+%04X", unsigned(cp));
      ascii += buffer;
    }
  }
  str(code, ascii.c_str());
}

void DxfTextSink::integer(int code, long long value) {
  char buffer[32];
  snprintf(buffer, sizeof(buffer), "%lld", value);
  str(code, buffer);
}

void DxfTextSink::real(int code, double value) {
  char buffer[40];
  snprintf(buffer, sizeof(buffer), "%.17g", std::isfinite(value) ? value : 0.0);
  // Reals carry a decimal point so that readers keep their type.
  if (!strchr(buffer, '.') && !strchr(buffer, 'e') && !strchr(buffer, 'n')) strcat(buffer, ".0");
  str(code, buffer);
}

void DxfTextSink::handle(int code, uint64_t value) {
  char buffer[24];
  snprintf(buffer, sizeof(buffer), "%llX", (unsigned long long)value);
  str(code, buffer);
}

}  // namespace zr
