#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "viewer/load/SideBySide.h"

namespace lv {
namespace {

// Both tasks run to their end before runSideBySide returns, time after time, also when a task
// shares out work of its own while the second core is busy, and when two threads share out
// work at once.
TEST(SideBySide, BothTasksAreDoneOnReturnWhetherNestedOrFromTwoThreads) {
  auto shareOut = [](std::vector<int>& out) {
    for (int round = 0; round < 500; ++round) {
      int a = 0, b = 0, c = 0, d = 0;
      runSideBySide([&] { runSideBySide([&] { a = round; }, [&] { b = round; }); },
                    [&] { runSideBySide([&] { c = round; }, [&] { d = round; }); });
      out.push_back(a + b + c + d - 4 * round);
    }
  };
  std::vector<int> here, there;
  std::thread other([&] { shareOut(there); });
  shareOut(here);
  other.join();
  EXPECT_EQ(here, std::vector<int>(500, 0));
  EXPECT_EQ(there, std::vector<int>(500, 0));
}

}  // namespace
}  // namespace lv
