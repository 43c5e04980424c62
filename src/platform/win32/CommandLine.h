#pragma once

#include <string>
#include <vector>

namespace lv {

// The command line as UTF-8 words; argv of main holds them in the system's ANSI code page,
// which cannot carry every folder name.
std::vector<std::string> utf8Arguments();

}  // namespace lv
