#include "logger/AddressOverrides.h"

#include <charconv>
#include <optional>
#include <sstream>
#include <string_view>

#include "logger/GameVersion.h"

namespace lv {
namespace {

std::vector<std::string_view> wordsOf(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  auto isBlank = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
  };
  while (pos < line.size()) {
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    std::size_t start = pos;
    while (pos < line.size() && !isBlank(line[pos])) ++pos;
    if (pos > start) words.push_back(line.substr(start, pos - start));
  }
  return words;
}

std::optional<std::uint32_t> parseNumber(std::string_view word) {
  int base = 10;
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    base = 16;
    word.remove_prefix(2);
  }
  std::uint32_t value = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::optional<int> parseRow(std::string_view word) {
  if (auto row = addressRowOf(word)) return row;
  auto number = parseNumber(word);
  if (number && *number < static_cast<std::uint32_t>(kAddressRows))
    return static_cast<int>(*number);
  return std::nullopt;
}

// Applies one line; returns an empty string when it was used or skipped, else the problem.
std::string applyLine(std::string_view line, AddressTable& table) {
  std::vector<std::string_view> words = wordsOf(line);
  if (words.empty() || words[0][0] == '#') return {};
  std::optional<int> row = parseRow(words[0]);
  if (!row) return "unknown version or row \"" + std::string(words[0]) + "\"";
  if (words.size() - 1 > static_cast<std::size_t>(kBlocks)) return "more than 64 addresses";
  auto updated = table[static_cast<std::size_t>(*row)];
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (words[i] == "-") continue;
    std::optional<std::uint32_t> address = parseNumber(words[i]);
    if (!address) return "not an address: \"" + std::string(words[i]) + "\"";
    updated[i - 1] = *address;
  }
  table[static_cast<std::size_t>(*row)] = updated;
  return {};
}

}  // namespace

std::vector<std::string> applyAddressOverrides(std::span<const std::uint8_t> text,
                                               AddressTable& table) {
  std::vector<std::string> problems;
  std::string_view all(reinterpret_cast<const char*>(text.data()), text.size());
  int lineNumber = 0;
  while (!all.empty()) {
    ++lineNumber;
    std::size_t end = all.find('\n');
    std::string_view line = all.substr(0, end);
    all.remove_prefix(end == std::string_view::npos ? all.size() : end + 1);
    std::string problem = applyLine(line, table);
    if (!problem.empty()) problems.push_back("line " + std::to_string(lineNumber) + ": " + problem);
  }
  return problems;
}

}  // namespace lv
