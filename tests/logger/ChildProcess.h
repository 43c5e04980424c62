#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "TempFolder.h"

namespace lv::testing {

struct ChildSetup {
  std::vector<std::string> args;
  std::string inputFile = "/dev/null";  // ignored when inputFd is set
  int inputFd = -1;
  std::string outputFile = "/dev/null";
  std::string folder;                   // working folder; empty = the test's
  std::optional<rlim_t> fileSizeLimit;  // bytes
};

// Starts a program the way a shell would, with the limits and files of `setup`.
inline pid_t startChild(const ChildSetup& setup) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  int input = setup.inputFd >= 0 ? setup.inputFd : ::open(setup.inputFile.c_str(), O_RDONLY);
  int output = ::open(setup.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (input < 0 || output < 0 || dup2(input, 0) < 0 || dup2(output, 1) < 0) _exit(126);
  if (!setup.folder.empty() && chdir(setup.folder.c_str()) != 0) _exit(126);
  if (setup.fileSizeLimit) {
    rlimit limit{*setup.fileSizeLimit, *setup.fileSizeLimit};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
  }
  std::vector<char*> argv;
  for (const std::string& arg : setup.args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

// The child's wait status; a child still running after `patience` is killed (a hang, which
// the caller's expectations then report) and its status after the kill returned.
inline int waitForChild(pid_t pid, std::chrono::seconds patience = std::chrono::seconds(60)) {
  auto giveUp = std::chrono::steady_clock::now() + patience;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > giveUp) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return status;
}

// Waits until child `pid` has written `text` into `file`; false when it ended without, or did
// not within `patience`. The child is not reaped.
inline bool waitForText(pid_t pid, const std::string& file, const std::string& text,
                        std::chrono::seconds patience = std::chrono::seconds(60)) {
  auto giveUp = std::chrono::steady_clock::now() + patience;
  while (readWholeFile(file).find(text) == std::string::npos) {
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
        info.si_pid == pid)
      return false;
    if (std::chrono::steady_clock::now() > giveUp) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

}  // namespace lv::testing
