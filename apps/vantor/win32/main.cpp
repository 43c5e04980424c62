// vantor.exe: records GPL's telemetry into a .tel file beside the replay (Windows).
#include <iostream>
#include <string>
#include <vector>

#include "VantorOptions.h"
#include "logger/AddressOverrideFiles.h"
#include "logger/CachedGameReader.h"
#include "logger/LoggerRun.h"
#include "platform/win32/CommandLine.h"
#include "platform/win32/Console.h"
#include "platform/win32/ConsoleStopRequest.h"
#include "platform/win32/PerformanceClock.h"
#include "platform/win32/ProgramFolder.h"
#include "platform/win32/ToolhelpProcessApi.h"
#include "platform/win32/UiLanguage.h"

int main() {
  lv::Utf8Console utf8Console;
  lv::LoggerOptions options;
  std::vector<std::string> words = lv::utf8Arguments();
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  if (std::optional<int> status =
          lv::parseVantorOptions(static_cast<int>(argv.size()), argv.data(), options))
    return *status;
  options.germanHint = lv::isGermanUserInterface();

  lv::ToolhelpProcessApi processes;
  lv::PerformanceClock clock;
  lv::AddressTable table =
      lv::addressTableWithOverrides(lv::programFolder(), options.iniDir, '\\', std::cerr);
  lv::GameReader& reader = lv::CachedGameReader::instance(processes, clock, table, options.format);
  lv::ConsoleStopRequest stop;
  lv::LoggerConsole console{std::cout, std::cin, [] { lv::pauseConsole(); }, &stop};
  return lv::runLogger(reader, clock, console, options);
}
