#pragma once

namespace lv {

// The user's wish to stop the program (Ctrl-C, a closed terminal, a kill), as the system
// delivers it. Once listening, such a request no longer ends the program on the spot: the
// recording ends as if the game had ended, and what was recorded is saved.
class StopRequest {
 public:
  virtual ~StopRequest() = default;

  virtual void listen() = 0;
  virtual bool requested() const = 0;
};

}  // namespace lv
