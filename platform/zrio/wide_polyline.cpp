#include "platform/zrio/wide_polyline.h"

#include <cmath>

#include "platform/zrio/entity_walker.h"

namespace zr {

namespace {

// Both edges of one segment, in the direction of travel.
struct Band {
  std::vector<Vec3> left, right;
  bool wide = true;  // false when both ends have no width
};

Vec3 LeftOf(const Vec3& direction) { return Vec3(-direction.y, direction.x, 0); }

Band StraightBand(const Vec3& a, const Vec3& b, double w0, double w1) {
  Vec3 d = b - a;
  d.z = 0;
  Vec3 n = LeftOf(d.normalized());
  return {{a + n * (w0 / 2), b + n * (w1 / 2)}, {a - n * (w0 / 2), b - n * (w1 / 2)}};
}

// The arc from a to b of the bulge, its width changing evenly along it.
Band ArcBand(const Vec3& a, const Vec3& b, double bulge, double w0, double w1, double tolerance) {
  Vec3 c;
  double r, sa, ea;
  if (!BulgeArc(a, b, bulge, &c, &r, &sa, &ea)) return StraightBand(a, b, w0, w1);
  int steps = ArcSegments(r + std::max(w0, w1) / 2, ea - sa, tolerance);
  Band band;
  for (int s = 0; s <= steps; ++s) {
    double f = double(s) / steps;
    double angle = bulge > 0 ? sa + (ea - sa) * f : ea - (ea - sa) * f;
    Vec3 radial(std::cos(angle), std::sin(angle), 0);
    // Travelling counter-clockwise the centre is on the left.
    Vec3 left = bulge > 0 ? radial * -1.0 : radial;
    double w = w0 + (w1 - w0) * f;
    Vec3 p = c + radial * r;
    p.z = a.z;
    band.left.push_back(p + left * (w / 2));
    band.right.push_back(p - left * (w / 2));
  }
  return band;
}

// Where the line through p0 along d0 crosses the line through p1 along d1.
bool Crossing(const Vec3& p0, const Vec3& d0, const Vec3& p1, const Vec3& d1, Vec3* at) {
  double det = d0.x * d1.y - d0.y * d1.x;
  if (std::fabs(det) < 1e-9 * d0.length() * d1.length()) return false;
  double s = ((p1.x - p0.x) * d1.y - (p1.y - p0.y) * d1.x) / det;
  *at = p0 + d0 * s;
  return std::isfinite(at->x) && std::isfinite(at->y);
}

// Moves the end of one edge and the start of the next to where they cross,
// unless that is far out (a sharp turn) compared with the widths.
void Join(std::vector<Vec3>* into, std::vector<Vec3>* from, double reach) {
  if (into->size() < 2 || from->size() < 2) return;
  const Vec3& endA = (*into)[into->size() - 2];
  Vec3& end = into->back();
  Vec3& start = from->front();
  const Vec3& startB = (*from)[1];
  Vec3 at;
  if (!Crossing(end, end - endA, start, startB - start, &at)) return;
  Vec3 fromEnd = at - end;
  fromEnd.z = 0;
  if (fromEnd.length() > reach) return;
  at.z = end.z;
  end = at;
  start = at;
}

double WidthAt(const std::vector<double>& widths, size_t i) { return i < widths.size() ? widths[i] : 0; }

}  // namespace

void WidePolylineOutline(const Entity& e, bool closed, double tolerance, WideOutline* out) {
  if (!e.extra) return;
  const EntityExtra& x = *e.extra;
  size_t n = e.pts.size();
  if (n < 2) return;
  if (closed && e.pts[0].x == e.pts[n - 1].x && e.pts[0].y == e.pts[n - 1].y) --n;
  size_t segments = closed ? n : n - 1;
  std::vector<Band> bands;
  double widest = 0;
  for (size_t i = 0; i < segments; ++i) {
    const Vec3& a = e.pts[i];
    const Vec3& b = e.pts[(i + 1) % n];
    double w0 = WidthAt(x.startWidths, i), w1 = WidthAt(x.endWidths, i);
    widest = std::max(widest, std::max(w0, w1));
    double bulge = i < e.nums.size() ? e.nums[i] : 0;
    Vec3 d = b - a;
    d.z = 0;
    if (d.length() <= 0) continue;
    bands.push_back(bulge != 0 ? ArcBand(a, b, bulge, w0, w1, tolerance) : StraightBand(a, b, w0, w1));
    bands.back().wide = w0 > 0 || w1 > 0;
  }
  if (bands.empty()) return;
  double reach = 4 * widest;
  size_t joins = closed && bands.size() > 1 ? bands.size() : bands.size() - 1;
  for (size_t i = 0; i < joins; ++i) {
    Band& next = bands[(i + 1) % bands.size()];
    Join(&bands[i].left, &next.left, reach);
    Join(&bands[i].right, &next.right, reach);
  }
  for (Band& band : bands) {
    if (!band.wide) {
      out->lines.push_back(std::move(band.left));  // both edges are the centre line
      continue;
    }
    std::vector<Vec3> polygon(band.left);
    polygon.insert(polygon.end(), band.right.rbegin(), band.right.rend());
    out->bands.push_back(std::move(polygon));
  }
}

}  // namespace zr
