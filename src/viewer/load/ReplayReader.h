#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "viewer/load/LapRecords.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

enum class ReplayOutcome { kRead, kRefusedNoDrivers, kRefusedServer };

struct ReplayReadResult {
  ReplayOutcome outcome = ReplayOutcome::kRead;
  int fps = 36;
  std::array<char, 32> playerName{};
  int carIndex = 0;
  LapRecords records;
  // First frame whose race-clock flag is 1; no race start leaves every frame before it.
  std::int32_t raceStartFrame = INT32_MAX;
  int end = 0;  // the new end of samples
};

// Decodes a replay file image into the stores: track and car-set names always, and when the
// replay is accepted the player's frames from `stores.sampleCount` on, the race clock and
// the segment starts.
ReplayReadResult readReplay(std::span<const std::uint8_t> file, ViewerStores& stores);

}  // namespace lv
