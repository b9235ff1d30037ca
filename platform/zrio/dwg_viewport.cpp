#include "platform/zrio/win32.h"
#include "platform/zrio/dwg_viewport.h"

#include <cmath>
#include <cstddef>

namespace zr {

namespace {

// The status flags' parts that the MVIEW list keeps as values of their own.
enum : uint32_t {
  kViewMode = 31, kUcsIconOn = 32, kUcsIconAtOrigin = 64, kFastZoom = 128, kSnapOn = 256,
  kGridOn = 512, kIsometricSnap = 1024, kHiddenInPlot = 2048, kIsoPairTop = 4096,
  kIsoPairRight = 8192
};

// The first group of the "ACAD" application's extended data; the size of
// the groups when there is none.
size_t AcadData(const FormGroups& groups) {
  for (size_t i = 0; i < groups.size(); ++i)
    if (groups[i].code == 1001 && groups[i].is("ACAD")) return i + 1;
  return groups.size();
}

// Walks the MVIEW list group by group, each of the code it should have.
class MViewCursor {
 public:
  MViewCursor(const FormGroups& groups, size_t at) : g_(groups), m_at(at) {}

  bool is(int code) const { return m_at < g_.size() && g_[m_at].code == code; }
  bool take(int code, const char* text) {
    if (!is(code) || g_[m_at].text != text) return false;
    ++m_at;
    return true;
  }
  bool real(int code, double* value) {
    if (!is(code)) return false;
    *value = g_[m_at++].real();
    return std::isfinite(*value);
  }
  bool integer(int code, long long* value) {
    if (!is(code)) return false;
    *value = g_[m_at++].integer();
    return true;
  }
  bool point(int code, Vec3* p) {
    if (!is(code)) return false;
    *p = GroupPoint(g_, &m_at);
    ++m_at;
    return true;
  }
  bool text(int code, std::string* value) {
    if (!is(code)) return false;
    *value = g_[m_at++].text;
    return true;
  }

