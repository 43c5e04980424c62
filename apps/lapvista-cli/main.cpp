// lapvista-cli: the viewer's main dialog without a window, driven by commands; every event
// of the dialog is printed on standard output, one a line.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/cairo/RasterCanvas.h"
#include "platform/headless/CliSession.h"

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

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Lapvista without a window: runs the main dialog from commands and prints its events"};
  std::string iniDir = programFolder();
  std::string pngPath, svgPath, scriptPath;
  bool noDrawEvents = false;
  std::vector<std::string> commands;
  app.add_option("--ini-dir", iniDir,
                 "folder of \"Vantor.ini\" and \"Ping.ini\" (default: the program's folder)");
  app.add_option("--png", pngPath, "write the plot area as PNG after the last command");
  app.add_option("--svg", svgPath, "write the plot area as SVG after the last command");
  app.add_flag("--no-draw-events", noDrawEvents,
               "print no drawing events (erase, pen, move, line, rect, ellipse, text); the "
               "picture is drawn all the same");
  auto* commandOption = app.add_option("-e", commands, "a command (repeatable)");
  auto* scriptOption = app.add_option("--script", scriptPath, "a file of commands, one a line");
  commandOption->excludes(scriptOption);
  CLI11_PARSE(app, argc, argv);

  if (!scriptPath.empty() && !readScript(scriptPath, commands)) {
    std::cerr << "lapvista-cli: cannot read script " << scriptPath << "\n";
    return 2;
  }
  EventOutput output;
  // The picture is always drawn, as a window draws it, so that a run costs what the
  // viewer's commands cost on a desktop; --png and --svg only write it out.
  lv::RasterCanvas picture;
  lv::CliSession session([&output](std::string_view event) { output.write(event); }, iniDir,
                         {&picture, !noDrawEvents});
  int status = 0;
  for (const std::string& command : commands) {
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
