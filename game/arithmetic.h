// The game's number rules: real amounts become integers by rounding to the
// nearest, halves to the even neighbour; points never wrap around.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace orvo::game {

// Nearest integer, halves to the even neighbour (the default rounding mode).
inline double RoundHalfEven(double x) {
  return std::nearbyint(x);
}

// A real amount as a signed 32-bit number. Amounts beyond the range saturate
// instead of wrapping (more than 22 removals in one landing can get there).
inline std::int32_t SaturateToInt32(double x) {
  if (std::isnan(x)) return 0;
  if (x >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  if (x <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  return static_cast<std::int32_t>(x);
}

inline std::int32_t SaturatingAdd(std::int32_t a, std::int32_t b) {
  return SaturateToInt32(static_cast<double>(static_cast<std::int64_t>(a) + b));
}

// A whole real number as plain decimal text (no grouping, no decimal point).
inline std::string WholeNumberText(double x) {
  if (!std::isfinite(x)) return x > 0 ? "inf" : (x < 0 ? "-inf" : "nan");
  constexpr double kLimit = 9.0e18;
  if (x >= kLimit) return std::to_string(static_cast<std::int64_t>(kLimit));
  if (x <= -kLimit) return std::to_string(static_cast<std::int64_t>(-kLimit));
  return std::to_string(static_cast<std::int64_t>(x));
}

}  // namespace orvo::game
