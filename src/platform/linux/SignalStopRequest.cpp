#include "platform/linux/SignalStopRequest.h"

#include <csignal>
#include <initializer_list>

namespace lv {
namespace {

// Written only by the handler; the handler does nothing else, which keeps it safe whatever
// the program was doing when the signal came.
volatile std::sig_atomic_t stopSignals = 0;

extern "C" void onStopSignal(int) {
  stopSignals = 1;
}

}  // namespace

void SignalStopRequest::listen() {
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a read that waits for the replay name returns, and the dialogue sees the
  // end of its input.
  action.sa_flags = 0;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool SignalStopRequest::requested() const {
  return stopSignals != 0;
}

void ignoreSignalsThatWouldLoseTheRecording() {
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace lv
