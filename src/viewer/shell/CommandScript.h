#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lv {

// Appends the lines of the command file `path` to `commands`, one command a line, as the
// programs' --script takes them; false when the file cannot be read.
bool readCommandScript(const std::filesystem::path& path, std::vector<std::string>& commands);

}  // namespace lv
