// The Linux vantor recording fakegame.exe under Wine: how GPL is driven on Linux. Wine shows
// the game as a Linux process named by its Windows program path, and its Windows addresses
// are the Linux process's own, so process_vm_readv reads the game where vantor.exe would.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "RecordingCheck.h"
#include "TempFolder.h"

extern char** environ;

namespace lv {
namespace {

pid_t spawn(const std::vector<std::string>& args, const std::string& inputFile,
            const std::string& outputFile) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inputFile.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
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

TEST(WineGame, LinuxVantorRecordsTheWindowsGameExactly) {
  // The Windows build (build/windows) with its Wine runner; scripts/test-windows.sh sets it.
  const char* windowsBuild = std::getenv("LAPVISTA_WINDOWS_BUILD");
  if (windowsBuild == nullptr) GTEST_SKIP() << "LAPVISTA_WINDOWS_BUILD not set";
  std::string wineRun = std::string(windowsBuild) + "/wine-run.sh";
  std::string fakegameExe = std::string(windowsBuild) + "/bin/fakegame.exe";

  testing::TempFolder folder;
  std::string exeName = "w";
  exeName += std::to_string(getpid());
  exeName += "wine.exe";
  folder.write("MOD.ini", exeName + "\n");
  folder.write("Vantor.ini", folder.path() + "gpl/\n");
  std::filesystem::create_directories(folder.path() + "gpl");
  std::string input = folder.write("input.txt", "drive\n");

  fakegame::DriveParameters drive;
  drive.rateHz = 10;
  drive.durationSeconds = 4;
  drive.seed = 5;
  // Wine's drive Z: is the Linux root.
  pid_t game = spawn({"/bin/sh", wineRun, fakegameExe, "--gpl-dir", "Z:" + folder.path() + "gpl",
                      "--exe", exeName, "--rate", "10", "--duration", "4", "--seed", "5"},
                     "/dev/null", folder.path() + "game.txt");
  pid_t logger = spawn(
      {VANTOR_EXE, "--ini-dir", folder.path(), "--start-delay", "0", "--attach-timeout", "30"},
      input, folder.path() + "output.txt");
  EXPECT_EQ(exitStatus(logger), 0);
  EXPECT_EQ(exitStatus(game), 0) << testing::readWholeFile(folder.path() + "game.txt");
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
