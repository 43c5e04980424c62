#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "ReplayBuilder.h"
#include "viewer/load/MultiplayerListing.h"
#include "viewer/load/PingFile.h"
#include "viewer/load/ReplayTreeModel.h"
#include "viewer/load/ReplayTreeText.h"

namespace lv {
namespace {

using test::ReplayPlan;

// Four entries: two other drivers (one of them with an unknown car), the recording player and
// a driver whose identifier is too high to be listed.
ReplayPlan listingPlan(int clockFlag, std::uint32_t clock) {
  ReplayPlan plan;
  plan.playerSlot = 7;
  plan.trackName = "spa";
  plan.drivers = {{"Graham          Hill", 1, 0},
                  {"Jim             Clark", 5, 7},
                  {"Jack            Brabham", 9, 3},
                  {"Dan             Gurney", 3, 20}};
  test::LapRecordBlock brabham{3, {}};
  for (std::uint32_t i = 0; i < 101; ++i) brabham.records.push_back({90000 * (i + 1), 0});
  plan.practice = {{0, {{1000, 0}, {84567, 0}, {170000, 3}, {170000 + 3062500, 0}}},
                   {7, {{5000, 0}}},
                   {20, {{6000, 0}}},
                   brabham};
  plan.race = {{0, {{90000, 0}, {90000 + 21 * 60000 + 5, 16}}}, {3, {}}, {7, {{7000, 0}}}};
  test::FramePlan opening;  // opens with the race clock
  opening.clockFlag = clockFlag;
  opening.clock = clock;
  plan.frames = {opening};
  return plan;
}

std::vector<std::string> treeLines(const MultiplayerListing& listing) {
  ReplayTreeModel tree;
  tree.assign(listing.drivers);
  std::vector<std::string> lines;
  for (const ReplayTreeItem& item : tree.items())
    lines.push_back(std::to_string(item.level) + " " + item.text);
  return lines;
}

TEST(MultiplayerListing, ListsEveryOtherDriversLapsCharacterForCharacter) {
  auto stores = std::make_unique<ViewerStores>();
  MultiplayerListing listing =
      readMultiplayerListing(test::buildReplay(listingPlan(0, 8000)), *stores, {});
  EXPECT_EQ(listing.driverEntries, 4);
  EXPECT_EQ(listing.startClock.clock, 8000);
  EXPECT_STREQ(stores->trackName.data(), "spa");
  std::vector<std::string> lines = treeLines(listing);
  std::vector<std::string> hill = {
      "1 G.Hill  (BRM)",        "2 Training",        "3   0 * 0:01.000", "3   1 * 1:23.567",
      "3   2   1:25.433 [3]",   "3   3   50:62.500", "2 Rennen",         "3   0   1:30.000",
      "3   1   20:60.005 [16]", "1 J.Brabham  ()",   "2 Training",       "3   0 * 1:30.000",
      "3   1   1:30.000"};
  ASSERT_EQ(lines.size(), 9u + 3u + 101u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 13), hill);
  EXPECT_EQ(lines[11 + 10], "3  10   1:30.000");
  EXPECT_EQ(lines[11 + 100], "3 100   1:30.000");
  EXPECT_EQ(lines.back(), "2 Rennen");
}

TEST(MultiplayerListing, StartClockAndEntryCountDecideWhatIsListed) {
  struct Case {
    const char* name;
    int clockFlag;  // -1: no frame opens with the race clock
    std::uint32_t clock;
    int entries;
    StartClock previous;
    std::int64_t expectedClock;
    std::size_t expectedDrivers;
    char lapTwoMark;
  };
  const Case cases[] = {
      {"practice clock", 0, 8000, 4, {}, 8000, 2, ' '},
      {"a race recording marks every practice lap", 1, 10, 4, {}, 16777226, 2, '*'},
      {"no clock keeps the previous one", -1, 0, 4, {0, 9000}, 9000, 2, '*'},
      {"two entries list nothing", 0, 8000, 2, {}, 8000, 0, ' '},
  };
  for (const Case& c : cases) {
    ReplayPlan plan = listingPlan(c.clockFlag, c.clock);
    plan.drivers.resize(static_cast<std::size_t>(c.entries));
    auto stores = std::make_unique<ViewerStores>();
    MultiplayerListing listing =
        readMultiplayerListing(test::buildReplay(plan), *stores, c.previous);
    EXPECT_EQ(listing.startClock.combined(), c.expectedClock) << c.name;
    ASSERT_EQ(listing.drivers.size(), c.expectedDrivers) << c.name;
    if (c.expectedDrivers > 0) {
      EXPECT_EQ(listing.drivers[0].laps[0].at(2)[4], c.lapTwoMark) << c.name;
    }
  }
}

TEST(MultiplayerListing, ImportedLapLineCarriesTheInitials) {
  char name[32] = "Graham";
  std::snprintf(name + 16, 16, "Hill");
  std::string label = driverLabel(name, 6);
  EXPECT_EQ(label, "G.Hill  (Honda)");
  EXPECT_EQ(importedLapListLine(raceLapLine(7, 83456, 0), label, 0), "GH 1:23.456     +");
  EXPECT_EQ(importedLapListLine(practiceLapLine(12, false, 83456, 3), label, 3),
            "GH 1:23.456 [3]     -");
  // A line that stays short is padded to the list's columns like the load's lines.
  EXPECT_EQ(importedLapListLine("  1   ", label, 0), "GH " + std::string(14, ' ') + "+");
}

TEST(PingFile, LeadingDecimalIntegerOnly) {
  struct Case {
    const char* text;
    int frames;
  };
  const Case cases[] = {
      {"5", 5},    {"  12\r\n", 12}, {"7 frames", 7}, {"", 0},
      {"abc", 0},  {"+4", 4},        {"-3", 0},       {"99999999999999", kMaxPingFrames},
      {"\t0\n", 0}};
  for (const Case& c : cases) EXPECT_EQ(parsePingFrames(c.text), c.frames) << c.text;
}

}  // namespace
}  // namespace lv
