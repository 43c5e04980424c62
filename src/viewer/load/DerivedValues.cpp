#include "viewer/load/DerivedValues.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "viewer/load/QuickArcsine.h"
#include "viewer/load/SideBySide.h"
#include "viewer/load/TyreTemperatures.h"

namespace lv {
namespace {

constexpr double kDegreesPerRadian = 57.29577957855229;
constexpr int kWorthASecondThread = 20000;
constexpr int kTemperatureBlock = 256;
// Rows brought in at a time: with what the pass writes for them, well inside a core's cache.
constexpr int kSupplyStretch = 8 * kTemperatureBlock;
// How far from its sample the pass reads: the heading's chord spans four samples either side.
constexpr int kRowsAround = 4;

// The rows one half of the pass has brought in itself, ahead of the samples it derives.
struct RowFeed {
  RowSupply* supply;
  int next;  // the first row not yet brought
  int end;   // the rows this half brings stop here

  void reach(int row) {
    int to = std::min(row, end);
    if (supply == nullptr || to <= next) return;
    supply->bring(next, to);
    next = to;
  }
};

// The running extremes of a load; each half of a shared-out load keeps its own.
struct Extremes {
  std::array<float, 4> mapBounds;
  ColumnExtremes temperatures;
  float maxRpm;
  std::int32_t maxFrameDistance;

  static Extremes of(const ViewerStores& stores) {
    return {stores.mapBounds,
            {stores.tyreTempMin, stores.tyreTempMax},
            stores.maxRpm,
            stores.maxFrameDistance};
  }
  // Extremes that any value replaces: the start of a later half.
  static Extremes none() {
    constexpr float kHuge = std::numeric_limits<float>::infinity();
    return {{kHuge, kHuge, -kHuge, -kHuge},
            {{kHuge, kHuge, kHuge}, {-kHuge, -kHuge, -kHuge}},
            -kHuge,
            std::numeric_limits<std::int32_t>::min()};
  }
  // The extremes of this half followed by those of the next: of equal values the earlier is
  // kept, as when every sample is taken in order.
  void follow(const Extremes& next) {
    for (std::size_t i = 0; i < 2; ++i) mapBounds[i] = std::min(mapBounds[i], next.mapBounds[i]);
    for (std::size_t i = 2; i < 4; ++i) mapBounds[i] = std::max(mapBounds[i], next.mapBounds[i]);
    for (std::size_t c = 0; c < 3; ++c) {
      temperatures.minimum[c] = std::min(temperatures.minimum[c], next.temperatures.minimum[c]);
      temperatures.maximum[c] = std::max(temperatures.maximum[c], next.temperatures.maximum[c]);
    }
    maxRpm = std::max(maxRpm, next.maxRpm);
    maxFrameDistance = std::max(maxFrameDistance, next.maxFrameDistance);
  }
  void storeInto(ViewerStores& stores) const {
    stores.mapBounds = mapBounds;
    stores.tyreTempMin = temperatures.minimum;
    stores.tyreTempMax = temperatures.maximum;
    stores.maxRpm = maxRpm;
    stores.maxFrameDistance = maxFrameDistance;
  }
};

void widenMapBounds(Extremes& e, const TelemetryRecord& t) {
  auto& b = e.mapBounds;
  b[0] = std::min(b[0], t.f[TelemetryRecord::kMapX]);
  b[1] = std::min(b[1], t.f[TelemetryRecord::kMapY]);
  b[2] = std::max(b[2], t.f[TelemetryRecord::kMapX]);
  b[3] = std::max(b[3], t.f[TelemetryRecord::kMapY]);
}

// The samples whose heading is worked out, and the first row whose heading the rule for a
// missing direction may read: a later half of a shared-out load must not read the rows of the
// earlier half while they are being written, and takes 0 for them until they are done.
struct HeadingRows {
  int first, end;
  int readableFrom;
};

HeadingRows headingRowsOf(int s0, int end, int readableFrom) {
  // The heading is worked out where its chord has four samples on either side.
  return {s0 + kRowsAround, end - kRowsAround, readableFrom};
}

float headingBefore(const ViewerStores& stores, const HeadingRows& rows, int s) {
  return s >= rows.readableFrom ? stores.headingTable[static_cast<std::size_t>(s)] : 0.0f;
}

// The chord of sample s: from four samples behind to four ahead.
struct Chord {
  float dy, length;
  bool eastward;  // the map x ahead is not less than behind
};

Chord chordAt(const ViewerStores& stores, int s) {
  const TelemetryRecord& ahead = stores.telemetryTable[static_cast<std::size_t>(s + 4)];
  const TelemetryRecord& behind = stores.telemetryTable[static_cast<std::size_t>(s - 4)];
  float dx = ahead.f[TelemetryRecord::kMapX] - behind.f[TelemetryRecord::kMapX];
  float dy = ahead.f[TelemetryRecord::kMapY] - behind.f[TelemetryRecord::kMapY];
  float d = std::sqrt(dx * dx + dy * dy);
  if (dx == 0.0f) d = dy;
  if (dy == 0.0f) d = dx;
  return {dy, d, ahead.f[TelemetryRecord::kMapX] >= behind.f[TelemetryRecord::kMapX]};
}

double headingOfArcsine(double arcsine, bool eastward) {
  double a = arcsine * kDegreesPerRadian;
  double heading = eastward ? 90.0 + a : 270.0 - a;
  return heading <= 90.0 ? heading + 270.0 : heading - 90.0;
}

// The heading of sample s with the library's arcsine.
void deriveHeading(ViewerStores& stores, const HeadingRows& rows, int s, const Chord& chord) {
  float d = chord.length;
  stores.trackDistanceStep[static_cast<std::size_t>(s)] = d;
  // A zero-length chord has no direction: it takes the extrapolated heading like a NaN.
  double heading = std::nan("");
  if (d != 0.0f)
    heading = headingOfArcsine(std::asin(static_cast<double>(chord.dy / d)), chord.eastward);
  if (heading < -700.0 || std::isnan(heading)) {
    heading = 2.0 * headingBefore(stores, rows, s - 1) - headingBefore(stores, rows, s - 2);
  }
  stores.headingTable[static_cast<std::size_t>(s)] = static_cast<float>(heading);
}

void deriveHeading(ViewerStores& stores, const HeadingRows& rows, int s) {
  deriveHeading(stores, rows, s, chordAt(stores, s));
}

bool sameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// The chords of a block of samples and the quick arcsines of their directions, worked out
// ahead of the samples' own pass, two arcsines at a time.
struct HeadingBlock {
  int first = 0, end = 0;  // the samples of the block with a heading of their own
  std::array<Chord, kTemperatureBlock> chords;
  std::array<double, kTemperatureBlock> directions;  // 0 where the library must decide
  std::array<double, kTemperatureBlock> arcsines;
  std::array<bool, kTemperatureBlock> quick;

