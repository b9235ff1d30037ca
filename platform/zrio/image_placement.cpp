#include "platform/zrio/image_placement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zr {

namespace {

const size_t kMaxClipPoints = 1000000;

// Display property flags (group 70).
const long kShowImage = 1;
const long kTransparent = 8;

double Number(const RawGroup& g) { return atof(g.value.c_str()); }
long Integer(const RawGroup& g) { return atol(g.value.c_str()); }

// The point whose x group is raw[i]; i moves past it.
Vec3 PointAt(const RawGroups& raw, size_t* i) {
  int code = raw[*i].code;
  Vec3 p(Number(raw[*i]), 0, 0);
  ++*i;
  if (*i < raw.size() && raw[*i].code == code + 10) p.y = Number(raw[(*i)++]);
  if (*i < raw.size() && raw[*i].code == code + 20) p.z = Number(raw[(*i)++]);
  return p;
}

bool Finite(const Vec3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

int Percent(const RawGroup& g) { return int(std::max(0L, std::min(100L, Integer(g)))); }

}  // namespace

bool ReadImagePlacement(const RawGroups& raw, ImagePlacement* placement) {
  ImageRun& run = placement->run;
  Vec3 u, v, size;
  std::vector<Vec3> clip;
  long clipType = 1, flags = kShowImage;
  bool clipping = true;
  for (size_t i = 0; i < raw.size();) {
    int code = raw[i].code;
    if (code >= 10 && code <= 14) {
      Vec3 p = PointAt(raw, &i);
      if (code == 10) run.origin = p;
      else if (code == 11) u = p;
      else if (code == 12) v = p;
      else if (code == 13) size = p;
      else if (clip.size() < kMaxClipPoints) clip.push_back(p);
      continue;
    }
    switch (code) {
      case 70: flags = Integer(raw[i]); break;
      case 71: clipType = Integer(raw[i]); break;
      case 280: clipping = Integer(raw[i]) != 0; break;
      case 290: run.clipInverted = Integer(raw[i]) != 0; break;
      case 281: run.brightness = Percent(raw[i]); break;
      case 282: run.contrast = Percent(raw[i]); break;
      case 283: run.fade = Percent(raw[i]); break;
    }
    ++i;
  }
  if (!(size.x > 0) || !(size.y > 0) || !std::isfinite(size.x + size.y)) return false;
  run.u = u * size.x;
  run.v = v * size.y;
  if (!Finite(run.origin) || !Finite(run.u) || !Finite(run.v)) return false;
  placement->shown = (flags & kShowImage) != 0;
  run.transparent = (flags & kTransparent) != 0;
  if (!clipping || clip.size() < 2) {
    run.clipInverted = false;
    return true;
  }
  if (clipType == 1 || clip.size() == 2) {
    Vec3 a = clip[0], b = clip[1];
    clip = {a, Vec3(b.x, a.y), b, Vec3(a.x, b.y)};
  }
  if (clip.size() > 3 && clip.front().x == clip.back().x && clip.front().y == clip.back().y) clip.pop_back();
  for (const Vec3& c : clip) {
    Vec3 st((c.x + 0.5) / size.x, (size.y - 0.5 - c.y) / size.y);
    if (Finite(st)) run.clip.push_back(st);
  }
  if (run.clip.size() < 3) {
    run.clip.clear();
    run.clipInverted = false;
  }
  return true;
}

std::vector<Vec3> ImageOutline(const ImageRun& run) {
  static const std::vector<Vec3> kWhole = {Vec3(0, 0), Vec3(1, 0), Vec3(1, 1), Vec3(0, 1)};
  const std::vector<Vec3>& corners = run.clip.empty() ? kWhole : run.clip;
  std::vector<Vec3> outline;
  for (const Vec3& c : corners) outline.push_back(run.origin + run.u * c.x + run.v * c.y);
  return outline;
}

}  // namespace zr
