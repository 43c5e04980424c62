// The tyre picture takes the extremes of a pixel column four wheels at a time; they must be
// the extremes the plain arithmetic gives, bit for bit, whatever the values.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "viewer/overviews/TyreColumnKeys.h"

namespace lv {
namespace {

template <typename T>
bool sameBits(T a, T b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

template <typename T>
void expectSameRanges(const std::array<KeyRange<T>, 4>& a, const std::array<KeyRange<T>, 4>& b,
                      const char* what) {
  for (std::size_t w = 0; w < 4; ++w) {
    EXPECT_TRUE(sameBits(a[w].low, b[w].low)) << what << " low, wheel " << w;
    EXPECT_TRUE(sameBits(a[w].high, b[w].high)) << what << " high, wheel " << w;
    EXPECT_EQ(a[w].nan, b[w].nan) << what << " NaN, wheel " << w;
  }
}

TEST(TyreColumnKeys, FourWheelsAtOnceEqualThePlainArithmetic) {
  std::mt19937 random(5);
  const float specials[] = {std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            0.0f,
                            -0.0f,
                            std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::max(),
                            -std::numeric_limits<float>::max()};
  auto value = [&]() {
    if (std::uniform_int_distribution<int>(0, 15)(random) == 0)
      return specials[std::uniform_int_distribution<std::size_t>(0, 7)(random)];
    return std::uniform_real_distribution<float>(250.0f, 420.0f)(random);
  };
  for (std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{300}}) {
    for (int round = 0; round < 40; ++round) {
      std::vector<TelemetryRecord> telemetry(count);
      std::vector<WheelTemps> means(count);
      for (std::size_t i = 0; i < count; ++i) {
        for (float& f : telemetry[i].f) f = value();
        for (float& m : means[i].w) m = value() - 273.15f;
      }
      TyreColumnKeys fast = tyreColumnKeys(telemetry.data(), means.data(), count);
      TyreColumnKeys plain = tyreColumnKeysPlain(telemetry.data(), means.data(), count);
      expectSameRanges(fast.across, plain.across, "tread difference");
      expectSameRanges(fast.centre, plain.centre, "centre against edges");
      expectSameRanges(fast.mean, plain.mean, "mean temperature");
      if (HasFailure()) return;
    }
  }
}

}  // namespace
}  // namespace lv
