#include "logger/AddressOverrideFiles.h"

#include <vector>

#include "logger/AddressOverrides.h"
#include "telemetry/FileBytes.h"

namespace lv {

AddressTable addressTableWithOverrides(const std::string& programFolder, const std::string& iniDir,
                                       char separator, std::ostream& problems) {
  AddressTable table = builtInAddressTable();
  std::vector<std::string> paths{programFolder + kAddressOverrideFile};
  std::string inIniDir =
      (iniDir.empty() ? std::string() : iniDir + separator) + kAddressOverrideFile;
  if (inIniDir != paths[0]) paths.push_back(inIniDir);
  for (const std::string& path : paths) {
    FileBytes file;
    if (!fileExists(path) || !file.open(path)) continue;
    for (const std::string& problem : applyAddressOverrides(file.bytes(), table))
      problems << path << ": " << problem << '\n';
  }
  return table;
}

}  // namespace lv
