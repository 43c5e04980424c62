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
// Blank lines and lines starting with '#' are ignored. `tree D K N` double-clicks lap line N
// (from 0) of kind K (0 "Training", 1 "Rennen") of driver item D (from 0, in tree order).
class CliSession {
 public:
  CliSession(HeadlessHost::Sink sink, std::string iniDir, Canvas* picture = nullptr);

  Status run(const std::string& command);

  MainDialog& dialog() { return dialog_; }
  HeadlessHost& host() { return host_; }

 private:
  Status press(const std::string& argument);
  Status treeDoubleClick(const std::string& argument, const std::string& command);

  HeadlessHost host_;
  MainDialog dialog_;
};

}  // namespace lv
