#include "logger/LoggerRun.h"

#include <algorithm>
#include <istream>
#include <optional>
#include <ostream>

#include "logger/GameFolder.h"
#include "logger/IniFile.h"
#include "logger/SampleTable.h"
#include "logger/SamplingLoop.h"
#include "logger/TelemetrySaver.h"

namespace lv {
namespace {

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

// Names the process taken when the game's name matched more than one.
void printProcessChoice(std::ostream& out, const std::string& exeName,
                        const ProcessChoice& choice) {
  if (choice.others.empty()) return;
  out << "More than one process matches " << exeName << "; recording process " << choice.taken.id
      << " (" << choice.taken.name << ").\nNot recorded:";
  const char* separator = " ";
  for (const ProcessEntry& other : choice.others) {
    out << separator << "process " << other.id << " (" << other.name << ")";
    separator = ", ";
  }
  out << '\n';
}

}  // namespace

int runLogger(GameReader& reader, Clock& clock, LoggerConsole& console,
              const LoggerOptions& options) {
  std::ostream& out = console.out;
  // Every line reaches the console as it is printed, even when the program is held up later.
  out << std::unitbuf;
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
  printProcessChoice(out, *exeName, reader.processChoice());
  if (!reader.isRunning()) return failurePath(console);
  out << *exeName << " found. Data will be logged.\n\n" << std::flush;

  clock.sleepMicroseconds(
      static_cast<std::uint64_t>(std::max(0.0, options.startDelaySeconds) * 1e6));
  if (console.stop != nullptr) console.stop->listen();
  SamplingResult sampled = sampleGame(reader, clock, table, console.stop, out, *exeName);
  int k = sampled.gameEnded ? sampled.collected - 1 : table.capacity();
  reader.detach();

  std::vector<std::uint8_t> image = table.fileBytes(std::max(0, k - 1));
  return saveRecording(out, console.in, replayFolder, image) ? 0 : 1;
}

}  // namespace lv
