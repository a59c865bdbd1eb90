// Integer arithmetic that saturates at the ends of the 64-bit range instead
// of overflowing.  Option values are stored unchecked, so any computation
// that combines them must stay defined whatever the user typed.
#pragma once

#include <cstdint>
#include <limits>

namespace common {

inline std::int64_t sat_add(std::int64_t a, std::int64_t b) {
  std::int64_t r;
  if (!__builtin_add_overflow(a, b, &r)) return r;
  return b > 0 ? std::numeric_limits<std::int64_t>::max()
               : std::numeric_limits<std::int64_t>::min();
}

inline std::int64_t sat_sub(std::int64_t a, std::int64_t b) {
  std::int64_t r;
  if (!__builtin_sub_overflow(a, b, &r)) return r;
  return b < 0 ? std::numeric_limits<std::int64_t>::max()
               : std::numeric_limits<std::int64_t>::min();
}

inline std::int64_t sat_mul(std::int64_t a, std::int64_t b) {
  std::int64_t r;
  if (!__builtin_mul_overflow(a, b, &r)) return r;
  return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min()
                            : std::numeric_limits<std::int64_t>::max();
}

// Division truncating toward zero; the one overflowing case saturates.
// The divisor must not be 0.
inline std::int64_t sat_div(std::int64_t a, std::int64_t b) {
  if (a == std::numeric_limits<std::int64_t>::min() && b == -1)
    return std::numeric_limits<std::int64_t>::max();
  return a / b;
}

}  // namespace common
