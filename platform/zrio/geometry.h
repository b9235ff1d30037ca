// Points, affine transforms and boxes in drawing space.
#pragma once
#include "platform/zrio/win32.h"
#include <cmath>

namespace zr {

struct Vec3 {
  double x = 0, y = 0, z = 0;
  Vec3() = default;
  Vec3(double ax, double ay, double az = 0) : x(ax), y(ay), z(az) {}
  Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
  double dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
  Vec3 cross(const Vec3& o) const {
    return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
  }
  double length() const { return std::sqrt(dot(*this)); }
  Vec3 normalized() const {
    double l = length();
    return l > 0 ? *this * (1.0 / l) : Vec3(0, 0, 1);
  }
};

// Affine transform: p' = m * p + t, with m a 3x3 matrix stored by rows.
struct Transform {
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  Vec3 t;

  Vec3 apply(const Vec3& p) const {
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + t.x,
            m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + t.y,
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + t.z};
  }
  Vec3 applyVector(const Vec3& v) const {
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
            m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
  }
  // this * other: other applied first.
  Transform operator*(const Transform& o) const;
  static Transform translation(const Vec3& v);
  static Transform scaling(double sx, double sy, double sz);
  static Transform rotationZ(double radians);
  static Transform rotationX(double radians);
  static Transform rotationY(double radians);
  // Object coordinate system of an extrusion direction (the arbitrary axis rule).
  static Transform ocs(const Vec3& extrusion);
  Transform transposedRotation() const;
  bool isIdentity() const;
};

struct Box3 {
  Vec3 lo{1e300, 1e300, 1e300};
  Vec3 hi{-1e300, -1e300, -1e300};
  bool valid() const { return lo.x <= hi.x; }
  void add(const Vec3& p) {
    if (p.x < lo.x) lo.x = p.x;
    if (p.y < lo.y) lo.y = p.y;
    if (p.z < lo.z) lo.z = p.z;
    if (p.x > hi.x) hi.x = p.x;
    if (p.y > hi.y) hi.y = p.y;
    if (p.z > hi.z) hi.z = p.z;
  }
  void add(const Box3& b) {
    if (b.valid()) {
      add(b.lo);
      add(b.hi);
    }
  }
  // The box of this box's eight corners after a transform.
  Box3 transformed(const Transform& tr) const;
};

// View axes looking along -direction with world z kept upwards on screen
// (world x for views straight down or up).
Transform ViewRotationFor(const Vec3& direction);

// Bounding box of the elliptic arc c + u cos t + v sin t, t from t0 to t1
// (radians, t1 > t0), exact.
Box3 EllipseArcBox(const Vec3& c, const Vec3& u, const Vec3& v, double t0, double t1);

// Arc geometry of a polyline segment with a bulge, in its plane (z kept).
// Returns false for a straight segment.
bool BulgeArc(const Vec3& a, const Vec3& b, double bulge, Vec3* center, double* radius,
              double* startAngle, double* endAngle);

constexpr double kPi = 3.14159265358979323846;

// The parameter t of the point of the ellipse c + u cos t + v sin t
// (|v| = ratio |u|) that lies at `angle` (radians) from the major axis u,
// in the same turn as the angle.
double EllipseParameterAt(double angle, double ratio);

// An angle range from `start` to `end` going anticlockwise: `start` brought
// into [0, 2pi), `end` placed after it by at most a full turn. Angles that
// are not finite give a full turn from 0.
void NormalizeAngleRange(double* start, double* end);

}  // namespace zr
