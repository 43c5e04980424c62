#include "viewer/load/PathIgnoringCase.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "telemetry/Utf8Path.h"

namespace lv {
namespace {

namespace fs = std::filesystem;

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<std::string> entryIgnoringCase(const fs::path& folder, std::string_view name) {
  std::optional<std::string> found;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    std::string candidate = utf8String(entries->path().filename());
    if (equalIgnoringCase(candidate, name) && (!found || candidate < *found)) found = candidate;
  }
  return found;
}

}  // namespace

std::string findPathIgnoringCase(const std::string& folder, std::string_view relative) {
  fs::path path = utf8Path(folder);
  bool stillOnDisk = true;
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = std::min(relative.find('/', start), relative.size());
    std::string_view part = relative.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    std::error_code error;
    if (stillOnDisk && !fs::exists(path / utf8Path(part), error)) {
      if (std::optional<std::string> match = entryIgnoringCase(path, part)) {
        path /= *match;
        continue;
      }
      stillOnDisk = false;
    }
    path /= utf8Path(part);
  }
  return utf8String(path);
}

}  // namespace lv
