#include <gtest/gtest.h>

#include <algorithm>

#include "DriveFolder.h"
#include "SessionFixture.h"
#include "platform/headless/CliSession.h"
#include "viewer/shell/LapChoice.h"

namespace lv {
namespace {

using test::DriveFolder;

using test::Session;

TEST(LapChoice, DoubleClicksChooseUpToFourLapsAndTheFifthClears) {
  DriveFolder folder;
  folder.writeDrive("drive");
  Session s(folder.iniDir());
  ASSERT_TRUE(s.cli.run("load " + folder.replay("drive")));
  s.events.clear();
  ASSERT_TRUE(s.cli.run("dblclick 1"));
  for (int id : kButtonsRevealedByLapChoice)
    EXPECT_EQ(s.count("show " + std::to_string(id)), 1) << id;
  EXPECT_EQ(s.count("show 1112"), 0);  // "G a" stays hidden
  EXPECT_TRUE(std::find(s.events.begin(), s.events.end(), "scrollbar 0 300 300 0") !=
              s.events.end());
  EXPECT_EQ(s.field("lapNameText[0]"), "0:05.000   ");
  ASSERT_TRUE(s.cli.run("dblclick 2"));
  ASSERT_TRUE(s.cli.run("dblclick 2"));  // the same lap twice fills two slots
  ASSERT_TRUE(s.cli.run("dblclick 0"));
  const ViewerStores& stores = s.cli.dialog().state().stores;
  EXPECT_EQ(stores.selectedCount, 4);
  EXPECT_EQ(stores.selectedLaps[2], 2);
  ASSERT_TRUE(s.cli.run("dblclick 1"));
  EXPECT_EQ(stores.selectedCount, 0);
  EXPECT_EQ(s.field("lapNameText[3]"), "No lap");
  ASSERT_TRUE(s.cli.run("dblclick 1"));
  EXPECT_EQ(stores.selectedCount, 1);
  EXPECT_EQ(stores.selectedLaps[0], 1);
  EXPECT_FALSE(s.cli.run("press G a"));
}

TEST(LapChoice, RightClickShowsTheValuesOfTheRadioLap) {
  DriveFolder folder;
  folder.writeDrive("drive");
  Session s(folder.iniDir());
  ASSERT_TRUE(s.cli.run("load " + folder.replay("drive")));
  ASSERT_TRUE(s.cli.run("dblclick 1"));
  s.events.clear();
  ASSERT_TRUE(s.cli.run("rclick 908"));
  // Half the plot: sample 300 + 300 / 1 * 908 / 1817 = 449; its logged speed 114.9 is
  // averaged with the stored speed before it, which a steady ramp leaves one step behind.
  EXPECT_EQ(s.cli.dialog().state().view.readoutSample, 449);
  EXPECT_EQ(s.field("speedValue"), "114.8");
  EXPECT_EQ(s.field("throttleValue"), "100");
  EXPECT_EQ(s.field("distanceValue"), std::to_string(DriveFolder::distance(449) / 2000));
  EXPECT_EQ(s.count("move 908 0"), 1);
  ASSERT_TRUE(s.cli.run("radio 1"));
  EXPECT_EQ(s.cli.dialog().state().stores.radioSlot, 1);

  // With no lap chosen the whole run lies across the plot and the list follows the mouse.
  Session fresh(folder.iniDir());
  ASSERT_TRUE(fresh.cli.run("load " + folder.replay("drive")));
  fresh.events.clear();
  ASSERT_TRUE(fresh.cli.run("rclick 1000"));
  EXPECT_EQ(fresh.count("list-select 1"), 1);
  EXPECT_EQ(fresh.count("text 1825 184 double-click"), 1);
}

TEST(LapChoice, ChannelButtonsToggleAndRedraw) {
  DriveFolder folder;
  folder.writeDrive("drive");
  Session s(folder.iniDir());
  ASSERT_TRUE(s.cli.run("load " + folder.replay("drive")));
  ASSERT_TRUE(s.cli.run("dblclick 1"));
  ASSERT_TRUE(s.cli.run("dblclick 2"));
  s.events.clear();
  ASSERT_TRUE(s.cli.run("press t Differenz"));
  EXPECT_EQ(s.count("line 1790 362"), 1);
  s.events.clear();
  ASSERT_TRUE(s.cli.run("press #1092"));
  EXPECT_EQ(s.events.front(), "erase");
  EXPECT_EQ(s.count("line 0 1030"), 1);
  for (const char* command : {"press zoom+", "press zoom-", "scroll 3", "press line-", "press lap-",
                              "press average temps", "press ?"})
    EXPECT_TRUE(s.cli.run(command)) << command;
}

}  // namespace
}  // namespace lv
