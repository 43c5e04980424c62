// vantor.exe: records GPL's telemetry into a .tel file beside the replay (Windows).
#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <vector>

#include "logger/AddressOverrides.h"
#include "logger/CachedGameReader.h"
#include "logger/LoggerRun.h"
#include "platform/win32/CommandLine.h"
#include "platform/win32/Console.h"
#include "platform/win32/ConsoleStopRequest.h"
#include "platform/win32/PerformanceClock.h"
#include "platform/win32/ProgramFolder.h"
#include "platform/win32/ToolhelpProcessApi.h"
#include "platform/win32/UiLanguage.h"
#include "telemetry/FileBytes.h"

namespace {

// Rows from the override file beside the program, then from the one in the ini folder.
lv::AddressTable addressTable(const std::string& iniDir) {
  lv::AddressTable table = lv::builtInAddressTable();
  std::vector<std::string> paths{lv::programFolder() + lv::kAddressOverrideFile};
  std::string inIniDir =
      (iniDir.empty() ? std::string() : iniDir + "\\") + lv::kAddressOverrideFile;
  if (inIniDir != paths[0]) paths.push_back(inIniDir);
  for (const std::string& path : paths) {
    lv::FileBytes file;
    if (!lv::fileExists(path) || !file.open(path)) continue;
    for (const std::string& problem : lv::applyAddressOverrides(file.bytes(), table))
      std::cerr << path << ": " << problem << '\n';
  }
  return table;
}

}  // namespace

int main() {
  lv::Utf8Console utf8Console;
  CLI::App app{"Records GPL's telemetry into a .tel file beside the replay."};
  lv::LoggerOptions options;
  int format = 7;
  app.add_option("--ini-dir", options.iniDir,
                 "Folder of MOD.ini and Vantor.ini (default: current folder)");
  app.add_option("--start-delay", options.startDelaySeconds, "Seconds to wait before recording")
      ->check(CLI::NonNegativeNumber)
      ->capture_default_str();
  app.add_option("--attach-timeout", options.attachTimeoutSeconds, "Seconds to wait for the game")
      ->capture_default_str();
  app.add_option("--format", format, ".tel format version to write")
      ->check(CLI::IsMember({7, 5}))
      ->capture_default_str();
  std::vector<std::string> words = lv::utf8Arguments();
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  CLI11_PARSE(app, static_cast<int>(argv.size()), argv.data());
  options.format = format == 5 ? lv::LogFormat::kVersion5 : lv::LogFormat::kVersion7;
  options.germanHint = lv::isGermanUserInterface();

  lv::ToolhelpProcessApi processes;
  lv::PerformanceClock clock;
  lv::GameReader& reader = lv::CachedGameReader::instance(
      processes, clock, addressTable(options.iniDir), options.format);
  lv::ConsoleStopRequest stop;
  lv::LoggerConsole console{std::cout, std::cin, [] { lv::pauseConsole(); }, &stop};
  return lv::runLogger(reader, clock, console, options);
}
