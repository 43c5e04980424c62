// fakegame: a stand-in for the running game. It shows a deterministic drive in memory at the
// addresses one game version uses, so that vantor can record it.
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <set>
#include <vector>

#include "FakeDrive.h"
#include "FakeGameRun.h"
#include "logger/AddressTable.h"

namespace {

constexpr std::uint32_t kPage = 4096;

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
  lv::fakegame::FakeGameOptions o;
  if (std::optional<int> status = lv::fakegame::parseFakeGameOptions(argc, argv, '/', o))
    return *status;

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
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  lv::fakegame::DriveClock clock{[&] { return secondsSince(start); },
                                 [&](double second) { sleepUntil(plusSeconds(start, second)); }};
  lv::fakegame::showFrames(o, layout, clock, writeFloat);
  return 0;
}
