#include "platform/zrio/raw_shapes.h"

#include "platform/zrio/image_placement.h"

#include <cmath>
#include <cstdlib>

namespace zr {

namespace {

const size_t kMaxItems = 1000000;

double Number(const RawGroup& g) { return atof(g.value.c_str()); }
long Integer(const RawGroup& g) { return atol(g.value.c_str()); }

bool Finite(const Vec3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

}  // namespace

size_t RawPointAt(const RawGroups& raw, size_t i, Vec3* p) {
  int code = raw[i].code;
  *p = Vec3(Number(raw[i]), 0, 0);
  ++i;
  if (i < raw.size() && raw[i].code == code + 10) p->y = Number(raw[i++]);
  if (i < raw.size() && raw[i].code == code + 20) p->z = Number(raw[i++]);
  return i;
}

bool ImageBoundary(const RawGroups& raw, std::vector<Vec3>* loop) {
  ImagePlacement placement;
  if (!ReadImagePlacement(raw, &placement)) return false;
  for (const Vec3& p : ImageOutline(placement.run))
    if (Finite(p)) loop->push_back(p);
  return loop->size() >= 3;
}

bool MeshFaces(const RawGroups& raw, std::vector<std::vector<Vec3>>* faces) {
  std::vector<Vec3> vertices;
  size_t i = 0;
  for (; i < raw.size() && raw[i].code != 93; ++i) {
    if (raw[i].code == 10 && vertices.size() < kMaxItems) {
      Vec3 p;
      i = RawPointAt(raw, i, &p) - 1;
      vertices.push_back(p);
    }
  }
  if (i == raw.size()) return false;
  long items = Integer(raw[i++]);
  for (long read = 0; read < items && i < raw.size() && raw[i].code == 90;) {
    long count = Integer(raw[i++]);
    ++read;
    std::vector<Vec3> face;
    for (long k = 0; k < count && i < raw.size() && raw[i].code == 90; ++k, ++read, ++i) {
      long index = Integer(raw[i]);
      if (index >= 0 && size_t(index) < vertices.size()) face.push_back(vertices[size_t(index)]);
    }
    if (face.size() >= 2) faces->push_back(std::move(face));
    if (faces->size() >= kMaxItems) break;
  }
  return !faces->empty();
}

bool HelixSpline(const RawGroups& raw, int* degree, std::vector<Vec3>* controlPoints,
                 std::vector<double>* knots) {
  *degree = 3;
  for (size_t i = 0; i < raw.size();) {
    const RawGroup& g = raw[i];
    if (g.code == 100 && g.value == "AcDbHelix") break;  // its own points follow
    if (g.code == 71) *degree = int(Integer(g));
    if (g.code == 40 && knots->size() < kMaxItems) knots->push_back(Number(g));
    if (g.code == 10 && controlPoints->size() < kMaxItems) {
      Vec3 p;
      i = RawPointAt(raw, i, &p);
      controlPoints->push_back(p);
      continue;
    }
    ++i;
  }
  return !controlPoints->empty();
}

bool OleFrame(const RawGroups& raw, std::vector<Vec3>* loop) {
  Vec3 upperLeft, lowerRight;
  bool hasUpper = false, hasLower = false;
  for (size_t i = 0; i < raw.size();) {
    int code = raw[i].code;
    if (code == 10 || code == 11) {
      Vec3 p;
      i = RawPointAt(raw, i, &p);
      (code == 10 ? upperLeft : lowerRight) = p;
      (code == 10 ? hasUpper : hasLower) = true;
      continue;
    }
    ++i;
  }
  if (!hasUpper || !hasLower || !Finite(upperLeft) || !Finite(lowerRight)) return false;
  *loop = {upperLeft, Vec3(lowerRight.x, upperLeft.y, upperLeft.z), lowerRight,
           Vec3(upperLeft.x, lowerRight.y, upperLeft.z)};
  return true;
}

}  // namespace zr
