#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "DriveFolder.h"
#include "SessionFixture.h"
#include "platform/headless/CliSession.h"

namespace lv {
namespace {

using test::DriveFolder;

using test::Session;

TEST(CliSession, LoadListsLapsAndShowsTheQuickOverviewOnce) {
  DriveFolder folder;
  folder.writeDrive("drive");
  Session session(folder.iniDir());
  ASSERT_TRUE(session.cli.run("mousemove"));  // the automatic load's file choice is cancelled
  ASSERT_TRUE(session.cli.run("load " + folder.replay("drive")));

  std::vector<std::string> expected = {"0  ---------     -", "1  0:05.000     -",
                                       "2  0:05.000     -"};
  EXPECT_EQ(session.lapLines(), expected);
  EXPECT_TRUE(session.has("text 948 73 Any patience   "));
  EXPECT_TRUE(session.has("text 948 73 Loading       "));
  std::vector<std::string> overview = session.box("Quick overview with datas of all laps");
  ASSERT_EQ(overview.size(), 2u + 3u + 37u);
  EXPECT_EQ(overview[0], "laptime    thMAX   th>0    br>0    vMIN    vMAX      OnTrack");
  EXPECT_EQ(overview[3].substr(0, 18), " 1  0:05.000 100.0");
  EXPECT_FALSE(session.has("text 600 11 Loading is ready!"));

  // A second load lists the saved laps first and ends with the ready text.
  session.events.clear();
  ASSERT_TRUE(session.cli.run("load " + folder.replay("drive")));
  EXPECT_TRUE(session.has("msgbox The following tmr laps found"));
  EXPECT_FALSE(session.has("msgbox Quick overview with datas of all laps"));
  EXPECT_EQ(session.lapLines().front(), "3  ---------     -");
  EXPECT_TRUE(session.has("text 600 11 Loading is ready!"));
  EXPECT_EQ(session.cli.dialog().state().stores.lapCount, 6);
}

TEST(CliSession, ChoosingTheTelFileLoadsItsReplay) {
  DriveFolder folder;
  folder.writeDrive("drive");
  Session session(folder.iniDir());
  std::string tel = folder.replay("drive");
  tel.replace(tel.size() - 3, 3, "tel");
  ASSERT_TRUE(session.cli.run("load " + tel));
  EXPECT_EQ(session.lapLines().size(), 3u);
  EXPECT_GT(session.cli.dialog().state().stores.telemetryTable[400].f[TelemetryRecord::kSpeed],
            100.0f);
}

TEST(CliSession, ServerReplayIsRefusedWithItsMessage) {
  DriveFolder folder;
  test::ReplayPlan plan;
  plan.drivers = {{"Jim Clark", 5, 7}, {"Graham Hill", 1, 3}};
  DriveFolder::writeBytes(folder.replay("server"), test::buildReplay(plan));
  Session session(folder.iniDir());
  ASSERT_TRUE(session.cli.run("load " + folder.replay("server")));
  std::vector<std::string> box = session.box("Achtung");
  ASSERT_EQ(box.size(), 1u);
  EXPECT_EQ(box[0], " Für Serverreplays bitte die nebenstehende Ladefunktion benutzen  ");
  EXPECT_TRUE(session.lapLines().empty());
  EXPECT_EQ(session.cli.dialog().state().stores.sampleCount, 0);
}

TEST(CliSession, MissingFilesAreReportedByName) {
  DriveFolder folder;
  Session session(folder.iniDir());
  ASSERT_TRUE(session.cli.run("load " + folder.replay("nowhere")));
  std::vector<std::string> box = session.box("Lapvista");
  ASSERT_EQ(box.size(), 1u);
  EXPECT_NE(box[0].find("nowhere.rpy"), std::string::npos);

  Session noIni("/nonexistent-folder");
  ASSERT_TRUE(noIni.cli.run("load x.rpy"));
  EXPECT_NE(noIni.box("Lapvista").at(0).find("Vantor.ini"), std::string::npos);
}

TEST(CliSession, SavedLapsLoadBackWithTheSameLinesAndSamples) {
  DriveFolder folder;
  folder.writeDrive("drive");
  Session first(folder.iniDir());
  ASSERT_TRUE(first.cli.run("load " + folder.replay("drive")));
  std::string all = (folder.root / "gpl" / "replay" / "all").string();
  ASSERT_TRUE(first.cli.run("save " + all));
  ASSERT_TRUE(first.cli.run("dblclick 2"));
  ASSERT_TRUE(first.cli.run("dblclick 1"));
  EXPECT_TRUE(first.has("field lapNameText[0] 0:05.000   "));
  std::string two = (folder.root / "gpl" / "replay" / "two.tmr").string();
  ASSERT_TRUE(first.cli.run("save " + two));

  Session all2(folder.iniDir());
  ASSERT_TRUE(all2.cli.run("load " + all + ".tmr"));
  EXPECT_EQ(all2.lapLines(), first.lapLines());
  const ViewerStores& a = first.cli.dialog().state().stores;
  const ViewerStores& b = all2.cli.dialog().state().stores;
  ASSERT_EQ(b.sampleCount, a.sampleCount);
  EXPECT_EQ(0, std::memcmp(&a.frameTable[0], &b.frameTable[0],
                           sizeof(FrameRecord) * static_cast<std::size_t>(a.sampleCount)));
  EXPECT_EQ(0, std::memcmp(&a.telemetryTable[0], &b.telemetryTable[0],
                           sizeof(TelemetryRecord) * static_cast<std::size_t>(a.sampleCount)));

  Session chosen(folder.iniDir());
  ASSERT_TRUE(chosen.cli.run("load " + two));
  std::vector<std::string> expected = {"0  0:05.000     -", "1  0:05.000     -"};
  EXPECT_EQ(chosen.lapLines(), expected);
  EXPECT_EQ(chosen.cli.dialog().state().stores.sampleCount, 2 * (DriveFolder::kFramesPerLap - 1));
}

TEST(CliSession, SaveThatCannotBeWrittenIsReported) {
  DriveFolder folder;
  folder.writeDrive("drive");
  Session session(folder.iniDir());
  ASSERT_TRUE(session.cli.run("load " + folder.replay("drive")));
  std::string path = (folder.root / "missing-folder" / "laps").string();
  ASSERT_TRUE(session.cli.run("save " + path));
  std::vector<std::string> box = session.box("Lapvista");
  ASSERT_EQ(box.size(), 1u);
  std::string named = (std::filesystem::path("missing-folder") / "laps.tmr").string();
  EXPECT_NE(box[0].find(named), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmr"));
}

TEST(CliSession, WithoutDrawEventsEveryOtherEventIsSentAndThePictureStillDrawn) {
  DriveFolder folder;
  folder.writeDrive("drive");
  const std::vector<std::string> commands = {
      "load " + folder.replay("drive"), "dblclick 1", "dblclick 2", "press torque", "rclick 400",
      "load " + folder.replay("drive")};
  Session full(folder.iniDir());
  RecordingCanvas picture;  // keeps the drawing calls that reach it
  std::vector<std::string> quiet;
  CliSession session([&quiet](std::string_view e) { quiet.emplace_back(e); }, folder.iniDir(),
                     {&picture, false});
  for (const std::string& command : commands) {
    ASSERT_TRUE(full.cli.run(command));
    ASSERT_TRUE(session.run(command));
  }

  auto isDrawing = [](const std::string& event) {
    for (const char* verb : {"erase", "pen ", "move ", "line ", "rect ", "ellipse ", "text "})
      if (event.rfind(verb, 0) == 0) return true;
    return false;
  };
  std::vector<std::string> others, drawing;
  for (const std::string& event : full.events)
    (isDrawing(event) ? drawing : others).push_back(event);
  ASSERT_FALSE(drawing.empty());
  EXPECT_EQ(quiet, others);
  EXPECT_EQ(picture.events(), drawing);

  // Without a picture the drawing goes nowhere and the other events are the same.
  std::vector<std::string> bare;
  CliSession nothing([&bare](std::string_view e) { bare.emplace_back(e); }, folder.iniDir(),
                     {nullptr, false});
  for (const std::string& command : commands) ASSERT_TRUE(nothing.run(command));
  EXPECT_EQ(bare, others);
}

TEST(CliSession, UnknownAndUnavailableCommandsSaySo) {
  DriveFolder folder;
  Session session(folder.iniDir());
  EXPECT_FALSE(session.cli.run("fly away"));
  EXPECT_FALSE(session.cli.run("select x"));
  EXPECT_FALSE(session.cli.run("press nothing-like-this"));
  EXPECT_TRUE(session.cli.run("# a comment"));
  EXPECT_TRUE(session.cli.run(""));
  EXPECT_TRUE(session.cli.run("load"));  // cancelled file choice
}

}  // namespace
}  // namespace lv
