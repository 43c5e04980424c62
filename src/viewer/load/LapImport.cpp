#include "viewer/load/LapImport.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "telemetry/ByteReader.h"
#include "viewer/load/ImportFrameWalk.h"
#include "viewer/load/ImportSplits.h"
#include "viewer/load/ReplaySections.h"

namespace lv {
namespace {

constexpr int kFramesBeforeEstimate = 72;
constexpr int kFramesPastLap = 49;
constexpr std::int32_t kLapEndDrop = 60000;

struct LapBounds {
  std::int64_t start = 0;  // ms
  std::int64_t end = 0;
  std::uint8_t flag = 0;
};

// Reads the records of lap n from the block body at the reader, which is left where it was.
void readLapRecord(ByteReader& in, std::uint32_t size, int n, LapBounds& lap) {
  std::uint32_t records = size / 4 >= 1 ? size / 4 - 1 : 0;
  if (n < 0 || static_cast<std::uint32_t>(n) >= records) return;
  std::size_t body = in.position();
  // The first lap starts at the session's zero; no record stands before it.
  if (n > 0) {
    in.seek(body + 4 * static_cast<std::size_t>(n - 1));
    lap.start = in.u24();
  }
  in.seek(body + 4 * static_cast<std::size_t>(n));
  lap.end = in.u24();
  lap.flag = in.u8();
  in.seek(body);
}

// Walks the blocks from the tag at the reader; the first block of `driverId` gives the lap.
// Returns with the reader behind the tag that ended the walk, which tells whether a "BTPL"
// separator ended it.
bool walkBlocks(ByteReader& in, const LapImportRequest& request, bool stopAtSeparator, bool& found,
                LapBounds& lap) {
  bool block = readBlockTag(in, false);
  while (block) {
    in.skip(4);
    std::uint32_t size = in.u32();
    std::int32_t id = in.i32();
    if (id == request.driverId && !found) {
      found = true;
      readLapRecord(in, size, request.lapNumber, lap);
    }
    in.skip(size >= 4 ? static_cast<std::int64_t>(size) - 4 : 0);
    if (stopAtSeparator && in.matches("BTPL", 4)) {
      in.skip(12);
      in.skip(4);  // the tag behind the separator
      return true;
    }
    block = readBlockTag(in, true);
  }
  return false;
}

// Finds the lap's record times and leaves the reader at the frames.
LapBounds findLapRecord(ByteReader& in, std::size_t firstTag, const LapImportRequest& request) {
  LapBounds lap;
  bool found = false;
  in.seek(firstTag >= 4 ? firstTag - 4 : 0);
  if (request.kind == 1) {
    std::uint32_t practiceLength = in.u32();
    in.skip(static_cast<std::int64_t>(practiceLength) + 12);
    walkBlocks(in, request, false, found, lap);
  } else {
    in.seek(firstTag);
    bool separator = walkBlocks(in, request, true, found, lap);
    in.skip(-4);
    bool endTag = in.matches("PTPR", 4);
    in.skip(4);
    // Behind the separator the race section follows; its length leads to the frames.
    if (separator && !endTag) {
      in.skip(-8);
      std::uint32_t raceLength = in.u32();
      in.skip(static_cast<std::int64_t>(raceLength) + 4);
    }
  }
  in.skip(8);
  return lap;
}

// Position of the frame `count` frames after the one at `frame`, or the last one reached.
std::size_t skipFrames(ByteReader& in, std::size_t frame, std::int64_t count) {
  for (std::int64_t i = 0; i < count && frame < in.size(); ++i) {
    in.seek(frame);
    std::uint16_t length = in.u16();
    if (length == 0) break;
    frame += length;
  }
  return frame;
}

// Steps back through the previous frames' lengths, never before `first`.
std::size_t stepBack(ByteReader& in, std::size_t frame, std::size_t first, int count) {
  for (int i = 0; i < count; ++i) {
    in.seek(frame + 2);
    std::uint16_t previous = in.u16();
    if (previous == 0 || frame < first + previous) break;
    frame -= previous;
  }
  return frame;
}

// The frame after the first one in which the driver's distance fell, or the end of the file.
std::size_t frameAfterLine(ByteReader& in, std::size_t frame, std::int32_t driverId) {
  std::optional<std::int32_t> last;
  while (frame < in.size()) {
    ImportFrame content = readImportFrame(in, frame, driverId);
    if (content.length == 0) return in.size();
    frame += content.length;
    if (!content.hasRecord) continue;
    if (last && content.record.distance < *last) return frame;
    last = content.record.distance;
  }
  return frame;
}

// The frame where decoding starts: behind the line crossing found from 72 frames before the
// lap's estimated start (race laps counted from the recording's start, practice laps from its
// start clock). The race's first lap starts on the grid, with no line crossing before it; a
// search would take the second lap's frames, so it starts at the race start instead.
std::size_t firstFrameOfLap(ByteReader& in, std::size_t framesStart,
                            const LapImportRequest& request, const LapBounds& bounds, int fps) {
  if (request.kind == 1 && request.lapNumber == 0 && bounds.end > 0) {
    if (std::optional<std::size_t> start = findRaceStartFrame(in, framesStart)) return *start;
  }
  std::int64_t estimate = request.kind == 1
                              ? bounds.start * fps / 1000
                              : (bounds.start - 10ll * request.startClock) * fps / 1000;
  std::size_t frame = skipFrames(in, framesStart, estimate);
  frame = stepBack(in, frame, framesStart, kFramesBeforeEstimate);
  return frameAfterLine(in, frame, request.driverId);
}

struct DecodeLimits {
  int s0;
  std::int64_t n;
  int ping;
};

// Decodes frames from `frame` into rows from s0 on; returns the new end of the lap and
// the first row not written.
std::pair<int, int> decodeFrames(ByteReader& in, std::size_t frame, std::int32_t driverId,
                                 const DecodeLimits& limits, ViewerStores& stores) {
  const int s0 = limits.s0;
  const int ping = limits.ping;
  std::int64_t limit =
      std::min<std::int64_t>(s0 + limits.n + ping + kFramesPastLap, kSampleCapacity);
  std::optional<std::int64_t> endMark;
  int s = s0;
  auto row = [&stores](std::int64_t at) -> FrameRecord& {
    return stores.frameTable[static_cast<std::size_t>(at)];
  };
  for (; s < limit && (!endMark || s < *endMark) && frame < in.size(); ++s) {
    ImportFrame content = readImportFrame(in, frame, driverId);
    if (content.length == 0) break;
    frame += content.length;
    if (content.hasFrameNumber) row(s).f[FrameRecord::kFrameNumber] = content.frameNumber;
    if (content.hasStatus) row(s).f[FrameRecord::kStatusWord] = content.status;
    if (content.hasRecord) {
      const CarRecordFields& r = content.record;
      if (s < s0 + limits.n - 1) {
        row(s).f[FrameRecord::kDistance] = r.distance;
        row(s).f[FrameRecord::kLaneOffset] = r.speed;
        row(s).f[FrameRecord::kYaw] = r.yaw;
      }
      if (s - ping >= s0) {
        FrameRecord& delayed = row(s - ping);
        delayed.f[FrameRecord::kPitch] = r.pitch;
        delayed.f[FrameRecord::kReplayRpm] = r.replayRpm;
        delayed.f[FrameRecord::kRideHeight] = r.input5;
        delayed.f[FrameRecord::kSteering] = r.steering;
        delayed.f[FrameRecord::kPlayerBlock3] = r.low2;
        delayed.f[FrameRecord::kRoll] = r.roll;
        delayed.f[FrameRecord::kGear] = r.gear;
      }
    }
    if (s > s0 + 1 && !endMark &&
        static_cast<std::int64_t>(row(s - 1).f[0]) + kLapEndDrop < row(s - 2).f[0])
      endMark = static_cast<std::int64_t>(s) + ping - 1;
  }
  // A lap whose end was never seen ends where the decoding stopped.
  std::int64_t end = (endMark ? *endMark : s) - ping;
  return {static_cast<int>(std::clamp<std::int64_t>(end, s0, s)), s};
}

void updateBoundsAndDistance(ViewerStores& stores, int s0, int end) {
  auto& b = stores.mapBounds;
  for (int s = s0; s < end; ++s) {
    const TelemetryRecord& t = stores.telemetryTable[static_cast<std::size_t>(s)];
    b[0] = std::min(b[0], t.f[TelemetryRecord::kMapX]);
    b[1] = std::min(b[1], t.f[TelemetryRecord::kMapY]);
    b[2] = std::max(b[2], t.f[TelemetryRecord::kMapX]);
    b[3] = std::max(b[3], t.f[TelemetryRecord::kMapY]);
    stores.maxFrameDistance = std::max(stores.maxFrameDistance, stores.frameDistance(s));
  }
}

}  // namespace

LapImportResult importLap(std::span<const std::uint8_t> file, ViewerStores& stores,
                          const LapImportRequest& request) {
  LapImportResult result;
  const int lap = stores.lapCount;
  const int s0 = stores.sampleCount;
  if (lap >= kLapCapacity) return result;
  stores.segmentCount = 0;
  ByteReader in(file);
  in.seek(5);
  int fps = replayFrameRate(in.u8());
  in.seek(52);
  int ping = std::clamp(request.pingFrames, 0, kSampleCapacity);
  if (in.i32() != 0) ping *= 2;

  std::int32_t carIndex = 0;
  auto& driverName = stores.lapDriver[static_cast<std::size_t>(lap)];
  for (const ReplayDriver& driver : readReplayDrivers(in)) {
    if (driver.recordId != request.driverId) continue;
    std::memcpy(driverName.data(), driver.name, sizeof driver.name);
    driverName.back() = '\0';
    carIndex = driver.carNumber + 1;
    break;
  }
  std::size_t firstTag = in.position();

  LapBounds bounds = findLapRecord(in, firstTag, request);
  std::size_t framesStart = in.position();
  std::int64_t lapTime = bounds.end - bounds.start;
  std::int64_t n = lapTime * fps / 1000;
  std::size_t frame = firstFrameOfLap(in, framesStart, request, bounds, fps);
  auto [end, firstUnwritten] = decodeFrames(in, frame, request.driverId, {s0, n, ping}, stores);
  for (int s = end; s < firstUnwritten; ++s)
    stores.frameTable[static_cast<std::size_t>(s)] = FrameRecord{};

  updateBoundsAndDistance(stores, s0, end);
  const std::size_t at = static_cast<std::size_t>(lap);
  stores.lapTime[at] = static_cast<std::int32_t>(lapTime);
  stores.lapFps[at] = fps;
  stores.lapCar[at] = (bounds.flag & 0xC0) + carIndex + ((bounds.flag & 0x10) != 0 ? 32 : 0);
  // The lap is the imported frames alone, even after a load that left its last lap open.
  stores.lapStart[at] = s0;
  stores.lapStart[at + 1] = end;
  stores.lapCount = lap + 1;
  computeImportSplits(stores, stores.loadFirstLap);
  if (end > s0) stores.sampleCount = end;
  stores.loadFirstLap = stores.lapCount;

  result.imported = true;
  result.lap = lap;
  result.firstSample = s0;
  result.end = end;
  result.flag = bounds.flag;
  return result;
}

}  // namespace lv
