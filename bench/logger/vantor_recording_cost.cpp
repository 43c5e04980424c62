// Measures what recording costs: vantor's CPU time while it records a fakegame drive, how
// many of the game's clock changes it missed, and how many samples mix values of two frames.
//   vantor_recording_cost [--duration SECONDS] [--rate HZ] [--hog | --hog-own-group]
//                         [--vantor PATH]
// --hog runs a busy loop at the lowest priority beside them, as a background job would;
// --vantor measures another build of vantor (to compare two of them on the same machine).
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ExpectedSample.h"
#include "telemetry/TelFormat.h"

extern char** environ;

namespace {

pid_t spawn(const std::vector<std::string>& args, const char* input, const char* output) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input, O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// A process that keeps one core busy at nice 19 until it is killed. Where the kernel groups
// the processes of a session for scheduling, nice ranks only within the group; `ownGroup`
// gives the hog a session and group of its own at the lowest priority, the way a background
// job started elsewhere runs.
pid_t startHog(bool ownGroup) {
  pid_t pid = fork();
  if (pid == 0) {
    if (ownGroup) {
      setsid();
      std::ofstream("/proc/self/autogroup") << 19;
    }
    if (nice(19) == -1) _exit(1);
    volatile unsigned long spin = 0;
    while (true) spin = spin + 1;
  }
  return pid;
}

double seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  double duration = 60;
  double rate = 36;
  bool hog = false;
  bool hogGroup = false;
  std::string vantorExe = VANTOR_EXE;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--hog") == 0) hog = true;
    if (std::strcmp(argv[i], "--hog-own-group") == 0) hog = hogGroup = true;
    if (i + 1 >= argc) continue;
    if (std::strcmp(argv[i], "--duration") == 0) duration = std::atof(argv[i + 1]);
    if (std::strcmp(argv[i], "--rate") == 0) rate = std::atof(argv[i + 1]);
    if (std::strcmp(argv[i], "--vantor") == 0) vantorExe = argv[i + 1];
  }
  pid_t hogPid = hog ? startHog(hogGroup) : -1;
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("vantor-bench-" + std::to_string(getpid()));
  fs::create_directories(dir / "gpl");
  std::string exe = "b" + std::to_string(getpid()) + ".exe";
  std::ofstream(dir / "MOD.ini") << exe << "\n";
  std::ofstream(dir / "Vantor.ini") << (dir / "gpl").string() << "/\n";
  std::ofstream(dir / "name.txt") << "bench\n";

  char durationText[32], rateText[32];
  std::snprintf(durationText, sizeof durationText, "%g", duration);
  std::snprintf(rateText, sizeof rateText, "%g", rate);
  pid_t game = spawn({FAKEGAME_EXE, "--gpl-dir", (dir / "gpl").string(), "--exe", exe, "--duration",
                      durationText, "--rate", rateText},
                     "/dev/null", "/dev/null");
  auto start = std::chrono::steady_clock::now();
  pid_t logger = spawn({vantorExe, "--ini-dir", dir.string(), "--start-delay", "0"},
                       (dir / "name.txt").c_str(), (dir / "output.txt").c_str());
  if (game < 0 || logger < 0) {
    std::fprintf(stderr, "cannot start fakegame or vantor\n");
    return 1;
  }
  int status = 0;
  rusage usage{};
  wait4(logger, &status, 0, &usage);
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  waitpid(game, nullptr, 0);
  if (hogPid > 0) {
    kill(hogPid, SIGKILL);
    waitpid(hogPid, nullptr, 0);
  }

  std::ifstream tel(dir / "gpl/replay/bench.tel", std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(tel)), {});
  std::size_t count = bytes.size() >= 4 ? (bytes.size() - 4) / 164 : 0;
  lv::fakegame::DriveParameters drive;
  drive.rateHz = rate;
  drive.durationSeconds = duration;
  lv::fakegame::TorqueCurve curve = lv::fakegame::torqueCurve(drive);
  long missed = 0;
  long torn = 0;
  long previous = -1;
  long first = -1;
  for (std::size_t j = 0; j < count; ++j) {
    lv::TelemetrySample sample = lv::decodeTelRecord(
        lv::TelLayout::kVersion7,
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 4 + 164 * j, 164));
    long frame = lv::testing::frameOfFuel(sample[lv::TelemetrySample::kFuel]);
    lv::TelemetrySample expected =
        lv::testing::expectedSample(lv::fakegame::frameAt(static_cast<int>(frame), drive), curve);
    if (sample.values != expected.values) {
      ++torn;
      std::printf("sample %zu: values of another frame than its fuel's (%ld)\n", j, frame);
    }
    if (previous >= 0 && frame != previous + 1) {
      // A repeated frame means a block was not fetched afresh; the frame after it is counted
      // as the missed one.
      std::printf("sample %zu: frame %ld after frame %ld\n", j, frame, previous);
      if (frame > previous + 1) missed += frame - previous - 1;
    }
    if (first < 0) first = frame;
    previous = frame;
  }
  long frames = std::lround(duration * rate);
  // The two changes collected last are never written; anything beyond them is missed.
  if (previous >= 0) missed += (frames - 1 - 2) - previous;

  double cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  std::printf("vantor exit status      %d\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  std::printf("recording wall time     %.2f s\n", wall);
  std::printf("vantor CPU time         %.3f s (user %.3f, system %.3f)\n", cpu,
              seconds(usage.ru_utime), seconds(usage.ru_stime));
  std::printf("share of one core       %.2f %%\n", 100.0 * cpu / wall);
  std::printf("samples written         %zu (frames %ld..%ld of %ld)\n", count, first, previous,
              frames);
  std::printf("clock changes missed    %ld (%.3f %%)\n", missed, 100.0 * missed / frames);
  std::printf("torn samples            %ld (%.3f %%)\n", torn,
              count > 0 ? 100.0 * torn / static_cast<double>(count) : 0.0);
  std::printf("low-priority hog        %s\n", !hog ? "no" : hogGroup ? "yes, own group" : "yes");
  if (count == 0) {
    std::ifstream console(dir / "output.txt");
    std::printf("vantor said:\n%s\n",
                std::string(std::istreambuf_iterator<char>(console), {}).c_str());
  }
  fs::remove_all(dir);
  return 0;
}
