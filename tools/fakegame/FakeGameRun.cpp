#include "FakeGameRun.h"

#include <CLI/CLI.hpp>
#include <algorithm>

namespace lv::fakegame {

std::optional<int> parseFakeGameOptions(int argc, char** argv, char separator, FakeGameOptions& o) {
  CLI::App app{"Shows a simulated drive in memory at the addresses of one GPL version."};
  app.add_option("--gpl-dir", o.gplDir,
                 std::string("GPL folder: receives the program file and replay") + separator)
      ->required();
  app.add_option("--exe", o.exeName, "Program file name (the name MOD.ini holds)")
      ->capture_default_str();
  app.add_option("--version", o.version, "Game version to imitate")
      ->check(CLI::IsMember({std::string(kVersion101A), std::string(kVersion101B),
                             std::string(kVersion102A), std::string(kVersion102B)}))
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
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  }
  // Windows takes either separator; '/' never needs another one after it.
  if (!o.gplDir.empty() && o.gplDir.back() != '/' && o.gplDir.back() != separator)
    o.gplDir += separator;
  return std::nullopt;
}

void showFrames(const FakeGameOptions& o, const MemoryLayout& layout, DriveClock& clock,
                const FloatWriter& write) {
  writeTorqueCurve(torqueCurve(o.drive), layout, write);
  int frames = frameCount(o.drive);
  double period = 1.0 / o.drive.rateHz;
  double shownAt = -period;
  for (int n = 0; n < frames; ++n) {
    // When this process was held up, it does not catch up: every frame stays a whole period,
    // so a reader that keeps up with the game's rate sees every one.
    clock.sleepUntil(std::max(n * period, shownAt + period));
    shownAt = clock.secondsSinceStart();
    writeFrame(frameAt(n, o.drive), layout, write);
  }
  // The last frame stays visible for one more period before the game ends.
  clock.sleepUntil(shownAt + period);
}

}  // namespace lv::fakegame
