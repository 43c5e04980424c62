#include "logger/ProcessFinder.h"

#include <string>

namespace lv {
namespace {

std::string lowered(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return result;
}

}  // namespace

bool processNameMatches(std::string_view processName, std::string_view target) {
  if (target.empty()) return true;
  return lowered(processName).find(lowered(target)) != std::string::npos;
}

FoundProcess findProcess(ProcessApi& api, std::string_view exeName) {
  FoundProcess result;
  for (const ProcessEntry& process : api.listProcesses()) {
    if (processNameMatches(process.name, exeName)) result = {true, process.id};
  }
  return result;
}

}  // namespace lv
