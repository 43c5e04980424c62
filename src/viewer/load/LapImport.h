#pragma once

#include <cstdint>
#include <span>

#include "viewer/load/ViewerStores.h"

namespace lv {

// Which lap of which driver to take from a multiplayer replay.
struct LapImportRequest {
  std::int32_t driverId = 0;    // the driver's record identifier
  int kind = 0;                 // 0 practice, 1 race
  int lapNumber = 0;            // the lap's record number in its block
  int pingFrames = 0;           // delay read from "Ping.ini", before doubling for a client
  std::int32_t startClock = 0;  // hundredths of a second at the recording's start
};

struct LapImportResult {
  bool imported = false;  // false only when the lap tables are full
  int lap = 0;
  int firstSample = 0;
  int end = 0;  // the lap covers samples firstSample .. end-1
  std::uint8_t flag = 0;
};

// Appends one lap of another driver as a new lap: decodes the driver's per-car records of
// the lap's frames into the frame table (input values moved back by the delay), and fills
// the lap tables, the quarter splits, the map bounds and the largest distance. Rows past the
// new end are left zero. Every read stays inside `file`; no store is written past its
// capacity.
LapImportResult importLap(std::span<const std::uint8_t> file, ViewerStores& stores,
                          const LapImportRequest& request);

}  // namespace lv
