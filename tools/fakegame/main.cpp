// fakegame: a stand-in for the running game. It shows a deterministic drive in memory at the
// addresses one game version uses, so that vantor can record it.
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <set>
#include <vector>

#include "FakeDrive.h"
#include "logger/AddressTable.h"
#include "logger/GameVersion.h"

namespace {

constexpr std::uint32_t kPage = 4096;

struct Options {
  std::string gplDir;
  std::string exeName = "gpl.exe";
  std::string version = std::string(lv::kVersion102B);
  lv::fakegame::DriveParameters drive;
};

// Runs under the program file's path as its name, the way the game shows up in the process
// list, unless it already does.
void runUnderGameName(int argc, char** argv, const std::string& name) {
  if (name == argv[0]) return;
  std::vector<char*> args(argv, argv + argc);
  args[0] = const_cast<char*>(name.c_str());
  args.push_back(nullptr);
  execv("/proc/self/exe", args.data());
  std::cerr << "fakegame: cannot restart as " << name << ": " << std::strerror(errno) << '\n';
}

bool mapRanges(const lv::fakegame::MemoryLayout& layout) {
  std::set<std::uint32_t> pages;
  for (auto [first, last] : lv::fakegame::memoryRanges(layout))
    for (std::uint32_t page = first / kPage * kPage; page < last; page += kPage) pages.insert(page);
  for (std::uint32_t page : pages) {
    void* wanted = reinterpret_cast<void*>(static_cast<std::uintptr_t>(page));
    void* got = mmap(wanted, kPage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    if (got != wanted) {
      std::cerr << "fakegame: cannot map 0x" << std::hex << page << std::dec << ": "
                << std::strerror(errno) << '\n';
      return false;
    }
  }
  return true;
}

void writeFloat(std::uint32_t address, float value) {
  auto* target = reinterpret_cast<volatile float*>(static_cast<std::uintptr_t>(address));
  *target = value;
}

timespec plusSeconds(timespec start, double seconds) {
  long long ns = start.tv_nsec + static_cast<long long>(seconds * 1e9);
  start.tv_sec += static_cast<time_t>(ns / 1000000000);
  start.tv_nsec = static_cast<long>(ns % 1000000000);
  return start;
}

double secondsSince(const timespec& start) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec - start.tv_sec) + (now.tv_nsec - start.tv_nsec) / 1e9;
}

void sleepUntil(const timespec& when) {
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &when, nullptr) == EINTR) {
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Shows a simulated drive in memory at the addresses of one GPL version."};
  Options o;
  app.add_option("--gpl-dir", o.gplDir, "GPL folder: receives the program file and replay/")
      ->required();
  app.add_option("--exe", o.exeName, "Program file name (the name MOD.ini holds)")
      ->capture_default_str();
  app.add_option("--version", o.version, "Game version to imitate")
      ->check(CLI::IsMember({std::string(lv::kVersion101A), std::string(lv::kVersion101B),
                             std::string(lv::kVersion102A), std::string(lv::kVersion102B)}))
      ->capture_default_str();
  app.add_option("--duration", o.drive.durationSeconds, "Seconds the drive lasts")
      ->capture_default_str();
  app.add_option("--rate", o.drive.rateHz, "Clock changes per second")
      ->check(CLI::Range(1.0, 1000.0))
      ->capture_default_str();
  app.add_option("--track-length", o.drive.trackLengthMetres, "Lap length in metres")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  app.add_option("--seed", o.drive.seed, "Varies the drive")->capture_default_str();
  CLI11_PARSE(app, argc, argv);

  if (!o.gplDir.empty() && o.gplDir.back() != '/') o.gplDir += '/';
  std::string programPath = o.gplDir + o.exeName;
  // The first start writes the program file, then restarts under the game's name; the
  // restarted one must not write it again, as a logger may be reading it by then.
  if (programPath != argv[0]) {
    mkdir((o.gplDir + "replay").c_str(), 0755);
    std::ofstream program(programPath, std::ios::binary | std::ios::trunc);
    program << lv::fakegame::programFileImage(o.version);
    program.close();
    if (!program) {
      std::cerr << "fakegame: cannot write " << programPath << '\n';
      return 1;
    }
  }
  runUnderGameName(argc, argv, programPath);

  // Any process of this user may read the drive, not only our ancestors.
  prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);
  lv::fakegame::MemoryLayout layout =
      lv::fakegame::layoutFor(lv::builtInAddressTable(), *lv::addressRowOf(o.version));
  if (!mapRanges(layout)) return 1;

  int frames = lv::fakegame::frameCount(o.drive);
  std::cerr << "fakegame: pid " << getpid() << " shows " << o.version << " for " << frames
            << " frames\n";
  lv::fakegame::writeTorqueCurve(lv::fakegame::torqueCurve(o.drive), layout, writeFloat);
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  double period = 1.0 / o.drive.rateHz;
  double shownAt = -period;
  for (int n = 0; n < frames; ++n) {
    // When this process was held up, it does not catch up: every frame stays a whole period,
    // so a reader that keeps up with the game's rate sees every one.
    double due = std::max(n * period, shownAt + period);
    sleepUntil(plusSeconds(start, due));
    shownAt = secondsSince(start);
    lv::fakegame::writeFrame(lv::fakegame::frameAt(n, o.drive), layout, writeFloat);
  }
  // The last frame stays visible for one more period before the game ends.
  sleepUntil(plusSeconds(start, shownAt + period));
  return 0;
}
