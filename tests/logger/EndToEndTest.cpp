// vantor recording a running fakegame: real processes, real memory reads.
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "GameFolder.h"
#include "RecordingCheck.h"
#include "TempFolder.h"
#include "linux/GameRun.h"

namespace lv {
namespace {

using testing::exitStatus;
using testing::spawn;

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override { exeName = testing::prepareGameFolder(folder, "g", "e2e.exe"); }

  // Runs vantor with `input` on standard input; returns its exit status.
  int runVantor(const std::string& input, const std::vector<std::string>& extra = {}) {
    std::string inputFile = folder.write("input.txt", input);
    std::vector<std::string> args{VANTOR_EXE, "--ini-dir", folder.path(), "--start-delay", "0"};
    args.insert(args.end(), extra.begin(), extra.end());
    int status = exitStatus(spawn(args, inputFile, folder.path() + "output.txt"));
    output = testing::readWholeFile(folder.path() + "output.txt");
    return status;
  }

  testing::TempFolder folder;
  std::string exeName;
  std::string output;
};

TEST_F(EndToEnd, RecordsTheRunningGameExactly) {
  fakegame::DriveParameters drive;
  drive.rateHz = 10;  // slow enough that a busy machine does not make the logger miss a frame
  drive.durationSeconds = 4;
  drive.seed = 3;
  std::string gameSays = folder.path() + "game.txt";
  pid_t game =
      spawn(testing::withFakegameArgs({FAKEGAME_EXE}, folder.path() + "gpl", exeName, drive),
            "/dev/null", "/dev/null", gameSays);
  // The driver starts recording beside a running game; a game still starting up on a busy
  // machine would leave the clock still for the first second, which vantor warns of.
  ASSERT_TRUE(testing::waitForText(game, gameSays, " shows "));
  // The first name names a folder that does not exist: asked again.
  EXPECT_EQ(runVantor("nofolder/drive\ndrive\n", {"--attach-timeout", "10"}), 0);
  EXPECT_EQ(exitStatus(game), 0);

  std::string replay = folder.path() + "gpl/replay/";
  EXPECT_EQ(output,
            "Tire wear will be loged in too\n"
            "Please start " +
                exeName +
                "!\n"
                "GPL version of the user: GPL1.2.0.2B\n" +
                exeName +
                " found. Data will be logged.\n\n"
                "Vorbereitung aufs Speichern\n"
                "Please click into console and\n"
                "write the same name like you have used for replay\n"
                "Could not save the telemetry: " +
                replay +
                "nofolder/drive.tel: No such file or directory\n"
                "Please click into console and\n"
                "write the same name like you have used for replay\n");

  testing::expectRecordingOfDrive(testing::readWholeFile(replay + "drive.tel"), drive);
}

TEST_F(EndToEnd, NoGameTakesTheFailurePathAndPauses) {
  EXPECT_EQ(runVantor("", {"--attach-timeout", "0.2"}), 0);
  EXPECT_EQ(output,
            "Tire wear will be loged in too\n"
            "Please start " +
                exeName +
                "!\n"
                "GPL version of the user: no version detected\n"
                "\nData reading don't work!\n"
                "Please check if the path toyour gpl folder in Vantor.ini is correct!\n"
                "Please check if the text in MOD.ini is the exe you have started!\n"
                "\nTo finish click any button!Press any key to continue . . . \n");
}

TEST_F(EndToEnd, MissingIniFileExitsWithStatus1) {
  std::filesystem::remove(folder.path() + "Vantor.ini");
  EXPECT_EQ(runVantor(""), 1);
  EXPECT_EQ(output, "Tire wear will be loged in too\nDatei falsch!!!");
}

}  // namespace
}  // namespace lv
