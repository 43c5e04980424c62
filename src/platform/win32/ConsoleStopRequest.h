#pragma once

#include <windows.h>

#include <atomic>

#include "logger/StopRequest.h"

namespace lv {

// Ctrl-C, Ctrl-Break and the closing of the console window as stop requests. A Ctrl-C also
// breaks off a console read that is waiting (the read fails as the handler returns), so that
// at the replay-name prompt it ends the dialogue like the end of input does: the recording
// then goes to the fallback file before the program ends.
class ConsoleStopRequest final : public StopRequest {
 public:
  ConsoleStopRequest() = default;
  ConsoleStopRequest(const ConsoleStopRequest&) = delete;
  ConsoleStopRequest& operator=(const ConsoleStopRequest&) = delete;
  ~ConsoleStopRequest() override;

  // The latest listener receives the events.
  void listen() override;
  bool requested() const override;

  // What the handler does with one console event; `closeWaitMs` is how long a closing
  // console is held open at most. True when the event was taken as a stop request.
  static bool onConsoleEvent(DWORD event, DWORD closeWaitMs);

 private:
  // Set on the thread Windows starts for the handler, read by the sampling loop.
  std::atomic<bool> requested_{false};
};

}  // namespace lv
