#pragma once

// A lapvista-cli session whose events are kept, with look-ups the tests share.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/CliSession.h"

namespace lv::test {

struct Session {
  std::vector<std::string> events;
  CliSession cli;

  explicit Session(const std::string& iniDir)
      : cli([this](std::string_view e) { events.emplace_back(e); }, iniDir) {}

  std::vector<std::string> lapLines() const {
    std::vector<std::string> lines;
    for (const std::string& e : events)
      if (e.rfind("list+ ", 0) == 0) lines.push_back(e.substr(6));
    return lines;
  }
  bool has(const std::string& event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
  }
  int count(const std::string& event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
  }
  // The lines of the first message box titled `title`.
  std::vector<std::string> box(const std::string& title) const {
    std::vector<std::string> lines;
    auto it = std::find(events.begin(), events.end(), "msgbox " + title);
    if (it == events.end()) return lines;
    for (++it; it < events.end() && *it != "msgbox-end"; ++it) lines.push_back(it->substr(2));
    return lines;
  }
  // The last value shown for the field `name`.
  std::string field(const std::string& name) const {
    for (auto it = events.rbegin(); it != events.rend(); ++it)
      if (it->rfind("field " + name + " ", 0) == 0) return it->substr(7 + name.size());
    return "";
  }
};

}  // namespace lv::test
