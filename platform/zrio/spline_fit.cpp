#include "platform/zrio/spline_fit.h"

#include <cmath>

namespace zr {

namespace {

const int kDegree = 3;
const size_t kMaxFitPoints = 5000;

// Cox-de Boor: the i-th basis function of degree p at u.
double Basis(const std::vector<double>& knots, size_t i, int p, double u) {
  if (p == 0) return knots[i] <= u && u < knots[i + 1] ? 1 : 0;
  double value = 0;
  double left = knots[i + size_t(p)] - knots[i];
  if (left > 0) value += (u - knots[i]) / left * Basis(knots, i, p - 1, u);
  double right = knots[i + size_t(p) + 1] - knots[i + 1];
  if (right > 0) value += (knots[i + size_t(p) + 1] - u) / right * Basis(knots, i + 1, p - 1, u);
  return value;
}

// Derivative at the first of three points of the parabola through them at
// parameters 0, h1 and h1 + h2.
Vec3 ParabolaStart(const Vec3& a, const Vec3& b, const Vec3& c, double h1, double h2) {
  return (b - a) * ((2 * h1 + h2) / (h1 * (h1 + h2))) - (c - b) * (h1 / (h2 * (h1 + h2)));
}

}  // namespace

bool FitPointsToControlPoints(const std::vector<Vec3>& fitPoints, const Vec3* startTangent,
                              const Vec3* endTangent, std::vector<Vec3>* controlPoints,
                              std::vector<double>* knots) {
  std::vector<Vec3> q;
  for (const Vec3& p : fitPoints)
    if (q.empty() || (p - q.back()).length() > 0) q.push_back(p);
  if (q.size() < 2 || q.size() > kMaxFitPoints) return false;
  size_t n = q.size() - 1;
  std::vector<double> u(n + 1, 0);
  for (size_t k = 1; k <= n; ++k) u[k] = u[k - 1] + (q[k] - q[k - 1]).length();
  double total = u[n];
  if (!(total > 0) || !std::isfinite(total)) return false;
  for (double& value : u) value /= total;
  u[n] = 1;

  // The ends leave along the tangents given, or else along the parabola's,
  // with the total chord length as their magnitude either way.
  Vec3 d0, dn;
  if (startTangent && startTangent->length() > 0) d0 = *startTangent;
  else if (n == 1) d0 = q[1] - q[0];
  else d0 = ParabolaStart(q[0], q[1], q[2], u[1] - u[0], u[2] - u[1]);
  if (endTangent && endTangent->length() > 0) dn = *endTangent;
  else if (n == 1) dn = q[1] - q[0];
  else dn = ParabolaStart(q[n], q[n - 1], q[n - 2], u[n] - u[n - 1], u[n - 1] - u[n - 2]) * -1.0;
  if (!(d0.length() > 0)) d0 = q[1] - q[0];
  if (!(dn.length() > 0)) dn = q[n] - q[n - 1];
  d0 = d0.normalized() * total;
  dn = dn.normalized() * total;

  knots->assign(size_t(kDegree) + 1, 0.0);
  for (size_t k = 1; k < n; ++k) knots->push_back(u[k]);
  knots->insert(knots->end(), size_t(kDegree) + 1, 1.0);

  std::vector<Vec3>& p = *controlPoints;
  p.assign(n + 3, Vec3());
  p[0] = q[0];
  p[1] = q[0] + d0 * (u[1] / kDegree);
  p[n + 1] = q[n] - dn * ((1 - u[n - 1]) / kDegree);
  p[n + 2] = q[n];
  if (n < 2) return true;
  // Rows k = 1 .. n-1 put the curve through q[k]: a tridiagonal system in
  // p[2] .. p[n], solved by elimination down and substitution up.
  size_t m = n - 1;
  std::vector<double> below(m), diagonal(m), above(m);
  std::vector<Vec3> rhs(m);
  for (size_t k = 1; k <= n - 1; ++k) {
    size_t row = k - 1;
    rhs[row] = q[k];
    for (size_t i = k; i <= k + 2; ++i) {
      double b = Basis(*knots, i, kDegree, u[k]);
      if (i < 2 || i > n) rhs[row] = rhs[row] - p[i] * b;
      else if (i - 2 == row) diagonal[row] = b;
      else if (i - 2 < row) below[row] = b;
      else above[row] = b;
    }
  }
  for (size_t row = 1; row < m; ++row) {
    if (diagonal[row - 1] == 0) return false;
    double f = below[row] / diagonal[row - 1];
    diagonal[row] -= f * above[row - 1];
    rhs[row] = rhs[row] - rhs[row - 1] * f;
  }
  for (size_t row = m; row-- > 0;) {
    if (diagonal[row] == 0) return false;
    Vec3 value = row + 1 < m ? rhs[row] - p[row + 3] * above[row] : rhs[row];
    p[row + 2] = value * (1 / diagonal[row]);
  }
  for (const Vec3& c : p)
    if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(c.z)) return false;
  return true;
}

}  // namespace zr
