#pragma once

#include <array>
#include <string>

namespace lv {

// The main dialog's value fields, each bound to one control by data exchange.
struct DialogFields {
  float speedValue = 0;
  std::array<float, 12> tyreTempBox{};
  std::string lapListText;
  std::array<std::string, 4> lapNameText;
  std::array<int, 4> wearValue{};
  int torqueValue = 0;
  int throttleValue = 0;
  int brakeValue = 0;
  float powerValue = 0;
  int rpmValue = 0;
  float headingRateValue = 0;
  int waterTempValue = 0;
  int oilTempValue = 0;
  float distanceValue = 0;
  int gearValue = 0;
  float accelerationValue = 0;
};

}  // namespace lv
