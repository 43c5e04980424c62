// A long load's derived values are shared out to both cores; they must come to exactly what
// one pass in sample order gives, above all where a car stands still across the middle of the
// load and every heading there continues the ones before it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>

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

TEST(DerivedValues, BothCoresComeToWhatOnePassInOrderGives) {
  constexpr int kSamples = 60000;
  const int middle = kSamples / 2;
  auto inOrder = std::make_unique<ViewerStores>();
  auto shared = std::make_unique<ViewerStores>();
  // Standing still over the middle, starting just before, at, and well before it.
  for (int from : {middle - 3, middle, middle - 400}) {
    for (ViewerStores* stores : {inOrder.get(), shared.get()})
      fillDrive(*stores, kSamples, from, middle + 50);
    SampleSweep inOrderSweep = deriveSampleValuesInOrder(*inOrder, 0, kSamples);
    SampleSweep sharedSweep = deriveSampleValues(*shared, 0, kSamples);
    EXPECT_EQ(inOrderSweep.lapEnds, sharedSweep.lapEnds);
    EXPECT_EQ(inOrderSweep.distanceMaxima, sharedSweep.distanceMaxima);
    ASSERT_EQ(inOrderSweep.stretches.size(), sharedSweep.stretches.size());
    for (std::size_t i = 0; i < sharedSweep.stretches.size(); ++i) {
      const StretchCounts &a = inOrderSweep.stretches[i], &b = sharedSweep.stretches[i];
      EXPECT_EQ(a.fullThrottle, b.fullThrottle) << "stretch " << i;
      EXPECT_EQ(a.onThrottle, b.onThrottle) << "stretch " << i;
      EXPECT_EQ(a.onBrake, b.onBrake) << "stretch " << i;
      EXPECT_EQ(a.minimumSpeed, b.minimumSpeed) << "stretch " << i;
      EXPECT_EQ(a.maximumSpeed, b.maximumSpeed) << "stretch " << i;
    }
    expectSameRows(inOrder->headingTable, shared->headingTable, kSamples, "heading");
    expectSameRows(inOrder->trackDistanceStep, shared->trackDistanceStep, kSamples, "chord");
    expectSameRows(inOrder->tyreTempAvg, shared->tyreTempAvg, kSamples, "tyre means");
    expectSameRows(inOrder->contactPatchAvg, shared->contactPatchAvg, kSamples, "patch means");
    EXPECT_EQ(std::memcmp(&inOrder->mapBounds, &shared->mapBounds, sizeof shared->mapBounds), 0);
    EXPECT_EQ(std::memcmp(&inOrder->tyreTempMin, &shared->tyreTempMin, 12), 0);
    EXPECT_EQ(std::memcmp(&inOrder->tyreTempMax, &shared->tyreTempMax, 12), 0);
    EXPECT_EQ(std::memcmp(&inOrder->maxRpm, &shared->maxRpm, sizeof(float)), 0);
    EXPECT_EQ(inOrder->maxFrameDistance, shared->maxFrameDistance);
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
