#pragma once

#include "logger/StopRequest.h"

namespace lv {

// SIGINT, SIGTERM and SIGHUP as stop requests. A signal also breaks off a console read that
// is waiting, so that a Ctrl-C at the replay-name prompt ends the dialogue like the end of
// input does: the recording then goes to the fallback file before the program ends.
class SignalStopRequest final : public StopRequest {
 public:
  void listen() override;
  bool requested() const override;
};

// A file-size limit must make a write fail (and the save dialogue report it), not end the
// program; nor may a console pipe that closed end it before the recording is saved.
void ignoreSignalsThatWouldLoseTheRecording();

}  // namespace lv
