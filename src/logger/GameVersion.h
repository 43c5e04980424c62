#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lv {

inline constexpr std::string_view kVersion101A = "GPL1.2.0.1A";
inline constexpr std::string_view kVersion101B = "GPL1.2.0.1B";
inline constexpr std::string_view kVersion102A = "GPL1.2.0.2A";
inline constexpr std::string_view kVersion102B = "GPL1.2.0.2B";
inline constexpr std::string_view kNotRecognized = "not recognized";
inline constexpr std::string_view kFileNotFound = "file not found";
inline constexpr std::string_view kNotAValidFilename = "not a valid filename";
inline constexpr std::string_view kNoVersionDetected = "no version detected";

// File positions of the version marker (the float 295.0) and of the word that tells the
// two builds of a release apart.
inline constexpr std::size_t kMarkerOffset12010 = 658246;
inline constexpr std::size_t kBuildWordOffset12010 = 658242;
inline constexpr std::size_t kMarkerOffset12020 = 658342;
inline constexpr std::size_t kBuildWordOffset12020 = 658338;
inline constexpr std::uint32_t kVersionMarker = 0x43938000;

// Row of the address table for a version text; nothing for any other text.
std::optional<int> addressRowOf(std::string_view versionText);

// Recognises the game version from its program file.
std::string detectVersion(const std::string& programPath);

}  // namespace lv
