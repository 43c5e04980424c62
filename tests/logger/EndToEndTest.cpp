// vantor recording a running fakegame: real processes, real memory reads.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "ExpectedSample.h"
#include "TempFolder.h"
#include "telemetry/TelFormat.h"

extern char** environ;

namespace lv {
namespace {

// Starts `args` with standard input from `inputFile` and standard output into `outputFile`
// (and standard error into `errorFile` when one is given).
pid_t spawn(const std::vector<std::string>& args, const std::string& inputFile,
            const std::string& outputFile, const std::string& errorFile = "") {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inputFile.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  if (!errorFile.empty())
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int exitStatus(pid_t pid) {
  int status = 0;
  EXPECT_EQ(waitpid(pid, &status, 0), pid);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    // No other test's game matches this name.
    exeName = "g";
    exeName += std::to_string(getpid());
    exeName += "e2e.exe";
    folder.write("MOD.ini", exeName + "\n");
    folder.write("Vantor.ini", folder.path() + "gpl/\n");
    std::filesystem::create_directories(folder.path() + "gpl");
  }

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
  pid_t game = spawn({FAKEGAME_EXE, "--gpl-dir", folder.path() + "gpl", "--exe", exeName, "--rate",
                      "10", "--duration", "4", "--seed", "3"},
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

  std::string bytes = testing::readWholeFile(replay + "drive.tel");
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x07\0\0\0", 4));
  ASSERT_EQ((bytes.size() - 4) % 164, 0u);
  std::size_t count = (bytes.size() - 4) / 164;
  ASSERT_GT(count, 20u);
  fakegame::TorqueCurve curve = fakegame::torqueCurve(drive);
  int firstFrame = -1;
  for (std::size_t j = 0; j < count; ++j) {
    TelemetrySample sample = decodeTelRecord(
        TelLayout::kVersion7,
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 4 + 164 * j, 164));
    int frame = testing::frameOfFuel(sample[TelemetrySample::kFuel]);
    if (j == 0) firstFrame = frame;
    ASSERT_EQ(frame, firstFrame + static_cast<int>(j)) << "a clock change was missed";
    EXPECT_EQ(sample.values, testing::expectedSample(fakegame::frameAt(frame, drive), curve).values)
        << "frame " << frame;
  }
  // Every frame up to the last was collected; the last two collected are not written.
  EXPECT_EQ(firstFrame + static_cast<int>(count) - 1, fakegame::frameCount(drive) - 1 - 2);
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
