// The Linux vantor recording fakegame.exe under Wine: how GPL is driven on Linux. Wine shows
// the game as a Linux process named by its Windows program path, and its Windows addresses
// are the Linux process's own, so process_vm_readv reads the game where vantor.exe would.
#include <gtest/gtest.h>

#include <cstdlib>

#include "GameFolder.h"
#include "RecordingCheck.h"
#include "TempFolder.h"
#include "linux/GameRun.h"

namespace lv {
namespace {

using testing::exitStatus;
using testing::spawn;

TEST(WineGame, LinuxVantorRecordsTheWindowsGameExactly) {
  // The Windows build (build/windows) with its Wine runner; scripts/test-windows.sh sets it.
  const char* windowsBuild = std::getenv("LAPVISTA_WINDOWS_BUILD");
  if (windowsBuild == nullptr) GTEST_SKIP() << "LAPVISTA_WINDOWS_BUILD not set";
  std::string wineRun = std::string(windowsBuild) + "/wine-run.sh";
  std::string fakegameExe = std::string(windowsBuild) + "/bin/fakegame.exe";

  testing::TempFolder folder;
  std::string exeName = testing::prepareGameFolder(folder, "w", "wine.exe");
  std::string input = folder.write("input.txt", "drive\n");

  fakegame::DriveParameters drive;
  drive.rateHz = 10;
  drive.durationSeconds = 4;
  drive.seed = 5;
  // Wine's drive Z: is the Linux root.
  std::string gameSays = folder.path() + "game.txt";
  pid_t game = spawn(testing::withFakegameArgs({"/bin/sh", wineRun, fakegameExe},
                                               "Z:" + folder.path() + "gpl", exeName, drive),
                     "/dev/null", gameSays, gameSays);
  pid_t logger = spawn(
      {VANTOR_EXE, "--ini-dir", folder.path(), "--start-delay", "0", "--attach-timeout", "30"},
      input, folder.path() + "output.txt", folder.path() + "output.txt");
  EXPECT_EQ(exitStatus(logger), 0);
  EXPECT_EQ(exitStatus(game), 0) << testing::readWholeFile(gameSays);
  std::string output = testing::readWholeFile(folder.path() + "output.txt");
  EXPECT_NE(output.find("GPL version of the user: GPL1.2.0.2B\n" + exeName +
                        " found. Data will be logged.\n"),
            std::string::npos)
      << output;
  testing::expectRecordingOfDrive(testing::readWholeFile(folder.path() + "gpl/replay/drive.tel"),
                                  drive);
}

}  // namespace
}  // namespace lv
