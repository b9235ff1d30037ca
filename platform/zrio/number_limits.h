// Numbers read from a drawing file, turned into integers without overflow:
// a value beyond an integer's range becomes the nearest value it can hold.
#pragma once
#include <stdint.h>

namespace zr {

// The value truncated toward zero, held to the range of int64_t; NaN gives 0.
int64_t SaturatedInt64(double value);
// The value truncated toward zero, held to lo..hi; NaN gives lo.
int ClampedInt(double value, int lo, int hi);
// The decimal integer at the start of a text (where atoi would read it),
// held to the range of int.
int IntOfText(const char* text);
// The distance of a value from zero, also for the most negative one.
uint64_t Magnitude(int64_t value);

}  // namespace zr
