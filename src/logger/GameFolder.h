#pragma once

#include <string>

namespace lv {

// The GPL folder as written in "Vantor.ini", made usable on this system: Windows users write
// it with backslashes, which become '/' here. Names are appended to it directly, so it keeps
// whatever trailing separator it has.
std::string gameFolderPath(const std::string& iniLine);

}  // namespace lv
