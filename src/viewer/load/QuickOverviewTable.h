#pragma once

#include <string>

#include "viewer/load/LapList.h"
#include "viewer/load/SampleSweep.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

// The text of the "Quick overview with datas of all laps" box: a header, one row per lap
// with throttle, brake and speed statistics, wear and the on-track mark, and empty lines up
// to 40 rows. Rows that no longer fit the box's 29 999 characters are left out. The counts
// of a lap come from the sweep of its load when that covers it.
std::string quickOverviewText(const ViewerStores& stores, const LapList& lapList,
                              const SampleSweep* sweep = nullptr);

}  // namespace lv
