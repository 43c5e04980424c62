#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <functional>

#include "DriveFolder.h"
#include "SessionFixture.h"
#include "viewer/load/Truncate.h"

namespace lv {
namespace {

namespace fs = std::filesystem;
using test::DriveFolder;
using test::Session;

// Named pipes live in the file system only on POSIX systems; on Windows the refusal of
// pipes and devices is tested with the file reading itself.
#ifndef _WIN32
std::string withExtension(std::string path, const char* extension) {
  return path.replace(path.size() - 3, 3, extension);
}

void replaceByPipe(const fs::path& path) {
  fs::remove(path);
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
}

// A pipe or a device in place of a file the load reads is refused before it is read, with
// the file's name and the reason; the files a load may go without leave the load running.
TEST(FaultyFiles, FilesThatAreNotRegularAreRefusedByName) {
  struct Case {
    const char* what;
    // Puts the faulty file in place and returns its path.
    std::function<std::string(const DriveFolder&)> spoil;
    // The path the file dialog answers.
    std::function<std::string(const DriveFolder&)> chosen;
    std::size_t lapsListed;
  };
  auto replay = [](const DriveFolder& f) { return f.replay("drive"); };
  const Case cases[] = {
      {"replay is a pipe",
       [](const DriveFolder& f) {
         replaceByPipe(f.replay("drive"));
         return f.replay("drive");
       },
       replay, 0},
      {"chosen file is a device", [](const DriveFolder&) { return std::string("/dev/zero"); },
       [](const DriveFolder&) { return std::string("/dev/zero"); }, 0},
      {"saved laps are a pipe",
       [](const DriveFolder& f) {
         std::string tmr = withExtension(f.replay("laps"), "tmr");
         replaceByPipe(tmr);
         return tmr;
       },
       [](const DriveFolder& f) { return withExtension(f.replay("laps"), "tmr"); }, 0},
      {"Vantor.ini is a pipe",
       [](const DriveFolder& f) {
         replaceByPipe(f.root / "Vantor.ini");
         return (f.root / "Vantor.ini").string();
       },
       replay, 0},
      {"telemetry is a pipe",
       [](const DriveFolder& f) {
         std::string tel = withExtension(f.replay("drive"), "tel");
         replaceByPipe(tel);
         return tel;
       },
       replay, DriveFolder::kLaps},
      {"track.ini is a pipe",
       [](const DriveFolder& f) {
         fs::path ini = f.root / "gpl" / "tracks" / "monza" / "track.ini";
         replaceByPipe(ini);
         return ini.string();
       },
       replay, DriveFolder::kLaps},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DriveFolder folder;
    folder.writeDrive("drive");
    std::string faulty = c.spoil(folder);
    Session session(folder.iniDir());
    ASSERT_TRUE(session.cli.run("load " + c.chosen(folder)));
    EXPECT_EQ(session.box("Lapvista"), std::vector<std::string>{faulty + ": not a regular file"});
    EXPECT_EQ(session.lapLines().size(), c.lapsListed);
  }
}

#endif

// Track folders and track.ini are found whatever their case, the exact name first.
TEST(FaultyFiles, TrackIniIsFoundWithoutRegardToCase) {
  struct Case {
    const char* tracks;
    const char* track;
    const char* ini;
  };
  const Case cases[] = {{"tracks", "Monza", "track.ini"},
                        {"Tracks", "MONZA", "Track.INI"},
                        {"tracks", "monza", "TRACK.ini"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tracks) + "/" + c.track + "/" + c.ini);
    DriveFolder folder;
    folder.writeDrive("drive");
    fs::remove_all(folder.root / "gpl" / "tracks");
    fs::create_directories(folder.root / "gpl" / c.tracks / c.track);
    DriveFolder::write(folder.root / "gpl" / c.tracks / c.track / c.ini,
                       "[track]\ntrack_length = 2.000 miles\n");
    Session session(folder.iniDir());
    ASSERT_TRUE(session.cli.run("load " + folder.replay("drive")));
    EXPECT_EQ(session.cli.dialog().state().stores.trackLength, 2 * 3218000);
  }

#ifndef _WIN32
  // Where names differ only in case there is only one folder on Windows; elsewhere the
  // exact name wins.
  DriveFolder both;
  both.writeDrive("drive");
  fs::create_directories(both.root / "gpl" / "tracks" / "Monza");
  DriveFolder::write(both.root / "gpl" / "tracks" / "Monza" / "track.ini",
                     "[track]\ntrack_length = 2.000 miles\n");
  Session session(both.iniDir());
  ASSERT_TRUE(session.cli.run("load " + both.replay("drive")));
  EXPECT_EQ(session.cli.dialog().state().stores.trackLength, truncToInt(3.6 * 3218000.0));
#endif
}

// The quarter splits depend only on the lap distances: a drive without track.ini shows its
// laps as valid in the overview and the datasheet, with the same quarters as with it.
TEST(FaultyFiles, QuarterSplitsDoNotNeedTrackIni) {
  DriveFolder withIni;
  withIni.writeDrive("drive");
  Session reference(withIni.iniDir());
  ASSERT_TRUE(reference.cli.run("load " + withIni.replay("drive")));

  DriveFolder withoutIni;
  withoutIni.writeDrive("drive");
  fs::remove_all(withoutIni.root / "gpl" / "tracks");
  Session session(withoutIni.iniDir());
  ASSERT_TRUE(session.cli.run("load " + withoutIni.replay("drive")));
  const ViewerStores& expected = reference.cli.dialog().state().stores;
  const ViewerStores& stores = session.cli.dialog().state().stores;
  EXPECT_EQ(stores.trackLength, 0);
  EXPECT_GT(stores.lapSectorTimes[5 * 1 + 2], 1000);
  EXPECT_EQ(stores.lapSectorTimes, expected.lapSectorTimes);
  std::vector<std::string> overview = session.box("Quick overview with datas of all laps");
  ASSERT_GT(overview.size(), 3u);
  EXPECT_EQ(overview[3].substr(0, 18), " 1  0:05.000 100.0");

  ASSERT_TRUE(session.cli.run("dblclick 1"));
  ASSERT_TRUE(session.cli.run("press ?"));
  std::vector<std::string> sheet = session.box("Übersicht");
  ASSERT_GT(sheet.size(), 1u);
  EXPECT_EQ(sheet[1].substr(0, 19), " 1       0:05.000  ");
}

}  // namespace
}  // namespace lv
