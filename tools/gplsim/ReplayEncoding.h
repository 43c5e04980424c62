#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lv::sim {

// Packs frame fields 0, 2..19 and 25 into the 28 data bytes of a car-state block.
std::array<std::uint8_t, 28> encodeCarState(const std::int32_t (&fields)[26]);

struct DriverEntry {
  std::string name;
  std::int32_t carNumber;
  std::int32_t recordId;
};

struct LapRecord {
  std::uint32_t cumulativeMs;
  std::uint8_t flag;
};

struct RecordBlock {
  std::int32_t recordId;
  std::vector<LapRecord> records;
};

struct ReplayFrame {
  std::int32_t counter;
  std::int32_t frameNumber;
  std::uint8_t clockFlag;
  std::uint32_t clock;                                            // hundredths
  std::vector<std::pair<std::uint16_t, std::int32_t>> carStatus;  // (V, status word) per car
  std::uint32_t playerBlock3;
  std::int32_t fields[26];  // the player's car state, engine word in field 24
};

struct ReplayImage {
  char fpsCharacter;
  std::int32_t playerSlot;
  std::string playerName;
  std::string trackName;
  std::string carSetName;
  std::vector<DriverEntry> drivers;
  std::vector<RecordBlock> practice;
  std::vector<RecordBlock> race;
  std::vector<ReplayFrame> frames;
};

// The replay file: header, driver table (the last entry carries the length of the practice
// section), practice blocks, "BTPL", race blocks, an end tag, the frame-section header and
// the frames. Each frame holds its race clock block first, then the frame number, a status
// block per car, the player's car state and the engine word behind it.
std::vector<std::uint8_t> encodeReplay(const ReplayImage& image);

}  // namespace lv::sim
