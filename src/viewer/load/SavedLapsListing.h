#pragma once

#include <string>
#include <vector>

#include "viewer/load/SavedLapsFile.h"

namespace lv {

struct ListedSavedLap {
  SavedLapEntry lap;
  std::string fileName;
};

// The text of the "The following tmr laps found" box: laps above 10 000 ms, fastest first,
// one line each, within the box's 9 999 characters.
std::string savedLapsListingText(const std::vector<ListedSavedLap>& laps);

inline constexpr int kSavedLapEntryCapacity = 10000;

}  // namespace lv
