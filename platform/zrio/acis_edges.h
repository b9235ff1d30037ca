// The edges of the bodies of an ACIS save file as a wireframe: straight,
// circular and elliptic edges, and spline edges from the B-spline data of
// their curves, each body's edges moved by the body's transform.
#pragma once
#include "platform/zrio/acis_records.h"
#include "platform/zrio/edge_curves.h"

namespace zr {

// False when the records hold no edge that can be drawn.
bool AcisEdges(const AcisFile& file, EdgeCurves* curves);

}  // namespace zr
