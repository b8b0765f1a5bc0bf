// Integer helpers for numbers typed by users: digit runs and sums clamp at
// a bound instead of wrapping, so a long run of digits can never turn into
// a negative number or into the "unlimited" marker INT_MAX.
#ifndef VOCOR_ENGINE_SATURATE_H_
#define VOCOR_ENGINE_SATURATE_H_

#include <climits>

namespace vocor {

// Reads the decimal digits at *p (there must be at least one), advances *p
// past all of them and returns their value, or `cap` if it is larger.
inline int ParseSaturatedDecimal(const char** p, int cap) {
  long long value = 0;
  const char* s = *p;
  for (; *s >= '0' && *s <= '9'; ++s) {
    if (value <= cap) value = value * 10 + (*s - '0');
  }
  *p = s;
  return value > cap ? cap : static_cast<int>(value);
}

// a + b for non-negative a and b, clamped at `cap`.
inline int SaturatingAdd(int a, int b, int cap = INT_MAX) {
  long long sum = static_cast<long long>(a) + b;
  return sum > cap ? cap : static_cast<int>(sum);
}

}  // namespace vocor

#endif  // VOCOR_ENGINE_SATURATE_H_
