// lapvista.exe: the viewer's main dialog as a Windows dialog program.
#include <windows.h>
// The common controls build on the types above.
#include <commctrl.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/ProgramFolder.h"
#include "platform/win32/WideText.h"
#include "platform/win32/dialog/MainWindow.h"
#include "viewer/shell/CommandScript.h"
#include "viewer/shell/ShellTexts.h"
#include "viewer/shell/ViewerOptions.h"

namespace {

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
  lv::ViewerOptions options;
  options.iniDir = lv::iniDirOf(lv::programFolder());
  lv::StartUp startUp;
  lv::addIniDirOption(app, options);
  lv::addCommandOptions(app, options,
                        "a lapvista-cli command, run once the window shows (repeatable)");
  app.add_option("file", startUp.file,
                 "a replay (.rpy) or saved laps (.tmr) to load at start, as if chosen in the "
                 "file dialog the first mouse movement opens (which then stays closed)");
  app.footer(
      "Once the window shows FILE and the commands' outcome, \"ready\" is printed on standard "
      "output.");
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  }
  if (!options.scriptPath.empty() &&
      !lv::readCommandScript(std::filesystem::path(lv::widen(options.scriptPath)),
                             options.commands)) {
    std::fprintf(stderr, "lapvista: cannot read script %s\n", options.scriptPath.c_str());
    return 2;
  }
  startUp.commands = std::move(options.commands);

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  lv::MainWindow window(options.iniDir);
  return window.run(std::move(startUp));
}
