// The LWPOLYLINE command of proxy graphics: a polyline's data as a DWG file
// holds the entity, a bit stream (flags, the optional constant width,
// elevation, thickness and normal, the counts, the points, bulges and
// widths), after the count of its bytes or, as some writers have it,
// without that count.
#pragma once
#include "platform/zrio/win32.h"
#include <stdint.h>

#include <vector>

#include "platform/zrio/dxf_model.h"

namespace zr {

// The polyline as an LWPOLYLINE entity (points, bulges, widths, closed
// flag, normal); false when the data is not one.
bool ReadProxyLwpolyline(const uint8_t* data, size_t size, Entity* polyline);

}  // namespace zr
