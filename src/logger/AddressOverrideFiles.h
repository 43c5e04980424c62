#pragma once

#include <ostream>
#include <string>

#include "logger/AddressTable.h"

namespace lv {

// The built-in table with the override files applied: first the one in `programFolder`
// (which ends in a separator), then the one in `iniDir` (`separator` joins folder and name)
// unless that is the same file. A file that is missing or cannot be read changes nothing; the
// lines that could not be used are told on `problems` after the file's path.
AddressTable addressTableWithOverrides(const std::string& programFolder, const std::string& iniDir,
                                       char separator, std::ostream& problems);

}  // namespace lv
