// A long load's derived values are shared out to both cores; they must come to exactly what
// one pass in sample order gives, above all where a car stands still across the middle of the
// load and every heading there continues the ones before it, and where laps end right at the
// middle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <random>
#include <utility>
#include <vector>

#include "viewer/load/DerivedValues.h"
#include "viewer/load/LapCutting.h"
#include "viewer/load/QuickOverviewTable.h"
#include "viewer/load/TrackLength.h"

namespace lv {
namespace {

template <typename Row>
void expectSameRows(const FixedTable<Row>& a, const FixedTable<Row>& b, int end,
                    const char* table) {
  for (int s = 0; s < end; ++s) {
    auto row = static_cast<std::size_t>(s);
    ASSERT_EQ(std::memcmp(&a[row], &b[row], sizeof(Row)), 0) << table << ", sample " << s;
  }
}

void fillDrive(ViewerStores& stores, int samples, int standStillFrom, int standStillTo) {
  std::mt19937 random(9);
  auto now = [&](int in) { return std::uniform_int_distribution<int>(0, in - 1)(random) == 0; };
  std::int32_t distance = 0;
  stores.tyreTempMin.fill(1000000.0f);
  stores.tyreTempMax.fill(-1000000.0f);
  for (int s = 0; s < samples; ++s) {
    auto row = static_cast<std::size_t>(s);
    TelemetryRecord& t = stores.telemetryTable[row];
    // Round a circle, standing still from standStillFrom to standStillTo.
    int moved =
        s < standStillFrom ? s : std::max(standStillFrom, s - (standStillTo - standStillFrom));
    double angle = moved * 0.001;
    t.f[2] = static_cast<float>(1000.0 * std::cos(angle));
    t.f[3] = static_cast<float>(1000.0 * std::sin(angle));
    if (now(5000)) t.f[2] = std::numeric_limits<float>::quiet_NaN();
    t.f[6] = now(3000) ? -0.0f : static_cast<float>(s % 9000);
    t.f[4] = static_cast<float>(random() % 101) / 100.0f;  // throttle
    t.f[5] = now(3) ? 0.5f : 0.0f;                         // brake
    t.f[7] = static_cast<float>(random() % 3000) / 10.0f;  // speed
    for (int field = 12; field < 24; ++field)
      t.f[field] = now(200) ? 0.0f : 330.0f + static_cast<float>(random() % 600) / 10.0f;
    ContactPatchRecord& patch = stores.contactPatchTable[row];
    for (float& value : patch.f) value = 300.0f + static_cast<float>(random() % 1000) / 10.0f;
    if (now(7)) patch.f[0] = 150.0f;
    // Laps of about 3 km at uneven steps, so that the splits depend on every sample.
    distance = distance > 6000000 ? 0 : distance + 500 + static_cast<std::int32_t>(random() % 950);
    stores.frameTable[row].f[0] = distance;
  }
}

void expectSameDerivation(const ViewerStores& expected, const SampleSweep& expectedSweep,
                          const ViewerStores& actual, const SampleSweep& actualSweep, int end) {
  EXPECT_EQ(expectedSweep.lapEnds, actualSweep.lapEnds);
  EXPECT_EQ(expectedSweep.distanceMaxima, actualSweep.distanceMaxima);
  ASSERT_EQ(expectedSweep.stretches.size(), actualSweep.stretches.size());
  for (std::size_t i = 0; i < actualSweep.stretches.size(); ++i) {
    const StretchCounts &a = expectedSweep.stretches[i], &b = actualSweep.stretches[i];
    EXPECT_EQ(a.fullThrottle, b.fullThrottle) << "stretch " << i;
    EXPECT_EQ(a.onThrottle, b.onThrottle) << "stretch " << i;
    EXPECT_EQ(a.onBrake, b.onBrake) << "stretch " << i;
    EXPECT_EQ(a.minimumSpeed, b.minimumSpeed) << "stretch " << i;
    EXPECT_EQ(a.maximumSpeed, b.maximumSpeed) << "stretch " << i;
  }
  expectSameRows(expected.headingTable, actual.headingTable, end, "heading");
  expectSameRows(expected.trackDistanceStep, actual.trackDistanceStep, end, "chord");
  expectSameRows(expected.tyreTempAvg, actual.tyreTempAvg, end, "tyre means");
  expectSameRows(expected.contactPatchAvg, actual.contactPatchAvg, end, "patch means");
  EXPECT_EQ(std::memcmp(&expected.mapBounds, &actual.mapBounds, sizeof actual.mapBounds), 0);
  EXPECT_EQ(std::memcmp(&expected.tyreTempMin, &actual.tyreTempMin, 12), 0);
  EXPECT_EQ(std::memcmp(&expected.tyreTempMax, &actual.tyreTempMax, 12), 0);
  EXPECT_EQ(std::memcmp(&expected.maxRpm, &actual.maxRpm, sizeof(float)), 0);
  EXPECT_EQ(expected.maxFrameDistance, actual.maxFrameDistance);
}

// A lap ending at every sample over a stretch of the drive: wherever the load is cut for the
// cores, lap ends fall on the first and the last sample of a part.
void endLapsAtEverySample(ViewerStores& stores, int from, int to) {
  for (int s = from; s < to; ++s)
    stores.frameTable[static_cast<std::size_t>(s)].f[0] = 100000000 - (s - from) * 50000;
}

TEST(DerivedValues, BothCoresComeToWhatOnePassInOrderGives) {
  constexpr int kSamples = 60000;
  const int middle = kSamples / 2;
  auto inOrder = std::make_unique<ViewerStores>();
  auto shared = std::make_unique<ViewerStores>();
  struct Standstill {
    int from, to;
  } standstills[] = {{middle - 3, middle + 50},
                     {middle, middle + 50},
                     {middle - 400, middle + 50},
                     // every heading of ten thousand samples continues the ones before it
                     {middle - 5000, middle + 5000}};
  for (const Standstill& still : standstills) {
    SCOPED_TRACE(testing::Message() << "standing still " << still.from << " .. " << still.to);
    for (ViewerStores* stores : {inOrder.get(), shared.get()}) {
      fillDrive(*stores, kSamples, still.from, still.to);
      endLapsAtEverySample(*stores, middle - 2500, middle + 2500);
    }
    SampleSweep inOrderSweep = deriveSampleValuesInOrder(*inOrder, 0, kSamples);
    SampleSweep sharedSweep = deriveSampleValues(*shared, 0, kSamples);
    expectSameDerivation(*inOrder, inOrderSweep, *shared, sharedSweep, kSamples);
  }
}

// Copies rows from a drive that is all there into stores whose rows of the load hold garbage
// until brought, and notes what was asked for.
class CopyingSupply : public RowSupply {
 public:
  CopyingSupply(const ViewerStores& from, ViewerStores& to) : from_(from), to_(to) {}
  void bring(int first, int end) override {
    std::lock_guard<std::mutex> lock(mutex_);
    brought.emplace_back(first, end);
    for (int s = first; s < end; ++s) {
      auto row = static_cast<std::size_t>(s);
      to_.frameTable[row] = from_.frameTable[row];
      to_.telemetryTable[row] = from_.telemetryTable[row];
      to_.contactPatchTable[row] = from_.contactPatchTable[row];
    }
  }
  std::vector<std::pair<int, int>> brought;

