#include "platform/zrio/win32.h"
#include "platform/zrio/geometry.h"

#include <algorithm>

namespace zr {

void NormalizeAngleRange(double* start, double* end) {
  if (!std::isfinite(*start) || !std::isfinite(*end)) {
    *start = 0;
    *end = 2 * kPi;
    return;
  }
  double sweep = std::fmod(*end - *start, 2 * kPi);
  if (sweep <= 0) sweep += 2 * kPi;
  *start = std::fmod(*start, 2 * kPi);
  if (*start < 0) *start += 2 * kPi;
  *end = *start + sweep;
}

double EllipseParameterAt(double angle, double ratio) {
  if (!(ratio > 0) || !std::isfinite(angle)) return angle;
  double c = std::cos(angle), s = std::sin(angle);
  // Both directions lie in the same quadrant: their difference is less
  // than a quarter turn and keeps the angle's turn.
  return angle + std::atan2(s / ratio, c) - std::atan2(s, c);
}

Transform Transform::operator*(const Transform& o) const {
  Transform r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r.m[i][j] = m[i][0] * o.m[0][j] + m[i][1] * o.m[1][j] + m[i][2] * o.m[2][j];
  r.t = apply(o.t);
  return r;
}

Transform Transform::translation(const Vec3& v) {
  Transform r;
  r.t = v;
  return r;
}

Transform Transform::scaling(double sx, double sy, double sz) {
  Transform r;
  r.m[0][0] = sx;
  r.m[1][1] = sy;
  r.m[2][2] = sz;
  return r;
}

Transform Transform::rotationZ(double a) {
  Transform r;
  double c = std::cos(a), s = std::sin(a);
  r.m[0][0] = c;
  r.m[0][1] = -s;
  r.m[1][0] = s;
  r.m[1][1] = c;
  return r;
}

Transform Transform::rotationX(double a) {
  Transform r;
  double c = std::cos(a), s = std::sin(a);
  r.m[1][1] = c;
  r.m[1][2] = -s;
  r.m[2][1] = s;
  r.m[2][2] = c;
  return r;
}

Transform Transform::rotationY(double a) {
  Transform r;
  double c = std::cos(a), s = std::sin(a);
  r.m[0][0] = c;
  r.m[0][2] = s;
  r.m[2][0] = -s;
  r.m[2][2] = c;
  return r;
}

Transform Transform::ocs(const Vec3& extrusion) {
  Vec3 az = extrusion.normalized();
  Transform r;
  if (std::fabs(az.x) < 1e-12 && std::fabs(az.y) < 1e-12 && az.z > 0) return r;
  Vec3 ax = (std::fabs(az.x) < 1.0 / 64 && std::fabs(az.y) < 1.0 / 64)
                ? Vec3(0, 1, 0).cross(az).normalized()
                : Vec3(0, 0, 1).cross(az).normalized();
  Vec3 ay = az.cross(ax).normalized();
  // Columns are the OCS axes expressed in world coordinates.
  r.m[0][0] = ax.x; r.m[0][1] = ay.x; r.m[0][2] = az.x;
  r.m[1][0] = ax.y; r.m[1][1] = ay.y; r.m[1][2] = az.y;
  r.m[2][0] = ax.z; r.m[2][1] = ay.z; r.m[2][2] = az.z;
  return r;
}

Transform Transform::transposedRotation() const {
  Transform r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m[i][j] = m[j][i];
  return r;
}

bool Transform::isIdentity() const {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (m[i][j] != (i == j ? 1.0 : 0.0)) return false;
  return t.x == 0 && t.y == 0 && t.z == 0;
}

Transform ViewRotationFor(const Vec3& direction) {
  Vec3 z = direction.normalized();
  Vec3 x = Vec3(0, 0, 1).cross(z);
  if (x.length() < 1e-9) x = z.z > 0 ? Vec3(1, 0, 0) : Vec3(-1, 0, 0);
  x = x.normalized();
  Vec3 y = z.cross(x).normalized();
  Transform r;
  r.m[0][0] = x.x; r.m[0][1] = x.y; r.m[0][2] = x.z;
  r.m[1][0] = y.x; r.m[1][1] = y.y; r.m[1][2] = y.z;
  r.m[2][0] = z.x; r.m[2][1] = z.y; r.m[2][2] = z.z;
  return r;
}

Box3 Box3::transformed(const Transform& tr) const {
  Box3 r;
  if (!valid()) return r;
  for (int i = 0; i < 8; ++i) {
    Vec3 p((i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z);
    r.add(tr.apply(p));
  }
  return r;
}

namespace {

// Adds the extremes of one coordinate a*cos t + b*sin t within [t0, t1].
void AddAxisExtremes(double a, double b, double t0, double t1, double* tList, int* count) {
  double base = std::atan2(b, a);
  for (int k = 0; k < 2; ++k) {
    double t = base + k * kPi;
    // Bring t into [t0, t0 + 2pi).
    double shifted = t - std::floor((t - t0) / (2 * kPi)) * 2 * kPi;
    if (shifted <= t1) tList[(*count)++] = shifted;
  }
}

}  // namespace

Box3 EllipseArcBox(const Vec3& c, const Vec3& u, const Vec3& v, double t0, double t1) {
  Box3 box;
  double ts[8];
  int n = 0;
  ts[n++] = t0;
  ts[n++] = t1;
  if (t1 - t0 >= 2 * kPi - 1e-12) t1 = t0 + 2 * kPi;
  AddAxisExtremes(u.x, v.x, t0, t1, ts, &n);
  AddAxisExtremes(u.y, v.y, t0, t1, ts, &n);
  for (int i = 0; i < n; ++i) {
    double cs = std::cos(ts[i]), sn = std::sin(ts[i]);
    box.add(c + u * cs + v * sn);
  }
  // z extremes are not needed exactly; use the plane's corners in z.
  double zr = std::sqrt(u.z * u.z + v.z * v.z);
  if (zr > 0) {
    box.add(Vec3(box.lo.x, box.lo.y, c.z - zr));
    box.add(Vec3(box.lo.x, box.lo.y, c.z + zr));
  }
  return box;
}

bool BulgeArc(const Vec3& a, const Vec3& b, double bulge, Vec3* center, double* radius,
              double* startAngle, double* endAngle) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double chord = std::sqrt(dx * dx + dy * dy);
  if (std::fabs(bulge) < 1e-12 || chord < 1e-300) return false;
  double theta = 4 * std::atan(bulge);  // signed included angle
  double r = chord / (2 * std::sin(std::fabs(theta) / 2));
  // Distance from the chord's middle to the centre, signed by the bulge.
  double h = r * std::cos(theta / 2);
  double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
  double nx = -dy / chord, ny = dx / chord;  // left normal
  double sgn = bulge > 0 ? 1 : -1;
  Vec3 cen(mx + nx * h * sgn, my + ny * h * sgn, a.z);
  double sa = std::atan2(a.y - cen.y, a.x - cen.x);
  double ea = std::atan2(b.y - cen.y, b.x - cen.x);
  if (bulge < 0) std::swap(sa, ea);
  NormalizeAngleRange(&sa, &ea);
  *center = cen;
  *radius = std::fabs(r);
  *startAngle = sa;
  *endAngle = ea;
  return true;
}

}  // namespace zr
