#include "viewer/load/ReplaySections.h"

namespace lv {
namespace {

constexpr int kStartClockFrames = 60;
constexpr std::uint16_t kRaceClockBlock = 13;

}  // namespace

std::vector<ReplayDriver> readReplayDrivers(ByteReader& in) {
  std::vector<ReplayDriver> drivers;
  in.seek(kReplayDriverTable);
  while (!in.atEnd() && !in.matches("ORPL", 4)) {
    std::size_t entry = in.position();
    ReplayDriver driver{};
    in.readBytes(driver.name, sizeof driver.name);
    in.seek(entry + 108);
    driver.carNumber = in.i32();
    in.seek(entry + 124);
    driver.recordId = in.i32();
    drivers.push_back(driver);
    in.seek(entry + kReplayDriverEntrySize);
  }
  return drivers;
}

int replayFrameRate(std::uint8_t character) {
  return character == '0' || character == 60 ? 60 : 36;
}

std::size_t replayFramesStart(ByteReader& in, std::size_t firstTag) {
  in.seek(firstTag >= 4 ? firstTag - 4 : 0);
  std::uint32_t practiceLength = in.u32();
  in.seek(firstTag + practiceLength);
  if (in.matches("BTPL", 4)) {
    in.skip(8);
    std::uint32_t raceLength = in.u32();
    in.skip(static_cast<std::int64_t>(raceLength) + 4);
  } else {
    in.skip(4);
  }
  in.skip(8);
  return in.position();
}

std::optional<StartClock> findStartClock(ByteReader& in, std::size_t framesStart) {
  std::size_t frame = framesStart;
  for (int n = 0; n < kStartClockFrames && frame < in.size(); ++n) {
    in.seek(frame);
    std::uint16_t length = in.u16();
    in.skip(6);
    if (in.u16() == kRaceClockBlock) {
      in.skip(2);
      StartClock clock;
      clock.flag = in.u8();
      clock.clock = static_cast<std::int32_t>(in.u24());
      return clock;
    }
    // A zero length would stay on this frame.
    if (length == 0) break;
    frame += length;
  }
  return std::nullopt;
}

std::optional<std::size_t> findRaceStartFrame(ByteReader& in, std::size_t framesStart) {
  constexpr int kMaxBlocksPerFrame = 99;
  for (std::size_t frame = framesStart; frame < in.size();) {
    in.seek(frame);
    std::uint16_t length = in.u16();
    if (length == 0) break;
    std::size_t frameEnd = frame + length;
    in.skip(6);
    for (int n = 0; n < kMaxBlocksPerFrame && in.position() < frameEnd; ++n) {
      std::uint16_t type = in.u16();
      std::uint16_t blockLength = in.u16();
      if (type == kRaceClockBlock && in.u8() == 1) return frame;
      std::int64_t rest = type == kRaceClockBlock ? 3 : static_cast<std::int64_t>(blockLength) - 4;
      in.skip(rest < 0 ? 0 : (rest + 3) / 4 * 4);
    }
    frame = frameEnd;
  }
  return std::nullopt;
}

bool readBlockTag(ByteReader& in, bool passSeparator, bool* separatorSeen) {
  if (passSeparator && in.matches("BTPL", 4)) {
    in.skip(12);
    if (separatorSeen != nullptr) *separatorSeen = true;
  }
  bool block = in.matches("ORPL", 4);
  in.skip(4);
  return block;
}

}  // namespace lv
