#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "GraphFixture.h"
#include "viewer/graphs/GraphCanvas.h"

namespace lv {
namespace {

using test::GraphFixture;

// One lap of 50 samples filled by `fill`, the channel drawn alone: the points in `pen`.
std::vector<std::pair<int, int>> curveDrawnAlone(ChannelId channel,
                                                 void (*fill)(GraphFixture&, int s),
                                                 const std::string& pen) {
  GraphFixture g;
  g.addLap(50);
  for (int s = 0; s < 50; ++s) fill(g, s);
  g.choose({0});
  GraphContext context = g.context();
  g.commands.get(channel).plot(context);
  return g.curve(pen);
}

// One lap of 50 samples with constant channel values, drawn alone: the row of its curve.
struct RowCase {
  ChannelId channel;
  void (*fill)(GraphFixture&, int s);
  int row;
  const char* pen;
};

TEST(ChannelRules, BaselinesAndScalesOfTheTable) {
  const RowCase cases[] = {
      {ChannelId::kThrottle, [](GraphFixture& g, int s) { g.tel(s).f[4] = 0.5f; }, 572, "240 0 40"},
      {ChannelId::kBrake, [](GraphFixture& g, int s) { g.tel(s).f[5] = 0.25f; }, 724, "240 0 40"},
      {ChannelId::kGear, [](GraphFixture& g, int s) { g.frame(s).f[2] = 3; }, 492, "240 0 40"},
      {ChannelId::kSteering, [](GraphFixture& g, int s) { g.frame(s).f[3] = -20; }, 94, "240 0 40"},
      {ChannelId::kClutch, [](GraphFixture& g, int s) { g.frame(s).f[20] = 5000; }, 313,
       "240 0 40"},
      {ChannelId::kTorque, [](GraphFixture& g, int s) { g.tel(s).f[8] = 200.0f; }, 69, "160 0 40"},
      {ChannelId::kPower,
       [](GraphFixture& g, int s) {
         g.tel(s).f[7] = 100.0f;
         g.tel(s).f[8] = 200.0f;
         g.tel(s).f[6] = 9551.0f;
       },
       65, "240 0 40"},
      {ChannelId::kVertForce, [](GraphFixture& g, int s) { g.tel(s).f[9] = 0.5f; }, 274,
       "240 0 40"},
      // 0.01f is just below 0.01: 500 + 3000 * 0.0099999998 truncates to 529.
      {ChannelId::kLongForce, [](GraphFixture& g, int s) { g.tel(s).f[11] = 0.01f; }, 529,
       "240 0 40"},
      {ChannelId::kLatForce, [](GraphFixture& g, int s) { g.tel(s).f[10] = 1.0f; }, 364,
       "240 0 40"},
      {ChannelId::kLine, [](GraphFixture& g, int s) { g.frame(s).f[4] = 400; }, 834, "240 0 40"},
      {ChannelId::kSqueal, [](GraphFixture& g, int s) { g.frame(s).f[10] = 10; }, 854, "240 0 40"},
      {ChannelId::kRoll, [](GraphFixture& g, int s) { g.frame(s).f[9] = 10; }, 945, "240 0 40"},
      {ChannelId::kPitch, [](GraphFixture& g, int s) { g.frame(s).f[8] = -10; }, 350, "240 0 40"},
      {ChannelId::kHeight, [](GraphFixture& g, int s) { g.frame(s).f[5] = 100; }, 809, "240 0 40"},
      {ChannelId::kSuspensionRearFront,
       [](GraphFixture& g, int s) {
         g.frame(s).f[12] = 10;
         g.frame(s).f[14] = 30;
       },
       569, "240 0 40"},
      {ChannelId::kSuspensionLeftRight,
       [](GraphFixture& g, int s) {
         g.frame(s).f[13] = 10;
         g.frame(s).f[15] = 30;
       },
       664, "240 0 40"},
      {ChannelId::kTotalAcceleration,
       [](GraphFixture& g, int s) {
         g.tel(s).f[11] = 0.064f;
         g.tel(s).f[10] = 0.0f;
       },
       614, "240 0 40"},
      // 1000 units a frame at 60 fps: 824 - 1000 * 60 * 3.6 * 0.00111 = 584.24.
      {ChannelId::kReplaySpeed, [](GraphFixture&, int) {}, 584, "240 0 40"},
  };
  for (const RowCase& c : cases) {
    auto points = curveDrawnAlone(c.channel, c.fill, c.pen);
    ASSERT_GE(points.size(), 2u) << channelInfo(c.channel).caption;
    EXPECT_EQ(points[10].second, c.row) << channelInfo(c.channel).caption;
  }
}

TEST(ChannelRules, SpeedSkipsRepeatedValuesAndPowerNeedsAMovingFirstLap) {
  GraphFixture g;
  g.addLap(10);
  const float speeds[] = {100, 100, 100, 120, 120, 140, 140, 140, 140, 160};
  for (int s = 0; s < 10; ++s) g.tel(s).f[7] = speeds[s];
  g.choose({0});
  GraphContext c = g.context();
  g.commands.get(ChannelId::kSpeed).plot(c);
  EXPECT_EQ(g.curve("160 0 40").size(), 4u);  // the first point and the three changes

  g.canvas.clearEvents();
  g.tel(0).f[7] = 0.0f;
  g.commands.get(ChannelId::kPower).plot(c);
  EXPECT_TRUE(g.curve("240 0 40").empty());
}

TEST(ChannelRules, RpmDrawsDamageBarsAlwaysAndCurvesOnlyWithAScale) {
  GraphFixture g;
  g.addLap(20);
  for (int s = 0; s < 20; ++s) g.frame(s).f[23] = 5 << 24;
  g.choose({0});
  GraphContext c = g.context();
  g.commands.get(ChannelId::kRpm).plot(c);
  EXPECT_EQ(g.count("line 0 7"), 1);   // bar of the first sample: (0, 2) to (0, 7)
  EXPECT_EQ(g.count("line -1 7"), 1);  // and one pixel to its left
  EXPECT_TRUE(g.curve("240 0 40").empty());
  g.stores->maxRpm = 10000.0f;
  for (int s = 0; s < 20; ++s) g.tel(s).f[6] = 5000.0f;
  g.canvas.clearEvents();
  g.commands.get(ChannelId::kRpm).plot(c);
  EXPECT_EQ(g.curve("240 0 40").at(3).second, 514 - 182);
}

TEST(ChannelRules, OilAndWaterSkipInactiveLapsAndInvalidSamples) {
  GraphFixture g;
  g.addLap(60);
  g.addLap(60);
  for (int s = 0; s < 120; ++s) g.frame(s).f[24] = (80 << 7) | (s % 10 == 0 ? 1 : 90);
  g.frame(60).f[11] = 0;  // the second lap starts inactive
  g.choose({0, 1});
  GraphContext c = g.context();
  g.commands.get(ChannelId::kWater).plot(c);
  auto water = g.curve("160 0 40");
  ASSERT_FALSE(water.empty());
  EXPECT_EQ(water.back().second, 514 - 240);  // an oil reading of 1 still counts for water
  EXPECT_TRUE(g.curve("40 0 160").empty());
  g.canvas.clearEvents();
  g.commands.get(ChannelId::kOil).plot(c);
  auto oil = g.curve("240 0 40");
  for (const auto& point : oil)
    EXPECT_TRUE(point.second == 294 || point.second == 514 - 270) << point.second;
}

TEST(ChannelRules, WindowedChannelsStartAtTheLeftEdge) {
  GraphFixture g;
  g.addLap(40);
  for (int s = 0; s < 40; ++s) {
    g.tel(s).f[2] = 1.0f;
    g.stores->headingTable[static_cast<std::size_t>(s)] = s < 20 ? 359.0f : 1.0f;
    g.frame(s).f[7] = (4090 + s) % 4096;
  }
  g.choose({0});
  g.view.scrollOffset = 5;
  GraphContext c = g.context();
  g.commands.get(ChannelId::kDirection).plot(c);
  auto direction = g.curve("160 0 40");
  ASSERT_FALSE(direction.empty());
  EXPECT_EQ(direction.front().first, 0);
  // 359 -> 1 across the wrap is a change of 2 degrees: 244 - 0.5 * 2 * 60 / 36 * 4096 / 360 =
  // 225.04.
  int wrapRow = 225;
  bool sawWrap = false;
  for (const auto& point : direction) sawWrap |= point.second == wrapRow;
  EXPECT_TRUE(sawWrap);
  g.canvas.clearEvents();
  g.commands.get(ChannelId::kNoise).plot(c);
  auto noise = g.curve("240 0 40");
  ASSERT_FALSE(noise.empty());
  // Yaw grows by 16 units over 16 samples across 4095 -> 0: (16 * 60 / 36) / 2 = 13.
  EXPECT_EQ(noise.back().second, 244 - 13);
}

TEST(ChannelRules, TimeDifferenceOfTwoLaps) {
  // Lap B stands for 30 frames, then drives as lap A: 30 frames slower everywhere after
  // the start, so m = 30, c = 714 / 60 and the curve runs on row 362 - 357 = 5.
  GraphFixture g;
  g.addLap(100, 1000, 0);
  g.addLap(130, 1000, 0);
  for (int i = 0; i < 130; ++i) g.frame(100 + i).f[0] = i < 30 ? 0 : 1000 * (i - 30);
  g.choose({0, 1});
  GraphContext c = g.context();
  g.commands.get(ChannelId::kTimeDifference).plot(c);
  auto curve = g.curve("0 0 0");
  ASSERT_EQ(curve.size(), 99u);
  EXPECT_EQ(g.count("line 1790 362"), 1);
  EXPECT_EQ(curve.back().second, 5);

  // Identical laps: a flat curve on the centre row.
  GraphFixture same;
  same.addLap(50, 1000, 0);
  same.addLap(50, 1000, 0);
  same.choose({0, 1});
  GraphContext s = same.context();
  same.commands.get(ChannelId::kTimeDifference).plot(s);
  for (const auto& point : same.curve("0 0 0")) EXPECT_EQ(point.second, 362);

  // Laps of different frame rates: the press changes nothing.
  GraphFixture mixed;
  mixed.addLap(50, 1000, 0, 60);
  mixed.addLap(50, 1000, 0, 36);
  mixed.choose({0, 1});
  GraphContext m = mixed.context();
  pressChannel(m, mixed.commands, ChannelId::kTimeDifference);
  EXPECT_EQ(m.view.pressCounter[channelIndex(ChannelId::kTimeDifference)], 0);
  EXPECT_TRUE(mixed.canvas.events().empty());
}

TEST(ChannelRules, SuspensionSkipsLapsWithoutDataAndDrawsFourCurvesPerLap) {
  GraphFixture g;
  g.addLap(20);
  g.addLap(20);
  for (int s = 0; s < 20; ++s) g.frame(s).f[12] = 5;
  g.choose({0, 1});
  GraphContext c = g.context();
  g.commands.get(ChannelId::kSuspension).plot(c);
  EXPECT_EQ(g.count("pen 240 0 40"), 4);
  EXPECT_EQ(g.count("pen 40 0 240"), 0);
}

// A file can hold any value in the suspension and wheel counter fields and in the headings;
// sums and differences of them are taken in 64 bits, so the rows are those of the true
// values (saturated at the ends of the int range), never of values that wrapped around.
TEST(ChannelRules, ValuesAtTheEndsOfTheIntRangeDoNotWrapAround) {
  constexpr std::int32_t kHigh = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kLow = std::numeric_limits<std::int32_t>::min();
  struct Case {
    ChannelId channel;
    void (*fill)(GraphFixture&, int s);
  };
  const Case cases[] = {
      // 589 - ((max + max) - (min + min)) is far below the int range.
      {ChannelId::kSuspensionRearFront,
       [](GraphFixture& g, int s) {
         g.frame(s).f[12] = g.frame(s).f[13] = kLow;
         g.frame(s).f[14] = g.frame(s).f[15] = kHigh;
       }},
      {ChannelId::kSuspensionLeftRight,
       [](GraphFixture& g, int s) {
         g.frame(s).f[12] = g.frame(s).f[14] = kLow;
         g.frame(s).f[13] = g.frame(s).f[15] = kHigh;
       }},
      // The front left counter swings between the ends: every step is 2^32 - 1 up or down.
      {ChannelId::kWheelspeed,
       [](GraphFixture& g, int s) { g.frame(s).f[16] = s % 4 < 2 ? kLow : kHigh; }},
  };
  for (const Case& c : cases) {
    auto points = curveDrawnAlone(c.channel, c.fill, "240 0 40");
    ASSERT_GE(points.size(), 12u) << channelInfo(c.channel).caption;
    for (const auto& point : points)
      EXPECT_TRUE(point.second == kLow || point.second == kHigh)
          << channelInfo(c.channel).caption << ": row " << point.second;
  }
  // Headings at both ends of the float range: the turning sign compares them in 64 bits.
  GraphFixture g;
  g.addLap(50);
  for (int s = 0; s < 50; ++s) {
    g.stores->headingTable[static_cast<std::size_t>(s)] = s % 7 < 3 ? 3e38f : -3e38f;
    g.frame(s).f[7] = 100 * s;
    g.tel(s).f[TelemetryRecord::kMapX] = 1.0f;  // a lap with telemetry
  }
  g.choose({0});
  GraphContext context = g.context();
  g.commands.get(ChannelId::kOversteering).plot(context);
  EXPECT_GE(g.curve("240 0 40").size(), 40u);
}

}  // namespace
}  // namespace lv
