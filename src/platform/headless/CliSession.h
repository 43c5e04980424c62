#pragma once

#include <memory>
#include <string>

#include "platform/headless/HeadlessHost.h"
#include "telemetry/Status.h"
#include "viewer/shell/MainDialog.h"

namespace lv {

// The main dialog driven by lapvista-cli commands, one per line:
//   mousemove | load [PATH] | ldm PATH | save [PATH] | select N | dblclick N | radio I |
//   press CAPTION | press #ID | rclick X | scroll CODE [POS] | tree D K N
// Blank lines and lines starting with '#' are ignored.
class CliSession {
 public:
  CliSession(HeadlessHost::Sink sink, std::string iniDir, HeadlessDrawing drawing = {});

  Status run(const std::string& command);

  MainDialog& dialog() { return dialog_; }
  HeadlessHost& host() { return host_; }

 private:
  Status press(const std::string& argument);

  HeadlessHost host_;
  MainDialog dialog_;
};

}  // namespace lv
