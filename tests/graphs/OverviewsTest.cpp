#include <gtest/gtest.h>

#include <cstring>

#include "GraphFixture.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/StatusWord.h"
#include "viewer/overviews/ContactPatchToggle.h"
#include "viewer/overviews/Datasheet.h"
#include "viewer/overviews/TyreBoxes.h"

namespace lv {
namespace {

using test::GraphFixture;

TEST(StatusWord, FieldsAreTheRemainderAndQuotientTowardZero) {
  // The fields are read with shifts; they must be the values of the signed division rule.
  auto byDivision = [](std::int32_t word, int bit, int width) {
    return static_cast<int>(static_cast<std::int64_t>(word) % (std::int64_t{1} << (bit + width)) /
                            (std::int64_t{1} << bit));
  };
  const std::int32_t words[] = {0,           1,          -1,          3,           -3,
                                0x7FFFFFFF,  INT32_MIN,  0x55AA33CC,  -0x55AA33CC, 0x7F000000,
                                -0x7F000000, 0x00030003, -0x00030003, 0x40C0C0C0,  -0x40C0C0C1};
  for (std::int32_t word : words) {
    for (const auto& bits : kStatusBits) {
      for (int bit : bits) EXPECT_EQ(statusField(word, bit), byDivision(word, bit, 2)) << word;
    }
    EXPECT_EQ(damageField(word), byDivision(word, 24, 7)) << word;
  }
}

TEST(TyreChannels, WearWithoutDataOnlyCounts) {
  GraphFixture g;
  g.addLap(50);
  g.choose({0});
  GraphContext c = g.context();
  int before = c.view.pressCounter[channelIndex(ChannelId::kWear)];
  pressChannel(c, g.commands, ChannelId::kWear);
  pressChannel(c, g.commands, ChannelId::kWear);
  EXPECT_EQ(c.view.pressCounter[channelIndex(ChannelId::kWear)], before + 2);
  EXPECT_TRUE(g.canvas.events().empty());

  for (int s = 0; s < 50; ++s)
    for (int w = 0; w < 4; ++w)
      g.stores->extraTable[static_cast<std::size_t>(s)].f[w] =
          1.0f + 0.000001f * static_cast<float>(s);
  g.commands.get(ChannelId::kWear).plot(c);
  auto front = g.curve("240 0 40");
  ASSERT_FALSE(front.empty());
  EXPECT_EQ(front.front().first, 0);  // starts at the left edge
  EXPECT_EQ(g.count("rect 1829 440 30 22 240 0 40"), 1);
}

TEST(TyreChannels, OutsideInsideBarsAndSourceFollowTheDisplayMode) {
  GraphFixture g;
  g.addLap(30);
  for (int s = 0; s < 30; ++s) {
    g.tel(s).f[12] = 350.0f;
    g.tel(s).f[14] = 351.0f;
    g.stores->contactPatchTable[static_cast<std::size_t>(s)].f[0] = 360.0f;
    g.stores->contactPatchTable[static_cast<std::size_t>(s)].f[2] = 362.0f;
    g.frame(s).f[23] = 3;  // front left, bits 0-1
  }
  g.choose({0});
  GraphContext c = g.context();
  g.commands.get(ChannelId::kOutsideInside).plot(c);
  EXPECT_EQ(g.curve("240 0 40").back().second, 624 - 23);
  EXPECT_GT(g.count("line 0 35"), 0);  // status bar of length 2 * 3 from row 29
  g.canvas.clearEvents();
  g.stores->contactPatchMode = 1;
  g.commands.get(ChannelId::kOutsideInside).plot(c);
  EXPECT_EQ(g.curve("240 0 40").back().second, 624 - 20);
  EXPECT_EQ(g.count("line 0 35"), 0);
}

TEST(TyreBoxes, BoxOrderAndContactPatchUnits) {
  GraphFixture g;
  for (int i = 12; i < 24; ++i) g.tel(0).f[i] = 273.15f + static_cast<float>(i);
  for (int i = 0; i < 12; ++i) g.stores->contactPatchTable[0].f[i] = 150.0f + static_cast<float>(i);
  DialogFields fields;
  fillTyreBoxes(*g.stores, 0, TyreBoxSource::kTread, fields);
  EXPECT_NEAR(fields.tyreTempBox[0], 14.0f, 1e-3);  // front left outside
  EXPECT_NEAR(fields.tyreTempBox[5], 15.0f, 1e-3);  // front right inside
  EXPECT_NEAR(fields.tyreTempBox[6], 18.0f, 1e-3);  // rear left inside
  fillTyreBoxes(*g.stores, 0, TyreBoxSource::kContactPatch, fields);
  EXPECT_EQ(fields.tyreTempBox[11], 161.0f);  // 200 K or less: shown as stored
}

TEST(ContactPatchToggle, NeedsALapAndFlipsTheCaption) {
  GraphFixture g;
  g.addLap(30);
  GraphContext c = g.context();
  toggleContactPatch(c, g.commands);
  EXPECT_EQ(c.stores.contactPatchMode, 0);
  EXPECT_TRUE(g.controls.events.empty());
  g.choose({0});
  toggleContactPatch(c, g.commands);
  EXPECT_EQ(c.stores.contactPatchMode, 1);
  EXPECT_EQ(g.controls.events.back(), "caption 1101 contact patch");
  toggleContactPatch(c, g.commands);
  EXPECT_EQ(g.controls.events.back(), "caption 1101 average temps");
}

TEST(Datasheet, ValidLapStartLapAndBlankLines) {
  GraphFixture g;
  g.addLap(100);
  g.addLap(100);
  for (int s = 0; s < 200; ++s) {
    g.tel(s).f[4] = s % 2 == 0 ? 1.0f : 0.0f;
    g.tel(s).f[7] = 150.0f;
    g.tel(s).f[6] = 6000.0f;
    g.frame(s).f[10] = 2;
    g.frame(s).f[4] = -30;
  }
  std::strcpy(g.stores->lapDriver[0].data(), "jim             clark");
  g.stores->lapCar[0] = 5;
  g.stores->lapCar[1] = 5 + 32 + 128;
  g.stores->lapSectorTimes[2] = 20000;
  g.stores->lapSectorTimes[3] = 20000;
  std::memcpy(g.stores->carSetName.data(), "cars67", 6);
  g.choose({0, 1});
  g.fields.lapNameText[0] = "1:23.456   ";
  g.fields.lapNameText[1] = "Start      ";
  Datasheet sheet = buildDatasheet(g.context());
  const std::string expected =
      "laptime  driver  car  fps\n"
      " 1       1:23.456  Ferrari  JC  60fps\n"
      " 2       Start\n"
      "\n\n     hMAX    th>0    br>0            wear(fl_fr_rl_rr)\n"
      " 1      50.0    50.0      0.0          \n"
      " 2\n"
      "\n\n         vMIN  vMAX           nMIN        squeel   line   OnTrack\n"
      " 1    150km  150.0km    6000U/min    20.0          3        +\n"
      " 2\n"
      "\n\n\n";
  EXPECT_EQ(sheet.text, expected);
  EXPECT_EQ(sheet.selectedLines, (std::vector<int>{0, 1}));
}

}  // namespace
}  // namespace lv
