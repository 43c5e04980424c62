// lapvista.exe: the viewer's main dialog as a Windows dialog program.
#include <windows.h>
// The common controls build on the types above.
#include <commctrl.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/WideText.h"
#include "platform/win32/dialog/MainWindow.h"
#include "viewer/shell/ShellTexts.h"

namespace {

std::string programFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return ".";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return lv::narrow(std::filesystem::path(path).parent_path().wstring());
}

bool readScript(const std::string& path, std::vector<std::string>& commands) {
  std::ifstream script(std::filesystem::path(lv::widen(path)));
  if (!script) return false;
  for (std::string line; std::getline(script, line);) commands.push_back(line);
  return true;
}

// German users are told first how to reach the lap-based part.
void showStartupHint() {
  if ((GetUserDefaultUILanguage() & 0xFF) != LANG_GERMAN) return;
  MessageBoxW(nullptr, lv::widen(lv::kStartupHintText).c_str(),
              lv::widen(lv::kStartupHintTitle).c_str(), MB_ICONEXCLAMATION | MB_OK);
}

}  // namespace

int wmain(int argc, wchar_t** wargv) {
  showStartupHint();
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(lv::narrow(wargv[i]));
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());

  CLI::App app{"Lapvista: compares the laps of GPL replays, with their telemetry"};
  std::string iniDir = programFolder();
  std::string scriptPath;
  lv::StartUp startUp;
  app.add_option("--ini-dir", iniDir,
                 "folder of \"Vantor.ini\" and \"Ping.ini\" (default: the program's folder)");
  app.add_option("file", startUp.file,
                 "a replay (.rpy) or saved laps (.tmr) to load at start, as if chosen in the "
                 "file dialog the first mouse movement opens (which then stays closed)");
  auto* commandOption = app.add_option(
      "-e", startUp.commands, "a lapvista-cli command, run once the window shows (repeatable)");
  auto* scriptOption = app.add_option("--script", scriptPath, "a file of commands, one a line");
  commandOption->excludes(scriptOption);
  app.footer(
      "Once the window shows FILE and the commands' outcome, \"ready\" is printed on standard "
      "output.");
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  }
  if (!scriptPath.empty() && !readScript(scriptPath, startUp.commands)) {
    std::fprintf(stderr, "lapvista: cannot read script %s\n", scriptPath.c_str());
    return 2;
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  lv::MainWindow window(iniDir);
  return window.run(std::move(startUp));
}
