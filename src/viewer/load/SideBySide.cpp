#include "viewer/load/SideBySide.h"

#include <condition_variable>
#include <mutex>

namespace lv {
namespace {

class Helper {
 public:
  static Helper* get() {
    // Never destroyed: the thread may still be waiting on it while the program ends.
    static Helper* const helper = start();
    return helper;
  }

  bool begin(void (*run)(void*), void* context) {
    std::lock_guard lock(mutex_);
    if (taken_) return false;
    taken_ = true;
    run_ = run;
    context_ = context;
    wake_.notify_one();
    return true;
  }

  void finish() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return run_ == nullptr; });
    taken_ = false;
  }

 private:
  static Helper* start() {
    if (std::thread::hardware_concurrency() < 2) return nullptr;
    auto* helper = new Helper;
    try {
      std::thread([helper] { helper->serve(); }).detach();
    } catch (const std::system_error&) {
      delete helper;
      return nullptr;
    }
    return helper;
  }

  [[noreturn]] void serve() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return run_ != nullptr; });
      void (*run)(void*) = run_;
      void* context = context_;
      lock.unlock();
      run(context);
      lock.lock();
      run_ = nullptr;
      done_.notify_one();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_, done_;
  bool taken_ = false;            // from begin() to finish()
  void (*run_)(void*) = nullptr;  // the task handed over, until it is done
  void* context_ = nullptr;
};

}  // namespace

bool SecondCore::begin(void (*run)(void*), void* context) {
  Helper* helper = Helper::get();
  return helper != nullptr && helper->begin(run, context);
}

void SecondCore::finish() {
  Helper::get()->finish();
}

}  // namespace lv
