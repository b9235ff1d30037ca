#include "platform/zrio/win32.h"
#include "platform/zrio/dimension_shape.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>

#include "platform/zrio/dxf_reader.h"

namespace zr {

namespace {

// Dimension types (the low bits of group 70).
enum DimensionType {
  kRotated = 0, kAligned = 1, kAngular = 2, kDiameter = 3, kRadius = 4, kAngular3P = 5, kOrdinate = 6
};
// Of group 70: an ordinate dimension measures x, not y.
const int kOrdinateX = 64;

// Dimension variables by the codes their values have in a style and in an
// override.
const int kTextHeight = 140, kDecimals = 271, kZeros = 78, kScale = 40, kArrowSize = 41,
          kExtensionOffset = 42, kTickSize = 142, kSeparateArrows = 173, kArrowBlock = 342,
          kFirstArrowBlock = 343, kSecondArrowBlock = 344, kLeaderArrowBlock = 341;
// Of DIMZIN: trailing zeros of decimals left out.
const int kNoTrailingZeros = 8;

double Number(const RawGroup& g) {
  double v = atof(g.value.c_str());
  return std::isfinite(v) ? v : 0;
}

// The definition points (groups 10 to 16) and values of a dimension.
struct Definition {
  Vec3 points[7];
  bool has[7] = {false, false, false, false, false, false, false};
  int type = kRotated;
  bool typeRead = false;
  bool measuresX = false;  // an ordinate dimension of an x coordinate
  double rotation = 0;  // degrees
  double measurement = 0;
  bool measured = false;
  std::string text, style;
  std::vector<std::pair<int, std::string>> overrides;  // from the ACAD DSTYLE extended data

