#pragma once

#include <string>
#include <vector>

#include "viewer/graphs/GraphContext.h"

namespace lv {

struct Datasheet {
  std::string text;
  // Lap list lines selected while it is built, in order.
  std::vector<int> selectedLines;
};

// The "?" comparison of the chosen laps over the part of each lap that the graphs show.
Datasheet buildDatasheet(const GraphContext& c);

}  // namespace lv
