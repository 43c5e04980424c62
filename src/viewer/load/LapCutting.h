#pragma once

#include <array>

#include "viewer/load/LapList.h"
#include "viewer/load/LapRecords.h"
#include "viewer/load/SampleSweep.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

// What the lap cutting of one load needs besides the stores.
struct LapSource {
  bool savedLaps = false;  // laps read from a saved-laps file keep their times
  int fps = 0;             // 60 or 36 for a replay, 0 for saved laps
  std::array<char, 32> playerName{};
  int carIndex = 0;
  const LapRecords* records = nullptr;
  std::int32_t raceStartFrame = INT32_MAX;
};

// Cuts samples s0 .. end-1 into laps where the distance falls back at the start/finish
// line, gives each lap its time and status, and appends its line to the lap list. Cutting
// stops when the lap tables are full; the remaining samples stay unlisted. The lap ends are
// taken from the sweep of the same samples when there is one.
void cutLaps(ViewerStores& stores, LapList& lapList, const LapSource& source, int s0, int end,
             const SampleSweep* sweep = nullptr);

}  // namespace lv
