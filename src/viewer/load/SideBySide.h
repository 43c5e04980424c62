#pragma once

#include <system_error>
#include <thread>
#include <type_traits>

namespace lv {

// The machine's second core for runSideBySide: a thread that stays for the program's life and
// waits for one task at a time, so that a load does not pay for starting threads.
class SecondCore {
 public:
  // Hands `run(context)` to the waiting thread and returns true; false where it is busy with
  // another task or the machine has one core or no thread can be had.
  static bool begin(void (*run)(void*), void* context);
  // Waits until the task handed over by the last successful begin() is done.
  static void finish();
};

// Runs `first` on a second thread while `second` runs on this one, and returns when both are
// done: the long passes of a load over half a million samples share them out to the
// machine's second core. The two must touch disjoint memory and must not throw. When the
// second core's thread is busy, `first` gets a thread of its own; on a machine with one core,
// or when no thread can be started, both run here, one after the other.
template <typename First, typename Second>
void runSideBySide(First&& first, Second&& second) {
  using Task = std::remove_reference_t<First>;
  if (SecondCore::begin([](void* task) { (*static_cast<Task*>(task))(); },
                        const_cast<void*>(static_cast<const void*>(&first)))) {
    second();
    SecondCore::finish();
    return;
  }
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
