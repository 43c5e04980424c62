#pragma once

#include <array>
#include <string_view>

namespace lv {

// Every channel button, in the order in which a redraw cycle draws the shown channels.
enum class ChannelId {
  kSpeed,
  kThrottle,
  kBrake,
  kWear,
  kTorque,
  kRpm,
  kTireTemps,
  kOutsideInside,
  kVertForce,
  kMap,
  kReplaySpeed,
  kLine,
  kCentreOutside,
  kSteering,
  kGear,
  kSqueal,
  kSuspension,
  kRoll,
  kPitch,
  kHeight,
  kLongForce,
  kTimeDifference,
  kTotalAcceleration,
  kDirection,
  kPower,
  kLatForce,
  kSuspensionRearFront,
  kSuspensionLeftRight,
  kWheelspeed,
  kWater,
  kDatasheet,
  kOversteering,
  kClutch,
  kOil,
  kNoise,
  kReplayRpm,
  kHeadingAcceleration,
  kLatAcceleration,
  kAcceleration,
};

inline constexpr int kChannelCount = 39;

struct ChannelInfo {
  ChannelId id;
  std::string_view caption;
  int controlId;
  int initialPressCounter;
};

inline constexpr std::array<ChannelInfo, kChannelCount> kRedrawOrder{{
    {ChannelId::kSpeed, "speed", 1013, 1},
    {ChannelId::kThrottle, "throttle", 1014, 1},
    {ChannelId::kBrake, "brake", 1030, 1},
    {ChannelId::kWear, "wear", 1049, 1},
    {ChannelId::kTorque, "torque", 1051, 0},
    {ChannelId::kRpm, "rpm", 1052, 1},
    {ChannelId::kTireTemps, "tire temps", 1053, 0},
    {ChannelId::kOutsideInside, "ou-i", 1054, 0},
    {ChannelId::kVertForce, "vert f", 1056, 0},
    {ChannelId::kMap, "map", 1058, 1},
    {ChannelId::kReplaySpeed, "v replay", 1060, 0},
    {ChannelId::kLine, "line", 1083, 0},
    {ChannelId::kCentreOutside, "cent-ou", 1084, 0},
    {ChannelId::kSteering, "steering", 1059, 1},
    {ChannelId::kGear, "gear", 1085, 1},
    {ChannelId::kSqueal, "squeel", 1086, 0},
    {ChannelId::kSuspension, "suspension", 1087, 0},
    {ChannelId::kRoll, "roll", 1088, 0},
    {ChannelId::kPitch, "pitch", 1089, 0},
    {ChannelId::kHeight, "height", 1090, 0},
    {ChannelId::kLongForce, "long.f", 1091, 0},
    {ChannelId::kTimeDifference, "t Differenz", 1092, 0},
    {ChannelId::kTotalAcceleration, "a + lat.a", 1093, 0},
    {ChannelId::kDirection, "direct.", 1094, 0},
    {ChannelId::kPower, "power", 1095, 0},
    {ChannelId::kLatForce, "lat f", 1096, 0},
    {ChannelId::kSuspensionRearFront, "sus r-f", 1097, 0},
    {ChannelId::kSuspensionLeftRight, "sus l-r", 1098, 0},
    {ChannelId::kWheelspeed, "wheelspeed", 1099, 0},
    {ChannelId::kWater, "water", 1100, 0},
    {ChannelId::kDatasheet, "?", 1102, 0},
    {ChannelId::kOversteering, "oversteering", 1103, 0},
    {ChannelId::kClutch, "clutch", 1104, 0},
    {ChannelId::kOil, "oil", 1105, 0},
    {ChannelId::kNoise, "noise", 1106, 0},
    {ChannelId::kReplayRpm, "rpm replay", 1107, 0},
    {ChannelId::kHeadingAcceleration, "G a", 1112, 0},
    {ChannelId::kLatAcceleration, "lat a", 1113, 0},
    {ChannelId::kAcceleration, "accel.", 1114, 0},
}};

inline constexpr int channelIndex(ChannelId id) {
  return static_cast<int>(id);
}
inline constexpr const ChannelInfo& channelInfo(ChannelId id) {
  return kRedrawOrder[channelIndex(id)];
}

}  // namespace lv
