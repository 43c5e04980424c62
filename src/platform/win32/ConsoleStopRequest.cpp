#include "platform/win32/ConsoleStopRequest.h"

namespace lv {
namespace {

std::atomic<ConsoleStopRequest*> listener{nullptr};

// Windows ends the process once the handler of a closed console returns, and after about
// five seconds even if it has not. Holding the handler gives the main thread that time to
// finish the sampling loop and save the recording (the replay-name prompt fails at once, the
// console being gone, so the fallback file is written); the process then ends the usual way
// and takes this waiting thread with it.
constexpr DWORD kCloseWaitMs = 4500;

BOOL WINAPI handleConsoleEvent(DWORD event) {
  return ConsoleStopRequest::onConsoleEvent(event, kCloseWaitMs) ? TRUE : FALSE;
}

}  // namespace

ConsoleStopRequest::~ConsoleStopRequest() {
  ConsoleStopRequest* self = this;
  if (listener.compare_exchange_strong(self, nullptr))
    SetConsoleCtrlHandler(handleConsoleEvent, FALSE);
}

void ConsoleStopRequest::listen() {
  if (listener.exchange(this) == nullptr) SetConsoleCtrlHandler(handleConsoleEvent, TRUE);
}

bool ConsoleStopRequest::requested() const {
  return requested_.load();
}

bool ConsoleStopRequest::onConsoleEvent(DWORD event, DWORD closeWaitMs) {
  bool stops = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT;
  // Log-off and shut-down are not for a console program to refuse: Windows' own handling
  // stays, as it does for events that come before anyone listens.
  ConsoleStopRequest* current = listener.load();
  if (!stops || current == nullptr) return false;
  current->requested_.store(true);
  if (event == CTRL_CLOSE_EVENT) Sleep(closeWaitMs);
  return true;
}

}  // namespace lv
