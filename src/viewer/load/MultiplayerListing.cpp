#include "viewer/load/MultiplayerListing.h"

#include "viewer/load/ReplayTreeText.h"

namespace lv {
namespace {

TreeDriver* findDriver(std::vector<TreeDriver>& drivers, std::int32_t recordId) {
  for (TreeDriver& driver : drivers)
    if (driver.recordId == recordId) return &driver;
  return nullptr;
}

struct LapPass {
  int kind;
  std::int32_t playerSlot;
  std::int64_t startClock;
};

// One lap-record block behind its tag: every record is read, the lines of a listed driver
// are kept up to the per-kind capacity.
void readBlock(ByteReader& in, const LapPass& pass, std::vector<TreeDriver>& drivers) {
  in.skip(4);
  std::uint32_t size = in.u32();
  std::int32_t id = in.i32();
  TreeDriver* driver = id == pass.playerSlot ? nullptr : findDriver(drivers, id);
  std::uint32_t records = size / 4 >= 1 ? size / 4 - 1 : 0;
  std::int64_t previous = 0;
  // Records that would lie past the end of the file are not there to be read.
  for (std::uint32_t n = 0; n < records && in.remaining() >= 4; ++n) {
    std::int64_t time = in.u24();
    std::uint8_t flag = in.u8();
    std::int32_t lapTime = static_cast<std::int32_t>(time - previous);
    if (driver != nullptr && driver->laps[pass.kind].size() < kTreeLapsPerKind) {
      int lap = static_cast<int>(n);
      driver->laps[pass.kind].push_back(
          pass.kind == kPracticeKind
              ? practiceLapLine(lap, n == 0 || previous / 10 < pass.startClock, lapTime, flag)
              : raceLapLine(lap, lapTime, flag));
    }
    previous = time;
  }
}

void readLapLines(ByteReader& in, std::size_t firstTag, std::int32_t playerSlot,
                  std::int64_t startClock, std::vector<TreeDriver>& drivers) {
  in.seek(firstTag);
  LapPass practice{kPracticeKind, playerSlot, startClock};
  bool separator = false;
  bool block = readBlockTag(in, false);
  while (block) {
    readBlock(in, practice, drivers);
    block = readBlockTag(in, true, &separator);
    if (separator) break;
  }
  if (!separator) return;
  LapPass race{kRaceKind, playerSlot, startClock};
  while (block) {
    readBlock(in, race, drivers);
    block = readBlockTag(in, true);
  }
}

}  // namespace

MultiplayerListing readMultiplayerListing(std::span<const std::uint8_t> file, ViewerStores& stores,
                                          StartClock previousClock) {
  MultiplayerListing listing;
  ByteReader in(file);
  std::vector<ReplayDriver> entries = readReplayDrivers(in);
  std::size_t firstTag = in.position();
  std::optional<StartClock> clock = findStartClock(in, replayFramesStart(in, firstTag));
  listing.startClock = clock ? *clock : previousClock;

  in.seek(52);
  std::int32_t playerSlot = in.i32();
  in.seek(112);
  in.readBytes(stores.trackName.data(), 8);
  in.seek(128);
  in.readBytes(stores.carSetName.data(), 6);

  listing.driverEntries = static_cast<int>(entries.size());
  if (listing.driverEntries < kMinimumEntriesForTree) return listing;
  for (const ReplayDriver& entry : entries) {
    if (entry.recordId == playerSlot || entry.recordId < 0 || entry.recordId >= kTreeDriverIds)
      continue;
    listing.drivers.push_back({entry.recordId, driverLabel(entry.name, entry.carNumber), {}});
  }
  readLapLines(in, firstTag, playerSlot, listing.startClock.combined(), listing.drivers);
  return listing;
}

}  // namespace lv
