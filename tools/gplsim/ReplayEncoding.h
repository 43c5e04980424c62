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

// How a frame opens. A multiplayer recording opens most frames with the race clock and a
// block behind it, and some with a type-15 block; the per-car table then closes the frame.
enum class FrameOpening { kClock, kClockAndFiller, kLeadBlock };

inline constexpr std::uint16_t kCarTableBlock = 12;

struct ReplayFrame {
  FrameOpening opening = FrameOpening::kClock;
  std::vector<std::array<std::uint8_t, 16>> carTable;  // none: no table
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
// section), practice blocks, "BTPL" with the race section's length, race blocks, the end tag
// "PTPR", the frame-section header and the frames. Each frame holds its race clock block
// (see FrameOpening), then the frame number, a status block per car, the player's car state,
// the engine word behind it and the per-car table. A frame's second word is the length of
// the frame before it.
std::vector<std::uint8_t> encodeReplay(const ReplayImage& image);

}  // namespace lv::sim