  void prepare(const ViewerStores& stores, const HeadingRows& rows, int from, int to) {
    first = std::max(from, rows.first + 1);
    end = std::min(to, rows.end);
    for (int s = first; s < end; ++s) {
      auto i = static_cast<std::size_t>(s - first);
      chords[i] = chordAt(stores, s);
      float direction = chords[i].length != 0.0f ? chords[i].dy / chords[i].length : 2.0f;
      quick[i] = std::fabs(direction) <= 1.0f;
      directions[i] = quick[i] ? direction : 0.0;
    }
    if (end > first)
      quickArcsines(directions.data(), arcsines.data(), static_cast<std::size_t>(end - first));
  }

  const Chord& chord(int s) const { return chords[static_cast<std::size_t>(s - first)]; }

  // The heading of sample s (one of the block's) when every arcsine within the quick one's
  // error gives the same one, as the library's arcsine does then; false where the library's
  // arcsine must decide.
  bool heading(int s, float& out) const {
    auto i = static_cast<std::size_t>(s - first);
    if (!quick[i]) return false;
    float low =
        static_cast<float>(headingOfArcsine(arcsines[i] - kQuickArcsineError, chords[i].eastward));
    float high =
        static_cast<float>(headingOfArcsine(arcsines[i] + kQuickArcsineError, chords[i].eastward));
    if (!sameBits(low, high)) return false;
    out = low;
    return true;
  }
};

// The heading of sample s, quickly where the block's arcsine settles it.
void deriveHeading(ViewerStores& stores, const HeadingRows& rows, int s,
                   const HeadingBlock& block) {
  float heading;
  if (!block.heading(s, heading)) {
    deriveHeading(stores, rows, s, block.chord(s));
    return;
  }
  auto row = static_cast<std::size_t>(s);
  stores.trackDistanceStep[row] = block.chord(s).length;
  stores.headingTable[row] = heading;
}

// What one half of a load's pass found: its lap ends, its finished stretches and the one still
// open at its end, and the distance maxima of its blocks (a half starts at a block).
struct SweepPart {
  std::vector<int> lapEnds;
  std::vector<StretchCounts> stretches;
  StretchCounts open;
  std::vector<std::int32_t> maxima;
};

void deriveRange(ViewerStores& stores, Extremes& extremes, SweepPart& part,
                 const HeadingRows& headings, int from, int to, SampleObserver* observer,
                 int observerPart, RowFeed feed) {
  // Copies of their own, which the writes to the tables cannot touch, stay in registers.
  Extremes e = extremes;
  StretchCounts open = part.open;
  HeadingBlock headingBlock;
  constexpr int kBlock = SampleSweep::kDistanceBlock;
  part.maxima.assign(static_cast<std::size_t>((to - from + kBlock - 1) / kBlock),
                     std::numeric_limits<std::int32_t>::min());
  for (int s = from; s < to; ++s) {
    if ((s - from) % kSupplyStretch == 0) feed.reach(s + kSupplyStretch + kRowsAround);
    // The temperatures of a block of samples at a time, while the block is at hand.
    if ((s - from) % kTemperatureBlock == 0) {
      int blockEnd = std::min(to, s + kTemperatureBlock);
      deriveTyreTemperatures(stores, s, blockEnd, e.temperatures);
      if (observer != nullptr) observer->derived(observerPart, s, blockEnd);
      headingBlock.prepare(stores, headings, s, blockEnd);
    }
    std::size_t row = static_cast<std::size_t>(s);
    const TelemetryRecord& t = stores.telemetryTable[row];
    widenMapBounds(e, t);
    if (s > headings.first && s < headings.end) deriveHeading(stores, headings, s, headingBlock);
    e.maxRpm = std::max(e.maxRpm, t.f[TelemetryRecord::kRpm]);
    std::int32_t distance = stores.frameTable[row].f[0];
    e.maxFrameDistance = std::max(e.maxFrameDistance, distance);
    std::int32_t& maximum = part.maxima[static_cast<std::size_t>((s - from) / kBlock)];
    maximum = std::max(maximum, distance);
    open.add(t);
    if (lapEndsAt(stores, s)) {
      part.lapEnds.push_back(s);
      part.stretches.push_back(open);
      open = StretchCounts{};
    }
  }
  extremes = e;
  part.open = open;
}

SampleSweep sweepOf(int s0, int end, SweepPart& earlier, SweepPart* later) {
  SampleSweep sweep;
  sweep.first = s0;
  sweep.end = end;
  sweep.lapEnds = std::move(earlier.lapEnds);
  sweep.stretches = std::move(earlier.stretches);
  sweep.distanceMaxima = std::move(earlier.maxima);
  StretchCounts open = earlier.open;
  if (later != nullptr) {
    sweep.lapEnds.insert(sweep.lapEnds.end(), later->lapEnds.begin(), later->lapEnds.end());
    for (const StretchCounts& stretch : later->stretches) {
      open.follow(stretch);
      sweep.stretches.push_back(open);
      open = StretchCounts{};
    }
    open.follow(later->open);
    sweep.distanceMaxima.insert(sweep.distanceMaxima.end(), later->maxima.begin(),
                                later->maxima.end());
  }
  sweep.stretches.push_back(open);
  return sweep;
}

// The later half took 0 for the headings before it; from its first sample on, the headings
// are worked out again with the earlier half's, until two in a row come out as they were:
// every heading after those depends only on its own chord or on them.
void redoHeadingsAfter(ViewerStores& stores, const HeadingRows& headings, int middle) {
  HeadingRows whole{headings.first, headings.end, 0};
  int unchanged = 0;
  for (int s = std::max(middle, headings.first + 1); s < headings.end && unchanged < 2; ++s) {
    float before = stores.headingTable[static_cast<std::size_t>(s)];
    deriveHeading(stores, whole, s);
    unchanged =
        sameBits(before, stores.headingTable[static_cast<std::size_t>(s)]) ? unchanged + 1 : 0;
  }
}

}  // namespace

SampleSweep deriveSampleValuesInOrder(ViewerStores& stores, int s0, int end,
                                      SampleObserver* observer, RowSupply* rows) {
  Extremes e = Extremes::of(stores);
  SweepPart part;
  deriveRange(stores, e, part, headingRowsOf(s0, end, 0), s0, std::max(s0, end), observer, 0,
              {rows, s0, end});
  e.storeInto(stores);
  return sweepOf(s0, end, part, nullptr);
}

SampleSweep deriveSampleValues(ViewerStores& stores, int s0, int end, SampleObserver* observer,
                               RowSupply* rows) {
  if (end - s0 < kWorthASecondThread)
    return deriveSampleValuesInOrder(stores, s0, end, observer, rows);
  // The halves meet at the start of a block of the distance maxima.
  constexpr int kBlock = SampleSweep::kDistanceBlock;
  int middle = s0 + (end - s0) / 2 / kBlock * kBlock;
  // Both halves read the rows next to the middle: those are brought before the halves start,
  // and each half brings the rest of its own.
  if (rows != nullptr) rows->bring(middle - kRowsAround, middle + kRowsAround);
  RowFeed earlierRows{rows, s0, middle - kRowsAround};
  RowFeed laterRows{rows, middle + kRowsAround, end};
  Extremes earlier = Extremes::of(stores), later = Extremes::none();
  SweepPart earlierPart, laterPart;
  runSideBySide(
      [&] {
        deriveRange(stores, later, laterPart, headingRowsOf(s0, end, middle), middle, end, observer,
                    1, laterRows);
      },
      [&] {
        deriveRange(stores, earlier, earlierPart, headingRowsOf(s0, end, 0), s0, middle, observer,
                    0, earlierRows);
      });
  redoHeadingsAfter(stores, headingRowsOf(s0, end, 0), middle);
  earlier.follow(later);
  earlier.storeInto(stores);
  return sweepOf(s0, end, earlierPart, &laterPart);
}

}  // namespace lv