 private:
  const ViewerStores& from_;
  ViewerStores& to_;
  std::mutex mutex_;
};

void poisonRows(ViewerStores& stores, int from, int to) {
  auto rows = static_cast<std::size_t>(to - from);
  auto first = static_cast<std::size_t>(from);
  std::memset(&stores.frameTable[first], 0x7f, rows * sizeof(FrameRecord));
  std::memset(&stores.telemetryTable[first], 0x7f, rows * sizeof(TelemetryRecord));
  std::memset(&stores.contactPatchTable[first], 0x7f, rows * sizeof(ContactPatchRecord));
}

// A saved-laps load has its rows brought by the pass itself, a stretch at a time: every row
// exactly once, before any sample that reads it is derived, on one core or on both, for a
// first load and for one appended to another.
TEST(DerivedValues, RowsBroughtByThePassComeToWhatTheyGiveWhenAllThere) {
  struct Case {
    int s0, end;
  } cases[] = {{0, 60000}, {0, 9000}, {12345, 71234}, {500, 505}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "samples " << c.s0 << " .. " << c.end);
    auto whole = std::make_unique<ViewerStores>();
    auto brought = std::make_unique<ViewerStores>();
    fillDrive(*whole, c.end + 1, c.s0 + 100, c.s0 + 300);
    fillDrive(*brought, c.end + 1, c.s0 + 100, c.s0 + 300);
    poisonRows(*brought, c.s0, c.end);
    CopyingSupply supply(*whole, *brought);
    SampleSweep expected = deriveSampleValues(*whole, c.s0, c.end);
    SampleSweep actual = deriveSampleValues(*brought, c.s0, c.end, nullptr, &supply);
    expectSameDerivation(*whole, expected, *brought, actual, c.end);
    std::sort(supply.brought.begin(), supply.brought.end());
    int next = c.s0;
    for (auto [first, end] : supply.brought) {
      EXPECT_EQ(first, next) << "rows brought twice or never";
      next = end;
    }
    EXPECT_EQ(next, c.end);
  }
}

// The heading rule one sample after the other with the library's arcsine throughout: what
// the pass, which takes a quicker arcsine wherever that cannot change the result, must equal.
std::vector<float> plainHeadings(const ViewerStores& stores, int end) {
  std::vector<float> heading(static_cast<std::size_t>(end), 0.0f);
  for (int s = 5; s < end - 4; ++s) {
    const TelemetryRecord& ahead = stores.telemetryTable[static_cast<std::size_t>(s + 4)];
    const TelemetryRecord& behind = stores.telemetryTable[static_cast<std::size_t>(s - 4)];
    float dx = ahead.f[2] - behind.f[2], dy = ahead.f[3] - behind.f[3];
    float d = std::sqrt(dx * dx + dy * dy);
    if (dx == 0.0f) d = dy;
    if (dy == 0.0f) d = dx;
    double h = std::nan("");
    if (d != 0.0f) {
      double a = std::asin(static_cast<double>(dy / d)) * 57.29577957855229;
      h = ahead.f[2] >= behind.f[2] ? 90.0 + a : 270.0 - a;
      h = h <= 90.0 ? h + 270.0 : h - 90.0;
    }
    if (h < -700.0 || std::isnan(h)) {
      auto at = static_cast<std::size_t>(s);
      h = 2.0 * heading[at - 1] - heading[at - 2];
    }
    heading[static_cast<std::size_t>(s)] = static_cast<float>(h);
  }
  return heading;
}

// Every direction of a circle and of a random walk, with chords that are vertical,
// horizontal, of zero length, far too long and NaN.
TEST(DerivedValues, HeadingsAreThoseOfTheLibrarysArcsine) {
  constexpr int kSamples = 200000;
  auto stores = std::make_unique<ViewerStores>();
  fillDrive(*stores, kSamples, 100000, 100100);
  std::mt19937 random(4);
  std::uniform_real_distribution<float> step(-3.0f, 3.0f);
  float x = 0.0f, y = 0.0f;
  for (int s = 120000; s < kSamples; ++s) {
    TelemetryRecord& t = stores->telemetryTable[static_cast<std::size_t>(s)];
    int kind = s % 97;
    if (kind == 0) {
      x += step(random) * 1e30f;
    } else if (kind == 1) {
      y = std::numeric_limits<float>::quiet_NaN();
    } else if (kind > 80) {
      x += step(random);  // along the x axis only
    } else if (kind > 70) {
      y = (std::isnan(y) ? 0.0f : y) + step(random);  // along the y axis only
    } else if (kind > 3) {
      x += step(random);
      y = (std::isnan(y) ? 0.0f : y) + step(random) * 1e-4f;
    }
    t.f[2] = x;
    t.f[3] = y;
  }
  std::vector<float> expected = plainHeadings(*stores, kSamples);
  deriveSampleValues(*stores, 0, kSamples);
  for (int s = 0; s < kSamples; ++s) {
    float actual = stores->headingTable[static_cast<std::size_t>(s)];
    ASSERT_EQ(std::memcmp(&actual, &expected[static_cast<std::size_t>(s)], sizeof actual), 0)
        << "sample " << s << ": " << actual << " against " << expected[static_cast<std::size_t>(s)];
  }
}

// The lap cutting, the quarter splits and the quick overview take what the sweep found in place
// of reading the samples again: each must come to what it finds itself.
TEST(SampleSweep, LapEndsSplitsAndOverviewAsTheStepsFindThemselves) {
  constexpr int kSamples = 60000;
  auto swept = std::make_unique<ViewerStores>();
  auto plain = std::make_unique<ViewerStores>();
  LapList sweptList, plainList;
  LapSource source;
  source.savedLaps = true;
  for (ViewerStores* stores : {swept.get(), plain.get()}) {
    fillDrive(*stores, kSamples, 100, 200);
    for (int lap = 0; lap < kLapCapacity; ++lap)
      stores->lapTime[static_cast<std::size_t>(lap)] = 61000 + lap;
    for (int lap = 0; lap < kLapCapacity; ++lap) stores->lapFps[static_cast<std::size_t>(lap)] = 60;
  }
  SampleSweep sweep = deriveSampleValues(*swept, 0, kSamples);
  deriveSampleValues(*plain, 0, kSamples);
  cutLaps(*swept, sweptList, source, 0, kSamples, &sweep);
  cutLaps(*plain, plainList, source, 0, kSamples);
  ASSERT_GT(swept->lapCount, 5);
  EXPECT_EQ(sweptList.lines(), plainList.lines());
  EXPECT_EQ(swept->lapStart, plain->lapStart);
  computeQuarterSplits(*swept, 0, &sweep);
  computeQuarterSplits(*plain, 0);
  EXPECT_EQ(swept->lapSectorTimes, plain->lapSectorTimes);
  EXPECT_EQ(quickOverviewText(*swept, sweptList, &sweep), quickOverviewText(*plain, plainList));
}

}  // namespace
}  // namespace lv
