#pragma once

#include <string>

namespace lv {

// The ini folder a program takes when none is given: its own folder without the closing
// separator (a root stays a root), "." when the program's folder cannot be told.
// Plain text, not std::filesystem: on Windows that would read the UTF-8 in the code page.
inline std::string iniDirOf(std::string programFolder) {
  if (programFolder.empty()) return ".";
  bool root = programFolder.size() == 1 || (programFolder.size() == 3 && programFolder[1] == ':');
  if (!root) programFolder.pop_back();
  return programFolder;
}

}  // namespace lv
