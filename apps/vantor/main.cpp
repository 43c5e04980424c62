// vantor: records GPL's telemetry into a .tel file beside the replay.
#include <cstdlib>
#include <iostream>

#include "VantorOptions.h"
#include "logger/AddressOverrideFiles.h"
#include "logger/CachedGameReader.h"
#include "logger/LoggerRun.h"
#include "platform/linux/ConsolePause.h"
#include "platform/linux/LinuxProcessApi.h"
#include "platform/linux/MonotonicClock.h"
#include "platform/linux/ProgramFolder.h"
#include "platform/linux/SignalStopRequest.h"
#include "platform/posix/UserLanguage.h"

int main(int argc, char** argv) {
  lv::ignoreSignalsThatWouldLoseTheRecording();
  lv::LoggerOptions options;
  if (std::optional<int> status = lv::parseVantorOptions(argc, argv, options)) return *status;
  options.germanHint =
      lv::isGermanLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));

  lv::LinuxProcessApi processes;
  lv::MonotonicClock clock;
  lv::AddressTable table =
      lv::addressTableWithOverrides(lv::programFolder(), options.iniDir, '/', std::cerr);
  lv::GameReader& reader = lv::CachedGameReader::instance(processes, clock, table, options.format);
  lv::SignalStopRequest stop;
  lv::LoggerConsole console{std::cout, std::cin, [] { lv::pauseConsole(std::cout, std::cin, 0); },
                            &stop};
  return lv::runLogger(reader, clock, console, options);
}
