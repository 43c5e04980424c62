#pragma once

#include <optional>

#include "logger/LoggerRun.h"

namespace lv {

// Reads vantor's command line into `options`. Returns the exit status when the program ends
// here (after --help, or a mistake that has been explained), nothing when it runs on.
std::optional<int> parseVantorOptions(int argc, char** argv, LoggerOptions& options);

}  // namespace lv
