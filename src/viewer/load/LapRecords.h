#pragma once

#include <array>
#include <cstdint>

namespace lv {

inline constexpr int kLapRecordCapacity = 300;

// The recording player's lap records from a replay: cumulative time in milliseconds and
// the flag byte (bits 6, 7 from the file, bit 5 = lap not valid, bits 0..4 = car index).
struct LapRecords {
  std::array<std::int32_t, kLapRecordCapacity> time{};
  std::array<std::int32_t, kLapRecordCapacity> flags{};
  int count = 0;
  int firstBlockCount = 0;  // records that came from the player's first block
  int blockCount = 0;       // blocks of the player that were read

  bool inFirstBlock(int j) const { return j < firstBlockCount; }
};

}  // namespace lv
