#include "viewer/load/ReplayTreeText.h"

#include "viewer/load/LapTimeText.h"

namespace lv {
namespace {

constexpr const char* kCarNames[] = {"Brabham", "BRM",   "Cooper", "Eagle",
                                     "Ferrari", "Lotus", "Honda"};

std::string lapNumber(int lap) {
  std::string text;
  if (lap < 10) text += ' ';
  if (lap < 100) text += ' ';
  return text + std::to_string(lap);
}

std::string flagSuffix(std::uint8_t flag) {
  return flag > 0 ? " [" + std::to_string(flag) + "]" : std::string();
}

// Text of a zero-terminated field of `size` bytes.
std::string_view fieldText(const char* field, std::size_t size) {
  std::size_t length = 0;
  while (length < size && field[length] != '\0') ++length;
  return {field, length};
}

}  // namespace

std::string driverLabel(const char (&name)[32], std::int32_t carNumber) {
  std::string label;
  // A name without a first character contributes none, as a terminator would.
  if (name[0] != '\0') label += name[0];
  label += '.';
  label += fieldText(name + 16, 16);
  label += "  (";
  if (carNumber >= 0 && carNumber < 7) label += kCarNames[carNumber];
  return label + ")";
}

std::string practiceLapLine(int lap, bool beforeRecording, std::int32_t lapTime,
                            std::uint8_t flag) {
  return lapNumber(lap) + ' ' + (beforeRecording ? '*' : ' ') + ' ' + lapTimeText(lapTime, 50) +
         flagSuffix(flag);
}

std::string raceLapLine(int lap, std::int32_t lapTime, std::uint8_t flag) {
  return lapNumber(lap) + "   " + lapTimeText(lapTime, 20) + flagSuffix(flag);
}

std::string importedLapListLine(std::string_view lapLine, std::string_view driverLabel,
                                std::uint8_t flag) {
  std::string line(lapLine.size() > 3 ? lapLine.substr(3) : std::string_view());
  if (!line.empty() && !driverLabel.empty()) line[0] = driverLabel[0];
  if (line.size() > 1 && driverLabel.size() > 2) line[1] = driverLabel[2];
  line += line.size() < 10 ? std::string(14, ' ') : std::string(5, ' ');
  return line + (flag != 0 ? "-" : "+");
}

}  // namespace lv
