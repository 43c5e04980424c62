#pragma once

#include <array>

#include "viewer/graphs/Canvas.h"

namespace lv {

inline constexpr std::array<Rgb, 4> kLapColoursPrimary{
    {{240, 0, 40}, {40, 0, 240}, {250, 250, 0}, {40, 140, 40}}};
inline constexpr std::array<Rgb, 4> kLapColoursSecondary{
    {{160, 0, 40}, {40, 0, 160}, {240, 210, 130}, {40, 80, 40}}};
inline constexpr Rgb kZeroLineColour{240, 240, 240};

enum class ColourSet { kPrimary, kSecondary };

inline Rgb lapColour(ColourSet set, int slot) {
  return set == ColourSet::kPrimary ? kLapColoursPrimary[static_cast<std::size_t>(slot)]
                                    : kLapColoursSecondary[static_cast<std::size_t>(slot)];
}

// Wheel colours of the tyre views: front left, front right, rear left, rear right.
inline constexpr std::array<Rgb, 4> kWheelColours{
    {{240, 0, 40}, {250, 250, 0}, {40, 0, 240}, {40, 140, 40}}};

}  // namespace lv
