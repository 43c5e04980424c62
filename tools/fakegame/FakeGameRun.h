#pragma once

#include <functional>
#include <optional>
#include <string>

#include "FakeDrive.h"
#include "logger/GameVersion.h"

namespace lv::fakegame {

struct FakeGameOptions {
  std::string gplDir;  // ends in a separator once parsed
  std::string exeName = "gpl.exe";
  std::string version = std::string(kVersion102B);
  DriveParameters drive;
};

// Reads the command line into `options`; `separator` is the system's folder separator. Returns
// the exit status when the program ends here (after --help, or a mistake that has been
// explained), nothing when it runs on.
std::optional<int> parseFakeGameOptions(int argc, char** argv, char separator,
                                        FakeGameOptions& options);

// The system's clock as the drive needs it: seconds since the drive began, and a sleep until
// such a second.
struct DriveClock {
  std::function<double()> secondsSinceStart;
  std::function<void(double second)> sleepUntil;
};

// Shows the drive frame by frame at its rate, the last frame one period longer, then returns.
void showFrames(const FakeGameOptions& options, const MemoryLayout& layout, DriveClock& clock,
                const FloatWriter& write);

}  // namespace lv::fakegame
