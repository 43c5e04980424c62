#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace lv {

// Integer part of a value read from a file, toward zero; values beyond the int32 range
// saturate and NaN gives 0, so foreign bytes can never make the conversion undefined.
inline std::int32_t truncToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace lv