 private:
  const FormGroups& g_;
  size_t m_at;
};

bool ReadMViewList(const FormGroups& groups, ViewportView* view) {
  MViewCursor c(groups, AcadData(groups));
  ViewportView v;
  long long version = 0, mode = 0, zoom = 0, fast = 0, icon = 0, snap = 0, grid = 0, style = 0,
            pair = 0, hidden = 0;
  if (!c.take(1000, "MVIEW") || !c.take(1002, "{")) return false;
  if (c.is(1070)) c.integer(1070, &version);
  Vec3 center;
  if (!c.point(1010, &v.target) || !c.point(1010, &v.direction) || !c.real(1040, &v.twist) ||
      !c.real(1040, &v.height) || !c.real(1040, &center.x) || !c.real(1040, &center.y) ||
      !c.real(1040, &v.lens) || !c.real(1040, &v.frontClip) || !c.real(1040, &v.backClip))
    return false;
  v.center = center;
  // The display values are there in files that have them all.
  if (c.integer(1070, &mode) && c.integer(1070, &zoom) && c.integer(1070, &fast) &&
      c.integer(1070, &icon) && c.integer(1070, &snap) && c.integer(1070, &grid) &&
      c.integer(1070, &style) && c.integer(1070, &pair) && c.real(1040, &v.snapAngle) &&
      c.real(1040, &v.snapBase.x) && c.real(1040, &v.snapBase.y) && c.real(1040, &v.snapSpacing.x) &&
      c.real(1040, &v.snapSpacing.y) && c.real(1040, &v.gridSpacing.x) &&
      c.real(1040, &v.gridSpacing.y) && c.integer(1070, &hidden)) {
    v.circleZoom = int(zoom);
    v.flags = uint32_t(mode & kViewMode) | ((icon & 1) ? kUcsIconOn : 0) |
              ((icon & 2) ? kUcsIconAtOrigin : 0) | (fast ? kFastZoom : 0) | (snap ? kSnapOn : 0) |
              (grid ? kGridOn : 0) | (style ? kIsometricSnap : 0) | (pair == 1 ? kIsoPairTop : 0) |
              (pair == 2 ? kIsoPairRight : 0) | (hidden ? kHiddenInPlot : 0);
  }
  if (c.take(1002, "{")) {
    std::string name;
    while (c.text(1003, &name)) v.frozenNames.push_back(name);
  }
  *view = v;
  return true;
}

FormGroup Text(int code, const std::string& text) {
  FormGroup g;
  g.code = code;
  g.text = text;
  return g;
}

FormGroup Number(int code, double value) {
  FormGroup g;
  g.code = code;
  g.numeric = true;
  g.number = value;
  return g;
}

}  // namespace

ViewportView ViewportViewOf(const RecordView& r) {
  ViewportView v;
  if (!r.has(45)) {
    ReadMViewList(r.groups(), &v);
    return v;
  }
  v.center = r.point(12);
  v.height = r.real(45);
  v.target = r.point(17);
  v.direction = r.point(16, Vec3(0, 0, 1));
  v.twist = r.real(51);
  v.lens = r.real(42, 50);
  v.frontClip = r.real(43);
  v.backClip = r.real(44);
  v.flags = uint32_t(r.integer(90, 0));
  v.circleZoom = int(r.integer(72, 1000));
  v.snapAngle = r.real(50);
  v.snapBase = r.point(13);
  v.snapSpacing = r.point(14, Vec3(0.5, 0.5));
  v.gridSpacing = r.point(15, Vec3(0.5, 0.5));
  for (const FormGroup& g : r.groups())
    if (g.code == 331) v.frozenLayers.push_back(g.handle());
  return v;
}

bool HasMViewList(const RecordView& r) {
  const FormGroups& groups = r.groups();
  size_t at = AcadData(groups);
  return at < groups.size() && groups[at].code == 1000 && groups[at].is("MVIEW");
}

// The list goes first in the ACAD data, as R14 has it.
FormRecord WithMViewList(const FormRecord& record, const ViewportView& v,
                         const std::map<uint64_t, std::string>& layerNames) {
  FormGroups g;
  auto point = [&](const Vec3& p) {
    g.push_back(Number(1010, p.x));
    g.push_back(Number(1020, p.y));
    g.push_back(Number(1030, p.z));
  };
  g.push_back(Text(1000, "MVIEW"));
  g.push_back(Text(1002, "{"));
  g.push_back(Number(1070, 16));
  point(v.target);
  point(v.direction);
  for (double value : {v.twist, v.height, v.center.x, v.center.y, v.lens, v.frontClip, v.backClip})
    g.push_back(Number(1040, value));
  uint32_t f = v.flags;
  int icon = ((f & kUcsIconOn) ? 1 : 0) | ((f & kUcsIconAtOrigin) ? 2 : 0);
  int pair = (f & kIsoPairTop) ? 1 : (f & kIsoPairRight) ? 2 : 0;
  for (int value : {int(f & kViewMode), v.circleZoom, (f & kFastZoom) ? 1 : 0, icon, (f & kSnapOn) ? 1 : 0,
                    (f & kGridOn) ? 1 : 0, (f & kIsometricSnap) ? 1 : 0, pair})
    g.push_back(Number(1070, value));
  for (double value : {v.snapAngle, v.snapBase.x, v.snapBase.y, v.snapSpacing.x, v.snapSpacing.y,
                       v.gridSpacing.x, v.gridSpacing.y})
    g.push_back(Number(1040, value));
  g.push_back(Number(1070, (f & kHiddenInPlot) ? 1 : 0));
  g.push_back(Text(1002, "{"));
  for (uint64_t h : v.frozenLayers) {
    auto name = layerNames.find(h);
    if (name != layerNames.end()) g.push_back(Text(1003, name->second));
  }
  for (const std::string& name : v.frozenNames) g.push_back(Text(1003, name));
  g.push_back(Text(1002, "}"));
  g.push_back(Text(1002, "}"));
  FormRecord out = record;
  size_t at = AcadData(out.groups);
  if (at == out.groups.size()) {
    out.groups.push_back(Text(1001, "ACAD"));
    at = out.groups.size();
  }
  out.groups.insert(out.groups.begin() + std::ptrdiff_t(at), g.begin(), g.end());
  return out;
}

}  // namespace zr
