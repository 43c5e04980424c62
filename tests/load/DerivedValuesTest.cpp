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
    for (int field = 12; field < 24; ++field)
      t.f[field] = now(200) ? 0.0f : 330.0f + static_cast<float>(random() % 600) / 10.0f;
    ContactPatchRecord& patch = stores.contactPatchTable[row];
    for (float& value : patch.f) value = 300.0f + static_cast<float>(random() % 1000) / 10.0f;
    if (now(7)) patch.f[0] = 150.0f;
    stores.frameTable[row].f[0] = (s * 977) % 6000000;
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
    deriveSampleValuesInOrder(*inOrder, 0, kSamples);
    deriveSampleValues(*shared, 0, kSamples);
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

}  // namespace
}  // namespace lv
