#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FakeDrive.h"
#include "TempFolder.h"

namespace lv::testing {

// Makes `folder` vantor's ini folder for a game whose GPL folder is folder/gpl, and returns
// the game's name: `prefix`, this test program's id (so that no other test's game matches)
// and `suffix`. Windows tests write the files with Windows line ends and a backslash.
inline std::string prepareGameFolder(const TempFolder& folder, const std::string& prefix,
                                     const std::string& suffix, const std::string& lineEnd = "\n",
                                     const std::string& separator = "/") {
  // Built up piece by piece: GCC 12 warns wrongly (-Wrestrict) about "g" + std::string.
  std::string exeName = prefix;
  exeName += std::to_string(getpid());
  exeName += suffix;
  folder.write("MOD.ini", exeName + lineEnd);
  folder.write("Vantor.ini", folder.path() + "gpl" + separator + lineEnd);
  std::filesystem::create_directories(folder.path() + "gpl");
  return exeName;
}

// `command` (the program that starts fakegame) with the arguments that make it drive `drive`
// as the game `exeName` in `gplDir`.
inline std::vector<std::string> withFakegameArgs(std::vector<std::string> command,
                                                 const std::string& gplDir,
                                                 const std::string& exeName,
                                                 const fakegame::DriveParameters& drive) {
  auto number = [](double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return std::string(text);
  };
  command.insert(command.end(), {"--gpl-dir", gplDir, "--exe", exeName, "--rate",
                                 number(drive.rateHz), "--duration", number(drive.durationSeconds),
                                 "--seed", std::to_string(drive.seed)});
  return command;
}

}  // namespace lv::testing
