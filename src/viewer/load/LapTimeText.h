#pragma once

#include <cstdint>
#include <string>

namespace lv {

// "m:ss.mmm" with at most `maxMinutes` whole minutes taken off (the rest stays in the
// seconds), as the lap list and the saved-laps listing show times.
std::string lapTimeText(std::int32_t milliseconds, int maxMinutes);

// The lap list line of lap `lap`: number, time or status, blanks, and "-" for a lap with a
// non-zero car byte or "+" otherwise.
std::string lapListLine(int lap, std::int32_t lapTime, std::int32_t lapCar);

}  // namespace lv
