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

std::vector<ProcessEntry> matchingProcesses(ProcessApi& api, std::string_view exeName) {
  std::vector<ProcessEntry> matches;
  for (ProcessEntry& process : api.listProcesses()) {
    if (processNameMatches(process.name, exeName)) matches.push_back(std::move(process));
  }
  return matches;
}

FoundProcess findProcess(ProcessApi& api, std::string_view exeName) {
  std::vector<ProcessEntry> matches = matchingProcesses(api, exeName);
  if (matches.empty()) return {};
  return {true, matches.back().id};
}

}  // namespace lv
