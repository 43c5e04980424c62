// The quick arcsine must stay far inside the error it declares, over the whole domain, at the
// ends and where it changes from one formula to the other.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "viewer/load/QuickArcsine.h"

namespace lv {
namespace {

TEST(QuickArcsine, StaysFarWithinItsErrorOfTheLibrarysArcsine) {
  std::vector<double> x = {0.0,
                           -0.0,
                           1.0,
                           -1.0,
                           0.5,
                           -0.5,
                           std::nextafter(0.5, 0.0),
                           1e-300,
                           4.9e-324,
                           std::nextafter(1.0, 0.0),
                           0.975,
                           -0.975,
                           std::nextafter(-1.0, 0.0)};
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> anywhere(-1.0, 1.0);
  for (int i = 0; i < 200000; ++i) x.push_back(anywhere(random));
  for (int i = 0; i < 20000; ++i) x.push_back(std::ldexp(anywhere(random), -(i % 70)));
  x.push_back(0.25);  // an odd count: the last value alone
  std::vector<double> quick(x.size());
  quickArcsines(x.data(), quick.data(), x.size());
  for (std::size_t i = 0; i < x.size(); ++i) {
    ASSERT_LE(std::fabs(quick[i] - std::asin(x[i])), kQuickArcsineError / 1000) << x[i];
    ASSERT_EQ(std::signbit(quick[i]), std::signbit(x[i])) << x[i];
  }
}

}  // namespace
}  // namespace lv
