#include "viewer/load/TrackLength.h"

#include <array>
#include <cstdlib>
#include <limits>
#include <string>

#include "viewer/load/SideBySide.h"
#include "viewer/load/Truncate.h"

namespace lv {
namespace {

std::size_t findTrackSection(std::string_view ini) {
  for (std::size_t at = ini.find('['); at != std::string_view::npos; at = ini.find('[', at + 1)) {
    std::size_t name = at + 1;
    if (ini.substr(name, 5) == "track") return name + 5;
    if (name < ini.size() && ini[name] == ' ' && ini.substr(name + 1, 5) == "track")
      return name + 6;
  }
  return std::string_view::npos;
}

// Fractional sample position in [i, i + 1] where the straight line through samples i and
// i + 1 of the frame distance reaches `distance`.
double positionAtDistance(const ViewerStores& stores, int i, double distance) {
  double d0 = stores.frameDistance(i);
  double d1 = stores.frameDistance(i + 1);
  return d1 == d0 ? i : i + (distance - d0) / (d1 - d0);
}

// Where the line from the lap's first sample to sample `i` reaches distance 0.
double positionOfLineCrossing(const ViewerStores& stores, int first, int i) {
  double d0 = stores.frameDistance(first);
  double di = stores.frameDistance(i);
  return di == d0 ? first : first - d0 * (i - first) / (di - d0);
}

// Milliseconds from the line to the point where the lap reaches `distance`, at the first
// sample s whose previous sample lies beyond it.
std::int32_t splitAt(const ViewerStores& stores, int first, int fps, int s, double distance) {
  int before = s - 2 >= first ? s - 2 : first;
  double xq = positionAtDistance(stores, before, distance);
  double x0 = positionOfLineCrossing(stores, first, before);
  return truncToInt((xq - x0 + 2.0) * 1000.0 / fps);
}

// The splits at the three quarter distances, 0 where the lap never gets so far. A farther
// distance is passed no sooner than a nearer one, so each search goes on from the last.
std::array<std::int32_t, 4> quarterSplits(const ViewerStores& stores, int lap,
                                          const SampleSweep* sweep) {
  // Without a sweep no block can be skipped: every sample is looked at.
  static const SampleSweep kNoBlocks;
  const SampleSweep& blocks = sweep != nullptr ? *sweep : kNoBlocks;
  std::array<std::int32_t, 4> split{0, 0, 0, 0};
  int first = stores.lapStart[static_cast<std::size_t>(lap)];
  int end = stores.lapStart[static_cast<std::size_t>(lap + 1)];
  int fps = stores.lapFps[static_cast<std::size_t>(lap)];
  if (fps <= 0) return split;
  int s = first + 1;
  double previous = -std::numeric_limits<double>::infinity();
  for (int q = 1; q <= 3; ++q) {
    double distance = stores.maxFrameDistance * static_cast<double>(q) / 4.0;
    if (distance < previous) s = first + 1;
    previous = distance;
    if (s < end) s = blocks.firstBeyond(stores, s - 1, end - 1, distance) + 1;
    if (s < end) split[static_cast<std::size_t>(q)] = splitAt(stores, first, fps, s, distance);
  }
  return split;
}

void computeSplitsOfLaps(ViewerStores& stores, int from, int to, const SampleSweep* sweep) {
  for (int lap = from; lap < to; ++lap) {
    std::array<std::int32_t, 4> split = quarterSplits(stores, lap, sweep);
    std::size_t at = static_cast<std::size_t>(5 * lap);
    // Differences of saturated splits of a degenerate lap wrap instead of overflowing.
    auto difference = [](std::int64_t a, std::int64_t b) {
      return static_cast<std::int32_t>(a - b);
    };
    stores.lapSectorTimes[at + 2] = split[1];
    stores.lapSectorTimes[at + 3] = difference(split[2], split[1]);
    stores.lapSectorTimes[at + 4] = difference(split[3], split[2]);
    stores.lapSectorTimes[at + 5] =
        difference(stores.lapTime[static_cast<std::size_t>(lap)], split[3]);
  }
}

}  // namespace

std::optional<std::int32_t> parseTrackLength(std::string_view ini) {
  std::size_t section = findTrackSection(ini);
  if (section == std::string_view::npos) return std::nullopt;
  static constexpr std::string_view kKey = "track_length = ";
  std::size_t key = ini.find(kKey, section);
  if (key == std::string_view::npos) return std::nullopt;
  std::size_t valueStart = key + kKey.size();
  std::size_t unit = ini.find('m', valueStart);
  std::string value(ini.substr(
      valueStart, unit == std::string_view::npos ? std::string_view::npos : unit - valueStart + 1));
  double miles = std::strtod(value.c_str(), nullptr);
  return truncToInt(miles * 3218000.0);
}

void computeQuarterSplits(ViewerStores& stores, int firstLap, const SampleSweep* sweep) {
  // Laps of a long load on both cores, split where half of their samples are behind.
  constexpr int kWorthASecondThread = 20000;
  int last = stores.lapCount;
  if (firstLap >= last) return;
  int firstSample = stores.lapStart[static_cast<std::size_t>(firstLap)];
  int endSample = stores.lapStart[static_cast<std::size_t>(last)];
  if (endSample - firstSample < kWorthASecondThread) {
    computeSplitsOfLaps(stores, firstLap, last, sweep);
    return;
  }
  int middle = firstLap;
  while (middle < last && stores.lapStart[static_cast<std::size_t>(middle)] - firstSample <
                              (endSample - firstSample) / 2)
    ++middle;
  runSideBySide([&] { computeSplitsOfLaps(stores, middle, last, sweep); },
                [&] { computeSplitsOfLaps(stores, firstLap, middle, sweep); });
}

}  // namespace lv
