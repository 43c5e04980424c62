#include "platform/headless/FieldEvents.h"

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

}  // namespace

std::vector<std::string> fieldEvents(const DialogFields& f) {
  std::vector<std::string> events;
  auto add = [&events](const std::string& name, const std::string& value) {
    events.push_back(name + " " + value);
  };
  add("speedValue", floatText(f.speedValue));
  for (std::size_t i = 0; i < f.tyreTempBox.size(); ++i)
    add(indexed("tyreTempBox", i), floatText(f.tyreTempBox[i]));
  add("lapListText", f.lapListText);
  for (std::size_t i = 0; i < f.lapNameText.size(); ++i)
    add(indexed("lapNameText", i), f.lapNameText[i]);
  for (std::size_t i = 0; i < f.wearValue.size(); ++i)
    add(indexed("wearValue", i), std::to_string(f.wearValue[i]));
  add("torqueValue", std::to_string(f.torqueValue));
  add("throttleValue", std::to_string(f.throttleValue));
  add("brakeValue", std::to_string(f.brakeValue));
  add("powerValue", floatText(f.powerValue));
  add("rpmValue", std::to_string(f.rpmValue));
  add("headingRateValue", floatText(f.headingRateValue));
  add("waterTempValue", std::to_string(f.waterTempValue));
  add("oilTempValue", std::to_string(f.oilTempValue));
  add("distanceValue", floatText(f.distanceValue));
  add("gearValue", std::to_string(f.gearValue));
  add("accelerationValue", floatText(f.accelerationValue));
  return events;
}

}  // namespace lv
