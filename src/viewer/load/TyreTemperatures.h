#pragma once

#include <array>

#include "viewer/load/ViewerStores.h"

namespace lv {

// The extreme tyre temperature per column (inner, middle, outer value of every wheel) so far.
struct ColumnExtremes {
  std::array<float, 3> minimum;
  std::array<float, 3> maximum;
};

// Writes the mean tyre temperatures of samples from .. to - 1 (and the contact-patch means
// where a sample's first contact-patch temperature is at least 200 K) and widens the
// extremes by their temperatures, column 0 leaving out zeros: in the order of the samples and
// of the wheels in a sample, so that of equal values the first is kept.
void deriveTyreTemperatures(ViewerStores& stores, int from, int to, ColumnExtremes& extremes);

// The same one value at a time: what the four wheels at once must come to.
void deriveTyreTemperaturesPlain(ViewerStores& stores, int from, int to, ColumnExtremes& extremes);

}  // namespace lv
