#include "viewer/shell/FieldTexts.h"

#include <cstdio>

namespace lv {
namespace {

std::string floatText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
  return text;
}

std::string indexed(const char* name, std::size_t i) {
  return std::string(name) + "[" + std::to_string(i) + "]";
}

constexpr std::array<int, 12> kTyreTempBoxes{1007, 1008, 1009, 1010, 1011, 1015,
                                             1016, 1017, 1018, 1019, 1020, 1021};
constexpr std::array<int, 4> kLapNameBoxes{1026, 1027, 1028, 1029};
constexpr std::array<int, 4> kWearBoxes{1022, 1023, 1024, 1031};

}  // namespace

std::vector<NamedFieldText> namedFieldTexts(const DialogFields& f) {
  std::vector<NamedFieldText> texts;
  texts.reserve(36);
  texts.push_back({"speedValue", 1001, floatText(f.speedValue)});
  for (std::size_t i = 0; i < kTyreTempBoxes.size(); ++i)
    texts.push_back({indexed("tyreTempBox", i), kTyreTempBoxes[i], floatText(f.tyreTempBox[i])});
  texts.push_back({"lapListText", kNoEditBox, f.lapListText});
  for (std::size_t i = 0; i < kLapNameBoxes.size(); ++i)
    texts.push_back({indexed("lapNameText", i), kLapNameBoxes[i], f.lapNameText[i]});
  for (std::size_t i = 0; i < kWearBoxes.size(); ++i)
    texts.push_back({indexed("wearValue", i), kWearBoxes[i], std::to_string(f.wearValue[i])});
  texts.push_back({"torqueValue", 1004, std::to_string(f.torqueValue)});
  texts.push_back({"throttleValue", 1005, std::to_string(f.throttleValue)});
  texts.push_back({"brakeValue", 1006, std::to_string(f.brakeValue)});
  texts.push_back({"powerValue", 1032, floatText(f.powerValue)});
  texts.push_back({"rpmValue", 1003, std::to_string(f.rpmValue)});
  texts.push_back({"headingRateValue", 1025, floatText(f.headingRateValue)});
  texts.push_back({"waterTempValue", 1039, std::to_string(f.waterTempValue)});
  texts.push_back({"oilTempValue", 1037, std::to_string(f.oilTempValue)});
  texts.push_back({"distanceValue", 1038, floatText(f.distanceValue)});
  texts.push_back({"gearValue", 1002, std::to_string(f.gearValue)});
  texts.push_back({"accelerationValue", 1040, floatText(f.accelerationValue)});
  return texts;
}

std::vector<ControlText> fieldTexts(const DialogFields& f) {
  std::vector<ControlText> texts;
  texts.reserve(35);
  for (NamedFieldText& field : namedFieldTexts(f))
    if (field.controlId != kNoEditBox) texts.push_back({field.controlId, std::move(field.text)});
  return texts;
}

}  // namespace lv
