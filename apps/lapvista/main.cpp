// lapvista: the viewer's main dialog in a desktop window.
#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "platform/fltk/FltkSession.h"
#include "platform/fltk/Fonts.h"
#include "platform/fltk/MessageBox.h"
#include "platform/linux/ProgramFolder.h"
#include "platform/posix/UserLanguage.h"
#include "viewer/shell/CommandScript.h"
#include "viewer/shell/ShellTexts.h"
#include "viewer/shell/ViewerOptions.h"

namespace {

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
  lv::ViewerOptions options;
  options.iniDir = lv::iniDirOf(lv::programFolder());
  std::string file;
  lv::addIniDirOption(app, options);
  lv::addCommandOptions(app, options,
                        "a lapvista-cli command, run once the window shows (repeatable)");
  app.add_option("file", file,
                 "a replay (.rpy) or saved laps (.tmr) to load at start, as if chosen in the "
                 "file dialog the first mouse movement opens (which then stays closed)");
  app.footer(
      "Once the window shows FILE and the commands' outcome, \"ready\" is printed on "
      "standard output.");
  CLI11_PARSE(app, argc, argv);

  if (!options.scriptPath.empty() && !lv::readCommandScript(options.scriptPath, options.commands)) {
    std::cerr << "lapvista: cannot read script " << options.scriptPath << "\n";
    return 2;
  }
  setUpToolkit();
  if (lv::isGermanLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                           std::getenv("LANG"))) {
    lv::showMessageBox(lv::kStartupHintTitle, lv::kStartupHintText, lv::BoxIcon::kExclamation);
  }

  lv::FltkSession session(options.iniDir);
  lv::FltkHost& host = session.host();
  host.showWindow();
  if (!file.empty()) host.loadAtStart(file);
  int status = 0;
  for (const std::string& command : options.commands) {
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
