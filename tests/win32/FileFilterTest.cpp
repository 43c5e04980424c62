#include <gtest/gtest.h>

#include "platform/win32/dialog/FileDialogs.h"

namespace lv {
namespace {

TEST(CommonDialogFilter, PairsSeparatedAndEndedByNul) {
  using namespace std::string_literals;
  EXPECT_EQ(commonDialogFilter(".tmr,  .rpy,  .tel| *.tmr;*.rpy;*.tel||"),
            L".tmr,  .rpy,  .tel\0 *.tmr;*.rpy;*.tel\0\0"s);
  // Without the closing bars the list still ends with two NULs.
  EXPECT_EQ(commonDialogFilter("Laps|*.tmr"), L"Laps\0*.tmr\0\0"s);
  EXPECT_EQ(commonDialogFilter(""), L""s);
}

}  // namespace
}  // namespace lv
