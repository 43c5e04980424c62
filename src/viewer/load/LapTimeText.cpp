#include "viewer/load/LapTimeText.h"

#include <algorithm>

#include "viewer/load/ViewerStores.h"

namespace lv {

std::string lapTimeText(std::int32_t milliseconds, int maxMinutes) {
  std::int32_t minutes =
      std::clamp(milliseconds / 60000, std::int32_t{0}, static_cast<std::int32_t>(maxMinutes));
  std::int32_t rest = milliseconds - minutes * 60000;
  std::int32_t seconds = rest / 1000;
  std::int32_t millis = rest % 1000;
  std::string text = std::to_string(minutes) + ":";
  if (seconds < 10) text += "0";
  text += std::to_string(seconds) + ".";
  if (millis < 100) text += "0";
  if (millis < 10) text += "0";
  return text + std::to_string(millis);
}

std::string lapListLine(int lap, std::int32_t lapTime, std::int32_t lapCar) {
  std::string line = std::to_string(lap);
  if (lap < 10) line += " ";
  if (lap < 100) line += " ";
  if (lapTime == kLapNotValid) {
    line += "---------";
  } else if (lapTime == kStartLap) {
    line += "Start";
  } else {
    line += lapTimeText(lapTime, 20);
  }
  line += line.size() >= 10 ? std::string(5, ' ') : std::string(14, ' ');
  line += lapCar != 0 ? "-" : "+";
  return line;
}

}  // namespace lv
