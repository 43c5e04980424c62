#pragma once

#include <cstddef>

namespace lv {

// The arcsines of `count` values in [-1, 1], two at a time: within kQuickArcsineError of the
// library's arcsine, which the heading rule uses. A caller that needs the library's result to
// the last bit takes these only where no value in that margin rounds differently.
inline constexpr double kQuickArcsineError = 1e-12;
void quickArcsines(const double* x, double* out, std::size_t count);

}  // namespace lv
