#include <gtest/gtest.h>

#include "platform/fltk/FileFilter.h"

namespace lv {
namespace {

TEST(FileFilter, PlatformPairsBecomeFltkLines) {
  struct Case {
    const char* pairs;
    const char* fltk;
  };
  for (const Case& c : {
           // The load command's filter: blanks around the names and patterns go.
           Case{".tmr,  .rpy,  .tel| *.tmr;*.rpy;*.tel||", ".tmr,  .rpy,  .tel\t*.{tmr,rpy,tel}"},
           Case{"Laps|*.tmr||", "Laps\t*.tmr"},
           Case{"Laps|*.tmr|All|*||", "Laps\t*.tmr\nAll\t*"},
           Case{"Mixed|a*;*.rpy||", "Mixed\t{a*,*.rpy}"},
           Case{"", ""},
           Case{"Unfinished|*.tmr", "Unfinished\t*.tmr"},
       }) {
    SCOPED_TRACE(c.pairs);
    EXPECT_EQ(fltkFilter(c.pairs), c.fltk);
  }
}

}  // namespace
}  // namespace lv
