// The geometry of entity kinds the reader keeps as raw groups: WIPEOUT
// and IMAGE frames, MESH faces, HELIX curves and OLE2FRAME frames,
// in the entity's own coordinates.
#pragma once
#include <vector>

#include "platform/zrio/dxf_model.h"

namespace zr {

// Reads a point whose x group is at raw[i] (x, then y and z at +10 and +20
// when they follow); returns the index after it.
size_t RawPointAt(const RawGroups& raw, size_t i, Vec3* p);

// The clip boundary of a WIPEOUT or IMAGE (the whole picture when it has
// none), as a closed loop.
bool ImageBoundary(const RawGroups& raw, std::vector<Vec3>* loop);

// The faces of a MESH, each a closed loop.
bool MeshFaces(const RawGroups& raw, std::vector<std::vector<Vec3>>* faces);

// The B-spline of a HELIX: degree, control points and knots.
bool HelixSpline(const RawGroups& raw, int* degree, std::vector<Vec3>* controlPoints,
                 std::vector<double>* knots);

// The frame of an OLE2FRAME, as a closed loop.
bool OleFrame(const RawGroups& raw, std::vector<Vec3>* loop);

}  // namespace zr
