#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lv {

// Texts of the replay tree and of a lap imported from it.

// "J.Clark  (Lotus)": the first character of the name, ".", the last name (from character
// 16 of the 32-byte name), and the car by its number; an unknown number leaves "()".
std::string driverLabel(const char (&name)[32], std::int32_t carNumber);

// A practice lap line: number right-aligned in three places, "*" when the lap began before
// the recorded frames, the time (at most 50 whole minutes) and " [flag]" for a flag above 0.
std::string practiceLapLine(int lap, bool beforeRecording, std::int32_t lapTime, std::uint8_t flag);
// A race lap line: as the practice line without the "*" column, at most 20 whole minutes.
std::string raceLapLine(int lap, std::int32_t lapTime, std::uint8_t flag);

// The lap list line of an imported lap: the lap line from its fourth character on with the
// driver's initials from the driver label in front, padded like every lap list line, then
// "-" for a flag other than 0, else "+".
std::string importedLapListLine(std::string_view lapLine, std::string_view driverLabel,
                                std::uint8_t flag);

}  // namespace lv
