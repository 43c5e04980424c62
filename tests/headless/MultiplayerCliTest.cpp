#include <gtest/gtest.h>

#include "DriveFolder.h"
#include "MultiplayerRecording.h"
#include "SessionFixture.h"

namespace lv {
namespace {

using test::DriveFolder;
using test::Session;

std::vector<std::string> eventsStartingWith(const Session& session, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& e : session.events)
    if (e.rfind(prefix, 0) == 0) found.push_back(e);
  return found;
}

struct MultiplayerFolder : DriveFolder {
  std::string replayPath;
  MultiplayerFolder() {
    replayPath = replay("online");
    writeBytes(replayPath, test::buildReplay(test::Recording{}.plan()));
  }
  void writePing(const std::string& text) const { write(root / "Ping.ini", text); }
};

TEST(MultiplayerCli, LdmFillsAndShowsTheTree) {
  MultiplayerFolder folder;
  Session session(folder.iniDir());
  session.events.clear();
  ASSERT_TRUE(session.cli.run("ldm " + folder.replayPath));
  std::vector<std::string> expected = {
      "tree-clear",
      "show 1109",
      "tree+ 1 G.Hill  (BRM)",
      "tree+ 2 Training",
      "tree+ 3   0 * 0:01.000",
      "tree+ 2 Rennen",
      "tree+ 1 D.Hulme  (Eagle)",
      "tree+ 2 Training",
      "tree+ 3   0 * 0:13.330",
      "tree+ 3   1   0:05.000",
      "tree+ 3   2   0:05.000",
      "tree+ 3   3   0:05.000",
      "tree+ 2 Rennen",
      "tree+ 3   0   0:03.333",
      "tree+ 3   1   0:05.000 [80]",
      "tree+ 3   2   0:05.000",
      "tree+ 3   3   0:05.000",
  };
  EXPECT_EQ(session.events, expected);

  // A replay of two drivers lists nothing and puts the open tree away.
  test::ReplayPlan two = test::Recording{}.plan();
  two.drivers.resize(2);
  DriveFolder::writeBytes(folder.replay("duel"), test::buildReplay(two));
  session.events.clear();
  ASSERT_TRUE(session.cli.run("ldm " + folder.replay("duel")));
  EXPECT_EQ(session.events, (std::vector<std::string>{"tree-clear", "hide 1109"}));

  // Cancelling the file choice leaves an empty tree.
  session.events.clear();
  ASSERT_TRUE(session.cli.run("ldm"));
  EXPECT_EQ(session.events, std::vector<std::string>{"tree-clear"});
  EXPECT_FALSE(session.cli.run("tree 0 0 0"));
}

TEST(MultiplayerCli, TreeDoubleClickImportsOneLapPerLdm) {
  MultiplayerFolder folder;
  Session session(folder.iniDir());
  ASSERT_TRUE(session.cli.run("ldm " + folder.replayPath));
  const ViewerStores& stores = session.cli.dialog().state().stores;

  // A lap that began before the recording is refused and changes nothing.
  session.events.clear();
  ASSERT_TRUE(session.cli.run("tree 1 0 0"));
  EXPECT_EQ(session.events,
            (std::vector<std::string>{"msgbox Achtung",
                                      "| Mit \"*\" gekennzeichnete Runden sind nicht gespeichert.",
                                      "msgbox-end"}));

  // Without "Ping.ini" nothing is imported, and the file is named.
  session.events.clear();
  ASSERT_TRUE(session.cli.run("tree 1 1 1"));
  EXPECT_TRUE(session.has("hide 1109"));
  std::vector<std::string> box = session.box("Lapvista");
  ASSERT_EQ(box.size(), 1u);
  EXPECT_NE(box[0].find("Ping.ini"), std::string::npos);
  EXPECT_EQ(stores.lapCount, 0);

  folder.writePing("0\n");
  session.events.clear();
  ASSERT_TRUE(session.cli.run("tree 1 1 1"));
  EXPECT_EQ(session.lapLines(), std::vector<std::string>{"DH 0:05.000 [80]     -"});
  EXPECT_TRUE(session.has("list-select 0"));
  EXPECT_EQ(session.field("lapNameText[0]"), "0:05.000 [8");
  EXPECT_EQ(stores.lapCount, 1);
  EXPECT_EQ(stores.selectedCount, 1);
  EXPECT_EQ(stores.lapStart[1], 299);
  EXPECT_EQ(stores.sampleCount, 299);

  // The replay is taken once per "ld M".
  session.events.clear();
  ASSERT_TRUE(session.cli.run("tree 1 1 2"));
  EXPECT_EQ(session.box("Lapvista").size(), 1u);
  EXPECT_EQ(stores.lapCount, 1);
  EXPECT_FALSE(session.cli.run("tree 2 0 0"));
  EXPECT_FALSE(session.cli.run("tree 1 1"));
}

TEST(MultiplayerCli, ImportedLapIsComparedWithAnOwnLap) {
  MultiplayerFolder folder;
  folder.writeDrive("own");
  folder.writePing("2\n");
  Session session(folder.iniDir());
  ASSERT_TRUE(session.cli.run("load " + folder.replay("own")));
  const ViewerStores& stores = session.cli.dialog().state().stores;
  int loaded = stores.sampleCount;
  ASSERT_EQ(stores.lapCount, 3);
  ASSERT_TRUE(session.cli.run("ldm " + folder.replayPath));
  ASSERT_TRUE(session.cli.run("tree 1 0 2"));
  EXPECT_EQ(session.lapLines().back(), "DH 0:05.000     +");
  EXPECT_EQ(stores.lapCount, 4);
  EXPECT_EQ(stores.lapStart[3], loaded);
  EXPECT_EQ(stores.lapStart[4], loaded + 299);
  EXPECT_EQ(stores.selectedLaps[0], 3);
  ASSERT_TRUE(session.cli.run("dblclick 1"));
  EXPECT_EQ(stores.selectedCount, 2);
  session.events.clear();
  ASSERT_TRUE(session.cli.run("press gear"));
  EXPECT_GT(eventsStartingWith(session, "line ").size(), 200u);
  EXPECT_EQ(eventsStartingWith(session, "tree+").size(), 0u);
}

}  // namespace
}  // namespace lv
