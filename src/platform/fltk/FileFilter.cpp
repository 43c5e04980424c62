#include "platform/fltk/FileFilter.h"

#include <vector>

namespace lv {
namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// "*.tmr;*.rpy" -> "*.{tmr,rpy}"; patterns that are not all "*.ext" stay a list in braces.
std::string fltkPattern(std::string_view patterns) {
  std::vector<std::string_view> list;
  for (std::string_view pattern : split(patterns, ';'))
    if (!trimmed(pattern).empty()) list.push_back(trimmed(pattern));
  if (list.empty()) return "";
  if (list.size() == 1) return std::string(list[0]);
  bool extensions = true;
  for (std::string_view pattern : list)
    extensions = extensions && pattern.substr(0, 2) == "*." && pattern.size() > 2;
  std::string joined = extensions ? "*.{" : "{";
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i > 0) joined += ',';
    joined += extensions ? list[i].substr(2) : list[i];
  }
  return joined + "}";
}

}  // namespace

std::string fltkFilter(std::string_view pairs) {
  std::vector<std::string_view> parts = split(pairs, '|');
  std::string filter;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string_view name = trimmed(parts[i]);
    std::string pattern = fltkPattern(parts[i + 1]);
    if (name.empty() && pattern.empty()) break;  // the closing "||"
    if (!filter.empty()) filter += '\n';
    filter += std::string(name) + '\t' + pattern;
  }
  return filter;
}

}  // namespace lv
