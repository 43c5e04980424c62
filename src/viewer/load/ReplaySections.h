#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "telemetry/ByteReader.h"

namespace lv {

// Layout of a replay as the multiplayer import walks it: the driver table from offset 320
// up to the first "ORPL" tag, the lap-record sections behind it and the frames after them.

inline constexpr std::size_t kReplayDriverTable = 320;
inline constexpr int kReplayDriverEntrySize = 152;

struct ReplayDriver {
  char name[32];
  std::int32_t carNumber;
  std::int32_t recordId;
};

// The entries up to the first "ORPL" tag (or the end of the file); the reader is left at the
// tag.
std::vector<ReplayDriver> readReplayDrivers(ByteReader& in);

// Frame rate of the header byte at offset 5: 60 for "0" or the value 60, else 36.
int replayFrameRate(std::uint8_t character);

// Where the frames begin, reached through the section lengths: the length of the practice
// section in the four bytes before the first tag at `firstTag`, and the race section's
// length behind a "BTPL" tag there.
std::size_t replayFramesStart(ByteReader& in, std::size_t firstTag);

// The flag byte and the 3-byte clock (hundredths of a second) of the first type-13 block
// that opens one of the first 60 frames from `framesStart`.
struct StartClock {
  std::int32_t flag = 0;
  std::int32_t clock = 0;

  std::int64_t combined() const { return static_cast<std::int64_t>(flag) * 16777216 + clock; }
};
std::optional<StartClock> findStartClock(ByteReader& in, std::size_t framesStart);

// The first frame from `framesStart` with a type-13 block whose flag byte is 1: the frame in
// which the race started.
std::optional<std::size_t> findRaceStartFrame(ByteReader& in, std::size_t framesStart);

// Reads the tag at the reader's position; a "BTPL" separator, its 8 bytes and the tag behind
// it are passed over when `passSeparator`. True when the tag read opens a lap-record block.
bool readBlockTag(ByteReader& in, bool passSeparator, bool* separatorSeen = nullptr);

}  // namespace lv
