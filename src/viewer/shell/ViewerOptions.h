#pragma once

// The command-line options every viewer program shares; for the programs themselves, which
// bring CLI11 (the viewer's libraries do not).
#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "viewer/shell/IniFolder.h"

namespace lv {

struct ViewerOptions {
  std::string iniDir;
  std::vector<std::string> commands;
  std::string scriptPath;
};

// Two calls, so that a program's own options can stand between them in its help.
inline void addIniDirOption(CLI::App& app, ViewerOptions& options) {
  app.add_option("--ini-dir", options.iniDir,
                 "folder of \"Vantor.ini\" and \"Ping.ini\" (default: the program's folder)");
}

// The commands of -e (described by `commandHelp`) and --script, which excludes -e.
inline void addCommandOptions(CLI::App& app, ViewerOptions& options,
                              const std::string& commandHelp) {
  CLI::Option* commandOption = app.add_option("-e", options.commands, commandHelp);
  CLI::Option* scriptOption =
      app.add_option("--script", options.scriptPath, "a file of commands, one a line");
  commandOption->excludes(scriptOption);
}

}  // namespace lv