  const Vec3& at(int code) const { return points[code - 10]; }
  bool hasAll(std::initializer_list<int> codes) const {
    for (int c : codes)
      if (!has[c - 10]) return false;
    return true;
  }
};

Definition ReadDefinition(const RawGroups& raw, const Database& db) {
  Definition d;
  bool inStyleOverride = false;
  int overrideCode = -1;
  for (size_t i = 0; i < raw.size(); ++i) {
    const RawGroup& g = raw[i];
    int code = g.code;
    if (code >= 1000) {
      if (code == 1000 && g.value == "DSTYLE") inStyleOverride = true;
      else if (code == 1001) inStyleOverride = false;
      else if (inStyleOverride && code == 1070 && overrideCode < 0) overrideCode = atoi(g.value.c_str());
      else if (inStyleOverride && overrideCode >= 0) {
        d.overrides.push_back({overrideCode, g.value});
        overrideCode = -1;
      }
      continue;
    }
    if (code >= 10 && code <= 16 && !d.has[code - 10]) {
      Vec3& p = d.points[code - 10];
      p.x = Number(g);
      if (i + 1 < raw.size() && raw[i + 1].code == code + 10) p.y = Number(raw[++i]);
      if (i + 1 < raw.size() && raw[i + 1].code == code + 20) p.z = Number(raw[++i]);
      d.has[code - 10] = true;
    } else if (code == 70 && !d.typeRead) {
      d.type = atoi(g.value.c_str()) & 7;
      d.measuresX = (atoi(g.value.c_str()) & kOrdinateX) != 0;
      d.typeRead = true;
    } else if (code == 50) {
      d.rotation = Number(g);
    } else if (code == 42) {
      d.measurement = Number(g);
      d.measured = true;
    } else if (code == 1) {
      d.text = DecodeText(g.value, db);
    } else if (code == 3) {
      d.style = DecodeText(g.value, db);
    }
  }
  return d;
}

// A dimension variable as written: the entity's override, its style's
// value, or the drawing's header value (then *inHeader is set); false when
// none has it.
bool VariableText(const Definition& d, const Database& db, int code, const char* header, std::string* value,
                  bool* inHeader = nullptr) {
  if (inHeader) *inHeader = false;
  for (const auto& o : d.overrides)
    if (o.first == code) return *value = o.second, true;
  for (const RawTable& table : db.otherTables) {
    if (table.name != "DIMSTYLE") continue;
    bool ours = false;
    for (const RawGroup& g : table.groups) {
      if (g.code == 0) ours = false;
      else if (g.code == 2) ours = UpperName(DecodeText(g.value, db)) == UpperName(d.style.empty() ? "STANDARD" : d.style);
      else if (ours && g.code == code) return *value = g.value, true;
    }
  }
  for (const auto& variable : db.header) {
    if (variable.first != header || variable.second.empty()) continue;
    if (inHeader) *inHeader = true;
    *value = variable.second[0].value;
    return true;
  }
  return false;
}

// A dimension variable's number, or the fallback.
double Variable(const Definition& d, const Database& db, int code, const char* header, double fallback) {
  std::string text;
  if (!VariableText(d, db, code, header, &text)) return fallback;
  double v = atof(text.c_str());
  return std::isfinite(v) ? v : fallback;
}

// The arrowhead a block variable names: by its block's handle (styles and
// overrides) or its name (the header), ticks when the style asks for them.
ArrowStyle Arrow(const Definition& d, const Database& db, int code, const char* header) {
  ArrowStyle arrow;
  double scale = Variable(d, db, kScale, "$DIMSCALE", 1);
  if (!(scale > 0)) scale = 1;
  arrow.size = Variable(d, db, kArrowSize, "$DIMASZ", 0.18) * scale;
  double tick = Variable(d, db, kTickSize, "$DIMTSZ", 0) * scale;
  if (tick > 0) {
    arrow.kind = ArrowStyle::kTick;
    arrow.size = tick;
    return arrow;
  }
  std::string value;
  bool byName = false;
  if (!VariableText(d, db, code, header, &value, &byName) || value.empty()) return arrow;
  std::string name = byName ? DecodeText(value, db) : std::string();
  if (byName) {
    arrow.block = db.findBlock(name);
  } else {
    uint64_t handle = strtoull(value.c_str(), nullptr, 16);
    for (size_t i = 0; handle != 0 && i < db.blocks.size() && arrow.block < 0; ++i)
      if (db.blocks[i].recordHandle == handle) arrow.block = int32_t(i);
    if (arrow.block >= 0) name = db.blocks[size_t(arrow.block)].name;
  }
  name = UpperName(name);
  if (name == "_NONE") arrow.kind = ArrowStyle::kNone;
  else if (name == "_OBLIQUE" || name == "_ARCHTICK") arrow.kind = ArrowStyle::kTick;
  return arrow;
}

// The arrowheads at both ends of a dimension line: the first, second or
// both style's own when it keeps them separate.
void AddArrows(const Definition& d, const Database& db, const Vec3& tip1, const Vec3& direction1,
               const Vec3& tip2, const Vec3& direction2, DimensionShape* shape) {
  bool separate = Variable(d, db, kSeparateArrows, "$DIMSAH", 0) != 0;
  ArrowStyle first = Arrow(d, db, separate ? kFirstArrowBlock : kArrowBlock, separate ? "$DIMBLK1" : "$DIMBLK");
  ArrowStyle second = separate ? Arrow(d, db, kSecondArrowBlock, "$DIMBLK2") : first;
  shape->arrows.push_back({tip1, direction1.normalized(), first});
  shape->arrows.push_back({tip2, direction2.normalized(), second});
}

double AngleOf(const Vec3& v) { return std::atan2(v.y, v.x); }

// A direction turned, where needed, to read from left to right or upwards.
Vec3 Readable(const Vec3& direction) {
  Vec3 d = direction.normalized();
  if (d.x < -1e-9 || (std::fabs(d.x) <= 1e-9 && d.y < 0)) d = d * -1.0;
  return d.length() > 0 ? d : Vec3(1, 0, 0);
}

void Line(const Vec3& a, const Vec3& b, DimensionShape* shape) {
  shape->lines.segments.push_back(a);
  shape->lines.segments.push_back(b);
}

// The arc about c of radius r from the direction of a anticlockwise to
// that of b, with extension lines from a and b out to it and arrowheads
// at its ends pointing along it outwards.
void AngleArc(const Definition& d, const Database& db, const Vec3& c, double r, const Vec3& a, const Vec3& b,
              DimensionShape* shape) {
  double t0 = AngleOf(a - c), t1 = AngleOf(b - c);
  NormalizeAngleRange(&t0, &t1);
  shape->lines.arcs.push_back({c, Vec3(r, 0, 0), Vec3(0, r, 0), t0, t1});
  for (const Vec3& p : {a, b}) {
    Vec3 out = (p - c).normalized();
    Line(p, c + out * r, shape);
  }
  Vec3 start(std::cos(t0), std::sin(t0), 0), end(std::cos(t1), std::sin(t1), 0);
  AddArrows(d, db, c + start * r, Vec3(start.y, -start.x, 0), c + end * r, Vec3(-end.y, end.x, 0), shape);
}

// Where a radius or diameter line from `from` through `to` reaches out to
// the text at `text` beyond `to`: the text's foot on the line, or `to`.
Vec3 OutToText(const Vec3& from, const Vec3& to, const Vec3& text) {
  Vec3 along = to - from;
  double length = along.length();
  if (!(length > 0)) return to;
  along = along * (1 / length);
  double reach = (text - from).dot(along);
  return reach > length ? from + along * reach : to;
}

// An ordinate dimension's leader from the feature to its end: along the
// measured axis's normal, with a jog where the end stands aside.
void OrdinateLeader(const Definition& d, const Database& db, const Vec3& feature, const Vec3& end, bool measuresX,
                    DimensionShape* shape) {
  Vec3 axis = measuresX ? Vec3(0, 1, 0) : Vec3(1, 0, 0), across = measuresX ? Vec3(1, 0, 0) : Vec3(0, 1, 0);
  double run = (end - feature).dot(axis), aside = (end - feature).dot(across);
  Vec3 along = axis * (run < 0 ? -1.0 : 1.0);
  Vec3 start = feature + along * std::min(Variable(d, db, kExtensionOffset, "$DIMEXO", 0.0625), std::fabs(run));
  double leg = 2 * Arrow(d, db, kArrowBlock, "$DIMBLK").size;
  double rest = std::fabs((end - start).dot(axis));
  if (std::fabs(aside) < 1e-9 || rest <= leg) {
    Line(start, end, shape);
    return;
  }
  Vec3 knee = start + along * leg, back = knee + across * aside + along * std::min(std::fabs(aside), rest - leg);
  Line(start, knee, shape);
  Line(knee, back, shape);
  Line(back, end, shape);
}

std::string Formatted(double value, int decimals, bool trailingZeros) {
  char text[64];
  snprintf(text, sizeof text, "%.*f", std::max(0, std::min(decimals, 8)), value);
  std::string s = text;
  if (!trailingZeros && s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s;
}

}  // namespace

bool ReadDimensionShape(const RawGroups& raw, bool arc, const Database& db, DimensionShape* shape) {
  Definition d = ReadDefinition(raw, db);
  int type = arc ? -1 : d.type;
  double measured = 0;
  std::string prefix, suffix;
  const Vec3* center = nullptr;  // of the arc the text follows
  if (arc && d.hasAll({10, 13, 14, 15})) {
    double r = (d.at(10) - d.at(15)).length();
    AngleArc(d, db, d.at(15), r, d.at(13), d.at(14), shape);
    const EdgeArc& a = shape->lines.arcs.back();
    measured = (d.at(13) - d.at(15)).length() * (a.t1 - a.t0);
    center = &d.at(15);
  } else if ((type == kRotated || type == kAligned) && d.hasAll({10, 13, 14})) {
    Vec3 along = type == kAligned ? (d.at(14) - d.at(13)).normalized()
                                  : Vec3(std::cos(d.rotation * kPi / 180), std::sin(d.rotation * kPi / 180));
    Vec3 p1 = d.at(10) + along * (d.at(13) - d.at(10)).dot(along);
    Vec3 p2 = d.at(10) + along * (d.at(14) - d.at(10)).dot(along);
    Line(d.at(13), p1, shape);
    Line(d.at(14), p2, shape);
    Line(p1, p2, shape);
    AddArrows(d, db, p1, p1 - p2, p2, p2 - p1, shape);
    measured = (p2 - p1).length();
    shape->textDirection = along.x < -1e-9 ? along * -1.0 : along;
  } else if ((type == kRadius || type == kDiameter) && d.hasAll({10, 15})) {
    // Radii run from the centre (10) to the arc (15), diameters across
    // between two points of it; out to a text that stands beyond an end.
    const Vec3 &from = d.at(10), &to = d.at(15);
    Vec3 text = d.has[1] ? d.at(11) : to;
    if (type == kRadius) {
      Line(from, OutToText(from, to, text), shape);
      shape->arrows.push_back({to, (to - from).normalized(), Arrow(d, db, kArrowBlock, "$DIMBLK")});
    } else {
      Line(OutToText(to, from, text), OutToText(from, to, text), shape);
      AddArrows(d, db, from, from - to, to, to - from, shape);
    }
    measured = (to - from).length();
    prefix = type == kRadius ? "R" : "\xC3\x98";  // U+00D8
    shape->textDirection = Readable(d.at(15) - d.at(10));
  } else if (type == kAngular3P && d.hasAll({10, 13, 14, 15})) {
    AngleArc(d, db, d.at(15), (d.at(10) - d.at(15)).length(), d.at(13), d.at(14), shape);
    const EdgeArc& a = shape->lines.arcs.back();
    measured = (a.t1 - a.t0) * 180 / kPi;
    suffix = "\xC2\xB0";  // U+00B0
    center = &d.at(15);
  } else if (type == kOrdinate && d.hasAll({13, 14})) {
    OrdinateLeader(d, db, d.at(13), d.at(14), d.measuresX, shape);
    measured = d.measuresX ? std::fabs(d.at(13).x - d.at(10).x) : std::fabs(d.at(13).y - d.at(10).y);
    shape->textDirection = Readable(d.at(14) - d.at(13));
  } else if (type != kAngular) {
    return false;
  }
  if (d.measured) measured = type == kAngular3P || type == kAngular ? d.measurement * 180 / kPi : d.measurement;
  // Along an arc, the text follows its tangent.
  if (center && d.has[1]) {
    Vec3 out = d.at(11) - *center;
    shape->textDirection = Readable(Vec3(-out.y, out.x, 0));
  }
  bool trailingZeros = !(int(Variable(d, db, kZeros, "$DIMZIN", 0)) & kNoTrailingZeros);
  std::string value =
      prefix + Formatted(measured, int(Variable(d, db, kDecimals, "$DIMDEC", 4)), trailingZeros) + suffix;
  shape->text = d.text;
  size_t mark = shape->text.find("<>");
  if (shape->text.empty()) shape->text = value;
  else if (mark != std::string::npos) shape->text.replace(mark, 2, value);
  if (shape->text == " ") shape->text.clear();  // a space suppresses the text
  shape->textAt = d.at(11);
  shape->textHeight = Variable(d, db, kTextHeight, "$DIMTXT", 0.18);
  if (!d.has[1] || !(shape->textHeight > 0)) shape->text.clear();
  return true;
}

bool LeaderArrowStyle(const RawGroups& raw, const Database& db, ArrowStyle* style) {
  Definition d = ReadDefinition(raw, db);
  for (const RawGroup& g : raw)
    if (g.code == 71) {
      if (atoi(g.value.c_str()) == 0) return false;
      break;
    }
  *style = Arrow(d, db, kLeaderArrowBlock, "$DIMLDRBLK");
  return style->kind != ArrowStyle::kNone;
}

}  // namespace zr
