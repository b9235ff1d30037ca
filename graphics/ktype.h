// Small value types of the graphics kernel.
#pragma once

namespace KType {

// A point of the vector picture model, in world units; y grows upwards.
struct RPoint2D {
    float x;
    float y;
};

}  // namespace KType
