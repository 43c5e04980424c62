#include "logger/GameVersion.h"

#include "telemetry/FileBytes.h"

namespace lv {
namespace {

struct BuildWord {
  std::uint32_t word;
  std::string_view version;
};

// Reads the little-endian word at `offset`; bytes past the end count as 0xFF, so a short
// file never matches.
std::uint32_t wordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    std::uint32_t byte = offset + i < bytes.size() ? bytes[offset + i] : 0xFF;
    value |= byte << (8 * i);
  }
  return value;
}

std::string versionOfBuild(std::uint32_t word, const BuildWord (&builds)[2]) {
  for (const BuildWord& build : builds)
    if (build.word == word) return std::string(build.version);
  return std::string(kNotRecognized);
}

}  // namespace

std::optional<int> addressRowOf(std::string_view versionText) {
  if (versionText == kVersion101A) return 4;
  if (versionText == kVersion101B) return 3;
  if (versionText == kVersion102A) return 6;
  if (versionText == kVersion102B) return 1;
  return std::nullopt;
}

std::string detectVersion(const std::string& programPath) {
  if (programPath.empty()) return std::string(kNotAValidFilename);
  FileBytes file;
  if (!file.open(programPath)) return std::string(kFileNotFound);
  auto bytes = file.bytes();

  static const BuildWord builds12010[2] = {{0x0079BFF0, kVersion101A}, {0x0079BFF8, kVersion101B}};
  static const BuildWord builds12020[2] = {{0x0079B928, kVersion102A}, {0x0079B930, kVersion102B}};
  if (wordAt(bytes, kMarkerOffset12010) == kVersionMarker)
    return versionOfBuild(wordAt(bytes, kBuildWordOffset12010), builds12010);
  if (wordAt(bytes, kMarkerOffset12020) == kVersionMarker)
    return versionOfBuild(wordAt(bytes, kBuildWordOffset12020), builds12020);
  return std::string(kNotRecognized);
}

}  // namespace lv
