// lapvista-cli: the viewer's main dialog without a window, driven by commands; every event
// of the dialog is printed on standard output, one a line.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/cairo/RasterCanvas.h"
#include "platform/headless/CliSession.h"
#include "platform/linux/ProgramFolder.h"
#include "viewer/shell/CommandScript.h"
#include "viewer/shell/ViewerOptions.h"

namespace {

// Events collected in a large buffer and written in blocks: a load can draw millions.
class EventOutput {
 public:
  ~EventOutput() { flush(); }
  void write(std::string_view event) {
    buffer_.append(event);
    buffer_ += '\n';
    if (buffer_.size() >= kBlock) flush();
  }
  void flush() {
    std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
    std::fflush(stdout);
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kBlock = 1 << 20;
  std::string buffer_;
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Lapvista without a window: runs the main dialog from commands and prints its events"};
  lv::ViewerOptions options;
  options.iniDir = lv::iniDirOf(lv::programFolder());
  std::string pngPath, svgPath;
  bool noDrawEvents = false;
  lv::addIniDirOption(app, options);
  app.add_option("--png", pngPath, "write the plot area as PNG after the last command");
  app.add_option("--svg", svgPath, "write the plot area as SVG after the last command");
  app.add_flag("--no-draw-events", noDrawEvents,
               "print no drawing events (erase, pen, move, line, rect, ellipse, text); the "
               "picture is drawn all the same");
  lv::addCommandOptions(app, options, "a command (repeatable)");
  CLI11_PARSE(app, argc, argv);

  if (!options.scriptPath.empty() && !lv::readCommandScript(options.scriptPath, options.commands)) {
    std::cerr << "lapvista-cli: cannot read script " << options.scriptPath << "\n";
    return 2;
  }
  EventOutput output;
  // The picture is always drawn, as a window draws it, so that a run costs what the
  // viewer's commands cost on a desktop; --png and --svg only write it out.
  lv::RasterCanvas picture;
  lv::CliSession session([&output](std::string_view event) { output.write(event); }, options.iniDir,
                         {&picture, !noDrawEvents});
  int status = 0;
  for (const std::string& command : options.commands) {
    if (lv::Status result = session.run(command); !result) {
      output.flush();
      std::cerr << "lapvista-cli: " << result.message() << "\n";
      status = 1;
    }
  }
  output.flush();
  for (auto [path, write] : {std::pair{pngPath, &lv::RasterCanvas::writePng},
                             std::pair{svgPath, &lv::RasterCanvas::writeSvg}}) {
    if (path.empty()) continue;
    if (lv::Status result = (picture.*write)(path); !result) {
      std::cerr << "lapvista-cli: " << result.message() << "\n";
      status = 1;
    }
  }
  return status;
}
