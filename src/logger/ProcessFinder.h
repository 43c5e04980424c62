#pragma once

#include <string_view>
#include <vector>

#include "logger/ProcessApi.h"

namespace lv {

struct FoundProcess {
  bool found = false;
  int id = 0;  // meaningful only when found
};

// Case-insensitive (ASCII) substring test; an empty target matches every name.
bool processNameMatches(std::string_view processName, std::string_view target);

// Every process whose name contains `exeName`, in the system's order.
std::vector<ProcessEntry> matchingProcesses(ProcessApi& api, std::string_view exeName);

// Looks through all processes for one whose name contains `exeName`; when several match,
// the last one listed wins.
FoundProcess findProcess(ProcessApi& api, std::string_view exeName);

}  // namespace lv
