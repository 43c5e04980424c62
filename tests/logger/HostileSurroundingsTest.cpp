// vantor as a process among the things a user's system can throw at it: Ctrl-C and its
// kin, a file-size limit, ini files that are not files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ChildProcess.h"
#include "TempFolder.h"

namespace lv {
namespace {

constexpr const char* kPrompt = "write the same name like you have used for replay\n";

class HostileSurroundings : public ::testing::Test {
 protected:
  void SetUp() override {
    // No other test's game matches this name.
    exeName = "h" + std::to_string(getpid()) + "x.exe";
    folder.write("MOD.ini", exeName + "\n");
    folder.write("Vantor.ini", folder.path() + "gpl/\n");
    std::filesystem::create_directories(folder.path() + "gpl");
  }
  void TearDown() override {
    if (game > 0) {
      kill(game, SIGKILL);
      testing::waitForChild(game);
    }
  }

  void startGame(const char* seconds) {
    testing::ChildSetup setup;
    setup.args = {FAKEGAME_EXE, "--gpl-dir", folder.path() + "gpl", "--exe", exeName,
                  "--rate",     "36",        "--duration",          seconds};
    game = testing::startChild(setup);
  }

  testing::ChildSetup vantor() const {
    testing::ChildSetup setup;
    setup.args = {VANTOR_EXE, "--ini-dir",        folder.path(), "--start-delay",
                  "0",        "--attach-timeout", "20"};
    setup.outputFile = output();
    setup.folder = folder.path();
    return setup;
  }
  std::string output() const { return folder.path() + "output.txt"; }

  testing::TempFolder folder;
  std::string exeName;
  pid_t game = -1;
};

std::size_t samplesIn(const std::string& telFile) {
  std::string bytes = testing::readWholeFile(telFile);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x07\0\0\0", 4));
  EXPECT_EQ((bytes.size() - 4) % 164, 0u);
  return (bytes.size() - 4) / 164;
}

TEST_F(HostileSurroundings, StopSignalEndsTheRecordingWhichIsThenSaved) {
  struct Case {
    int first;
    int second;  // 0: the name is typed at the prompt instead
  };
  const Case cases[] = {{SIGINT, 0}, {SIGTERM, SIGINT}, {SIGHUP, 0}, {SIGINT, SIGINT}};
  for (const Case& c : cases) {
    SCOPED_TRACE(strsignal(c.first));
    SetUp();
    startGame("60");
    int input[2];
    ASSERT_EQ(pipe(input), 0);
    testing::ChildSetup setup = vantor();
    setup.inputFd = input[0];
    pid_t logger = testing::startChild(setup);
    close(input[0]);
    ASSERT_TRUE(testing::waitForText(logger, output(), "Data will be logged."));
    // Let it record a while: dozens of changes, however busy the machine.
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    kill(logger, c.first);
    ASSERT_TRUE(testing::waitForText(logger, output(), kPrompt));
    if (c.second != 0) {
      kill(logger, c.second);
    } else {
      EXPECT_EQ(write(input[1], "stopped\n", 8), 8);
    }
    int status = testing::waitForChild(logger);
    close(input[1]);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::string saved = c.second != 0 ? folder.path() + "Vantor-recording.tel"
                                      : folder.path() + "gpl/replay/stopped.tel";
    if (c.second != 0) {
      EXPECT_NE(testing::readWholeFile(output()).find("Telemetry saved as Vantor-recording.tel"),
                std::string::npos);
    }
    EXPECT_GT(samplesIn(saved), 0u) << "the recording was lost";
    std::filesystem::remove(saved);
    TearDown();
    game = -1;
  }
}

TEST_F(HostileSurroundings, FileSizeLimitMakesTheSaveFailWithAReason) {
  startGame("3");  // about 100 samples: 16 KiB
  testing::ChildSetup setup = vantor();
  setup.inputFile = folder.write("input.txt", "drive\n");
  setup.fileSizeLimit = 8192;
  int status = testing::waitForChild(testing::startChild(setup));
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::string said = testing::readWholeFile(output());
  EXPECT_NE(said.find("Could not save the telemetry: " + folder.path() +
                      "gpl/replay/drive.tel: File too large\n"),
            std::string::npos)
      << said;
  EXPECT_NE(said.find("Could not save the telemetry: Vantor-recording.tel: File too large\n"),
            std::string::npos)
      << said;
  EXPECT_TRUE(std::filesystem::is_empty(folder.path() + "gpl/replay"));
}

TEST_F(HostileSurroundings, IniFileThatIsNoRegularFileIsRefusedAtOnce) {
  for (const char* name : {"MOD.ini", "Vantor.ini"}) {
    SCOPED_TRACE(name);
    SetUp();
    std::string path = folder.path() + name;
    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    int status = testing::waitForChild(testing::startChild(vantor()), std::chrono::seconds(20));
    ASSERT_TRUE(WIFEXITED(status)) << "hung on the pipe";
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(testing::readWholeFile(output()), "Tire wear will be loged in too\nDatei falsch!!!");
    std::filesystem::remove(path);  // writing the next case's ini must not wait on the pipe
  }
}

}  // namespace
}  // namespace lv
