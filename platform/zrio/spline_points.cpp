#include "platform/zrio/win32.h"
#include "platform/zrio/spline_points.h"

#include <algorithm>
#include <cmath>

namespace zr {

namespace {

const int kMaxDegree = 30;
const int kMaxSteps = 8192;

// Span index k with knots[k] <= u < knots[k+1], within [degree, n).
int FindSpan(const std::vector<double>& knots, int degree, int n, double u) {
  if (u >= knots[size_t(n)]) return n - 1;
  int lo = degree, hi = n;
  while (hi - lo > 1) {
    int mid = (lo + hi) / 2;
    if (u < knots[size_t(mid)]) hi = mid;
    else lo = mid;
  }
  return lo;
}

Vec3 DeBoor(int degree, const std::vector<Vec3>& cp, const std::vector<double>& knots,
            const std::vector<double>& weights, double u) {
  int n = int(cp.size());
  int k = FindSpan(knots, degree, n, u);
  bool weighted = weights.size() == cp.size();
  double px[kMaxDegree + 1], py[kMaxDegree + 1], pz[kMaxDegree + 1], pw[kMaxDegree + 1];
  for (int j = 0; j <= degree; ++j) {
    int idx = std::min(std::max(k - degree + j, 0), n - 1);
    double wt = weighted && weights[size_t(idx)] > 0 ? weights[size_t(idx)] : 1.0;
    px[j] = cp[size_t(idx)].x * wt;
    py[j] = cp[size_t(idx)].y * wt;
    pz[j] = cp[size_t(idx)].z * wt;
    pw[j] = wt;
  }
  for (int r = 1; r <= degree; ++r) {
    for (int j = degree; j >= r; --j) {
      int i = k - degree + j;
      double denom = knots[size_t(i + degree - r + 1)] - knots[size_t(i)];
      double a = denom != 0 ? (u - knots[size_t(i)]) / denom : 0;
      px[j] = (1 - a) * px[j - 1] + a * px[j];
      py[j] = (1 - a) * py[j - 1] + a * py[j];
      pz[j] = (1 - a) * pz[j - 1] + a * pz[j];
      pw[j] = (1 - a) * pw[j - 1] + a * pw[j];
    }
  }
  double ww = pw[degree] != 0 ? pw[degree] : 1;
  return Vec3(px[degree] / ww, py[degree] / ww, pz[degree] / ww);
}

bool MakesACurve(int degree, const std::vector<Vec3>& cp, const std::vector<double>& knots) {
  if (degree < 1 || degree > kMaxDegree || cp.size() <= size_t(degree) ||
      knots.size() != cp.size() + size_t(degree) + 1)
    return false;
  for (size_t i = 1; i < knots.size(); ++i)
    if (!(knots[i] >= knots[i - 1])) return false;
  return true;
}

}  // namespace

bool AppendSplinePoints(int degree, const std::vector<Vec3>& controlPoints,
                        const std::vector<double>& knots, const std::vector<double>& weights,
                        int perSpan, std::vector<Vec3>* out) {
  if (!MakesACurve(degree, controlPoints, knots)) return false;
  return AppendSplinePointsBetween(degree, controlPoints, knots, weights, perSpan, knots[size_t(degree)],
                                   knots[controlPoints.size()], out);
}

bool AppendSplinePointsBetween(int degree, const std::vector<Vec3>& controlPoints,
                               const std::vector<double>& knots, const std::vector<double>& weights,
                               int perSpan, double from, double to, std::vector<Vec3>* out) {
  if (!MakesACurve(degree, controlPoints, knots)) return false;
  double start = knots[size_t(degree)], end = knots[controlPoints.size()];
  double u0 = std::max(start, std::min(from, end)), u1 = std::max(u0, std::min(to, end));
  // As many points a span as over the whole range, for the share of it drawn.
  double share = end > start ? (u1 - u0) / (end - start) : 1;
  long long spans = (long long)(controlPoints.size()) - degree;
  int steps = int(std::min<double>(std::ceil(double(spans) * perSpan * share), kMaxSteps));
  if (steps < 2) steps = 2;
  for (int i = 0; i <= steps; ++i)
    out->push_back(DeBoor(degree, controlPoints, knots, weights, u0 + (u1 - u0) * i / steps));
  return true;
}

}  // namespace zr
