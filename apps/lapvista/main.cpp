// lapvista: the viewer's main dialog in a desktop window.
#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "platform/fltk/FltkSession.h"
#include "platform/fltk/Fonts.h"
#include "platform/fltk/MessageBox.h"
#include "platform/posix/UserLanguage.h"
#include "viewer/shell/ShellTexts.h"

namespace {

std::string programFolder() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : exe.parent_path().string();
}

bool readScript(const std::string& path, std::vector<std::string>& commands) {
  std::ifstream script(path);
  if (!script) return false;
  for (std::string line; std::getline(script, line);) commands.push_back(line);
  return true;
}

void setUpToolkit() {
  Fl::visual(FL_RGB);  // the plot area's colours exactly
  Fl::scheme("gtk+");
  Fl::background(236, 236, 236);
  lv::useDialogFont();
#if FL_ABI_VERSION >= 10301
  Fl_Tooltip::wrap_width(690);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Lapvista: compares the laps of GPL replays, with their telemetry, in a window"};
  std::string iniDir = programFolder();
  std::string file, scriptPath;
  std::vector<std::string> commands;
  app.add_option("--ini-dir", iniDir,
                 "folder of \"Vantor.ini\" and \"Ping.ini\" (default: the program's folder)");
  app.add_option("file", file,
                 "a replay (.rpy) or saved laps (.tmr) to load at start, as if chosen in the "
                 "file dialog the first mouse movement opens (which then stays closed)");
  auto* commandOption = app.add_option(
      "-e", commands, "a lapvista-cli command, run once the window shows (repeatable)");
  auto* scriptOption = app.add_option("--script", scriptPath, "a file of commands, one a line");
  commandOption->excludes(scriptOption);
  app.footer(
      "Once the window shows FILE and the commands' outcome, \"ready\" is printed on "
      "standard output.");
  CLI11_PARSE(app, argc, argv);

  if (!scriptPath.empty() && !readScript(scriptPath, commands)) {
    std::cerr << "lapvista: cannot read script " << scriptPath << "\n";
    return 2;
  }
  setUpToolkit();
  if (lv::isGermanLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                           std::getenv("LANG"))) {
    lv::showMessageBox(lv::kStartupHintTitle, lv::kStartupHintText, lv::BoxIcon::kExclamation);
  }

  lv::FltkSession session(iniDir);
  lv::FltkHost& host = session.host();
  host.showWindow();
  if (!file.empty()) host.loadAtStart(file);
  int status = 0;
  for (const std::string& command : commands) {
    if (!host.windowShown()) break;
    if (lv::Status result = host.runCommand(command); !result) {
      std::cerr << "lapvista: " << result.message() << "\n";
      status = 1;
    }
  }
  host.takeInput();
  std::cout << "ready" << std::endl;
  while (host.windowShown()) Fl::wait();
  return status;
}
