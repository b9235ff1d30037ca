#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_record.h"

#include <stdlib.h>
#include <string.h>

namespace zr {

bool ParseDxfGroups(const std::string& text, RawGroups* groups) {
  size_t at = 0;
  auto line = [&](std::string* out) {
    if (at >= text.size()) return false;
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    size_t stop = end > at && text[end - 1] == '\r' ? end - 1 : end;
    out->assign(text, at, stop - at);
    at = end + 1;
    return true;
  };
  std::string code, value;
  groups->reserve(text.size() / 16);
  while (line(&code)) {
    if (!line(&value)) return false;
    char* end = nullptr;
    long number = strtol(code.c_str(), &end, 10);
    if (end == code.c_str()) return false;
    groups->push_back({int(number), value});
  }
  return true;
}

double RealValue(const std::string& value) { return strtod(value.c_str(), nullptr); }

long long IntegerValue(const std::string& value) { return strtoll(value.c_str(), nullptr, 10); }

const RawGroup* RecordView::find(int code, const char* after) const {
  bool inBrace = false, past = after == nullptr;
  for (const RawGroup& g : r_.groups) {
    if (g.code == 102) {
      inBrace = !g.value.empty() && g.value[0] == '{';
      continue;
    }
    if (inBrace) continue;
    if (!past) {
      past = g.code == 100 && g.value == after;
      continue;
    }
    if (g.code == code) return &g;
  }
  return nullptr;
}

std::string RecordView::text(int code, const char* fallback) const {
  const RawGroup* g = find(code);
  return g ? g->value : std::string(fallback);
}

double RecordView::real(int code, double fallback) const {
  const RawGroup* g = find(code);
  return g ? RealValue(g->value) : fallback;
}

long long RecordView::integer(int code, long long fallback) const {
  const RawGroup* g = find(code);
  return g ? IntegerValue(g->value) : fallback;
}

uint64_t RecordView::handle(int code, const char* after) const {
  const RawGroup* g = find(code, after);
  return g ? ParseHandle(g->value) : 0;
}

Vec3 RecordView::point(int code, const Vec3& fallback) const {
  if (!has(code)) return fallback;
  return Vec3(real(code), real(code + 10), real(code + 20));
}

std::vector<uint64_t> RecordView::braceHandles(const char* name) const {
  std::vector<uint64_t> handles;
  bool inside = false;
  for (const RawGroup& g : r_.groups) {
    if (g.code == 102) inside = g.value == name;
    else if (inside) handles.push_back(ParseHandle(g.value));
  }
  return handles;
}

}  // namespace zr
