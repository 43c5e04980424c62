#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "viewer/load/ReplaySections.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

inline constexpr int kTreeDriverIds = 20;         // record identifiers 0..19 are listed
inline constexpr int kTreeLapsPerKind = 300;      // lap lines per driver and kind
inline constexpr int kPracticeKind = 0;           // "Training"
inline constexpr int kRaceKind = 1;               // "Rennen"
inline constexpr int kMinimumEntriesForTree = 3;  // driver entries of a multiplayer replay

// One driver of the tree: its record identifier, label and lap lines by kind.
struct TreeDriver {
  std::int32_t recordId = 0;
  std::string label;
  std::array<std::vector<std::string>, 2> laps;
};

struct MultiplayerListing {
  int driverEntries = 0;
  // Every driver but the recording player, in table order; empty with fewer than three
  // entries, where the tree stays hidden.
  std::vector<TreeDriver> drivers;
  StartClock startClock;  // found in the replay, else the one passed in
};

// Reads a multiplayer replay for the tree: the drivers, their practice and race lap lines,
// and the recording's start clock. Replaces `trackName` and `carSetName` in the stores and
// nothing else.
MultiplayerListing readMultiplayerListing(std::span<const std::uint8_t> file, ViewerStores& stores,
                                          StartClock previousClock);

}  // namespace lv
