#pragma once

#include <string_view>

namespace lv {

// Texts of the application around the main dialog, the same on every platform.

// The start-up hint German users see before the window.
inline constexpr std::string_view kStartupHintTitle = "Pacetrace for gpl       ";
inline constexpr std::string_view kStartupHintText =
    "Lapvista: lap analysis for GPL replays and telemetry.                    "
    "Hint: After datasheet and tire temps overview you have to doubleclick at a laptime in "
    "listbox above to come to lap based telemetry part.";

inline constexpr std::string_view kProgramName = "Lapvista";
inline constexpr std::string_view kAboutEntry = "Inf&o \u00fcber Lapvista...";
inline constexpr std::string_view kAboutCaption = "Info \u00fcber Lapvista";
inline constexpr std::string_view kAboutVersionLine = "Lapvista Version 2.0";
inline constexpr std::string_view kAboutSecondLine = "Lap analysis for GPL telemetry";

}  // namespace lv
