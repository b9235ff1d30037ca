#include "platform/zrio/hatch_pattern.h"

#include <limits.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/zrio/number_limits.h"

namespace zr {

std::vector<PatternLine> HatchPatternLines(const RawGroups& g) {
  std::vector<PatternLine> lines;
  size_t i = 0;
  while (i < g.size() && g[i].code != 78) ++i;
  if (i == g.size()) return lines;
  int count = IntOfText(g[i].value.c_str());
  ++i;
  for (int n = 0; n < count && n < 64 && i < g.size() && g[i].code == 53; ++n) {
    PatternLine line;
    line.angle = atof(g[i++].value.c_str()) * kPi / 180;
    auto take = [&](int code, double* out) {
      if (i < g.size() && g[i].code == code) *out = atof(g[i++].value.c_str());
    };
    take(43, &line.base.x);
    take(44, &line.base.y);
    take(45, &line.offset.x);
    take(46, &line.offset.y);
    double dashCount = 0;
    take(79, &dashCount);
    int dashes = ClampedInt(dashCount, 0, INT_MAX);
    for (int d = 0; d < dashes && i < g.size() && g[i].code == 49; ++d)
      line.dashes.push_back(atof(g[i++].value.c_str()));
    lines.push_back(line);
  }
  return lines;
}

namespace {

// Parameters along the line p + t d where it crosses the loops' edges.
void Crossings(const Vec3& p, const Vec3& d, const std::vector<std::vector<Vec3>>& loops,
               std::vector<double>* ts) {
  ts->clear();
  for (const std::vector<Vec3>& loop : loops) {
    size_t n = loop.size();
    for (size_t i = 0; i < n; ++i) {
      const Vec3& a = loop[i];
      const Vec3& b = loop[(i + 1) % n];
      double ex = b.x - a.x, ey = b.y - a.y;
      double denom = d.x * ey - d.y * ex;
      if (std::fabs(denom) < 1e-12) continue;
      // Solve p + t d = a + s e.
      double s = (d.y * (p.x - a.x) - d.x * (p.y - a.y)) / -denom;
      double t = (ey * (p.x - a.x) - ex * (p.y - a.y)) / -denom;
      if (s >= 0 && s < 1) ts->push_back(t);
    }
  }
  std::sort(ts->begin(), ts->end());
}

}  // namespace

bool PatternSegments(const std::vector<PatternLine>& lines,
                     const std::vector<std::vector<Vec3>>& loops, size_t limit,
                     std::vector<Vec3>* segments) {
  Box3 box;
  for (const std::vector<Vec3>& loop : loops)
    for (const Vec3& p : loop) box.add(p);
  if (!box.valid()) return true;
  double z = loops[0].empty() ? 0 : loops[0][0].z;
  std::vector<double> ts;
  for (const PatternLine& line : lines) {
    Vec3 d(std::cos(line.angle), std::sin(line.angle), 0);
    Vec3 normal(-d.y, d.x, 0);
    double step = line.offset.x * normal.x + line.offset.y * normal.y;
    if (!(std::fabs(step) > 1e-12)) continue;
    double period = 0;
    for (double dash : line.dashes) period += std::fabs(dash);
    // Range of line numbers k whose line base + k offset meets the box.
    double lo = 1e300, hi = -1e300;
    for (int c = 0; c < 4; ++c) {
      Vec3 corner((c & 1) ? box.hi.x : box.lo.x, (c & 2) ? box.hi.y : box.lo.y, 0);
      double k = ((corner.x - line.base.x) * normal.x + (corner.y - line.base.y) * normal.y) / step;
      lo = std::min(lo, k);
      hi = std::max(hi, k);
    }
    if (hi - lo > double(limit) || !(std::fabs(lo) < 1e15 && std::fabs(hi) < 1e15)) return false;
    for (long k = long(std::floor(lo)); k <= long(std::ceil(hi)); ++k) {
      Vec3 origin = line.base + line.offset * double(k);
      Crossings(origin, d, loops, &ts);
      for (size_t i = 0; i + 1 < ts.size(); i += 2) {
        double t0 = ts[i], t1 = ts[i + 1];
        // Dashes far from the line's origin lose their length to rounding.
        bool dashed = !line.dashes.empty() && period > 0 &&
                      std::fabs(t0) < period * 1e9 && std::fabs(t1) < period * 1e9;
        if (!dashed) {
          segments->push_back(origin + d * t0);
          segments->push_back(origin + d * t1);
        } else {
          if ((t1 - t0) / period * line.dashes.size() > double(limit)) return false;
          // Dashes repeat from the line's origin.
          double start = std::floor(t0 / period) * period;
          for (double at = start; at < t1;) {
            for (double dash : line.dashes) {
              double a = at, b = at + std::fabs(dash);
              at = b;
              if (dash < 0 || b < t0 || a > t1) continue;
              a = std::max(a, t0);
              b = std::min(std::max(b, a), t1);
              segments->push_back(origin + d * a);
              segments->push_back(origin + d * (dash == 0 ? a : b));
            }
          }
        }
        if (segments->size() / 2 > limit) return false;
      }
    }
  }
  for (Vec3& p : *segments) p.z = z;
  return true;
}

}  // namespace zr
