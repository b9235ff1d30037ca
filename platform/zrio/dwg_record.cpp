#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_record.h"

#include <stdio.h>
#include <stdlib.h>

#include <cmath>

#include "platform/zrio/dxf_save_plan.h"

namespace zr {

double FormGroup::real() const { return numeric ? number : strtod(text.c_str(), nullptr); }

long long FormGroup::integer() const {
  return numeric ? (long long)(std::llround(number)) : strtoll(text.c_str(), nullptr, 10);
}

uint64_t FormGroup::handle() const {
  if (!numeric) return ParseHandle(text);
  return number > 0 && number < 18446744073709551616.0 ? uint64_t(number) : 0;
}

uint64_t FormHandle(const FormGroups& groups) {
  for (const FormGroup& g : groups) {
    if (g.code == 5 || g.code == 105) return g.handle();
    if (g.code == 100) break;
  }
  return 0;
}

uint64_t FormOwner(const FormGroups& groups) {
  bool inBrace = false;
  for (const FormGroup& g : groups) {
    if (g.code == 102) inBrace = !g.text.empty() && g.text[0] == '{';
    else if (g.code == 330 && !inBrace) return g.handle();
    else if (g.code == 100) break;
  }
  return 0;
}

const FormGroup* RecordView::find(int code, const char* after) const {
  bool inBrace = false, past = after == nullptr;
  for (const FormGroup& g : r_.groups) {
    if (g.code == 102) {
      inBrace = !g.text.empty() && g.text[0] == '{';
      continue;
    }
    if (inBrace) continue;
    if (!past) {
      past = g.code == 100 && g.text == after;
      continue;
    }
    if (g.code == code) return &g;
  }
  return nullptr;
}

std::string RecordView::text(int code, const char* fallback) const {
  const FormGroup* g = find(code);
  if (!g) return fallback;
  if (!g->numeric) return g->text;
  char buffer[40];
  snprintf(buffer, sizeof buffer, "%.17g", g->number);
  return buffer;
}

double RecordView::real(int code, double fallback) const {
  const FormGroup* g = find(code);
  return g ? g->real() : fallback;
}

long long RecordView::integer(int code, long long fallback) const {
  const FormGroup* g = find(code);
  return g ? g->integer() : fallback;
}

uint64_t RecordView::handle(int code, const char* after) const {
  const FormGroup* g = find(code, after);
  return g ? g->handle() : 0;
}

Vec3 RecordView::point(int code, const Vec3& fallback) const {
  if (!has(code)) return fallback;
  return Vec3(real(code), real(code + 10), real(code + 20));
}

std::vector<uint64_t> RecordView::braceHandles(const char* name) const {
  std::vector<uint64_t> handles;
  bool inside = false;
  for (const FormGroup& g : r_.groups) {
    if (g.code == 102) inside = g.text == name;
    else if (inside) handles.push_back(g.handle());
  }
  return handles;
}

std::vector<double> RecordView::reals(int code) const {
  std::vector<double> values;
  bool inBrace = false;
  for (const FormGroup& g : r_.groups) {
    if (g.code == 102) inBrace = !g.text.empty() && g.text[0] == '{';
    else if (!inBrace && g.code == code) values.push_back(g.real());
  }
  return values;
}

std::string HexBytes(const std::string& hex) {
  auto digit = [](char c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10
         : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 0;
  };
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += char(digit(hex[i]) << 4 | digit(hex[i + 1]));
  return bytes;
}

Vec3 GroupPoint(const FormGroups& groups, size_t* at) {
  size_t i = *at;
  int code = groups[i].code;
  Vec3 p(groups[i].real(), 0);
  if (i + 1 < groups.size() && groups[i + 1].code == code + 10) p.y = groups[++i].real();
  if (i + 1 < groups.size() && groups[i + 1].code == code + 20) p.z = groups[++i].real();
  *at = i;
  return p;
}

}  // namespace zr
