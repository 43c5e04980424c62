#include "logger/LoggerRun.h"

#include <algorithm>
#include <istream>
#include <optional>
#include <ostream>

#include "logger/GameFolder.h"
#include "logger/IniFile.h"
#include "logger/SampleTable.h"
#include "logger/TelemetrySaver.h"

namespace lv {
namespace {

// While the clock stands still the loop sleeps until the game's values may be fetched again
// (before that the clock cannot be seen to move), and wakes a little after that moment: late
// enough that every block of the sample is fetched afresh too, early enough that the next
// change of a game running at 36 Hz is not stepped over. Sleeping the whole wait rather than
// in 1 ms naps keeps the cost of an idle turn off the processor.
constexpr std::uint64_t kWakeMarginMicroseconds = 450;
// The process list need not be asked on every nap; the game's end is noticed within this time.
constexpr std::uint64_t kRunningCheckMicroseconds = 10000;

std::string iniPath(const LoggerOptions& options, const char* name) {
  if (options.iniDir.empty()) return name;
  std::string dir = options.iniDir;
  if (dir.back() != '/') dir += '/';
  return dir + name;
}

void printGermanHint(std::ostream& out) {
  out << "Pacetrace f\xC3\xBCr GPL       \n"
      << "At first set the path in Vantor and the file in MOD.ini! Online you have to activate "
         "VantorOnline.xml via GEM+! This version read and save contact patch temps, tire wear "
         "and fuel too.  \n";
}

void printGermanHintFormat5(std::ostream& out) {
  out << "Pacetrace for gpl       \n"
      << "For using make sure you have set the correct path to your gpl directory in "
         "Vantor.ini! It works offline. Online additional you have to activate VantorOnline.xml "
         "via GEM+.               \n";
}

int failurePath(LoggerConsole& console) {
  console.out << "\nData reading don't work!\n"
              << "Please check if the path toyour gpl folder in Vantor.ini is correct!\n"
              << "Please check if the text in MOD.ini is the exe you have started!\n"
              << "\nTo finish click any button!" << std::flush;
  console.pause();
  return 0;
}

bool clockMoved(float now, float last) {
  return now < last || now > last;
}

// Samples the game at every clock change. Returns the number of samples collected and
// whether the game ended the recording (rather than a full table).
struct SamplingResult {
  int collected = 0;
  bool gameEnded = false;
};

SamplingResult sample(GameReader& reader, Clock& clock, SampleTable& table) {
  SamplingResult result;
  float lastClock = reader.readClock();
  std::uint64_t checkTicks = clock.ticksPerSecond() * kRunningCheckMicroseconds / 1000000;
  std::optional<std::uint64_t> lastCheck;
  int i = 0;
  while (i < table.capacity()) {
    float now = reader.readClock();
    if (clockMoved(now, lastClock)) {
      lastClock = reader.readClock();
      table.fill(i, reader);
      ++i;
      continue;
    }
    std::uint64_t ticks = clock.ticks();
    if (!lastCheck || ticks - *lastCheck >= checkTicks) {
      lastCheck = ticks;
      if (!reader.isRunning()) {
        result.gameEnded = true;
        break;
      }
    }
    clock.sleepMicroseconds(reader.microsecondsUntilClockRefresh() + kWakeMarginMicroseconds);
  }
  result.collected = i;
  return result;
}

}  // namespace

int runLogger(GameReader& reader, Clock& clock, LoggerConsole& console,
              const LoggerOptions& options) {
  std::ostream& out = console.out;
  if (options.germanHint) {
    if (options.format == LogFormat::kVersion5) {
      printGermanHintFormat5(out);
    } else {
      printGermanHint(out);
    }
  }
  out << "Tire wear will be loged in too\n";
  std::optional<std::string> exeName = readFirstLine(iniPath(options, "MOD.ini"));
  if (!exeName) {
    out << "Datei falsch!!!" << std::flush;
    return 1;
  }
  std::optional<std::string> folderLine = readFirstLine(iniPath(options, "Vantor.ini"));
  if (!folderLine) {
    out << "Datei falsch!!!" << std::flush;
    return 1;
  }
  std::string gameFolder = gameFolderPath(*folderLine);
  std::string replayFolder = gameFolder + "replay/";
  std::string exePath = gameFolder + *exeName;

  SampleTable table(options.format, options.sampleCapacity);

  out << "Please start " << *exeName << "!\n" << std::flush;
  reader.attach(*exeName, exePath, options.attachTimeoutSeconds, "");
  out << "GPL version of the user: " << reader.versionText() << '\n';
  if (!reader.isRunning()) return failurePath(console);
  out << *exeName << " found. Data will be logged.\n\n" << std::flush;

  clock.sleepMicroseconds(
      static_cast<std::uint64_t>(std::max(0.0, options.startDelaySeconds) * 1e6));
  SamplingResult sampled = sample(reader, clock, table);
  int k = sampled.gameEnded ? sampled.collected - 1 : table.capacity();
  reader.detach();

  std::vector<std::uint8_t> image = table.fileBytes(std::max(0, k - 1));
  return saveRecording(out, console.in, replayFolder, image) ? 0 : 1;
}

}  // namespace lv
