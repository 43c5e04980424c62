#pragma once

#include <string>

namespace lv {

// The folder of the running program, ending in '/'; empty when it cannot be told.
std::string programFolder();

}  // namespace lv
