// The mean tyre temperatures and the extremes per column are worked out four wheels at a time;
// they must be what one value at a time gives, bit for bit, whatever the temperatures.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <random>

#include "viewer/load/TyreTemperatures.h"

namespace lv {
namespace {

template <typename T>
bool sameBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(TyreTemperatures, FourWheelsAtOnceEqualOneValueAtATime) {
  std::mt19937 random(17);
  const float specials[] = {0.0f,
                            -0.0f,
                            std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::denorm_min(),
                            1e30f};
  auto fast = std::make_unique<ViewerStores>();
  auto plain = std::make_unique<ViewerStores>();
  constexpr int kSamples = 3000;
  // Usual temperatures; NaN and infinities among them; and zeros of both signs where they
  // are the smallest or the largest value, so that which of them is kept depends on the order.
  auto value = [&](int drive) {
    auto chance = [&](int in) {
      return std::uniform_int_distribution<int>(0, in - 1)(random) == 0;
    };
    float usual = std::uniform_real_distribution<float>(300.0f, 400.0f)(random);
    switch (drive % 4) {
      case 1:
        return chance(4) ? specials[std::uniform_int_distribution<std::size_t>(0, 6)(random)]
                         : usual;
      case 2:
        return chance(50) ? (chance(2) ? 0.0f : -0.0f) : usual;
      case 3:
        return chance(50) ? (chance(2) ? 0.0f : -0.0f) : -usual;
      default:
        return usual;
    }
  };
  for (int drive = 0; drive < 40; ++drive) {
    for (int s = 0; s < kSamples; ++s) {
      auto row = static_cast<std::size_t>(s);
      for (int field = 12; field < 24; ++field)
        fast->telemetryTable[row].f[field] = plain->telemetryTable[row].f[field] = value(drive);
      for (int field = 0; field < 12; ++field) {
        float value = std::uniform_real_distribution<float>(150.0f, 450.0f)(random);
        fast->contactPatchTable[row].f[field] = plain->contactPatchTable[row].f[field] = value;
      }
    }
    ColumnExtremes start{{1e6f, drive % 2 == 0 ? 0.0f : 1e6f, 1e6f}, {-1e6f, -1e6f, -0.0f}};
    ColumnExtremes a = start, b = start;
    deriveTyreTemperatures(*fast, 0, kSamples, a);
    deriveTyreTemperaturesPlain(*plain, 0, kSamples, b);
    EXPECT_TRUE(sameBits(a, b)) << "extremes, drive " << drive;
    for (int s = 0; s < kSamples; ++s) {
      auto row = static_cast<std::size_t>(s);
      ASSERT_TRUE(sameBits(fast->tyreTempAvg[row], plain->tyreTempAvg[row])) << s;
      ASSERT_TRUE(sameBits(fast->contactPatchAvg[row], plain->contactPatchAvg[row])) << s;
    }
  }
}

}  // namespace
}  // namespace lv
