#include <gtest/gtest.h>

#include <cmath>

#include "viewer/load/DerivedValues.h"
#include "viewer/load/QuickOverviewTable.h"
#include "viewer/load/TrackLength.h"

namespace lv {
namespace {

TEST(TrackLength, SectionAndKey) {
  struct Case {
    const char* ini;
    std::optional<std::int32_t> length;
  };
  const Case cases[] = {
      {"[track]\ntrack_length = 3.600 miles\n", 11584800},
      {"[ track]\nname = x\ntrack_length = 1.5m\n", 4827000},
      {"track_length = 3.6 miles\n[track]\n", std::nullopt},
      {"[  track]\ntrack_length = 3.6 miles\n", std::nullopt},
      {"[track]\ntrack_length=3.6 miles\n", std::nullopt},
      {"[car]\n[track]\ntrack_length = 2 miles", 6436000},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parseTrackLength(c.ini), c.length) << c.ini;
}

TEST(QuarterSplits, FourQuartersAddUpToTheLapTime) {
  ViewerStores stores;
  // One lap at 60 fps covering 0 .. 400 000 in 100 frames, then the next lap starts.
  for (int s = 0; s < 101; ++s)
    stores.frameTable[static_cast<std::size_t>(s)].f[0] = 2000 + 4000 * s;
  stores.frameTable[101].f[0] = 100;
  stores.lapCount = 1;
  stores.lapStart[1] = 101;
  stores.lapFps[0] = 60;
  stores.lapTime[0] = 1700;
  stores.maxFrameDistance = 402000;
  computeQuarterSplits(stores, 0);
  std::int32_t q1 = stores.lapSectorTimes[2];
  EXPECT_GT(q1, 400);
  EXPECT_LT(q1, 500);
  EXPECT_EQ(q1 + stores.lapSectorTimes[3] + stores.lapSectorTimes[4] + stores.lapSectorTimes[5],
            1700);
}

TEST(DerivedValues, HeadingMeansAndExtremes) {
  ViewerStores stores;
  stores.tyreTempMin.fill(1000000.0f);
  stores.tyreTempMax.fill(-1000000.0f);
  for (int s = 0; s < 40; ++s) {
    TelemetryRecord& t = stores.telemetryTable[static_cast<std::size_t>(s)];
    t.f[2] = s < 20 ? static_cast<float>(s) : 20.0f;  // east, then standing still
    t.f[3] = 5.0f;
    t.f[6] = static_cast<float>(1000 + s);
    for (int i = 12; i < 24; ++i) t.f[i] = 353.15f;
    t.f[12] = s == 3 ? 0.0f : 340.0f;
    for (float& value : stores.contactPatchTable[static_cast<std::size_t>(s)].f) value = 373.15f;
    if (s == 10) stores.contactPatchTable[10].f[0] = 199.0f;
    stores.frameTable[static_cast<std::size_t>(s)].f[0] = 100 * s;
  }
  deriveSampleValues(stores, 0, 40);
  // Due east: 90 + 0, and a result of at most 90 turns by 270.
  EXPECT_FLOAT_EQ(stores.headingTable[10], 360.0f);
  EXPECT_FLOAT_EQ(stores.trackDistanceStep[10], 8.0f);
  // A zero-length chord continues the heading in a straight line.
  EXPECT_FLOAT_EQ(stores.headingTable[30], 360.0f);
  EXPECT_FLOAT_EQ(stores.maxRpm, 1039.0f);
  EXPECT_EQ(stores.maxFrameDistance, 3900);
  EXPECT_NEAR(stores.tyreTempAvg[5].w[1], 80.0f, 1e-3);
  EXPECT_NEAR(stores.contactPatchAvg[5].w[0], 100.0f, 1e-3);
  EXPECT_EQ(stores.contactPatchAvg[10].w[0], 0.0f);
  EXPECT_FLOAT_EQ(stores.tyreTempMin[0], 340.0f);  // the zero of sample 3 is ignored
  EXPECT_FLOAT_EQ(stores.tyreTempMax[0], 353.15f);
  EXPECT_FLOAT_EQ(stores.mapBounds[2], 20.0f);
}

TEST(QuickOverview, RowsStatisticsAndEmptyLines) {
  ViewerStores stores;
  LapList list;
  stores.lapCount = 3;
  stores.lapStart = {};
  stores.lapStart[1] = 10;
  stores.lapStart[2] = 20;
  stores.lapStart[3] = 30;
  for (int s = 0; s < 30; ++s) {
    TelemetryRecord& t = stores.telemetryTable[static_cast<std::size_t>(s)];
    t.f[4] = s % 10 < 5 ? 1.0f : 0.0f;
    t.f[5] = s % 10 == 9 ? 0.5f : 0.0f;
    t.f[7] = 80.0f + static_cast<float>(s % 10) * 20.0f;
    stores.extraTable[static_cast<std::size_t>(s)].f[0] = 1.2f;
    stores.extraTable[static_cast<std::size_t>(s)].f[1] = 1.005f;
    stores.extraTable[static_cast<std::size_t>(s)].f[2] = 1.05f;
    stores.extraTable[static_cast<std::size_t>(s)].f[3] = 1.5f;
  }
  stores.lapCar = {37, 5, 5 + 64};
  list.append("0  ---------     -");
  list.append("1  1:31.000     -");
  list.append("2  1:32.000     -");
  for (int lap = 1; lap < 3; ++lap) {
    stores.lapSectorTimes[static_cast<std::size_t>(5 * lap + 2)] = 20000;
    stores.lapSectorTimes[static_cast<std::size_t>(5 * lap + 3)] = 20000;
  }
  std::string text = quickOverviewText(stores, list);
  const std::string header =
      "laptime    thMAX   th>0    br>0    vMIN    vMAX     wear(fl_fr_rl_rr)    OT\n\n";
  // Position 1 of "1  1:31.000" is a blank: one more blank in front. Wear 1.05f is just
  // below 1.05, so its thousandths truncate to 49.
  const std::string row1 =
      " 1  1:31.000 50.0% 50.0% 10.0%   80.0km  260.0km 200     4   49 500      +\n";
  const std::string row2 =
      " 2  1:32.000 50.0% 50.0% 10.0%   80.0km  260.0km 200     4   49 500      -\n";
  EXPECT_EQ(text, header + "0  ---------     \n" + row1 + row2 + std::string(37, '\n'));
}

}  // namespace
}  // namespace lv
