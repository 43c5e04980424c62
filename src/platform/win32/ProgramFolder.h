#pragma once

#include <string>

namespace lv {

// The folder of the running program (UTF-8), ending in a backslash; empty when it cannot be
// told.
std::string programFolder();

}  // namespace lv
