#include "VantorOptions.h"

#include <CLI/CLI.hpp>

namespace lv {

std::optional<int> parseVantorOptions(int argc, char** argv, LoggerOptions& options) {
  CLI::App app{"Records GPL's telemetry into a .tel file beside the replay."};
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
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  }
  options.format = format == 5 ? LogFormat::kVersion5 : LogFormat::kVersion7;
  return std::nullopt;
}

}  // namespace lv
