#include "platform/zrio/number_limits.h"

#include <limits.h>
#include <math.h>
#include <stdlib.h>

namespace zr {

int64_t SaturatedInt64(double value) {
  const double kTwoTo63 = 9223372036854775808.0;
  if (isnan(value)) return 0;
  if (value >= kTwoTo63) return INT64_MAX;
  if (value <= -kTwoTo63) return INT64_MIN;
  return int64_t(value);
}

int ClampedInt(double value, int lo, int hi) {
  if (!(value > lo)) return lo;
  if (value >= hi) return hi;
  return int(value);
}

int IntOfText(const char* text) {
  // strtoll holds an overlong number to its own range; atoi's result would
  // be undefined.
  long long value = strtoll(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return int(value);
}

uint64_t Magnitude(int64_t value) { return value < 0 ? 0 - uint64_t(value) : uint64_t(value); }

}  // namespace zr
