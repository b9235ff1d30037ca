#include "platform/zrio/mleader_shape.h"

#include <cmath>
#include <cstdlib>

namespace zr {

namespace {

const size_t kMaxPoints = 100000;

double Number(const RawGroup& g) { return atof(g.value.c_str()); }

// The point whose x group is raw[i]; i moves to its last group.
Vec3 PointAt(const RawGroups& raw, size_t* i) {
  int code = raw[*i].code;
  Vec3 p(Number(raw[*i]), 0, 0);
  if (*i + 1 < raw.size() && raw[*i + 1].code == code + 10) p.y = Number(raw[++*i]);
  if (*i + 1 < raw.size() && raw[*i + 1].code == code + 20) p.z = Number(raw[++*i]);
  return p;
}

bool Finite(const Vec3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

}  // namespace

bool ReadMLeader(const RawGroups& raw, MLeaderShape* shape) {
  // Where the groups are: the context data, a leader in it, a line in that.
  enum Where { kOutside, kContext, kLeader, kLine } where = kOutside;
  struct Leader {
    Vec3 landing, dogleg;
    double doglegLength = 0;
    std::vector<std::vector<Vec3>> lines;
  };
  std::vector<Leader> leaders;
  size_t points = 0;
  bool hasBlock = false;
  for (size_t i = 0; i < raw.size(); ++i) {
    const RawGroup& g = raw[i];
    if (g.code == 300 && g.value == "CONTEXT_DATA{") {
      where = kContext;
    } else if (g.code == 301 && where == kContext) {
      where = kOutside;
    } else if (g.code == 302 && where == kContext) {
      where = kLeader;
      leaders.emplace_back();
    } else if (g.code == 303 && where == kLeader) {
      where = kContext;
    } else if (g.code == 304 && where == kLeader) {
      where = kLine;
      leaders.back().lines.emplace_back();
    } else if (g.code == 305 && where == kLine) {
      where = kLeader;
    }
    else if (where == kLine && g.code == 10 && ++points < kMaxPoints)
      leaders.back().lines.back().push_back(PointAt(raw, &i));
    else if (where == kLeader && g.code == 10) leaders.back().landing = PointAt(raw, &i);
    else if (where == kLeader && g.code == 11) leaders.back().dogleg = PointAt(raw, &i);
    else if (where == kLeader && g.code == 40) leaders.back().doglegLength = Number(g);
    else if (where == kContext && g.code == 41) shape->textHeight = Number(g);
    else if (where == kContext && g.code == 140) shape->arrowSize = Number(g);
    else if (where == kContext && g.code == 304) shape->text = g.value;
    else if (where == kContext && g.code == 12) shape->textAt = PointAt(raw, &i);
    else if (where == kContext && g.code == 13) shape->textDirection = PointAt(raw, &i);
    else if (where == kOutside && g.code == 170) shape->spline = atoi(g.value.c_str()) == 2;
    else if (where == kContext && g.code == 296) hasBlock = atoi(g.value.c_str()) != 0;
    else if (where == kContext && g.code == 341) shape->blockRecord = strtoull(g.value.c_str(), nullptr, 16);
    else if (where == kContext && g.code == 14) shape->blockNormal = PointAt(raw, &i);
    else if (where == kContext && g.code == 15) shape->blockAt = PointAt(raw, &i);
    else if (where == kContext && g.code == 16) shape->blockScale = PointAt(raw, &i);
    else if (where == kContext && g.code == 46) shape->blockRotation = Number(g);
    else if (where == kOutside && g.code == 330 && shape->attributes.size() < kMaxPoints)
      shape->attributes.push_back({strtoull(g.value.c_str(), nullptr, 16), std::string()});
    else if (where == kOutside && g.code == 302 && !shape->attributes.empty())
      shape->attributes.back().text = g.value;
  }
  if (!hasBlock || !Finite(shape->blockAt) || !Finite(shape->blockScale) || !std::isfinite(shape->blockRotation))
    shape->blockRecord = 0;
  for (Leader& leader : leaders) {
    for (std::vector<Vec3>& line : leader.lines) {
      line.push_back(leader.landing);
      bool sound = true;
      for (const Vec3& p : line) sound = sound && Finite(p);
      if (sound && line.size() >= 2) shape->lines.push_back(std::move(line));
    }
    Vec3 end = leader.landing + leader.dogleg * leader.doglegLength;
    if (leader.doglegLength > 0 && Finite(end)) shape->landings.push_back({leader.landing, end});
  }
  if (!Finite(shape->textAt) || !(shape->textHeight > 0)) shape->text.clear();
  return !shape->lines.empty();
}

}  // namespace zr
