#pragma once

#include <system_error>
#include <thread>

namespace lv {

// Runs `first` on a second thread while `second` runs on this one, and returns when both are
// done: the long passes of a load over half a million samples share them out to the
// machine's second core. The two must touch disjoint memory and must not throw. On a machine
// with one core, or when no thread can be started, both run here, one after the other.
template <typename First, typename Second>
void runSideBySide(First&& first, Second&& second) {
  std::thread helper;
  if (std::thread::hardware_concurrency() > 1) {
    try {
      helper = std::thread([&first] { first(); });
    } catch (const std::system_error&) {
      // No thread to be had: both run here.
    }
  }
  if (!helper.joinable()) first();
  second();
  if (helper.joinable()) helper.join();
}

}  // namespace lv
